#include "RingButton.h"

#include "Fonts.h"
#include "RoundedShape.h"
#include "Theme.h"

#include <QPainter>

namespace {

constexpr int ringButtonHeight = 21;

} // namespace

RingButton::RingButton(const QString &text, bool strong, QWidget *parent) : StyledButton(parent), m_strong(strong)
{
    setText(text);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize RingButton::sizeHint() const
{
    return {StyledButton::sizeHint().width(), ringButtonHeight};
}

QFont RingButton::labelFont() const
{
    return Fonts::system(10.5, QFont::Bold, Fonts::Design::rounded);
}

void RingButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF shape = rect();
    const QColor white(Qt::white);
    if (m_strong) {
        RoundedShape::fill(painter, shape, RoundedShape::capsule(shape), white);
        paintLabel(painter, shape, Theme::alarm.resolved(this));
        return;
    }
    QColor wash = white;
    wash.setAlphaF(isDown() ? 0.35f : 0.2f);
    RoundedShape::fill(painter, shape, RoundedShape::capsule(shape), wash);
    paintLabel(painter, shape, white);
}
