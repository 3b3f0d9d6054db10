#include "PaperBackground.h"

#include "Paper.h"
#include "RoundedShape.h"
#include "Theme.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace {

constexpr qreal edgeWidth = 0.75;
constexpr qreal alarmEdgeWidth = 2.5;

// Whether `exposed` lies where the paper is its fill alone: clear of the rounded corners and of the
// pixels the edge line touches.
bool plainPart(const QRectF &paper, const QRect &exposed, bool ringing)
{
    constexpr qreal cornerRadius = PaperBackground::cornerRadius;
    const qreal edge = std::ceil(ringing ? alarmEdgeWidth : edgeWidth);
    if (!paper.adjusted(edge, edge, -edge, -edge).contains(exposed))
        return false;
    const QSizeF corner(cornerRadius, cornerRadius);
    for (const QPointF &at : {paper.topLeft(), paper.topRight() - QPointF(cornerRadius, 0),
                              paper.bottomLeft() - QPointF(0, cornerRadius),
                              paper.bottomRight() - QPointF(cornerRadius, cornerRadius)}) {
        if (QRectF(at, corner).intersects(exposed))
            return false;
    }
    return true;
}

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
        RoundedShape::strokeInside(painter, rect, cornerRadius, Theme::alarm.resolved(scheme), alarmEdgeWidth);
    else
        RoundedShape::strokeInside(painter, rect, cornerRadius, Paper::edge(color).resolved(scheme, 0.7), edgeWidth);
}

// A tape's repaint exposes a strip well inside the paper; filling that strip spares tracing the
// whole rounded outline, which is most of a minute's repaint of a note.
void PaperBackground::paintExposed(QPainter &painter, const QRectF &rect, const QRect &exposed, NoteColor color,
                                   bool ringing, const QWidget *widget)
{
    const Scheme scheme = Appearance::scheme(widget);
    if (plainPart(rect, exposed, ringing))
        painter.fillRect(exposed, Paper::fill(color).resolved(scheme));
    else
        paint(painter, rect, color, ringing, scheme);
}

void PaperBackground::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    paintExposed(painter, rect(), event->rect(), m_color, m_ringing, this);
}
