#include "KeyCap.h"

#include "Fonts.h"
#include "RoundedShape.h"
#include "Theme.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr qreal horizontalPadding = 6;
constexpr int leastWidth = 22;
constexpr int leastHeight = 20;
constexpr qreal cornerRadius = 5;

} // namespace

KeyCap::KeyCap(const QString &text, QWidget *parent) : QWidget(parent), m_text(text)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(text);
}

QFont KeyCap::font()
{
    return Fonts::system(11, QFont::DemiBold, Fonts::Design::rounded);
}

QSize KeyCap::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const int width = qCeil(metrics.horizontalAdvance(m_text) + 2 * horizontalPadding);
    return {qMax(leastWidth, width), qMax(leastHeight, qCeil(metrics.height()))};
}

void KeyCap::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    RoundedShape::fill(painter, rect(), cornerRadius, Theme::well.resolved(this));
    RoundedShape::strokeInside(painter, rect(), cornerRadius, Theme::hairline.resolved(this), 1);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_text);
}
