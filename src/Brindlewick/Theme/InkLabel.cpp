#include "InkLabel.h"

namespace {

constexpr qreal disabledOpacity = 0.45;

} // namespace

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
    // Disabled text fades, as stock labels do.
    const QColor ink = m_color.resolved(this, isEnabled() ? 1.0 : disabledOpacity);
    if (palette().color(QPalette::WindowText) != ink) {
        QPalette inked = palette();
        inked.setColor(QPalette::WindowText, ink);
        setPalette(inked);
    }
    QLabel::paintEvent(event);
}
