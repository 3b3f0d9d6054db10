#pragma once

#include "StyledButton.h"

// Secondary actions: the label in Theme::ink on a Theme::well capsule with a hairline border.
class QuietButton : public StyledButton {
    Q_OBJECT
public:
    explicit QuietButton(const QString &text = {}, QWidget *parent = nullptr);

protected:
    QFont labelFont() const override;
    QMarginsF labelPadding() const override { return {12, 6, 12, 6}; }
    void paintEvent(QPaintEvent *event) override;
};
