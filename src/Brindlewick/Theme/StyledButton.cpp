#include "StyledButton.h"

#include "Fonts.h"
#include "Symbols.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr qreal symbolSpacing = 5;

} // namespace

void StyledButton::setSymbol(const QString &name)
{
    if (name == m_symbol)
        return;
    m_symbol = name;
    updateGeometry();
    update();
}

void StyledButton::setHelp(const QString &text)
{
    setToolTip(text);
    setAccessibleName(text);
}

QSize StyledButton::sizeHint() const
{
    const QMarginsF padding = labelPadding();
    const QSizeF size = labelSize();
    return QSizeF(size.width() + padding.left() + padding.right(), size.height() + padding.top() + padding.bottom())
        .toSize();
}

qreal StyledButton::symbolPoints() const
{
    return Fonts::points(labelFont());
}

QSizeF StyledButton::labelSize() const
{
    const QFontMetricsF metrics(labelFont());
    qreal width = text().isEmpty() ? 0 : metrics.horizontalAdvance(text());
    if (!m_symbol.isEmpty())
        width += Symbols::width(m_symbol, symbolPoints()) + (text().isEmpty() ? 0 : symbolSpacing);
    return QSizeF(qCeil(width), qCeil(metrics.height()));
}

void StyledButton::paintLabel(QPainter &painter, const QRectF &rect, const QColor &color) const
{
    const QSizeF size = labelSize();
    QRectF row(QPointF(rect.center().x() - size.width() / 2, rect.top()), QSizeF(size.width(), rect.height()));
    if (!m_symbol.isEmpty()) {
        const qreal symbolWidth = Symbols::width(m_symbol, symbolPoints());
        Symbols::draw(painter, QRectF(row.topLeft(), QSizeF(symbolWidth, row.height())), m_symbol, symbolPoints(), color);
        row.setLeft(row.left() + symbolWidth + symbolSpacing);
    }
    if (text().isEmpty())
        return;
    painter.save();
    painter.setFont(labelFont());
    painter.setPen(color);
    painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
    painter.restore();
}
