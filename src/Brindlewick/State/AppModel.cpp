#include "AppModel.h"

#include "AlertSound.h"
#include "Recovery.h"
#include "RecordingNotifier.h"
#include "SystemNotifier.h"
#include "SettingsStore.h"

#include "AlertPlanner.h"
#include "Calendar.h"
#include "NoteList.h"
#include "NoteMerge.h"
#include "NoteQuery.h"
#include "QuickParse.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <cstdio>

namespace {

constexpr auto defaultSaveDelay = std::chrono::milliseconds(400);
constexpr std::chrono::milliseconds tickInterval(1000);
constexpr std::chrono::milliseconds defaultRetryInterval(5000);
// Deleted notes older than this go at start.
constexpr double keepDeleted = 30 * 24 * 3600;
constexpr double duplicateOffset = 28;

// Every run of the application has a desktop to talk to; tests and harnesses pass their own notifier.
std::unique_ptr<Notifier> defaultNotifier()
{
    return std::make_unique<SystemNotifier>();
}

// An error quoted in brackets inside a sentence, which brings its own full stop.
QString inBrackets(QString error)
{
    if (error.endsWith(u'.'))
        error.chop(1);
    return error;
}

} // namespace

AppModel::AppModel(Paths paths, SettingsStore defaults, std::unique_ptr<Notifier> notifier,
                   QObject *parent)
    : QObject(parent),
      clock(&Date::current),
      alertSound(&AlertSound::play),
      m_now(Date::current()),
      m_paths(std::move(paths)),
      m_store(m_paths.data),
      m_writer(m_store),
      m_defaults(std::move(defaults)),
      m_notifier(notifier ? std::move(notifier) : defaultNotifier()),
      m_demoNow(m_now)
{
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setTimerType(Qt::PreciseTimer);
    m_saveTimer.setInterval(defaultSaveDelay);
    connect(&m_saveTimer, &QTimer::timeout, this, &AppModel::saveNow);

    m_ticker.setInterval(tickInterval);
    m_ticker.setTimerType(Qt::CoarseTimer);
    connect(&m_ticker, &QTimer::timeout, this, &AppModel::tick);

    // Both run only while a load or a save waits for its problem to go away.
    for (QTimer *retry : {&m_loadRetry, &m_saveRetry}) {
        retry->setInterval(defaultRetryInterval);
        retry->setTimerType(Qt::CoarseTimer);
    }
    connect(&m_loadRetry, &QTimer::timeout, this, &AppModel::load);
    connect(&m_saveRetry, &QTimer::timeout, this, &AppModel::saveNow);

    m_writer.onReport = [this](const NoteWriter::Report &report) { writerReported(report); };
    connect(&m_writer, &NoteWriter::folderChanged, this, [this] {
        if (m_loaded)
            m_writer.check(clock());
    });

    readSettings();
    installActionHandler();
}

AppModel &AppModel::shared()
{
    static AppModel *const model = new AppModel(Paths::live(), SettingsStore::standard());
    return *model;
}

void AppModel::readSettings()
{
    const QString sort = m_defaults.stringValue(SettingsKeys::sort).value_or(QString());
    m_sort = noteSortFromString(sort).value_or(NoteSort::urgency);
    const QString color = m_defaults.stringValue(SettingsKeys::defaultColor).value_or(QString());
    m_defaultColor = noteColorFromString(color).value_or(NoteColor::lemon);
    m_newNotesFloat = m_defaults.boolValue(SettingsKeys::newNotesFloat).value_or(false);
    m_warnMinutes = m_defaults.intValue(SettingsKeys::warnMinutes).value_or(15);
    m_playSound = m_defaults.boolValue(SettingsKeys::playSound).value_or(true);
    m_trayEnabled = m_defaults.boolValue(SettingsKeys::trayEnabled).value_or(false);
    const QString open = m_defaults.stringValue(SettingsKeys::trayOpensOn).value_or(QString());
    m_trayOpensOn = trayOpenFromString(open).value_or(TrayOpen::hover);
    m_showMenuBarItem = m_defaults.boolValue(SettingsKeys::showMenuBarItem).value_or(true);
    m_hotkeyEnabled = m_defaults.boolValue(SettingsKeys::hotkeyEnabled).value_or(true);
}

