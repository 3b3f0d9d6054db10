#pragma once

#include "NoteList.h"

#include <QAbstractButton>

class Kicker;
class ThemeLabel;
class TimeTape;

// The sidebar's card for the most pressing countdown: "Next up" (or "Overdue") over the note's
// title and its tape, on the note's paper. A click anywhere on it, or Space or Return, selects the note.
class NextUpCard : public QAbstractButton {
    Q_OBJECT
public:
    explicit NextUpCard(QWidget *parent = nullptr);

    const NoteList::NoteCountdown &shown() const { return m_shown; }
    void setSoonest(const NoteList::NoteCountdown &soonest);
    QString kickerText() const;
    QStringList titleLines() const;
    TimeTape *tape() const { return m_tape; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool isOverdue() const;

    NoteList::NoteCountdown m_shown;
    Kicker *m_nextUp;
    Kicker *m_overdue;
    ThemeLabel *m_title;
    TimeTape *m_tape;
};
