#pragma once

#include "Theme/Appearance.h"

#include <QCalendarWidget>
#include <optional>

class QAbstractButton;

// The deadline picker's month calendar, drawn on the paper's card: the month's name and ink chevrons
// on the card instead of a coloured bar, weekday initials in faint ink, days in ink (those of the
// months either side fainter), today in the accent, the chosen day on an accent plate. While the
// days have the keyboard focus, a ring around the chosen day shows where the arrow keys act.
class PaperCalendar : public QCalendarWidget {
    Q_OBJECT
public:
    explicit PaperCalendar(QWidget *parent = nullptr);

    // The grid of days, which takes the keyboard.
    QWidget *days() const;
    QAbstractButton *previousMonthButton() const;
    QAbstractButton *nextMonthButton() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintCell(QPainter *painter, const QRect &rect, QDate date) const override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Gives the calendar's own pieces the colours of the current appearance.
    void followScheme();
    bool showsFocus() const;

    std::optional<Scheme> m_scheme;
    bool m_keyboardInDays = false;
};