void AppModel::installActionHandler()
{
    m_notifier->onAction = [this](const QUuid &id, NotifyAction action) { handle(id, action); };
    m_notifier->onPermissionChange = [this](NotifyPermission permission) { adoptPermission(permission); };
}

// Published values.

template <typename T>
void AppModel::publish(T &member, const T &value, void (AppModel::*changed)())
{
    if (member == value)
        return;
    member = value;
    emit(this->*changed)();
}

void AppModel::setBook(const NoteBook &book)
{
    publish(m_book, book, &AppModel::bookChanged);
}

void AppModel::setNow(Date now)
{
    m_now = now;
    followDay();
    emit nowChanged();
    m_clockFollowers.tick(now);
}

void AppModel::followDay()
{
    if (m_now >= m_today && m_now < m_tomorrow)
        return;
    m_today = m_calendar.startOfDay(m_now);
    m_tomorrow = m_calendar.startOfNextDay(m_now);
}

void AppModel::followZone()
{
    if (!m_zoneWatch.mayHaveChanged())
        return;
    const QByteArray zoneId = QTimeZone::systemTimeZoneId();
    if (zoneId == m_zoneId)
        return;
    m_zoneId = zoneId;
    m_calendar = Calendar::current();
    m_tomorrow = m_today;
    followDay();
    m_clockFollowers.wakeAll();
}

void AppModel::setFilter(NoteFilter filter)
{
    publish(m_filter, filter, &AppModel::filterChanged);
}

void AppModel::setQuery(const QString &query)
{
    publish(m_query, query, &AppModel::queryChanged);
}

void AppModel::setSelection(std::optional<QUuid> selection)
{
    publish(m_selection, selection, &AppModel::selectionChanged);
}

void AppModel::setBanner(std::optional<Banner> banner)
{
    publish(m_banner, banner, &AppModel::bannerChanged);
}

void AppModel::setShowWelcome(bool show)
{
    publish(m_showWelcome, show, &AppModel::showWelcomeChanged);
}

void AppModel::setRinging(const QSet<QUuid> &ringing)
{
    publish(m_ringing, ringing, &AppModel::ringingChanged);
}

// Whatever ends a ring (an answer, done, delete, a new time) also takes its notifications away.
void AppModel::stopRinging(const QUuid &id)
{
    m_notifier->withdraw(id);
    if (m_ringing.remove(id))
        emit ringingChanged();
}

void AppModel::setPermission(NotifyPermission permission)
{
    publish(m_permission, permission, &AppModel::permissionChanged);
}

void AppModel::setNotesHidden(bool hidden)
{
    publish(m_notesHidden, hidden, &AppModel::notesHiddenChanged);
}

void AppModel::setPopover(std::optional<PopoverRequest> request)
{
    publish(m_popover, request, &AppModel::popoverChanged);
}

void AppModel::setLoadProblem(std::optional<QString> problem)
{
    publish(m_loadProblem, problem, &AppModel::loadProblemChanged);
}

// Settings.

void AppModel::setSort(NoteSort sort)
{
    publish(m_sort, sort, &AppModel::sortChanged);
    m_defaults.setString(SettingsKeys::sort, toString(sort));
}

void AppModel::setDefaultColor(NoteColor color)
{
    publish(m_defaultColor, color, &AppModel::defaultColorChanged);
    m_defaults.setString(SettingsKeys::defaultColor, toString(color));
}

void AppModel::setNewNotesFloat(bool floats)
{
    publish(m_newNotesFloat, floats, &AppModel::newNotesFloatChanged);
    m_defaults.setBool(SettingsKeys::newNotesFloat, floats);
}

void AppModel::setWarnMinutes(int minutes)
{
    publish(m_warnMinutes, minutes, &AppModel::warnMinutesChanged);
    m_defaults.setInt(SettingsKeys::warnMinutes, minutes);
    reschedule();
}

