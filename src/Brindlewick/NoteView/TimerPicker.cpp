#include "TimerPicker.h"

#include "State/AppModel.h"
#include "NoteFace.h"
#include "PickerFrame.h"
#include "Theme/ChipButton.h"
#include "Theme/Fonts.h"
#include "Theme/Hairline.h"
#include "Theme/Kicker.h"
#include "Theme/PrimaryButton.h"
#include "Theme/QuietButton.h"
#include "Theme/Theme.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int chipColumns = 4;
constexpr int chipWidth = 58;
constexpr int chipSpacing = 6;
// Wide enough for a full row of chips inside the padding: 250 points of chips and gaps (at 280 the
// last chip of each row lost two points).
constexpr int pickerWidth =
    2 * PickerFrame::padding + chipColumns * chipWidth + (chipColumns - 1) * chipSpacing;
constexpr int hoursWidth = 40 + 30;
constexpr int minutesWidth = 54 + 30;

QSpinBox *stepper(int maximum, const QString &suffix, int width, const QString &name, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setRange(0, maximum);
    box->setSuffix(suffix);
    box->setFont(Fonts::number());
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(width);
    box->setAccessibleName(name);
    return box;
}

// "25 min", "1 h", "1 h 30".
QString presetTitle(int minutes)
{
    if (minutes < 60)
        return TimerPicker::tr("%1 min").arg(minutes);
    const int hours = minutes / 60;
    const int rest = minutes % 60;
    return rest == 0 ? TimerPicker::tr("%1 h").arg(hours) : TimerPicker::tr("%1 h %2").arg(hours).arg(rest);
}

} // namespace

TimerPicker::TimerPicker(AppModel &model, const QUuid &id, std::function<void()> close, QWidget *parent)
    : QWidget(parent), m_model(model), m_id(id), m_close(std::move(close))
{
    setFixedWidth(pickerWidth);
    setAccessibleName(tr("Timer"));
    const StickyNote *note = model.book().find(id);
    const bool hasTimer = note && note->timer;

    auto *column = PickerFrame::column(this);
    column->addWidget(new Kicker(tr("Timer"), Theme::ink3, this));
    column->addWidget(makePresets());
    column->addWidget(new Hairline(Qt::Horizontal, this));
    column->addWidget(makeLengthRow());
    column->addWidget(makeButtonRow(hasTimer));

    const NoteFace::PickerLength length = NoteFace::pickerLength(note ? note->timer : std::nullopt);
    m_hours->setValue(length.hours);
    m_minutes->setValue(length.minutes);
    // A timer under a minute opens at 0 and 0, which the boxes hold already and do not report.
    enableStart();
}

// Handed the focus by its popover, the picker passes it on to the hours. It is no focus proxy:
// Tab would then take the picker itself for the hours and never reach the chips.
void TimerPicker::focusInEvent(QFocusEvent *event)
{
    m_hours->setFocus(event->reason());
}

QWidget *TimerPicker::makePresets()
{
    auto *grid = new QWidget(this);
    auto *layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(chipSpacing);
    layout->setAlignment(Qt::AlignHCenter);
    int index = 0;
    for (const int minutes : presets) {
        auto *chip = new ChipButton(presetTitle(minutes), false, grid);
        chip->setFixedWidth(chipWidth);
        connect(chip, &QAbstractButton::clicked, this, [this, minutes] { start(minutes * 60.0); });
        layout->addWidget(chip, index / chipColumns, index % chipColumns);
        ++index;
    }
    return grid;
}

QWidget *TimerPicker::makeLengthRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    m_hours = stepper(99, tr(" h"), hoursWidth, tr("Hours"), row);
    m_minutes = stepper(59, tr(" min"), minutesWidth, tr("Minutes"), row);
    layout->addWidget(m_hours);
    layout->addWidget(m_minutes);
    layout->addStretch();
    connect(m_hours, &QSpinBox::valueChanged, this, &TimerPicker::enableStart);
    connect(m_minutes, &QSpinBox::valueChanged, this, &TimerPicker::enableStart);
    return row;
}

// Made left to right, so Tab meets them in that order.
QWidget *TimerPicker::makeButtonRow(bool hasTimer)
{
    if (hasTimer) {
        m_remove = new QuietButton(tr("Remove Timer"), this);
        connect(m_remove, &QAbstractButton::clicked, this, [this] {
            m_model.removeTimer(m_id);
            m_close();
        });
    }
    m_start = new PrimaryButton(Theme::accent, tr("Start"), this);
    connect(m_start, &QAbstractButton::clicked, this, &TimerPicker::startFreeLength);
    return PickerFrame::buttonRow(m_remove, m_start, this);
}

int TimerPicker::hours() const
{
    return m_hours->value();
}

int TimerPicker::minutes() const
{
    return m_minutes->value();
}

void TimerPicker::enableStart()
{
    m_start->setEnabled(hours() > 0 || minutes() > 0);
}

void TimerPicker::start(double seconds)
{
    m_model.setTimer(m_id, seconds, true);
    m_close();
}

void TimerPicker::startFreeLength()
{
    if (m_start->isEnabled())
        start(hours() * 3600.0 + minutes() * 60.0);
}

void TimerPicker::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        startFreeLength();
        return;
    }
    QWidget::keyPressEvent(event);
}
