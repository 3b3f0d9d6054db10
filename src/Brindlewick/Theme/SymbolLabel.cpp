#include "SymbolLabel.h"

#include "Fonts.h"
#include "Symbols.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr qreal spacing = 5;

} // namespace

SymbolLabel::SymbolLabel(const QString &symbol, const QString &text, const QFont &font, Color color, QWidget *parent)
    : QWidget(parent), m_symbol(symbol), m_text(text), m_font(font), m_color(color)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(text);
}

void SymbolLabel::setSymbol(const QString &symbol, Color color)
{
    m_symbol = symbol;
    m_color = color;
    updateGeometry();
    update();
}

qreal SymbolLabel::symbolWidth() const
{
    return QFontMetricsF(Symbols::font(Fonts::points(m_font))).horizontalAdvance(Symbols::glyph(m_symbol));
}

QSize SymbolLabel::sizeHint() const
{
    const QFontMetricsF metrics(m_font);
    const qreal textWidth = m_text.isEmpty() ? 0 : spacing + metrics.horizontalAdvance(m_text);
    return QSizeF(symbolWidth() + textWidth, metrics.height()).toSize() + QSize(1, 0);
}

void SymbolLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor color = m_color.resolved(this);
    if (m_text.isEmpty()) {
        Symbols::draw(painter, rect(), m_symbol, Fonts::points(m_font), color);
        return;
    }
    const qreal glyphWidth = symbolWidth();
    Symbols::draw(painter, QRectF(0, 0, glyphWidth, height()), m_symbol, Fonts::points(m_font), color);
    painter.setFont(m_font);
    painter.setPen(color);
    painter.drawText(QRectF(glyphWidth + spacing, 0, width() - glyphWidth - spacing, height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}
