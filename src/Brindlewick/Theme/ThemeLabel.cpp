#include "ThemeLabel.h"

#include "TextBlock.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

ThemeLabel::ThemeLabel(const QString &text, const QFont &font, Color color, int maxLines, QWidget *parent)
    : QWidget(parent), m_font(font), m_color(color), m_maxLines(maxLines)
{
    QSizePolicy policy(QSizePolicy::Preferred, maxLines == 1 ? QSizePolicy::Fixed : QSizePolicy::Preferred);
    policy.setHeightForWidth(maxLines != 1);
    setSizePolicy(policy);
    setText(text);
}

void ThemeLabel::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void ThemeLabel::setTextFont(const QFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    updateGeometry();
    update();
}

void ThemeLabel::setColor(Color color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void ThemeLabel::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

QStringList ThemeLabel::shownLines() const
{
    QStringList shown;
    for (const TextBlock::Line &line : TextBlock::lines(m_text, m_font, width(), m_maxLines, m_alignment))
        shown.append(line.text);
    return shown;
}

int ThemeLabel::lineHeight() const
{
    return qCeil(QFontMetricsF(m_font).height());
}

QSize ThemeLabel::sizeHint() const
{
    const int natural = qCeil(TextBlock::naturalWidth(m_text, m_font));
    if (m_maxLines == 1)
        return QSize(natural, lineHeight());
    return QSize(natural, heightForWidth(natural));
}

QSize ThemeLabel::minimumSizeHint() const
{
    const int ellipsis = qCeil(QFontMetricsF(m_font).horizontalAdvance(QStringLiteral("…")));
    if (m_maxLines == 1)
        return QSize(std::min(ellipsis, sizeHint().width()), lineHeight());
    return QSize(ellipsis, lineHeight());
}

int ThemeLabel::heightForWidth(int width) const
{
    if (m_text.isEmpty())
        return 0;
    return qCeil(TextBlock::height(TextBlock::lines(m_text, m_font, width, m_maxLines, m_alignment)));
}

void ThemeLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QList<TextBlock::Line> lines = TextBlock::lines(m_text, m_font, width(), m_maxLines, m_alignment);
    const qreal top = (height() - TextBlock::height(lines)) / 2;
    // Disabled text fades as the palette's disabled roles do.
    const QColor color = m_color.resolved(this, isEnabled() ? 1.0 : 0.5);
    TextBlock::paint(painter, QPointF(0, std::max(0.0, std::floor(top))), lines, m_font, color);
}
