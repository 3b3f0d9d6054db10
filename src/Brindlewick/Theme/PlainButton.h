#pragma once

#include "Color.h"
#include "StyledButton.h"

// A button without chrome: its symbol and text in one colour, dimmed while pressed or disabled.
// Serves as the link-style button (text in the accent) and as small icon buttons.
class PlainButton : public StyledButton {
    Q_OBJECT
public:
    PlainButton(const QString &text, const QFont &font, Color color, QWidget *parent = nullptr);

    Color color() const { return m_color; }
    void setColor(Color color);

protected:
    QFont labelFont() const override { return m_font; }
    QMarginsF labelPadding() const override { return {}; }
    void paintEvent(QPaintEvent *event) override;

private:
    QFont m_font;
    Color m_color;
};
