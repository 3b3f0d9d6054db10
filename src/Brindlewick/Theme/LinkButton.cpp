#include "LinkButton.h"

#include "Fonts.h"
#include "Theme.h"

#include <QPainter>

LinkButton::LinkButton(const QString &text, QWidget *parent) : StyledButton(parent)
{
    setText(text);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

QFont LinkButton::labelFont() const
{
    QFont font = Fonts::body();
    font.setUnderline(underMouse());
    return font;
}

void LinkButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintLabel(painter, rect(), Theme::accent.resolved(this, isDown() ? 0.7 : 1.0));
}
