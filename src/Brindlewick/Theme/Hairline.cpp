#include "Hairline.h"

#include "Theme.h"

#include <QPainter>

Hairline::Hairline(Qt::Orientation orientation, QWidget *parent) : QWidget(parent)
{
    if (orientation == Qt::Vertical)
        setFixedWidth(1);
    else
        setFixedHeight(1);
}

void Hairline::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Theme::hairline.resolved(this));
}
