#include "AppModel.h"

#include "AlertSound.h"
#include "FileWriter.h"
#include "RecordingNotifier.h"
#include "SettingsStore.h"
#include "SystemNotifier.h"

#include "NoteList.h"
#include "NoteQuery.h"

#include <QDir>

namespace {

constexpr auto defaultSaveDelay = std::chrono::milliseconds(400);
constexpr std::chrono::milliseconds tickInterval(1000);
constexpr std::chrono::milliseconds defaultRetryInterval(5000);
// Long enough for a writer that pauses between the parts of a file, short enough to be no wait at all.
constexpr std::chrono::milliseconds defaultQuietWait(1500);
// Deleted notes older than this go at start.
constexpr double keepDeleted = 30 * 24 * 3600;

// Every run of the application has a desktop to talk to; tests and harnesses pass their own notifier.
std::unique_ptr<Notifier> defaultNotifier()
{
    return std::make_unique<SystemNotifier>();
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
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(defaultQuietWait);
    connect(&m_quiet, &QTimer::timeout, this, &AppModel::lookAgain);

    m_writer.onReport = [this](const NoteWriter::Report &report) { writerReported(report); };
    connect(&m_writer, &NoteWriter::folderChanged, this, &AppModel::lookAgain);

    readSettings();
    installActionHandler();
}

AppModel::~AppModel()
{
    FileWriter::shared().finish(QDeadlineTimer::Forever);
}

AppModel &AppModel::shared()
{
    static AppModel *const model = new AppModel(Paths::live(), SettingsStore::standard());
    return *model;
}

// Published values.

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

// Once the message is gone from "All Notes", so is the notice of a fresh start.
void AppModel::setLoadProblem(std::optional<QString> problem)
{
    if (!problem)
        m_notifier->resolve(Notifier::Problem::startedFresh);
    publish(m_loadProblem, problem, &AppModel::loadProblemChanged);
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
    // A settings file that was there, though damaged, means the welcome was seen: it stays away, this
    // time and the next.
    if (m_defaults.setAside())
        m_defaults.setBool(SettingsKeys::welcomeDone, true);
    setShowWelcome(!m_defaults.boolValue(SettingsKeys::welcomeDone).value_or(false));
}

void AppModel::useDemo(const QString &root, Date now, bool frozen)
{
    m_isDemo = true;
    m_loaded = true;
    m_paths = Paths{QDir(root).filePath(QStringLiteral("data"))};
    m_store = NoteStore(m_paths.data);
    m_writer.setStore(m_store);
    m_onDisk = m_lastRead = NoteBook();
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
