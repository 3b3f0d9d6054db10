#include "SymbolLabel.h"

#include "Fonts.h"
#include "Symbols.h"
#include "ThemeLabel.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>

SymbolLabel::SymbolLabel(const QString &symbol, qreal points, Color color, QWidget *parent)
    : QWidget(parent), m_symbol(symbol), m_points(points), m_color(color)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SymbolLabel::setSymbol(const QString &symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    updateGeometry();
    update();
}

void SymbolLabel::setPoints(qreal points)
{
    if (points == m_points)
        return;
    m_points = points;
    updateGeometry();
    update();
}

void SymbolLabel::setColor(Color color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

QSize SymbolLabel::sizeHint() const
{
    const QFontMetricsF metrics(Symbols::font(m_points));
    return QSizeF(metrics.horizontalAdvance(Symbols::glyph(m_symbol)), metrics.height()).toSize();
}

void SymbolLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    Symbols::draw(painter, rect(), m_symbol, m_points, m_color.resolved(this));
}

QWidget *symbolLine(const QString &symbol, const QString &text, const QFont &font, Color color)
{
    auto *line = new QWidget;
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(5);
    layout->addWidget(new SymbolLabel(symbol, Fonts::points(font), color));
    layout->addWidget(new ThemeLabel(text, font, color));
    return line;
}
