#pragma once

#include "Banner.h"
#include "ClockFollowers.h"
#include "NoteWriter.h"
#include "Notifier.h"
#include "Paths.h"
#include "PopoverRequest.h"
#include "SettingsStore.h"
#include "TrayOpen.h"
#include "ZoneWatch.h"

#include "Calendar.h"
#include "NoteBook.h"
#include "NoteFilter.h"
#include "NoteSort.h"
#include "NoteStore.h"

#include <QList>
#include <QObject>
#include <QRectF>
#include <QSet>
#include <QTimer>
#include <QUuid>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

// The one state object of the application, on the main thread. Windows read the notebook and the
// settings from it and change notes only through its operations, keyed by note id. Every published
// value has a `...Changed` signal, emitted after the new value is stored and only when it differs
// (`nowChanged` excepted: every tick publishes). The time is read only through `clock`.
// This header is the table of contents: each group of operations below names the file it lives in.
class AppModel final : public QObject {
    Q_OBJECT

public:
    // Reads no file, starts no timer and touches no notification until `start()`. Without a notifier
    // the model talks to the desktop's notification server (`SystemNotifier`).
    AppModel(Paths paths, SettingsStore defaults, std::unique_ptr<Notifier> notifier = nullptr,
             QObject *parent = nullptr);
    // Waits for the settings it changed to reach the disk, as the writer does for its notes.
    ~AppModel() override;

    // The process's model, made on first use on the live data folder and settings file; never destroyed.
    static AppModel &shared();

    // Published values (AppModel.cpp).
    const NoteBook &book() const { return m_book; }
    void setBook(const NoteBook &book);
    Date now() const { return m_now; }
    // The user's time zone, built once and built again when the desktop's zone changes (looked at
    // on the tick after TZ or a zone setting changes): building a zone reads its files.
    const Calendar &calendar() const { return m_calendar; }
    // The moment the next local day begins, worked out once a day.
    Date tomorrow() const { return m_tomorrow; }
    // Note views that follow the clock only when their faces can change; told after `nowChanged`.
    ClockFollowers &clockFollowers() { return m_clockFollowers; }
    NoteFilter filter() const { return m_filter; }
    void setFilter(NoteFilter filter);
    const QString &query() const { return m_query; }
    void setQuery(const QString &query);
    std::optional<QUuid> selection() const { return m_selection; }
    void setSelection(std::optional<QUuid> selection);
    const std::optional<Banner> &banner() const { return m_banner; }
    void setBanner(std::optional<Banner> banner);
    bool showWelcome() const { return m_showWelcome; }
    void setShowWelcome(bool show);
    const QSet<QUuid> &ringing() const { return m_ringing; }
    void setRinging(const QSet<QUuid> &ringing);
    // Answers a ringing note without changing it.
    void stopRinging(const QUuid &id);
    NotifyPermission permission() const { return m_permission; }
    void setPermission(NotifyPermission permission);
    bool notesHidden() const { return m_notesHidden; }
    void setNotesHidden(bool hidden);
    std::optional<PopoverRequest> popover() const { return m_popover; }
    void setPopover(std::optional<PopoverRequest> request);
    const std::optional<QString> &loadProblem() const { return m_loadProblem; }
    void setLoadProblem(std::optional<QString> problem);

    // Settings (AppModelSettings.cpp): every assignment is published and written to `defaults()`, also an unchanged value.
    NoteSort sort() const { return m_sort; }
    void setSort(NoteSort sort);
    NoteColor defaultColor() const { return m_defaultColor; }
    void setDefaultColor(NoteColor color);
    bool newNotesFloat() const { return m_newNotesFloat; }
    void setNewNotesFloat(bool floats);
    int warnMinutes() const { return m_warnMinutes; }
    // Also reschedules the notifications, every time.
    void setWarnMinutes(int minutes);
    bool playSound() const { return m_playSound; }
    void setPlaySound(bool play);
    bool trayEnabled() const { return m_trayEnabled; }
    void setTrayEnabled(bool enabled);
    TrayOpen trayOpensOn() const { return m_trayOpensOn; }
    void setTrayOpensOn(TrayOpen open);
    bool showMenuBarItem() const { return m_showMenuBarItem; }
    void setShowMenuBarItem(bool show);
    bool hotkeyEnabled() const { return m_hotkeyEnabled; }
    void setHotkeyEnabled(bool enabled);