void AppModel::setPlaySound(bool play)
{
    publish(m_playSound, play, &AppModel::playSoundChanged);
    m_defaults.setBool(SettingsKeys::playSound, play);
}

void AppModel::setTrayEnabled(bool enabled)
{
    publish(m_trayEnabled, enabled, &AppModel::trayEnabledChanged);
    m_defaults.setBool(SettingsKeys::trayEnabled, enabled);
}

void AppModel::setTrayOpensOn(TrayOpen open)
{
    publish(m_trayOpensOn, open, &AppModel::trayOpensOnChanged);
    m_defaults.setString(SettingsKeys::trayOpensOn, toString(open));
}

void AppModel::setShowMenuBarItem(bool show)
{
    publish(m_showMenuBarItem, show, &AppModel::showMenuBarItemChanged);
    m_defaults.setBool(SettingsKeys::showMenuBarItem, show);
}

void AppModel::setHotkeyEnabled(bool enabled)
{
    publish(m_hotkeyEnabled, enabled, &AppModel::hotkeyEnabledChanged);
    m_defaults.setBool(SettingsKeys::hotkeyEnabled, enabled);
}

std::optional<double> AppModel::warnSeconds() const
{
    if (m_warnMinutes <= 0)
        return std::nullopt;
    return m_warnMinutes * 60.0;
}

void AppModel::setSaveDelay(std::chrono::milliseconds delay)
{
    m_saveTimer.setInterval(delay);
}

void AppModel::setQuitWait(std::chrono::milliseconds wait)
{
    m_quitWait = wait;
}

void AppModel::setRetryInterval(std::chrono::milliseconds interval)
{
    m_loadRetry.setInterval(interval);
    m_saveRetry.setInterval(interval);
}

// Life cycle.

void AppModel::start()
{
    if (m_started)
        return;
    m_started = true;
    setNow(clock());
    load();
    noticeStartProblems();
    NoteBook purged = m_book;
    purged.purge(m_now, keepDeleted);
    setBook(purged);
    m_ticker.start();
    tick();
    // The notifier belongs to the model and never calls back once it is gone.
    m_notifier->permission([this](NotifyPermission permission) { adoptPermission(permission); });
    setShowWelcome(!m_defaults.boolValue(SettingsKeys::welcomeDone).value_or(false));
}

void AppModel::load()
{
    // The file must first hold what this run last asked to save.
    m_writer.finish(QDeadlineTimer::Forever);
    const Date now = clock();
    const NoteStore::Loaded loaded = m_store.load(now);
    const QString folder = QFileInfo(m_store.url()).absolutePath();
    if (const auto *unreadable = std::get_if<NoteStore::Unreadable>(&loaded))
        return cannotLoad(tr("Brindlewick couldn’t read your notes file in %1 (%2). Your notes are left as they "
                             "are and nothing is saved over them; Brindlewick tries again every few seconds.")
                              .arg(folder, inBrackets(unreadable->error)));
    if (const auto *stuck = std::get_if<NoteStore::Stuck>(&loaded))
        return cannotLoad(tr("Your notes file in %1 couldn’t be read, and it couldn’t be set aside as “%2” "
                             "either (%3). Brindlewick won’t save over it: mend or move the file, and Brindlewick "
                             "tries again every few seconds.")
                              .arg(folder, QFileInfo(stuck->setAside).fileName(), inBrackets(stuck->error)));

    const bool wasBlocked = loadBlocked();
    m_loadRetry.stop();
    m_loaded = true;
    m_store.removeLeftovers();
    const auto *book = std::get_if<NoteBook>(&loaded);
    m_onDisk = book ? *book : NoteBook();
    m_writer.adopt(m_store.stamp(), false);
    m_writer.watch();
    adoptLoaded(m_onDisk, wasBlocked);
    if (const auto *damaged = std::get_if<NoteStore::Damaged>(&loaded)) {
        const QFileInfo aside(damaged->setAside);
        const QString problem = tr("Your notes file couldn’t be read, so Brindlewick started fresh. "
                                   "The old file was kept as “%1” in %2.")
                                    .arg(aside.fileName(), aside.absolutePath());
        setLoadProblem(problem);
        m_notifier->announce(tr("Brindlewick started with no notes"), problem);
    } else if (wasBlocked) {
        setLoadProblem(std::nullopt);
    }
    // Started without its notes: their alerts were never scheduled.
    if (wasBlocked)
        reschedule();
}

