#pragma once

#include "StyledButton.h"

// The answers to a ringing note, on the red ring bar or banner: a 21-high capsule, solid white with
// alarm-red text when `strong`, else translucent white with white text.
class RingButton : public StyledButton {
    Q_OBJECT
public:
    explicit RingButton(const QString &text = {}, bool strong = false, QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    QFont labelFont() const override;
    QMarginsF labelPadding() const override { return {7, 0, 7, 0}; }
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_strong;
};
