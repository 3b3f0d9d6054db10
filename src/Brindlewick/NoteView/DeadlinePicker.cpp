#include "DeadlinePicker.h"

#include "State/AppModel.h"
#include "Calendar.h"
#include "PaperCalendar.h"
#include "PickerFrame.h"
#include "QuickDeadlines.h"
#include "Theme/ChipButton.h"
#include "Theme/Hairline.h"
#include "Theme/Kicker.h"
#include "Theme/PrimaryButton.h"
#include "Theme/QuietButton.h"
#include "Theme/Theme.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

constexpr int pickerWidth = 290;
constexpr int chipColumns = 2;

QStringList labels(const std::vector<QuickDeadlines::Option> &options)
{
    QStringList result;
    for (const QuickDeadlines::Option &option : options)
        result << option.label;
    return result;
}

// The locale's short time without its seconds.
QString hoursAndMinutes(const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::ShortFormat);
    format.remove(QRegularExpression(QStringLiteral("[:.]s+")));
    return format;
}

} // namespace

DeadlinePicker::DeadlinePicker(AppModel &model, const QUuid &id, std::function<void()> close, QWidget *parent)
    : QWidget(parent), m_model(model), m_id(id), m_close(std::move(close))
{
    setFixedWidth(pickerWidth);
    setAccessibleName(tr("Deadline"));
    const StickyNote *note = model.book().find(id);
    const bool hasDeadline = note && note->deadline;

    auto *column = PickerFrame::column(this);
    column->addWidget(new Kicker(tr("Deadline"), Theme::ink3, this));
    auto *chips = new QWidget(this);
    m_chips = new QGridLayout(chips);
    m_chips->setContentsMargins(0, 0, 0, 0);
    m_chips->setSpacing(6);
    column->addWidget(chips);
    followClock();
    connect(&model, &AppModel::nowChanged, this, &DeadlinePicker::followClock);
    column->addWidget(new Hairline(Qt::Horizontal, this));
    m_calendar = new PaperCalendar(this);
    m_calendar->setAccessibleName(tr("Date"));
    column->addWidget(m_calendar);
    column->addWidget(makeTimeRow());
    column->addWidget(makeButtonRow(hasDeadline));

    showDate(hasDeadline ? *note->deadline : QuickDeadlines::nextHour(model.now(), model.calendar()));
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, &DeadlinePicker::takeDay);
    connect(m_calendar, &QCalendarWidget::activated, this, [this] { setDeadline(m_date); });
    connect(m_time, &QTimeEdit::timeChanged, this, &DeadlinePicker::takeTime);
}

// Handed the focus by its popover, the picker passes it on to the days. It is no focus proxy:
// Tab would then take the picker itself for the days and never reach the chips.
void DeadlinePicker::focusInEvent(QFocusEvent *event)
{
    m_calendar->days()->setFocus(event->reason());
}

void DeadlinePicker::followClock()
{
    std::vector<QuickDeadlines::Option> options = QuickDeadlines::options(m_model.now(), m_model.calendar(), QLocale());
    const bool sameChips = labels(options) == labels(m_options);
    m_options = std::move(options);
    if (!sameChips)
        placeChips();
}

// Chips made again come last in the Tab order; they are put back before the calendar.
void DeadlinePicker::placeChips()
{
    while (QLayoutItem *item = m_chips->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    int index = 0;
    QWidget *previous = nullptr;
    for (const QuickDeadlines::Option &option : m_options) {
        auto *chip = new ChipButton(option.label, false, m_chips->parentWidget());
        chip->setMinimumWidth(10);
        connect(chip, &QAbstractButton::clicked, this, [this, label = option.label] { pickOption(label); });
        m_chips->addWidget(chip, index / chipColumns, index % chipColumns);
        if (previous)
            setTabOrder(previous, chip);
        previous = chip;
        ++index;
    }
    if (previous && m_calendar)
        setTabOrder(previous, m_calendar);
}

void DeadlinePicker::pickOption(const QString &label)
{
    for (const QuickDeadlines::Option &option : m_options) {
        if (option.label == label) {
            setDeadline(option.date);
            return;
        }
    }
}

QWidget *DeadlinePicker::makeTimeRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = new QLabel(tr("Time"), row);
    m_time = new QTimeEdit(row);
    m_time->setDisplayFormat(hoursAndMinutes(QLocale()));
    m_time->setAccessibleName(tr("Time"));
    label->setBuddy(m_time);
    layout->addWidget(label);
    layout->addWidget(m_time);
    layout->addStretch();
    return row;
}

// Made left to right, so Tab meets them in that order.
QWidget *DeadlinePicker::makeButtonRow(bool hasDeadline)
{
    if (hasDeadline) {
        m_remove = new QuietButton(tr("Remove"), this);
        connect(m_remove, &QAbstractButton::clicked, this, [this] { setDeadline(std::nullopt); });
    }
    m_set = new PrimaryButton(Theme::accent, tr("Set Deadline"), this);
    connect(m_set, &QAbstractButton::clicked, this, [this] { setDeadline(m_date); });
    return PickerFrame::buttonRow(m_remove, m_set, this);
}

void DeadlinePicker::showDate(Date date)
{
    m_date = date;
    const QDateTime local = m_model.calendar().local(date);
    const QSignalBlocker calendarBlocker(m_calendar);
    const QSignalBlocker timeBlocker(m_time);
    m_calendar->setSelectedDate(local.date());
    m_time->setTime(local.time());
}

void DeadlinePicker::takeDay()
{
    const Calendar &calendar = m_model.calendar();
    if (const std::optional<Date> date = calendar.date(m_calendar->selectedDate(), calendar.timeOfDay(m_date)))
        m_date = *date;
}

void DeadlinePicker::takeTime()
{
    const Calendar &calendar = m_model.calendar();
    if (const std::optional<Date> date = calendar.date(calendar.day(m_date), m_time->time()))
        m_date = *date;
}

void DeadlinePicker::setDeadline(std::optional<Date> deadline)
{
    m_model.setDeadline(m_id, deadline);
    m_close();
}

void DeadlinePicker::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        setDeadline(m_date);
        return;
    }
    QWidget::keyPressEvent(event);
}
