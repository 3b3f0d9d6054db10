#include "DeadlineButton.h"

#include "Theme/FocusRing.h"
#include "Theme/Fonts.h"
#include "Theme/Symbols.h"
#include "Theme/Theme.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr int buttonHeight = 22;
constexpr int flagWidth = 24;
constexpr qreal padding = 6;
constexpr qreal spacing = 4;
constexpr qreal flagPoints = 11.5;
constexpr qreal smallFlagPoints = 9.5;
constexpr qreal focusRadius = 6;

QFont dueFont()
{
    return Fonts::unshaped(Fonts::system(11, QFont::DemiBold, Fonts::Design::rounded));
}

qreal smallFlagWidth()
{
    return QFontMetricsF(Symbols::font(smallFlagPoints)).horizontalAdvance(Symbols::glyph(u"flag.fill"));
}

} // namespace

DeadlineButton::DeadlineButton(QWidget *parent) : QAbstractButton(parent)
{
    // On the narrowest notes the button takes less than its whole text.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    // Like the paper's other buttons: a click leaves the focus in the text.
    setFocusPolicy(Qt::TabFocus);
}

void DeadlineButton::setDeadline(std::optional<Date> deadline, Date now, const QString &due, const QString &brief,
                                 Color ink)
{
    const bool overdue = deadline && *deadline <= now;
    const QString shown = deadline ? due : QString();
    if (deadline == m_deadline && overdue == m_overdue && ink == m_ink && shown == text() && brief == m_brief)
        return;
    m_deadline = deadline;
    m_overdue = overdue;
    m_ink = ink;
    m_brief = deadline ? brief : QString();
    setText(shown);
    setToolTip(deadline ? tr("Change the deadline") : tr("Set a deadline (Ctrl+D)"));
    setAccessibleName(deadline ? tr("Due %1").arg(due) : tr("Set a deadline"));
    updateGeometry();
    update();
}

qreal DeadlineButton::textRoom(qreal buttonWidth)
{
    return buttonWidth - padding * 2 - smallFlagWidth() - spacing;
}

qreal DeadlineButton::buttonWidth(const QString &text)
{
    return padding + smallFlagWidth() + spacing + QFontMetricsF(dueFont()).horizontalAdvance(text) + padding;
}

QString DeadlineButton::shownText() const
{
    if (!m_deadline)
        return {};
    const QFontMetricsF metrics(dueFont());
    const qreal room = textRoom(width());
    if (metrics.horizontalAdvance(text()) <= room)
        return text();
    return metrics.elidedText(m_brief, Qt::ElideRight, room);
}

QSize DeadlineButton::sizeHint() const
{
    if (!m_deadline)
        return {flagWidth, buttonHeight};
    return {qCeil(buttonWidth(text())), buttonHeight};
}

QSize DeadlineButton::minimumSizeHint() const
{
    if (!m_deadline)
        return sizeHint();
    return {qCeil(buttonWidth(m_brief)), buttonHeight};
}

QColor DeadlineButton::labelColor() const
{
    if (!m_deadline)
        return m_ink.resolved(this, 0.72);
    return m_overdue ? Theme::alarm.resolved(this) : m_ink.resolved(this, 0.75);
}

void DeadlineButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor color = labelColor();
    FocusRing::paint(painter, this, rect(), focusRadius, color);
    if (!m_deadline) {
        Symbols::draw(painter, rect(), u"flag", flagPoints, color);
        return;
    }
    const qreal flag = smallFlagWidth();
    Symbols::draw(painter, QRectF(padding, 0, flag, height()), u"flag.fill", smallFlagPoints, color);
    painter.setFont(dueFont());
    painter.setPen(color);
    const QRectF textRect(padding + flag + spacing, 0, textRoom(width()), height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownText());
}