    // The heads-up before a deadline in seconds; none when `warnMinutes` is 0 or below.
    std::optional<double> warnSeconds() const;

    const Paths &paths() const { return m_paths; }
    const NoteStore &store() const { return m_store; }
    const SettingsStore &defaults() const { return m_defaults; }
    Notifier &notifier() const { return *m_notifier; }
    bool isDemo() const { return m_isDemo; }
    // Alert sounds the tick has played.
    int soundsPlayed() const { return m_soundsPlayed; }
    // How long `scheduleSave()` waits for the end of a burst of changes.
    void setSaveDelay(std::chrono::milliseconds delay);
    // A debounced save is waiting.
    bool savePending() const { return m_saveTimer.isActive(); }
    // The notes file is there but could not be read: nothing is saved until a load succeeds, which
    // is tried again every few seconds and on `load()`.
    bool loadBlocked() const { return m_loadRetry.isActive(); }
    // The last save failed; it is tried again every few seconds until one succeeds.
    bool saveFailing() const { return m_saveRetry.isActive(); }
    // How often a failed load or save is tried again.
    void setRetryInterval(std::chrono::milliseconds interval);
    // How long `saveBeforeQuit()` waits for the disk.
    void setQuitWait(std::chrono::milliseconds wait);
    // How long a notes file that changed and does not decode must keep still before it counts as
    // damaged: until then it may be one another program is still writing.
    void setQuietWait(std::chrono::milliseconds wait);
    // Writes the notes file on a thread of its own.
    NoteWriter &writer() { return m_writer; }

    // Callbacks, each set once by its owner, which either outlives the model or clears it first.
    // The only way the model reads the time.
    std::function<Date()> clock;
    // Plays while notifications are not allowed (the tick decides when).
    std::function<void()> alertSound;
    // A note whose timer ran out or whose deadline arrived; gets the stamped note.
    std::function<void(const StickyNote &)> onRing;
    // Asks for a note to be shown on the desktop.
    std::function<void(const QUuid &)> onShow;

    // Life cycle (AppModel.cpp). `start()` runs once: loads, purges, ticks, reads the permission,
    // decides the welcome.
    void start();
    // Points the model at a throw-away world in `root`, with a clock that stands still when `frozen`.
    void useDemo(const QString &root, Date now, bool frozen);
    // Moves the demo clock on, then ticks.
    void advance(double seconds);

    // Loading and saving (AppModelSaving.cpp).
    void load();
    // Hands the notebook to the writer at once and drops a pending debounced save; never waits for the
    // disk. Safe to call at any time and repeatedly. Writes nothing before `load()` (or `useDemo`), so a
    // model that never read the file cannot empty it.
    void saveNow();
    // Waits at most `within` until every save asked for has reached the disk and its outcome is taken
    // in; false when time ran out first.
    bool finishSaves(std::chrono::milliseconds within);
    // Writes once, a short while after the last of a burst of calls.
    void scheduleSave();
    // The last save of a run, waiting for the disk a short while: notes that cannot reach their file by
    // then go to a recovery file in a folder of the user's own (the state folder, else the data folder,
    // else home), and the terminal says where. The settings and other small files asked for are waited
    // for within the same while.
    void saveBeforeQuit();

