#pragma once

#include "TimeTape.h"

// A countdown tape turned a few degrees about its centre, as notes, cards and headings lay it. The
// widget keeps a margin around the tape for the tilt and the shadow; clicks pass through it.
class TiltedTape : public TimeTape {
    Q_OBJECT
public:
    static constexpr int margin = 4;

    // Sized for a layout: the tape and its margin.
    TiltedTape(QSizeF tape, qreal degrees, NoteColor paper, QWidget *parent = nullptr);

    // Lays the tape, `width` wide, centred on `centre` of the parent.
    void place(QPointF centre, qreal width);
    // The tape as it lies untilted in the widget.
    QRectF tapeRect() const { return m_tapeRect; }

    QSize sizeHint() const override { return size(); }
    QSize minimumSizeHint() const override { return size(); }

protected:
    QRectF tapeArea() const override { return m_tapeRect; }
    qreal tilt() const override { return m_degrees; }

private:
    qreal m_degrees;
    QRectF m_tapeRect;
};
