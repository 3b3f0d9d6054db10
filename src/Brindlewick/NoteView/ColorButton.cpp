#include "ColorButton.h"

#include "Theme/Paper.h"

#include <QPainter>

namespace {

constexpr qreal dotSize = 11;
constexpr qreal outline = 1;

} // namespace

ColorButton::ColorButton(QWidget *parent) : PaperIconButton(QString(), Color(0, 0), false, parent)
{
    setToolTip(tr("Colour"));
}

void ColorButton::setColor(NoteColor color, Color ink)
{
    if (color != m_color)
        update();
    m_color = color;
    setInk(ink);
    setAccessibleName(tr("Colour: %1").arg(title(color)));
}

void ColorButton::paintEvent(QPaintEvent *event)
{
    PaperIconButton::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF dot(QPointF(width() - dotSize, height() - dotSize) / 2, QSizeF(dotSize, dotSize));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Paper::swatch(m_color).resolved(this));
    painter.drawEllipse(dot);
    painter.setPen(QPen(ink().resolved(this, 0.35), outline));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = outline / 2;
    painter.drawEllipse(dot.adjusted(inset, inset, -inset, -inset));
}