    // The clock, ringing and notifications (AppModelRinging.cpp).
    // Publishes the time and raises the alerts that fell due.
    void tick();
    // The run ends: raises what fell due in its last moments, its last second included, without
    // ringing (the notifier may have shown them, and the next start must not show them again), saves
    // as `saveBeforeQuit()` does, and takes the run's alert notifications off the screen.
    void finishRun();
    // Hands the notifier every alert still ahead, or nothing while notifications are not allowed.
    void reschedule();
    // Asks the notifier for permission, then publishes the answer and reschedules. The settings
    // window and the welcome both ask through here; the answer may come after the call returns.
    void requestPermission();
    // Turns desktop notifications off (the settings window's switch), then publishes the resulting
    // permission and reschedules.
    void revokePermission();

    // Creating notes (AppModelCreate.cpp).
    QUuid newNote(const QString &text = {}, std::optional<NoteColor> color = std::nullopt,
                  std::optional<double> timer = std::nullopt, bool startTimer = false,
                  std::optional<Date> deadline = std::nullopt, bool tucked = false,
                  std::optional<QRectF> frame = std::nullopt);
    // One typed line; none when it holds no text.
    std::optional<QUuid> quickNote(const QString &line, std::optional<NoteColor> color = std::nullopt,
                                   bool tucked = false);
    // The copy's id; none when there is no such note.
    std::optional<QUuid> duplicate(const QUuid &id);
    void finishWelcome(bool tray);

    // Editing one note (AppModelEdit.cpp).
    void setText(const QUuid &id, const QString &text);
    void setColor(const QUuid &id, NoteColor color);
    void togglePinned(const QUuid &id);
    void setFrame(const QUuid &id, const QRectF &frame);
    void setTucked(const QUuid &id, bool tucked);
    void setTimer(const QUuid &id, double seconds, bool start);
    void startTimer(const QUuid &id);
    void pauseTimer(const QUuid &id);
    void resetTimer(const QUuid &id);
    void addTime(const QUuid &id, double seconds);
    void removeTimer(const QUuid &id);
    void setDeadline(const QUuid &id, std::optional<Date> deadline);
    // Answers a ringing note: a run-down timer gets more time, else a passed deadline moves on.
    void snooze(const QUuid &id, double seconds);

    // Done, delete, restore, undo (AppModelDone.cpp).
    void toggleDone(const QUuid &id);
    void deleteNotes(const QList<QUuid> &ids);
    void restore(const QUuid &id);
    void deleteForever(const QUuid &id);
    void emptyDeleted();
    // Puts back the notes of the banner's undo list, as changed now.
    void undo();

    // Lists, against the published `now` (AppModel.cpp).
    QList<StickyNote> visible() const;
    int count(NoteFilter filter) const;
    // Live notes on the desktop, in notebook order.
    QList<StickyNote> desktopNotes() const;
    // Live notes in the tray, least time left first.
    QList<StickyNote> tuckedNotes() const;

signals:
    void bookChanged();
    void nowChanged();
    void filterChanged();
    void queryChanged();
    void selectionChanged();
    void bannerChanged();
    void showWelcomeChanged();
    void ringingChanged();
    void permissionChanged();
    void notesHiddenChanged();
    void popoverChanged();
    void loadProblemChanged();
    void sortChanged();
    void defaultColorChanged();
    void newNotesFloatChanged();
    void warnMinutesChanged();
    void playSoundChanged();
    void trayEnabledChanged();
    void trayOpensOnChanged();
    void showMenuBarItemChanged();
    void hotkeyEnabledChanged();
    // The user finished the welcome ("Start Writing").
    void welcomeFinished();

private:
    enum class Raise { ringing, quietly };

    struct EditRule {
        bool answersRing = false;
        bool movesAlerts = false;
        bool stampsEdited = true;
        // A window moved is no change a copy of the note from elsewhere should give way to.
        bool isChange = true;
    };

