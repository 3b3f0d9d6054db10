#pragma once

#include "NoteTimer.h"
#include "State/PopoverRequest.h"

#include <QPointer>
#include <QUuid>
#include <QWidget>
#include <optional>

class AppModel;
class ColorDots;
class PaperBackground;
class PaperEditor;
class PlainButton;
class Popover;
class PrimaryButton;
class QAbstractButton;
class QCheckBox;
class QScrollArea;
class QStackedLayout;
class QuietButton;
class SegmentedPicker;
class ThemeLabel;
class TiltedTape;
struct StickyNote;

// The library's right column: edits the selected note. Its paper with the tape and the text, the
// colour, the timer, the deadline, where it lives, done and delete; a deleted note offers only its
// colour, "Restore" and "Delete Forever". With no note selected it shows a hint. It holds no note:
// every control reads the note afresh from the model and acts through the model by the note's id.
// Its own state is only which of its two pickers is open.
class Inspector : public QWidget {
    Q_OBJECT
public:
    explicit Inspector(AppModel &model, QWidget *parent = nullptr);

    // The note shown; none while the hint is up.
    std::optional<QUuid> shownId() const { return m_shownId; }
    bool isShowingHint() const;
    bool isTimerPickerOpen() const { return !m_timerPopover.isNull(); }
    bool isDeadlinePickerOpen() const { return !m_deadlinePopover.isNull(); }
    // Opens the timer or deadline picker of the note shown, as its link does; false when the column
    // offers none (no note, or a deleted one). The colour has no picker here.
    bool openPicker(PopoverRequest::Kind kind);

    QWidget *hint() const { return m_hint; }
    TiltedTape *tape() const { return m_tape; }
    PaperEditor *textEditor() const { return m_editor; }
    ColorDots *colorDots() const { return m_dots; }
    QWidget *timerRow() const { return m_timerRow; }
    ThemeLabel *timerText() const { return m_timerText; }
    QuietButton *startPauseButton() const { return m_startPause; }
    QuietButton *addFiveButton() const { return m_addFive; }
    PlainButton *timerLink() const { return m_timerLink; }
    QWidget *deadlineRow() const { return m_deadlineRow; }
    ThemeLabel *deadlineText() const { return m_deadlineText; }
    ThemeLabel *deadlineStatus() const { return m_deadlineStatus; }
    PlainButton *deadlineLink() const { return m_deadlineLink; }
    // "Desktop" (0) or "Notch" (1).
    SegmentedPicker *placePicker() const { return m_place; }
    QCheckBox *floatToggle() const { return m_float; }
    ThemeLabel *trayNotice() const { return m_trayNotice; }
    QuietButton *doneButton() const { return m_done; }
    QuietButton *trashButton() const { return m_trash; }
    QWidget *liveControls() const { return m_live; }
    QWidget *deletedControls() const { return m_deleted; }
    ThemeLabel *deletedNotice() const { return m_deletedNotice; }
    PrimaryButton *restoreButton() const { return m_restore; }
    QuietButton *deleteForeverButton() const { return m_deleteForever; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *makeHint();
    QWidget *makeEditor();
    QWidget *makePaper(QWidget *parent);
    QWidget *makeTimerSection(QWidget *parent);
    QWidget *makeDeadlineSection(QWidget *parent);
    QWidget *makePlaceSection(QWidget *parent);
    QWidget *makeActionRow(QWidget *parent);
    QWidget *makeDeletedControls(QWidget *parent);
    QWidget *section(const QString &title, QWidget *content, QWidget *parent);

    // Clicking the button calls the operation with the shown note's id.
    void callOnClick(QAbstractButton *button, void (AppModel::*operation)(const QUuid &));
    void refresh();
    void showNote(const StickyNote &note);
    void showTimer(const StickyNote &note);
    void showDeadline(const StickyNote &note);
    void showPlace(const StickyNote &note);
    void startOrPause();
    void openTimerPicker();
    void openDeadlinePicker();

    AppModel &m_model;
    std::optional<QUuid> m_shownId;
    // The timer's state when the row was last drawn: what Start/Pause acts on.
    NoteTimer::State m_timerState = NoteTimer::State::ready;

    QStackedLayout *m_pages = nullptr;
    QWidget *m_hint = nullptr;
    QScrollArea *m_scroll = nullptr;
    PaperBackground *m_paper = nullptr;
    TiltedTape *m_tape = nullptr;
    PaperEditor *m_editor = nullptr;
    ColorDots *m_dots = nullptr;
    QWidget *m_live = nullptr;
    QWidget *m_timerRow = nullptr;
    ThemeLabel *m_timerText = nullptr;
    QuietButton *m_startPause = nullptr;
    QuietButton *m_addFive = nullptr;
    PlainButton *m_timerLink = nullptr;
    QWidget *m_deadlineRow = nullptr;
    ThemeLabel *m_deadlineText = nullptr;
    ThemeLabel *m_deadlineStatus = nullptr;
    PlainButton *m_deadlineLink = nullptr;
    SegmentedPicker *m_place = nullptr;
    QCheckBox *m_float = nullptr;
    ThemeLabel *m_trayNotice = nullptr;
    QuietButton *m_done = nullptr;
    QuietButton *m_trash = nullptr;
    ThemeLabel *m_dates = nullptr;
    QWidget *m_deleted = nullptr;
    ThemeLabel *m_deletedNotice = nullptr;
    PrimaryButton *m_restore = nullptr;
    QuietButton *m_deleteForever = nullptr;
    QPointer<Popover> m_timerPopover;
    QPointer<Popover> m_deadlinePopover;
};
