#include "PaperStyle.h"

#include "Theme.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

namespace {

constexpr qreal cornerRadius = 2;
constexpr qreal markWidth = 1.6;

} // namespace

PaperStyle::PaperStyle() = default;

void PaperStyle::install()
{
    if (!qobject_cast<PaperStyle *>(QApplication::style()))
        QApplication::setStyle(new PaperStyle);
}

void PaperStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                               const QWidget *widget) const
{
    if (element == PE_IndicatorCheckBox && option && painter)
        drawCheckBox(*option, *painter, widget);
    else
        QProxyStyle::drawPrimitive(element, option, painter, widget);
}

// The box in the base colour with the theme's control edge (the highlight while the keyboard has
// the focus there), and a tick or a bar in the text colour.
void PaperStyle::drawCheckBox(const QStyleOption &option, QPainter &painter, const QWidget *widget)
{
    const bool enabled = option.state & State_Enabled;
    const bool keyboardFocus = (option.state & State_HasFocus) && (option.state & State_KeyboardFocusChange);
    const QRectF box = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(enabled ? 1.0 : 0.5);
    painter.setBrush(option.palette.base());
    painter.setPen(QPen(keyboardFocus ? option.palette.highlight().color() : Theme::controlEdge.resolved(widget), 1));
    painter.drawRoundedRect(box, cornerRadius, cornerRadius);

    painter.setPen(QPen(option.palette.text().color(), markWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    const auto at = [&box](qreal x, qreal y) { return QPointF(box.left() + x * box.width(), box.top() + y * box.height()); };
    if (option.state & State_On) {
        QPainterPath tick(at(0.22, 0.52));
        tick.lineTo(at(0.42, 0.72));
        tick.lineTo(at(0.78, 0.28));
        painter.drawPath(tick);
    } else if (option.state & State_NoChange) {
        painter.drawLine(at(0.25, 0.5), at(0.75, 0.5));
    }
    painter.restore();
}