    // Stores a published value and announces it when it changed.
    template <typename T>
    void publish(T &member, const T &value, void (AppModel::*changed)());
    void readSettings();
    void installActionHandler();
    void handle(const QUuid &id, NotifyAction action);
    // Stamps the alerts due at `now`, rings their notes (calling `onRing` only when ringing) and hands
    // them to the notifier; false when none was due.
    bool raiseDue(Date now, Raise raise);
    void edit(const QUuid &id, EditRule rule, const std::function<void(StickyNote &)> &change);
    void store(const StickyNote &note);
    void setNow(Date now);
    void followDay();
    void followZone();
    void adoptPermission(NotifyPermission permission);
    void adoptLoaded(const NoteBook &book, bool wasBlocked);
    void cannotLoad(const QString &problem);
    void writerReported(const NoteWriter::Report &report);
    void wrote(const NoteWriter::Saved &saved);
    void tookThePlaceOf(const NoteWriter::Displaced &displaced);
    void fileChanged(const NoteWriter::Changed &change);
    NoteBook mergeIn(const NoteBook &theirs, const NoteBook &seenLast);
    bool keptStill(const std::optional<FileStamp> &stamp);
    void lookAgain();
    void tellKept(const QString &copy);
    void tellChange(const QString &sentence);
    void saveFailed(const QString &error);
    void noticeStartProblems();
    QStringList recoveryFolders() const;

    NoteBook m_book;
    Date m_now;
    QByteArray m_zoneId = QTimeZone::systemTimeZoneId();
    ZoneWatch m_zoneWatch;
    // The local day of `m_now`, as moments.
    Date m_today;
    Date m_tomorrow;
    Calendar m_calendar = Calendar::current();
    NoteFilter m_filter = NoteFilter::all;
    QString m_query;
    std::optional<QUuid> m_selection;
    std::optional<Banner> m_banner;
    bool m_showWelcome = false;
    QSet<QUuid> m_ringing;
    NotifyPermission m_permission = NotifyPermission::notAsked;
    bool m_notesHidden = false;
    std::optional<PopoverRequest> m_popover;
    std::optional<QString> m_loadProblem;

    NoteSort m_sort = NoteSort::urgency;
    NoteColor m_defaultColor = NoteColor::lemon;
    bool m_newNotesFloat = false;
    int m_warnMinutes = 15;
    bool m_playSound = true;
    bool m_trayEnabled = false;
    TrayOpen m_trayOpensOn = TrayOpen::hover;
    bool m_showMenuBarItem = true;
    bool m_hotkeyEnabled = true;

    Paths m_paths;
    NoteStore m_store;
    NoteWriter m_writer;
    SettingsStore m_defaults;
    std::unique_ptr<Notifier> m_notifier;
    bool m_isDemo = false;
    int m_soundsPlayed = 0;
    Date m_demoNow;
    QTimer m_ticker;
    ClockFollowers m_clockFollowers;
    QTimer m_saveTimer;
    QTimer m_loadRetry;
    QTimer m_saveRetry;
    // Runs while a notes file that does not decode is given a moment to be finished.
    QTimer m_quiet;
    // That file, as it was when it was last found not to decode.
    std::optional<FileStamp> m_unfinished;
    // How long quitting waits for the last write before the notes go to a recovery file.
    std::chrono::milliseconds m_quitWait{2000};
    // The notes file as this run last read or wrote it.
    NoteBook m_onDisk;
    // The notes file as this run last read it: at the start, or put there by another program.
    NoteBook m_lastRead;
    // What the banner says once a file another program changed is merged and written over.
    QString m_changeNotice;
    // What the last recovery file holds, so quitting twice writes it once.
    std::optional<NoteBook> m_recovered;
    bool m_started = false;
    // The notebook came from the store (or a demo world), so saving it loses nothing.
    bool m_loaded = false;
};

template <typename T>
void AppModel::publish(T &member, const T &value, void (AppModel::*changed)())
{
    if (member == value)
        return;
    member = value;
    emit(this->*changed)();
}
