#pragma once

#include "Appearance.h"
#include "NoteColor.h"

#include <QWidget>

// The paper of a note: a rounded rectangle in the paper's fill with a thin edge, or with a thick
// alarm-red edge while the note rings. Children lie on it.
class PaperBackground : public QWidget {
    Q_OBJECT
public:
    static constexpr qreal cornerRadius = 7;

    explicit PaperBackground(NoteColor color, bool ringing = false, QWidget *parent = nullptr);

    NoteColor color() const { return m_color; }
    void setColor(NoteColor color);
    void setRinging(bool ringing);

    // The paper as it paints into `rect`, for views that draw it themselves.
    static void paint(QPainter &painter, const QRectF &rect, NoteColor color, bool ringing, const QWidget *widget);
    // The same in a given scheme, for drawings that force one on part of themselves.
    static void paint(QPainter &painter, const QRectF &rect, NoteColor color, bool ringing, Scheme scheme);
    // The part of the paper in `rect` that lies in `exposed`, for a paint event's region.
    static void paintExposed(QPainter &painter, const QRectF &rect, const QRect &exposed, NoteColor color,
                             bool ringing, const QWidget *widget);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    NoteColor m_color;
    bool m_ringing;
};
