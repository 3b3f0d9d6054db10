#pragma once

#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>

class QColor;
class QPainter;

// Text wrapped into a width, cut after a number of lines with an ellipsis on the last one kept.
// Labels, cards and banners lay out their texts with it, so every cut text is cut alike.
namespace TextBlock {

struct Line {
    QString text;
    // Where the line's text lies, as wide as the text, relative to the block's top-left corner.
    QRectF rect;
};

// The lines of `text` in `width`; `maxLines` 0 keeps them all. Line breaks in the text are kept.
// `alignment` places each line horizontally (left, centre or right).
QList<Line> lines(const QString &text, const QFont &font, qreal width, int maxLines,
                  Qt::Alignment alignment = Qt::AlignLeft);
// The height of those lines.
qreal height(const QList<Line> &lines);
// The width the text takes on one line without wrapping (its widest hard line).
qreal naturalWidth(const QString &text, const QFont &font);
// Draws the lines with their tops at `origin`.
void paint(QPainter &painter, QPointF origin, const QList<Line> &lines, const QFont &font, const QColor &color);

} // namespace TextBlock
