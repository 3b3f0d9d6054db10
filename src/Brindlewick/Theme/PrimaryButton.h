#pragma once

#include "Color.h"
#include "StyledButton.h"

// The main action: the label in Theme::accentInk on a capsule of `tone`, paler while pressed and
// faint while disabled.
class PrimaryButton : public StyledButton {
    Q_OBJECT
public:
    explicit PrimaryButton(Color tone, const QString &text = {}, QWidget *parent = nullptr);

    Color tone() const { return m_tone; }

protected:
    QFont labelFont() const override;
    QMarginsF labelPadding() const override { return {14, 7, 14, 7}; }
    void paintEvent(QPaintEvent *event) override;

private:
    Color m_tone;
};
