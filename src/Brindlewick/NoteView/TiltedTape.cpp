#include "TiltedTape.h"

#include <QPainter>

namespace {

// Room around the tape for its tilt and shadow.
constexpr int margin = 4;

} // namespace

TiltedTape::TiltedTape(QWidget *parent) : TimeTape(std::nullopt, NoteColor::lemon, tapeHeight, true, parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TiltedTape::place(QPointF center, qreal width)
{
    m_tapeRect = QRectF(center.x() - width / 2, center.y() - tapeHeight / 2, width, tapeHeight);
    setGeometry(m_tapeRect.toAlignedRect().adjusted(-margin, -margin, margin, margin));
    update();
}

void TiltedTape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tape = m_tapeRect.translated(-pos());
    painter.translate(tape.center());
    painter.rotate(tilt);
    painter.translate(-tape.center());
    TimeTape::paint(painter, tape, countdown(), paper(), showsText(), Appearance::scheme(this));
}