// Notes written while the file could not be read join the notebook once it could.
void AppModel::adoptLoaded(const NoteBook &book, bool wasBlocked)
{
    if (!wasBlocked)
        return setBook(book);
    const NoteBook merged = NoteMerge::merge(NoteBook(), m_book, book).book;
    setBook(merged);
    if (merged != book)
        scheduleSave();
}

void AppModel::cannotLoad(const QString &problem)
{
    m_loaded = false;
    const bool first = !loadBlocked();
    m_loadRetry.start();
    setLoadProblem(problem);
    if (first)
        m_notifier->announce(tr("Brindlewick can’t read your notes"), problem);
}

// Problems found at start that the user should know of, beside any load problem.
void AppModel::noticeStartProblems()
{
    QStringList notices;
    if (m_loadProblem)
        notices.append(*m_loadProblem);
    if (const std::optional<QString> aside = m_defaults.setAside()) {
        const QFileInfo file(*aside);
        notices.append(tr("Your settings file couldn’t be read, so Brindlewick uses its standard settings. "
                          "The old file was kept as “%1” in %2.")
                           .arg(file.fileName(), file.absolutePath()));
    }
    // Notes a past run could not save wait until the user has taken them, wherever they went.
    if (const QStringList kept = Recovery::pending(recoveryFolders()); !kept.isEmpty()) {
        const QFileInfo newest(kept.last());
        notices.append(tr("Notes that couldn’t be saved when Brindlewick last quit were kept as “%1” in %2.")
                           .arg(newest.fileName(), newest.absolutePath()));
    }
    if (!notices.isEmpty())
        setLoadProblem(notices.join(QStringLiteral("\n\n")));
}

// The writer does the writing; the model hears how it went in `writerReported`.
void AppModel::saveNow()
{
    m_saveTimer.stop();
    // A notebook that was never read must not replace the file it would have come from.
    if (!m_loaded)
        return;
    m_writer.write(m_book, clock());
}

bool AppModel::finishSaves(std::chrono::milliseconds within)
{
    return m_writer.finish(QDeadlineTimer(within));
}

void AppModel::writerReported(const NoteWriter::Report &report)
{
    if (const auto *saved = std::get_if<NoteWriter::Saved>(&report))
        return wrote(*saved);
    if (const auto *failed = std::get_if<NoteWriter::Failed>(&report))
        return saveFailed(failed->error);
    fileChanged(std::get<NoteWriter::Changed>(report));
}

void AppModel::wrote(const NoteWriter::Saved &saved)
{
    m_onDisk = saved.book;
    m_saveRetry.stop();
    m_writer.watch();
    if (!saved.keptCopy)
        return;
    const QFileInfo kept(*saved.keptCopy);
    setBanner(Banner(m_changeNotice + QLatin1Char(' ') +
                     tr("The file as it was is kept as “%1” in %2.").arg(kept.fileName(), kept.absolutePath())));
}

