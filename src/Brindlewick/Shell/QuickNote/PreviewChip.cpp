#include "PreviewChip.h"

#include "Theme/Fonts.h"
#include "Theme/RoundedShape.h"
#include "Theme/Symbols.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr int chipHeight = 22;
constexpr qreal padding = 8;
constexpr qreal symbolSpacing = 4;
constexpr qreal fillOpacity = 0.1;

} // namespace

PreviewChip::PreviewChip(QString symbol, Color ink, QWidget *parent)
    : QWidget(parent), m_symbol(std::move(symbol)), m_ink(ink)
{
    setFixedHeight(chipHeight);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PreviewChip::setText(const QString &text)
{
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void PreviewChip::setInk(Color ink)
{
    m_ink = ink;
    update();
}

QFont PreviewChip::font()
{
    static const QFont font = Fonts::system(11.5, QFont::DemiBold, Fonts::Design::rounded);
    return font;
}

qreal PreviewChip::symbolWidth() const
{
    return QFontMetricsF(Symbols::font(Fonts::points(font()))).horizontalAdvance(Symbols::glyph(m_symbol));
}

QSize PreviewChip::sizeHint() const
{
    const qreal textWidth = QFontMetricsF(font()).horizontalAdvance(m_text);
    return {qCeil(padding + symbolWidth() + symbolSpacing + textWidth + padding), chipHeight};
}

void PreviewChip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect();
    RoundedShape::fill(painter, area, RoundedShape::capsule(area), m_ink.resolved(this, fillOpacity));
    const QColor ink = m_ink.resolved(this);
    const QRectF symbolRect(padding, 0, symbolWidth(), area.height());
    Symbols::draw(painter, symbolRect, m_symbol, Fonts::points(font()), ink);
    painter.setFont(font());
    painter.setPen(ink);
    const QRectF textRect(symbolRect.right() + symbolSpacing, 0, area.width(), area.height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}
