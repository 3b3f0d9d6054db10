#include "Color.h"

QColor Color::resolved(Scheme scheme, qreal opacity) const
{
    QColor color = QColor::fromRgb(scheme == Scheme::dark ? m_dark : m_light);
    color.setAlphaF(float(opacity));
    return color;
}

QColor Color::resolved(const QWidget *widget, qreal opacity) const
{
    return resolved(Appearance::scheme(widget), opacity);
}
