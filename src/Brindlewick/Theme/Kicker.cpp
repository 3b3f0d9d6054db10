#include "Kicker.h"

#include "Fonts.h"

#include <QFontMetricsF>
#include <QPainter>

Kicker::Kicker(const QString &text, Color color, QWidget *parent) : QWidget(parent), m_text(text), m_color(color)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(m_text);
}

void Kicker::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(m_text);
    updateGeometry();
    update();
}

QFont Kicker::font()
{
    QFont font = Fonts::label();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.1);
    return font;
}

QSize Kicker::sizeHint() const
{
    const QFontMetricsF metrics(font());
    return QSizeF(metrics.horizontalAdvance(shownText()), metrics.height()).toSize() + QSize(1, 0);
}

void Kicker::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(m_color.resolved(this));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownText());
}
