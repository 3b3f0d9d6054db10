#include "PlainButton.h"

#include "FocusRing.h"

#include <QPainter>

PlainButton::PlainButton(const QString &text, const QFont &font, Color color, QWidget *parent)
    : StyledButton(parent), m_font(font), m_color(color)
{
    setText(text);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

void PlainButton::setColor(Color color)
{
    m_color = color;
    update();
}

void PlainButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const qreal opacity = !isEnabled() ? 0.4 : isDown() ? 0.6 : 1.0;
    paintLabel(painter, rect(), m_color.resolved(this, opacity));
    // Without a shape of its own, the button underlines its label while it shows the focus.
    if (FocusRing::isShown(this))
        painter.fillRect(QRectF(0, height() - 2, width(), 2), m_color.resolved(this));
}
