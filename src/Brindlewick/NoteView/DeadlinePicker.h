#pragma once

#include "Date.h"
#include "QuickDeadlines.h"

#include <QUuid>
#include <QWidget>
#include <functional>
#include <optional>

class AppModel;
class PrimaryButton;
class PaperCalendar;
class QGridLayout;
class QTimeEdit;
class QuietButton;

// Gives a note a deadline: quick chips that set one at once, or a day and a time with
// "Set Deadline"; "Remove" while the note has one. Every button calls the model, then `close`.
class DeadlinePicker : public QWidget {
    Q_OBJECT
public:
    DeadlinePicker(AppModel &model, const QUuid &id, std::function<void()> close, QWidget *parent = nullptr);

    // The moment the calendar and the time field show together.
    Date date() const { return m_date; }
    PaperCalendar *calendar() const { return m_calendar; }
    QTimeEdit *timeEdit() const { return m_time; }
    PrimaryButton *setButton() const { return m_set; }
    // None while the note has no deadline.
    QuietButton *removeButton() const { return m_remove; }

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The quick chips follow the clock: their dates move with it, and the set of chips changes
    // when an option comes or goes.
    void followClock();
    void placeChips();
    void pickOption(const QString &label);
    QWidget *makeTimeRow();
    QWidget *makeButtonRow(bool hasDeadline);
    void showDate(Date date);
    void takeDay();
    void takeTime();
    void setDeadline(std::optional<Date> deadline);

    AppModel &m_model;
    QUuid m_id;
    std::function<void()> m_close;
    Date m_date;
    std::vector<QuickDeadlines::Option> m_options;
    QGridLayout *m_chips = nullptr;
    PaperCalendar *m_calendar = nullptr;
    QTimeEdit *m_time = nullptr;
    PrimaryButton *m_set = nullptr;
    QuietButton *m_remove = nullptr;
};
