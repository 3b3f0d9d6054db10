#pragma once

#include "Color.h"
#include "StyledButton.h"

#include <QFont>
#include <optional>

// An icon button drawn on a note's paper or a tray card: a 24 × 22 frame, the symbol in `ink`,
// a faint ink background while pressed or `on`. The whole frame takes clicks. The label is drawn in
// the system font at 11.5 points, semibold, unless the button is given a font of its own.
class PaperIconButton : public StyledButton {
    Q_OBJECT
public:
    PaperIconButton(const QString &symbol, Color ink, bool on = false, QWidget *parent = nullptr);

    Color ink() const { return m_ink; }
    void setInk(Color ink);
    bool isOn() const { return m_on; }
    void setOn(bool on);
    void setLabelFont(const QFont &font);

    QSize sizeHint() const override { return {24, 22}; }

protected:
    QFont labelFont() const override;
    QMarginsF labelPadding() const override { return {}; }
    void paintEvent(QPaintEvent *event) override;

private:
    Color m_ink;
    bool m_on;
    std::optional<QFont> m_labelFont;
};
