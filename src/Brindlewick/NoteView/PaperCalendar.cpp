#include "PaperCalendar.h"

#include "Theme/Fonts.h"
#include "Theme/RoundedShape.h"
#include "Theme/Symbols.h"
#include "Theme/Theme.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QFocusEvent>
#include <QPainter>
#include <QTextCharFormat>
#include <QToolButton>

namespace {

constexpr qreal plateInset = 2;
constexpr qreal plateRadius = 6;
constexpr qreal ringWidth = 2;
constexpr qreal chevronPoints = 14;

QTextCharFormat inkFormat(const QColor &ink, const QColor &ground)
{
    QTextCharFormat format;
    format.setForeground(ink);
    format.setBackground(ground);
    return format;
}

} // namespace

PaperCalendar::PaperCalendar(QWidget *parent) : QCalendarWidget(parent)
{
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    setGridVisible(false);
    setFont(Fonts::system(12));
    // The month arrows come without names of their own.
    previousMonthButton()->setAccessibleName(tr("Previous month"));
    nextMonthButton()->setAccessibleName(tr("Next month"));
    // The view behind the days fills the chosen cell in the highlight colour before paintCell draws
    // the plate; a clear highlight leaves the plate alone, in either appearance.
    QPalette daysPalette = days()->palette();
    daysPalette.setColor(QPalette::Highlight, Qt::transparent);
    days()->setPalette(daysPalette);
    days()->installEventFilter(this);
    // Clicks land on the days' viewport.
    static_cast<QAbstractScrollArea *>(days())->viewport()->installEventFilter(this);
}

QWidget *PaperCalendar::days() const
{
    return findChild<QWidget *>(QStringLiteral("qt_calendar_calendarview"));
}

QAbstractButton *PaperCalendar::previousMonthButton() const
{
    return findChild<QToolButton *>(QStringLiteral("qt_calendar_prevmonth"));
}

QAbstractButton *PaperCalendar::nextMonthButton() const
{
    return findChild<QToolButton *>(QStringLiteral("qt_calendar_nextmonth"));
}

// Drawn only while the keyboard is in the days and was moved there or used there, as focus rings
// are: a click on a day shows the plate alone.
bool PaperCalendar::showsFocus() const
{
    return m_keyboardInDays && days()->hasFocus();
}

bool PaperCalendar::eventFilter(QObject *watched, QEvent *event)
{
    const bool before = m_keyboardInDays;
    switch (event->type()) {
    case QEvent::FocusIn:
        m_keyboardInDays = static_cast<QFocusEvent *>(event)->reason() != Qt::MouseFocusReason;
        break;
    case QEvent::KeyPress: m_keyboardInDays = true; break;
    case QEvent::MouseButtonPress:
    case QEvent::FocusOut: m_keyboardInDays = false; break;
    default: break;
    }
    if (before != m_keyboardInDays)
        static_cast<QAbstractScrollArea *>(days())->viewport()->update();
    return QCalendarWidget::eventFilter(watched, event);
}

void PaperCalendar::paintCell(QPainter *painter, const QRect &rect, QDate date) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const bool chosen = date == selectedDate();
    const bool inMonth = date.month() == monthShown() && date.year() == yearShown();
    if (chosen) {
        const QRectF plate = QRectF(rect).adjusted(plateInset, plateInset, -plateInset, -plateInset);
        RoundedShape::fill(*painter, plate, plateRadius, Theme::accent.resolved(this));
        if (showsFocus())
            RoundedShape::strokeInside(*painter, rect, plateRadius + plateInset, Theme::ink.resolved(this), ringWidth);
    }
    const Color ink = chosen ? Theme::accentInk : inMonth ? Theme::ink : Theme::ink3;
    painter->setPen(ink.resolved(this));
    painter->setFont(font());
    painter->drawText(rect, Qt::AlignCenter, locale().toString(date.day()));
    painter->restore();
}

void PaperCalendar::showEvent(QShowEvent *event)
{
    followScheme();
    QCalendarWidget::showEvent(event);
}

void PaperCalendar::changeEvent(QEvent *event)
{
    QCalendarWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        followScheme();
}

// The calendar paints its month bar in the highlight colour and keeps palettes of its own on the
// bar's buttons, so they are given the card's colours here, again whenever the appearance changes.
void PaperCalendar::followScheme()
{
    const Scheme scheme = Appearance::scheme(this);
    if (m_scheme == scheme)
        return;
    m_scheme = scheme;
    const QColor card = Theme::card.resolved(scheme);
    const QColor ink = Theme::ink.resolved(scheme);
    if (auto *bar = findChild<QWidget *>(QStringLiteral("qt_calendar_navigationbar"))) {
        QPalette barPalette = bar->palette();
        barPalette.setColor(QPalette::Highlight, card);
        barPalette.setColor(QPalette::HighlightedText, ink);
        bar->setPalette(barPalette);
        for (QToolButton *button : bar->findChildren<QToolButton *>()) {
            QPalette buttonPalette = button->palette();
            buttonPalette.setColor(QPalette::WindowText, ink);
            buttonPalette.setColor(QPalette::ButtonText, ink);
            buttonPalette.setColor(QPalette::Button, card);
            button->setPalette(buttonPalette);
        }
    }
    previousMonthButton()->setIcon(Symbols::icon(u"chevron.left", ink, chevronPoints));
    nextMonthButton()->setIcon(Symbols::icon(u"chevron.right", ink, chevronPoints));
    const QTextCharFormat faint = inkFormat(Theme::ink3.resolved(scheme), card);
    setHeaderTextFormat(faint);
    // Weekends carry no colour of their own: the header reads alike across the week.
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        setWeekdayTextFormat(Qt::DayOfWeek(day), faint);
}
