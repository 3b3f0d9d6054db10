#pragma once

#include "StyledButton.h"

// A link: the label alone in Theme::accent, underlined while the pointer is on it.
class LinkButton : public StyledButton {
    Q_OBJECT
public:
    explicit LinkButton(const QString &text = {}, QWidget *parent = nullptr);

protected:
    QFont labelFont() const override;
    QMarginsF labelPadding() const override { return {0, 2, 0, 2}; }
    void paintEvent(QPaintEvent *event) override;
};
