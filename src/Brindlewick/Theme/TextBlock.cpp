#include "TextBlock.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

namespace {

QString withLineSeparators(QString text)
{
    return text.replace(u'\n', QChar::LineSeparator);
}

qreal lineLeft(qreal lineWidth, qreal width, Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return std::max(0.0, (width - lineWidth) / 2);
    if (alignment & Qt::AlignRight)
        return std::max(0.0, width - lineWidth);
    return 0;
}

} // namespace

namespace TextBlock {

QList<Line> lines(const QString &text, const QFont &font, qreal width, int maxLines, Qt::Alignment alignment)
{
    // A few lines never hold more than a line's width in characters each, so a huge text is laid
    // out only as far as it can show.
    const qsizetype shown = maxLines > 0 ? maxLines * std::max<qsizetype>(256, qCeil(width)) : text.size();
    const bool cut = text.size() > shown;
    const QString laidOut = withLineSeparators(text.left(shown));
    QTextLayout layout(laidOut, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const QFontMetricsF metrics(font);
    const qreal lineHeight = metrics.height();
    const qreal room = std::max(1.0, width);

    QList<Line> result;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(room);
        QString shown = laidOut.mid(line.textStart(), line.textLength());
        const bool last = maxLines > 0 && result.size() + 1 == maxLines;
        const bool more = cut || line.textStart() + line.textLength() < laidOut.size();
        if (last && more) {
            QString tail = laidOut.mid(line.textStart());
            tail.replace(QChar::LineSeparator, u' ');
            shown = metrics.elidedText(tail.simplified(), Qt::ElideRight, room);
        }
        while (!shown.isEmpty() && (shown.back().isSpace() || shown.back() == QChar::LineSeparator))
            shown.chop(1);
        const qreal shownWidth = std::min(room, metrics.horizontalAdvance(shown));
        result.append({shown, QRectF(lineLeft(shownWidth, room, alignment), result.size() * lineHeight,
                                     std::ceil(shownWidth), lineHeight)});
        if (last)
            break;
    }
    layout.endLayout();
    return result;
}

qreal height(const QList<Line> &lines)
{
    return lines.isEmpty() ? 0 : std::ceil(lines.back().rect.bottom());
}

qreal naturalWidth(const QString &text, const QFont &font)
{
    const QFontMetricsF metrics(font);
    qreal widest = 0;
    for (const QString &line : text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return std::ceil(widest);
}

void paint(QPainter &painter, QPointF origin, const QList<Line> &lines, const QFont &font, const QColor &color)
{
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    for (const Line &line : lines)
        painter.drawText(line.rect.translated(origin).adjusted(0, 0, 1, 0),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line.text);
    painter.restore();
}

} // namespace TextBlock