// Another program changed the notes file since this run read or wrote it (a sync tool, a restore, a
// second machine): its notes are merged with those in hand, and a file the merge replaces is kept.
void AppModel::fileChanged(const NoteWriter::Changed &change)
{
    // Reported again before the writer heard of the last merge.
    if (change.generation != m_writer.generation())
        return;
    if (change.unreadable)
        return saveFailed(tr("another program put a file Brindlewick can’t read in place of the notes file (%1)")
                              .arg(inBrackets(*change.unreadable)));
    if (change.awaited)
        return saveFailed(tr("your notes file is gone, and Brindlewick waits for it to come back (%1)")
                              .arg(inBrackets(*change.awaited)));
    if (!change.stamp) {
        m_onDisk = NoteBook();
        m_writer.adopt(std::nullopt, false);
        return saveNow();
    }
    if (!change.book) {
        m_writer.adopt(change.stamp, true);
        m_changeNotice = tr("Another program left a notes file Brindlewick couldn’t read, so Brindlewick saved "
                            "the notes it shows.");
        return saveNow();
    }
    const NoteMerge::Merged merged = NoteMerge::merge(m_onDisk, m_book, *change.book);
    m_onDisk = *change.book;
    const bool replaces = merged.book != *change.book;
    m_writer.adopt(change.stamp, replaces);
    setBook(merged.book);
    if (merged.cameIn > 0)
        reschedule();
    const QString news = merged.cameIn == 1 ? tr("1 note came in from a changed notes file.")
                                            : tr("%1 notes came in from a changed notes file.").arg(merged.cameIn);
    if (!replaces) {
        if (merged.cameIn > 0)
            setBanner(Banner(news));
        return;
    }
    m_changeNotice = merged.cameIn > 0 ? news : tr("Another program changed your notes file.");
    saveNow();
}

// One banner and one notification per run of failures; the retry goes on quietly.
void AppModel::saveFailed(const QString &error)
{
    if (saveFailing())
        return;
    m_saveRetry.start();
    const QString text = tr("Couldn’t save notes: %1").arg(error);
    setBanner(Banner(text));
    m_notifier->announce(tr("Brindlewick couldn’t save your notes"),
                         text + QLatin1Char('\n') + tr("Brindlewick tries again every few seconds."));
}

// A disk that does not answer holds the quit up only so long: then the notes go to a recovery file.
void AppModel::saveBeforeQuit()
{
    saveNow();
    const bool saved = m_loaded && finishSaves(m_quitWait) && !saveFailing() && m_book == m_onDisk;
    const bool unsaved = m_loaded ? !saved : !m_book.notes.isEmpty();
    if (!unsaved || m_recovered == m_book)
        return;
    const Recovery::Written written = Recovery::write(m_book, clock(), recoveryFolders());
    const QString line =
        written.file ? tr("Brindlewick: your notes couldn’t be saved, so they were written to %1").arg(*written.file)
                     : tr("Brindlewick: your notes couldn’t be saved, and no recovery file could be written (%1)")
                           .arg(written.error);
    std::fprintf(stderr, "%s\n", qPrintable(line));
    if (written.file)
        m_recovered = m_book;
}

// The user's own folders, in the order a recovery file tries them.
QStringList AppModel::recoveryFolders() const
{
    return {Paths::stateFolder(), m_paths.data, QDir::homePath()};
}

void AppModel::scheduleSave()
{
    m_saveTimer.start();
}

void AppModel::useDemo(const QString &root, Date now, bool frozen)
{
    m_isDemo = true;
    m_loaded = true;
    m_paths = Paths{QDir(root).filePath(QStringLiteral("data"))};
    m_store = NoteStore(m_paths.data);
    m_writer.setStore(m_store);
    m_onDisk = NoteBook();
    m_defaults = SettingsStore::demo();
    m_defaults.clear();
    m_notifier = std::make_unique<RecordingNotifier>();
    installActionHandler();
    alertSound = [] {};
    m_demoNow = now;
    if (frozen)
        clock = [this] { return m_demoNow; };
    else
        clock = &Date::current;
    setNow(now);

    setSort(NoteSort::urgency);
    setDefaultColor(NoteColor::lemon);
    setNewNotesFloat(false);
    setWarnMinutes(15);
    setPlaySound(true);
    setTrayEnabled(true);
    setTrayOpensOn(TrayOpen::hover);
    setShowMenuBarItem(true);
    setHotkeyEnabled(false);

    setRinging({});
    setBanner(std::nullopt);
    setSelection(std::nullopt);
    setFilter(NoteFilter::all);
    setQuery(QString());
}

void AppModel::advance(double seconds)
{
    m_demoNow += seconds;
    tick();
}

void AppModel::tick()
{
    followZone();
    setNow(clock());
    if (!raiseDue(m_now, Raise::ringing))
        return;
    // Without notifications, or with a server that plays no sounds, the alert sound is ours to play.
    if (m_playSound && (m_permission != NotifyPermission::allowed || !m_notifier->playsSound())) {
        ++m_soundsPlayed;
        alertSound();
    }
}

