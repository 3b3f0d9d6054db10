#pragma once

#include "Color.h"
#include "StyledButton.h"

// An icon button drawn on a note's paper or a tray card: a 24 × 22 frame, the symbol in `ink`,
// a faint ink background while pressed or `on`. The whole frame takes clicks.
class PaperIconButton : public StyledButton {
    Q_OBJECT
public:
    PaperIconButton(const QString &symbol, Color ink, bool on = false, QWidget *parent = nullptr);

    Color ink() const { return m_ink; }
    void setInk(Color ink);
    bool isOn() const { return m_on; }
    void setOn(bool on);

    QSize sizeHint() const override { return {24, 22}; }

protected:
    QFont labelFont() const override;
    QMarginsF labelPadding() const override { return {}; }
    void paintEvent(QPaintEvent *event) override;

private:
    Color m_ink;
    bool m_on;
};
