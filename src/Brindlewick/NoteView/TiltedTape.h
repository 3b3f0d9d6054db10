#pragma once

#include "Theme/TimeTape.h"

// The countdown tape laid across a note's header at a slight tilt. Clicks pass through it to the
// header beneath, which drags the window.
class TiltedTape : public TimeTape {
    Q_OBJECT
public:
    static constexpr qreal tapeHeight = 22;
    static constexpr qreal tilt = -1.2;

    explicit TiltedTape(QWidget *parent = nullptr);

    // Places the tape, `width` wide, centred on `center` of the parent.
    void place(QPointF center, qreal width);
    // The untilted tape in parent coordinates.
    QRectF tapeRect() const { return m_tapeRect; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF m_tapeRect;
};