bool AppModel::raiseDue(Date now, Raise raise)
{
    const QList<PlannedAlert> due = AlertPlanner::due(m_book.notes, now, warnSeconds(), m_calendar);
    if (due.isEmpty())
        return false;
    QList<PlannedAlert> raised;
    for (const PlannedAlert &alert : due) {
        std::optional<StickyNote> note = m_book[alert.noteID];
        if (!note)
            continue;
        AlertPlanner::markRaised(alert, *note);
        store(*note);
        raised.append(alert);
        if (alert.kind == PlannedAlert::Kind::dueSoon) {
            if (m_permission != NotifyPermission::allowed)
                setBanner(Banner(alert.title));
            continue;
        }
        if (!m_ringing.contains(note->id)) {
            m_ringing.insert(note->id);
            emit ringingChanged();
        }
        if (raise == Raise::ringing && onRing)
            onRing(*note);
    }
    m_notifier->raised(raised);
    scheduleSave();
    return true;
}

// The notifier shows an alert from the start of its whole second, up to a second before its exact time:
// what it may have shown is raised on the way out, or the next start would show it again.
void AppModel::finishRun()
{
    const Date endOfSecond = Date::fromUnix(std::floor(clock().unixSeconds()) + 1) - 1e-6;
    raiseDue(endOfSecond, Raise::quietly);
    saveBeforeQuit();
    m_notifier->withdrawAll();
}

void AppModel::reschedule()
{
    if (m_permission != NotifyPermission::allowed) {
        m_notifier->schedule({});
        return;
    }
    m_notifier->schedule(AlertPlanner::upcoming(m_book.notes, clock(), warnSeconds(), m_calendar));
}

void AppModel::requestPermission()
{
    m_notifier->requestPermission([this](NotifyPermission permission) { adoptPermission(permission); });
}

void AppModel::revokePermission()
{
    m_notifier->revokePermission([this](NotifyPermission permission) { adoptPermission(permission); });
}

void AppModel::adoptPermission(NotifyPermission permission)
{
    setPermission(permission);
    reschedule();
}

void AppModel::handle(const QUuid &id, NotifyAction action)
{
    switch (action) {
    case NotifyAction::open:
        setNotesHidden(false);
        stopRinging(id);
        if (onShow)
            onShow(id);
        return;
    case NotifyAction::snooze:
    case NotifyAction::done:
        break;
    }
    // A late answer to a note finished or deleted since changes nothing.
    const StickyNote *note = m_book.find(id);
    if (!note || !note->isLive())
        return;
    if (action == NotifyAction::snooze)
        snooze(id, 300);
    else
        toggleDone(id);
}

// Creating notes.

QUuid AppModel::newNote(const QString &text, std::optional<NoteColor> color, std::optional<double> timer,
                        bool startTimer, std::optional<Date> deadline, bool tucked, std::optional<QRectF> frame)
{
    const Date at = clock();
    StickyNote note(QUuid::createUuid(), text, color.value_or(m_defaultColor), at);
    note.pinned = m_newNotesFloat;
    note.tucked = tucked;
    if (frame)
        note.frame = NoteFrame::fromRect(*frame);
    if (timer) {
        note.timer = NoteTimer(*timer);
        if (startTimer)
            note.timer->start(at);
    }
    if (deadline)
        note.setDeadline(deadline, at);
    m_book.notes.append(note);
    emit bookChanged();
    setNotesHidden(false);
    scheduleSave();
    if (note.hasTime())
        reschedule();
    return note.id;
}

std::optional<QUuid> AppModel::quickNote(const QString &line, std::optional<NoteColor> color, bool tucked)
{
    const QuickNote parsed = QuickParse::parse(line, clock(), m_calendar);
    if (parsed.text.isEmpty())
        return std::nullopt;
    return newNote(parsed.text, color, parsed.timer, true, parsed.deadline, tucked);
}

