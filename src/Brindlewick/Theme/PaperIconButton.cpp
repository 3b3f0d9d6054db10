#include "PaperIconButton.h"

#include "FocusRing.h"
#include "Fonts.h"
#include "RoundedShape.h"

#include <QPainter>

namespace {

constexpr qreal cornerRadius = 6;

} // namespace

PaperIconButton::PaperIconButton(const QString &symbol, Color ink, bool on, QWidget *parent)
    : StyledButton(parent), m_ink(ink), m_on(on)
{
    setSymbol(symbol);
    setFixedSize(sizeHint());
    // A click must not take the focus from the note's text, or the next Space would press it again.
    setFocusPolicy(Qt::TabFocus);
}

void PaperIconButton::setInk(Color ink)
{
    if (ink == m_ink)
        return;
    m_ink = ink;
    update();
}

void PaperIconButton::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    update();
}

void PaperIconButton::setLabelFont(const QFont &font)
{
    m_labelFont = font;
    updateGeometry();
    update();
}

QFont PaperIconButton::labelFont() const
{
    return m_labelFont.value_or(Fonts::unshaped(Fonts::system(11.5, QFont::DemiBold)));
}

void PaperIconButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const qreal backing = isDown() ? 0.16 : m_on ? 0.12 : 0.0;
    if (backing > 0)
        RoundedShape::fill(painter, rect(), cornerRadius, m_ink.resolved(this, backing));
    paintLabel(painter, rect(), m_ink.resolved(this, m_on ? 1.0 : 0.72));
    FocusRing::paint(painter, this, rect(), cornerRadius, m_ink.resolved(this));
}
