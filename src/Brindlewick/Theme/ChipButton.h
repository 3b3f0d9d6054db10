#pragma once

#include "StyledButton.h"

// The chips of the timer presets and quick deadlines: as wide as offered, 26 high, on a rounded
// Theme::well rectangle, or in the accent colours when `selected`.
class ChipButton : public StyledButton {
    Q_OBJECT
public:
    explicit ChipButton(const QString &text = {}, bool selected = false, QWidget *parent = nullptr);

    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);

    QSize sizeHint() const override;

protected:
    QFont labelFont() const override;
    QMarginsF labelPadding() const override { return {}; }
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_selected;
};
