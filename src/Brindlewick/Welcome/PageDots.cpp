#include "PageDots.h"

#include "Theme/RoundedShape.h"
#include "Theme/Theme.h"

#include <QPainter>

namespace {

constexpr qreal dotHeight = 6;
constexpr qreal dotWidth = 6;
constexpr qreal currentWidth = 18;
constexpr qreal spacing = 6;

} // namespace

PageDots::PageDots(int count, QWidget *parent) : QWidget(parent), m_count(count)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCurrent(0);
}

void PageDots::setCurrent(int page)
{
    m_current = page;
    setAccessibleName(tr("Page %1 of %2").arg(page + 1).arg(m_count));
    update();
}

QSize PageDots::sizeHint() const
{
    const qreal width = currentWidth + (m_count - 1) * (dotWidth + spacing);
    return QSizeF(width, dotHeight).toSize();
}

QRectF PageDots::dotRect(int page) const
{
    qreal x = (width() - sizeHint().width()) / 2.0;
    for (int i = 0; i < page; ++i)
        x += (i == m_current ? currentWidth : dotWidth) + spacing;
    const qreal y = (height() - dotHeight) / 2;
    return QRectF(x, y, page == m_current ? currentWidth : dotWidth, dotHeight);
}

void PageDots::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (int i = 0; i < m_count; ++i) {
        const QRectF dot = dotRect(i);
        const QColor fill = (i == m_current ? Theme::accent : Theme::hairline).resolved(this);
        RoundedShape::fill(painter, dot, RoundedShape::capsule(dot), fill);
    }
}
