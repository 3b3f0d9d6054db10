#include "TextScroll.h"

#include "FocusRing.h"
#include "Theme.h"

#include <QEvent>
#include <QPainter>

namespace {

// The ring lies in this margin around the text, where neither the content nor the scroll bar reaches.
constexpr int ringRoom = 4;
constexpr qreal ringRadius = 8;

} // namespace

TextScroll::TextScroll(QWidget *content, QWidget *parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    setViewportMargins(ringRoom, ringRoom, ringRoom, ringRoom);
    setWidget(content);
    viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
}

// The area's own paint covers only the margin around the viewport: the frame, then the ring.
bool TextScroll::event(QEvent *event)
{
    const bool handled = QScrollArea::event(event);
    if (event->type() == QEvent::Paint) {
        QPainter painter(this);
        const QRect around = viewport()->geometry().adjusted(-ringRoom, -ringRoom, ringRoom, ringRoom);
        FocusRing::paint(painter, this, around, ringRadius, Theme::ink.resolved(this));
    }
    return handled;
}
