#include "QuietButton.h"

#include "FocusRing.h"
#include "Fonts.h"
#include "RoundedShape.h"
#include "Theme.h"

#include <QPainter>

QuietButton::QuietButton(const QString &text, QWidget *parent) : StyledButton(parent)
{
    setText(text);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QFont QuietButton::labelFont() const
{
    return Fonts::bodyMedium();
}

void QuietButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF shape = rect();
    RoundedShape::fill(painter, shape, RoundedShape::capsule(shape), Theme::well.resolved(this, isDown() ? 1.0 : 0.75));
    RoundedShape::strokeInside(painter, shape, RoundedShape::capsule(shape), Theme::hairline.resolved(this), 1);
    paintLabel(painter, shape, Theme::ink.resolved(this, isEnabled() ? 1.0 : 0.4));
    FocusRing::paint(painter, this, shape, RoundedShape::capsule(shape), Theme::ink.resolved(this));
}
