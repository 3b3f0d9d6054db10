#pragma once

#include "Date.h"
#include "DueText.h"
#include "NoteColor.h"

#include <QUuid>
#include <QWidget>
#include <optional>
#include <tuple>

class AppModel;
class DeadlineButton;
class PaperIconButton;
class QGraphicsOpacityEffect;
struct StickyNote;

// The bottom row of a note: the timer's buttons on the left, the deadline button on the right.
class NoteFooter : public QWidget {
    Q_OBJECT
public:
    NoteFooter(AppModel &model, const QUuid &id, QWidget *parent = nullptr);

    void refresh(const StickyNote &note, Date now);
    // The opacity of the controls that show only with the note's other controls.
    void setControlsOpacity(qreal opacity);

    // Where the timer popover hangs: the add-timer button, or the change button of a timer.
    QWidget *timerAnchor() const;
    DeadlineButton *deadlineButton() const { return m_deadline; }
    PaperIconButton *addTimerButton() const { return m_addTimer; }
    PaperIconButton *startPauseButton() const { return m_startPause; }
    PaperIconButton *addTimeButton() const { return m_addTime; }
    PaperIconButton *changeTimerButton() const { return m_changeTimer; }

signals:
    void timerRequested();
    void deadlineRequested();

private:
    // What the timer buttons show: the paper, whether there is a timer, whether it runs.
    using TimerFace = std::tuple<NoteColor, bool, bool>;

    PaperIconButton *addIconButton(const QString &symbol, const QString &help);
    void showTimer(const TimerFace &face);
    void startOrPause();
    void applyOpacity();

    AppModel &m_model;
    QUuid m_id;
    bool m_running = false;
    std::optional<TimerFace> m_timerFace;
    DueText m_dueText;
    qreal m_controlsOpacity = 0;
    PaperIconButton *m_addTimer;
    PaperIconButton *m_startPause;
    PaperIconButton *m_addTime;
    PaperIconButton *m_changeTimer;
    DeadlineButton *m_deadline;
    QGraphicsOpacityEffect *m_addTimerFade;
    QGraphicsOpacityEffect *m_deadlineFade;
};
