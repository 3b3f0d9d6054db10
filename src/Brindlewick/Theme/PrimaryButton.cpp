#include "PrimaryButton.h"

#include "FocusRing.h"
#include "Fonts.h"
#include "RoundedShape.h"
#include "Theme.h"

#include <QPainter>

PrimaryButton::PrimaryButton(Color tone, const QString &text, QWidget *parent) : StyledButton(parent), m_tone(tone)
{
    setText(text);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QFont PrimaryButton::labelFont() const
{
    return Fonts::bodyMedium();
}

void PrimaryButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const qreal opacity = !isEnabled() ? 0.4 : isDown() ? 0.8 : 1.0;
    const QRectF shape = rect();
    RoundedShape::fill(painter, shape, RoundedShape::capsule(shape), m_tone.resolved(this, opacity));
    const QColor label = Theme::accentInk.resolved(this);
    paintLabel(painter, shape, label);
    FocusRing::paint(painter, this, shape, RoundedShape::capsule(shape), label);
}