void AppModel::duplicate(const QUuid &id)
{
    const std::optional<StickyNote> source = m_book[id];
    if (!source)
        return;
    const QUuid copy = newNote(source->text, source->color, std::nullopt, false, std::nullopt, source->tucked);
    edit(copy, {}, [&](StickyNote &note) {
        note.pinned = source->pinned;
        if (source->timer)
            note.timer = NoteTimer(source->timer->duration);
        if (source->deadline)
            note.setDeadline(source->deadline, clock());
        if (source->frame) {
            NoteFrame frame = *source->frame;
            frame.x += duplicateOffset;
            frame.y -= duplicateOffset;
            note.frame = frame;
        }
    });
    if (source->hasTime())
        reschedule();
}

void AppModel::finishWelcome(bool tray)
{
    setTrayEnabled(tray);
    m_defaults.setBool(SettingsKeys::welcomeDone, true);
    setShowWelcome(false);
    emit welcomeFinished();
    if (!m_book.notes.isEmpty())
        return;
    newNote(tr("Welcome to Brindlewick 👋\n"
               "Type anything here. ⏱ adds a timer and ⚑ a deadline: the tape at the top counts down.\n"
               "Quick Note: press Ctrl+Alt+N anywhere and type “tea 4m”."),
            NoteColor::lemon);
}

// Editing notes.

void AppModel::edit(const QUuid &id, EditRule rule, const std::function<void(StickyNote &)> &change)
{
    if (rule.answersRing)
        stopRinging(id);
    const std::optional<StickyNote> stored = m_book[id];
    if (!stored)
        return;
    StickyNote note = *stored;
    change(note);
    if (note == *stored)
        return;
    if (rule.stampsEdited)
        note.edited = clock();
    store(note);
    scheduleSave();
    if (rule.movesAlerts)
        reschedule();
}

void AppModel::store(const StickyNote &note)
{
    m_book.set(note.id, note);
    emit bookChanged();
}

void AppModel::setText(const QUuid &id, const QString &text)
{
    edit(id, {}, [&](StickyNote &note) { note.text = text; });
}

void AppModel::setColor(const QUuid &id, NoteColor color)
{
    edit(id, {}, [&](StickyNote &note) { note.color = color; });
}

void AppModel::togglePinned(const QUuid &id)
{
    edit(id, {}, [](StickyNote &note) { note.pinned = !note.pinned; });
}

void AppModel::setFrame(const QUuid &id, const QRectF &frame)
{
    edit(id, {.stampsEdited = false}, [&](StickyNote &note) { note.frame = NoteFrame::fromRect(frame); });
}

void AppModel::setTucked(const QUuid &id, bool tucked)
{
    edit(id, {}, [&](StickyNote &note) { note.tucked = tucked; });
}

void AppModel::setTimer(const QUuid &id, double seconds, bool start)
{
    edit(id, {.answersRing = true, .movesAlerts = true}, [&](StickyNote &note) {
        note.timer = NoteTimer(seconds);
        if (start)
            note.timer->start(clock());
    });
}

void AppModel::startTimer(const QUuid &id)
{
    edit(id, {.answersRing = true, .movesAlerts = true}, [&](StickyNote &note) {
        if (note.timer)
            note.timer->start(clock());
    });
}

void AppModel::pauseTimer(const QUuid &id)
{
    edit(id, {.movesAlerts = true}, [&](StickyNote &note) {
        if (note.timer)
            note.timer->pause(clock());
    });
}

void AppModel::resetTimer(const QUuid &id)
{
    edit(id, {.answersRing = true, .movesAlerts = true}, [](StickyNote &note) {
        if (note.timer)
            note.timer->reset();
    });
}

void AppModel::addTime(const QUuid &id, double seconds)
{
    edit(id, {.answersRing = true, .movesAlerts = true}, [&](StickyNote &note) {
        if (note.timer)
            note.timer->add(seconds, clock());
    });
}

void AppModel::removeTimer(const QUuid &id)
{
    edit(id, {.answersRing = true, .movesAlerts = true}, [](StickyNote &note) {
        note.timer.reset();
        note.alertedTimerEnd.reset();
    });
}

