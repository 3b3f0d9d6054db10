#include "InkLabel.h"

InkLabel::InkLabel(const QString &text, const QFont &font, Color color, QWidget *parent)
    : QLabel(text, parent), m_color(color)
{
    setFont(font);
    setTextFormat(Qt::PlainText);
}

void InkLabel::setColor(Color color)
{
    m_color = color;
    update();
}

void InkLabel::paintEvent(QPaintEvent *event)
{
    const QColor ink = m_color.resolved(this);
    if (palette().color(QPalette::WindowText) != ink) {
        QPalette inked = palette();
        inked.setColor(QPalette::WindowText, ink);
        setPalette(inked);
    }
    QLabel::paintEvent(event);
}
