#include "TiltedTape.h"

TiltedTape::TiltedTape(QSizeF tape, qreal degrees, NoteColor paper, QWidget *parent)
    : TimeTape(std::nullopt, paper, tape.height(), true, parent),
      m_degrees(degrees),
      m_tapeRect(QPointF(margin, margin), tape)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedSize(m_tapeRect.toAlignedRect().adjusted(0, 0, 2 * margin, 2 * margin).size());
}

void TiltedTape::place(QPointF centre, qreal width)
{
    const QRectF tape(centre.x() - width / 2, centre.y() - tapeHeight() / 2, width, tapeHeight());
    const QRect box = tape.toAlignedRect().adjusted(-margin, -margin, margin, margin);
    const QRectF inBox = tape.translated(-box.topLeft());
    if (inBox == m_tapeRect && box == geometry())
        return;
    m_tapeRect = inBox;
    setFixedSize(box.size());
    move(box.topLeft());
    update();
}

