#include "PaperBackground.h"

#include "Paper.h"
#include "RoundedShape.h"
#include "Theme.h"

#include <QPainter>

namespace {

constexpr qreal cornerRadius = 7;

} // namespace

PaperBackground::PaperBackground(NoteColor color, bool ringing, QWidget *parent)
    : QWidget(parent), m_color(color), m_ringing(ringing)
{
}

void PaperBackground::setColor(NoteColor color)
{
    m_color = color;
    update();
}

void PaperBackground::setRinging(bool ringing)
{
    m_ringing = ringing;
    update();
}

void PaperBackground::paint(QPainter &painter, const QRectF &rect, NoteColor color, bool ringing, const QWidget *widget)
{
    paint(painter, rect, color, ringing, Appearance::scheme(widget));
}

void PaperBackground::paint(QPainter &painter, const QRectF &rect, NoteColor color, bool ringing, Scheme scheme)
{
    RoundedShape::fill(painter, rect, cornerRadius, Paper::fill(color).resolved(scheme));
    if (ringing)
        RoundedShape::strokeInside(painter, rect, cornerRadius, Theme::alarm.resolved(scheme), 2.5);
    else
        RoundedShape::strokeInside(painter, rect, cornerRadius, Paper::edge(color).resolved(scheme, 0.7), 0.75);
}

void PaperBackground::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, rect(), m_color, m_ringing, this);
}