void AppModel::setDeadline(const QUuid &id, std::optional<Date> deadline)
{
    edit(id, {.answersRing = true, .movesAlerts = true},
         [&](StickyNote &note) { note.setDeadline(deadline, clock()); });
}

void AppModel::snooze(const QUuid &id, double seconds)
{
    const StickyNote *note = m_book.find(id);
    if (!note)
        return;
    const Date now = clock();
    if (note->timer && note->timer->state(now) == NoteTimer::State::finished) {
        addTime(id, seconds);
        return;
    }
    if (note->deadline && *note->deadline <= now) {
        setDeadline(id, now + seconds);
        return;
    }
    stopRinging(id);
}

// Done, delete, restore, undo.

void AppModel::toggleDone(const QUuid &id)
{
    const std::optional<StickyNote> before = m_book[id];
    if (!before)
        return;
    stopRinging(id);
    StickyNote note = *before;
    note.doneAt = note.doneAt ? std::nullopt : std::optional<Date>(clock());
    note.edited = clock();
    store(note);
    scheduleSave();
    reschedule();
    if (note.isDone())
        setBanner(Banner(tr("Marked “%1” done").arg(before->title()), {*before}));
}

void AppModel::deleteNotes(const QList<QUuid> &ids)
{
    QList<StickyNote> undoList;
    for (const QUuid &id : ids) {
        const StickyNote *note = m_book.find(id);
        const bool listed = std::any_of(undoList.cbegin(), undoList.cend(),
                                        [&](const StickyNote &n) { return n.id == id; });
        if (note && !note->isDeleted() && !listed)
            undoList.append(*note);
    }
    if (undoList.isEmpty())
        return;
    const Date at = clock();
    for (const QUuid &id : ids) {
        edit(id, {.answersRing = true, .stampsEdited = false}, [&](StickyNote &note) { note.deletedAt = at; });
    }
    if (m_selection && ids.contains(*m_selection))
        setSelection(std::nullopt);
    const QString text = undoList.size() == 1 ? tr("Deleted “%1”").arg(undoList.first().title())
                                              : tr("Deleted %1 notes").arg(undoList.size());
    setBanner(Banner(text, undoList));
    reschedule();
}

void AppModel::restore(const QUuid &id)
{
    edit(id, {.movesAlerts = true, .stampsEdited = false}, [](StickyNote &note) {
        note.deletedAt.reset();
        note.doneAt.reset();
    });
}

void AppModel::deleteForever(const QUuid &id)
{
    stopRinging(id);
    if (m_book.find(id)) {
        m_book.set(id, std::nullopt);
        emit bookChanged();
    }
    if (m_selection == id)
        setSelection(std::nullopt);
    scheduleSave();
    reschedule();
}

void AppModel::emptyDeleted()
{
    if (m_book.notes.removeIf([](const StickyNote &note) { return note.isDeleted(); }) > 0)
        emit bookChanged();
    scheduleSave();
}

void AppModel::undo()
{
    if (!m_banner || m_banner->undo.isEmpty())
        return;
    const QList<StickyNote> notes = m_banner->undo;
    for (const StickyNote &note : notes)
        m_book.set(note.id, note);
    emit bookChanged();
    setBanner(std::nullopt);
    scheduleSave();
    reschedule();
}

// Lists.

QList<StickyNote> AppModel::visible() const
{
    return NoteList::visible(m_book.notes, m_filter, NoteQuery(m_query), m_sort, m_now, m_calendar);
}

int AppModel::count(NoteFilter filter) const
{
    return NoteList::count(m_book.notes, filter, m_now, m_calendar);
}

QList<StickyNote> AppModel::desktopNotes() const
{
    QList<StickyNote> notes = NoteList::live(m_book.notes);
    notes.removeIf([](const StickyNote &note) { return note.tucked; });
    return notes;
}

QList<StickyNote> AppModel::tuckedNotes() const
{
    QList<StickyNote> notes = NoteList::live(m_book.notes);
    notes.removeIf([](const StickyNote &note) { return !note.tucked; });
    return NoteList::sorted(notes, NoteSort::urgency, m_now);
}
