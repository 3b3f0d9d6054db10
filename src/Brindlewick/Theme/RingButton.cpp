#include "RingButton.h"

#include "FocusRing.h"
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
    // Answering a ring leaves the focus in the note's text.
    setFocusPolicy(Qt::TabFocus);
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
    const qreal radius = RoundedShape::capsule(shape);
    const QColor white(Qt::white);
    QColor backing = white;
    if (!m_strong)
        backing.setAlphaF(isDown() ? 0.35f : 0.2f);
    RoundedShape::fill(painter, shape, radius, backing);
    const QColor label = m_strong ? Theme::alarm.resolved(this) : white;
    paintLabel(painter, shape, label);
    FocusRing::paint(painter, this, shape, radius, label);
}
