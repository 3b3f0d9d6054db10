#include "SystemNotifier.h"

#include "Paths.h"

#include "AlertPlanner.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QVariantMap>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString interface = QStringLiteral("org.freedesktop.Notifications");
const QString defaultActionKey = QStringLiteral("default");
const QString appName = QStringLiteral("Brindlewick");
// The installed desktop entry's name (packaging/brindlewick.desktop) and its icon's: servers show
// notifications under the program they name.
const QString desktopEntry = QStringLiteral("brindlewick");

// How long a silent bus may keep us waiting to learn whether a server is there.
constexpr int serverLookupTimeoutMs = 5000;
// How long the end of a run waits for the bus to take its last requests.
constexpr int lastWordsTimeoutMs = 500;

QDBusMessage busCall(const QString &method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                          QStringLiteral("org.freedesktop.DBus"), method);
}

// `mayStart`: the bus may start a server for it when none is there.
QDBusMessage serverCall(const QString &method, bool mayStart)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setAutoStartService(mayStart);
    return call;
}

// Alerts fire at the whole second of their time; the fraction is dropped.
Date fireSecond(const PlannedAlert &alert)
{
    return Date::fromUnix(std::floor(alert.fireAt.unixSeconds()));
}

// The same alert: the same note and kind at the same time (its texts may have been reworded since).
bool sameAlert(const PlannedAlert &a, const PlannedAlert &b)
{
    return a.noteID == b.noteID && a.kind == b.kind && fireSecond(a) == fireSecond(b);
}

bool soonestFirst(const PlannedAlert &a, const PlannedAlert &b)
{
    return fireSecond(a) < fireSecond(b);
}

// Only a ring has something to snooze: a timer that ran down or a deadline that passed.
bool rings(const PlannedAlert &alert)
{
    return alert.kind != PlannedAlert::Kind::dueSoon;
}

// Key and label pairs; the server shows the default action's label, if at all, as a click on the body.
QStringList actions(const PlannedAlert &alert)
{
    QStringList pairs{defaultActionKey, SystemNotifier::tr("Open")};
    if (rings(alert))
        pairs << toString(NotifyAction::snooze) << SystemNotifier::tr("+5 min");
    return pairs << toString(NotifyAction::done) << SystemNotifier::tr("Done");
}

// A ring waits for its answer; a heads-up goes when the server's time is up.
int expireTimeout(const PlannedAlert &alert)
{
    return rings(alert) ? 0 : -1;
}

QString identifier(Notifier::Problem problem)
{
    switch (problem) {
    case Notifier::Problem::cannotRead: return QStringLiteral("problem.read");
    case Notifier::Problem::cannotSave: return QStringLiteral("problem.save");
    case Notifier::Problem::startedFresh: return QStringLiteral("problem.fresh");
    }
    return QStringLiteral("problem");
}

} // namespace

SystemNotifier::SystemNotifier(QObject *parent)
    : SystemNotifier(QDBusConnection::sessionBus(), SettingsStore::standard(), &Date::current,
                     QDir(Paths::stateFolder()).filePath(QStringLiteral("notifications.json")), parent)
{
}

SystemNotifier::SystemNotifier(QDBusConnection bus, SettingsStore settings, std::function<Date()> clock,
                               QString recordFile, QObject *parent)
    : QObject(parent),
      m_bus(std::move(bus)),
      m_settings(std::move(settings)),
      m_clock(std::move(clock)),
      m_watcher(service, m_bus, QDBusServiceWatcher::WatchForOwnerChange),
      m_record(std::move(recordFile))
{
    // What an earlier run owed a server is owed now; what a server took from it, it keeps.
    m_late = m_record.owed();
    m_posted = m_record.posted();
    connect(&m_alarm, &WallClockAlarm::rang, this, &SystemNotifier::postDue);
    connect(&m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &oldOwner, const QString &newOwner) {
                if (!oldOwner.isEmpty())
                    serverGone();
                if (newOwner.isEmpty())
                    return;
                m_startFailed = false;
                findServer([this](bool) { reportPermission(); });
            });
    m_bus.connect(service, path, interface, QStringLiteral("ActionInvoked"), this,
                  SLOT(actionInvoked(uint, QString)));
    m_bus.connect(service, path, interface, QStringLiteral("NotificationClosed"), this,
                  SLOT(notificationClosed(uint, uint)));
    readBusId();
}

// The user's consent, given here or in the welcome and kept until taken back.
bool SystemNotifier::wanted() const
{
    return m_settings.boolValue(SettingsKeys::notificationsAllowed) == true;
}

NotifyPermission SystemNotifier::currentPermission() const
{
    if (m_server != Server::present)
        return NotifyPermission::denied;
    return wanted() ? NotifyPermission::allowed : NotifyPermission::notAsked;
}

void SystemNotifier::reportPermission()
{
    if (onPermissionChange)
        onPermissionChange(currentPermission());
}

void SystemNotifier::permission(PermissionHandler completion)
{
    findServer([this, completion = std::move(completion)](bool) { completion(currentPermission()); });
}

// There is no one to ask but the user in front of the app, so asking is allowing, when a server is there.
// The user asks for a server, so the bus may try to start one again.
void SystemNotifier::requestPermission(PermissionHandler completion)
{
    if (m_owner.isEmpty())
        m_startFailed = false;
    findServer([this, completion = std::move(completion)](bool found) {
        if (found)
            m_settings.setBool(SettingsKeys::notificationsAllowed, true);
        completion(currentPermission());
    });
}

// Alerts that waited for a server are dropped too: the user said no more.
void SystemNotifier::revokePermission(PermissionHandler completion)
{
    m_settings.setBool(SettingsKeys::notificationsAllowed, false);
    m_late.clear();
    recordOwed();
    completion(currentPermission());
}

// No server has shown up on its own since the bus last failed to start one.
bool SystemNotifier::mayStart() const
{
    return m_owner.isEmpty() && !m_startFailed;
}

// Asking for the server's capabilities also starts a server the bus knows how to start. One lookup at a
// time answers everyone who asks meanwhile.
void SystemNotifier::findServer(std::function<void(bool found)> completion)
{
    m_lookups.append(std::move(completion));
    if (m_lookups.size() > 1)
        return;
    const bool starting = mayStart();
    auto *watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(serverCall(QStringLiteral("GetCapabilities"), starting), serverLookupTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, starting](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<QStringList> reply = *finished;
        const bool found = !finished->isError();
        if (!found && starting)
            m_startFailed = true;
        m_serverSounds = reply.isValid() && reply.value().contains(QStringLiteral("sound"));
        serverFound(found, reply.reply().service());
        for (const auto &waiting : std::exchange(m_lookups, {}))
            waiting(found);
    });
}

void SystemNotifier::serverFound(bool found, const QString &owner)
{
    m_server = found ? Server::present : Server::absent;
    if (!found)
        return;
    m_owner = owner;
    m_startFailed = false;
    withdrawLeftovers();
    postLate();
}

// The ids it gave die with a server, and what it had not answered yet waits for the next one. A server
// the bus starts on demand is as good as there; with any other, so is what falls due from now on.
void SystemNotifier::serverGone()
{
    m_server = Server::absent;
    m_owner.clear();
    m_record.takeAll();
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(busCall(QStringLiteral("ListActivatableNames"))), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<QStringList> reply = *finished;
        if (mayStart() && reply.isValid() && reply.value().contains(service)) {
            m_server = Server::present;
            postLate();
        }
        reportPermission();
    });
}

void SystemNotifier::readBusId()
{
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(busCall(QStringLiteral("GetId"))), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<QString> reply = *finished;
        m_busId = reply.isValid() ? reply.value() : QString();
        withdrawLeftovers();
    });
}

// Notifications a crashed run left are closed once both names of the server are known, and only on
// the very server instance that showed them: another would take the ids for its own.
void SystemNotifier::withdrawLeftovers()
{
    if (m_busId.isEmpty() || m_owner.isEmpty())
        return;
    for (uint id : m_record.serveOn(m_busId + u' ' + m_owner))
        close(id);
}

void SystemNotifier::schedule(const QList<PlannedAlert> &alerts)
{
    // A time that is no time (not finite) can never come.
    m_pending = alerts;
    m_pending.removeIf([this](const PlannedAlert &alert) {
        return !std::isfinite(alert.fireAt.seconds) || posted(alert);
    });
    std::stable_sort(m_pending.begin(), m_pending.end(), soonestFirst);
    postDue();
}

void SystemNotifier::postDue()
{
    const Date now = m_clock();
    while (!m_pending.isEmpty() && fireSecond(m_pending.first()) <= now)
        deliver(m_pending.takeFirst());
    armForNext();
}

// The model raises an alert a moment after its second, or at start for what fell due while the program
// was not running: most are posted already.
void SystemNotifier::raised(const QList<PlannedAlert> &alerts)
{
    if (!wanted())
        return;
    for (const PlannedAlert &alert : alerts) {
        m_pending.removeIf([&](const PlannedAlert &pending) { return sameAlert(pending, alert); });
        deliver(alert);
    }
    armForNext();
}

// Each alert is tried once while a server may be there (while that is not known yet, posting is how to
// find out); the rest wait for one without a call. A heads-up whose deadline has come has nothing left
// to say: the due alert takes its place.
void SystemNotifier::deliver(const PlannedAlert &alert)
{
    if (posted(alert))
        return;
    if (alert.kind == PlannedAlert::Kind::dueSoon && alert.deadline && *alert.deadline <= m_clock())
        return;
    if (m_server == Server::absent)
        keepLate(alert);
    else
        post(alert);
}

bool SystemNotifier::posted(const PlannedAlert &alert) const
{
    const auto found = m_posted.constFind(alert.identifier());
    return found != m_posted.constEnd() && *found == fireSecond(alert);
}

// One alert of a note and kind waits at a time, the latest; once the deadline is here, its heads-up
// has nothing left to say.
void SystemNotifier::keepLate(const PlannedAlert &alert)
{
    if (alert.kind == PlannedAlert::Kind::due) {
        m_late.removeIf([&](const PlannedAlert &waiting) {
            return waiting.noteID == alert.noteID && waiting.kind == PlannedAlert::Kind::dueSoon;
        });
    }
    const auto same = std::find_if(m_late.begin(), m_late.end(), [&](const PlannedAlert &waiting) {
        return waiting.identifier() == alert.identifier();
    });
    if (same == m_late.end())
        m_late.append(alert);
    else
        *same = alert;
    recordOwed();
}

void SystemNotifier::postLate()
{
    if (m_late.isEmpty())
        return;
    QList<PlannedAlert> late = std::exchange(m_late, {});
    std::stable_sort(late.begin(), late.end(), soonestFirst);
    for (const PlannedAlert &alert : std::as_const(late))
        deliver(alert);
    recordOwed();
}

// The wait is measured on our own clock, which tests may move; the alarm runs on the wall clock.
void SystemNotifier::armForNext()
{
    if (m_pending.isEmpty()) {
        m_alarm.disarm();
        return;
    }
    m_alarm.arm(Date::current() + (fireSecond(m_pending.first()) - m_clock()));
}

// A new alert of the same note and kind replaces the one still on screen. Posted late, it says when it
// was due; a heads-up, how long is left.
void SystemNotifier::post(const PlannedAlert &alert)
{
    m_posted.insert(alert.identifier(), fireSecond(alert));
    m_late.removeIf([&](const PlannedAlert &waiting) { return waiting.identifier() == alert.identifier(); });
    const PlannedAlert shown = AlertPlanner::shownAt(alert, m_clock());
    const QVariantMap hints{{QStringLiteral("sound-name"), QStringLiteral("message-new-instant")}};
    send(notifyCall(alert.identifier(), shown.title, shown.body, actions(alert), hints, expireTimeout(alert)),
         Posting{alert.noteID, alert.identifier(), alert});
    recordOwed();
}

QDBusMessage SystemNotifier::notifyCall(const QString &identifier, const QString &title, const QString &body,
                                        const QStringList &actions, QVariantMap hints, int expireTimeout) const
{
    hints.insert(QStringLiteral("desktop-entry"), desktopEntry);
    QDBusMessage call = serverCall(QStringLiteral("Notify"), mayStart());
    call << appName << m_record.idOf(identifier).value_or(0u) << desktopEntry << title << body << actions << hints
         << expireTimeout;
    return call;
}

void SystemNotifier::send(const QDBusMessage &call, const Posting &posting)
{
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    m_postings.insert(watcher, posting);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &SystemNotifier::answered);
}

// An alert the server did not take waits for the next one. No answer from a server still there means a
// server too busy to answer: it shows the notification when it gets to it. One taken is marked in the
// record at once, so a crash before the notes file says it was raised does not post it again.
void SystemNotifier::answered(QDBusPendingCallWatcher *call)
{
    const auto found = m_postings.constFind(call);
    if (found == m_postings.constEnd())
        return;
    const Posting posting = *found;
    m_postings.erase(found);
    call->deleteLater();
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isValid()) {
        if (posting.withdrawn)
            close(reply.value());
        else
            m_record.add(reply.value(), {posting.note, posting.identifier});
    } else if (reply.error().type() != QDBusError::NoReply || m_owner.isEmpty()) {
        if (m_owner.isEmpty())
            startFailed();
        if (posting.alert && !posting.withdrawn) {
            m_posted.remove(posting.identifier);
            keepLate(*posting.alert);
        }
    }
    if (posting.alert && posted(*posting.alert))
        m_record.markPosted(posting.identifier, fireSecond(*posting.alert));
    recordOwed();
}

// Until a server shows up on its own, no call asks the bus to start one, and alerts wait for it.
void SystemNotifier::startFailed()
{
    m_startFailed = true;
    const bool wasThere = m_server == Server::present;
    m_server = Server::absent;
    if (wasThere)
        reportPermission();
}

// What is owed is kept until a server has taken it: what waits, and what is on its way.
void SystemNotifier::recordOwed()
{
    QList<PlannedAlert> owed = m_late;
    for (const Posting &posting : std::as_const(m_postings)) {
        if (posting.alert && !posting.withdrawn)
            owed.append(*posting.alert);
    }
    std::stable_sort(owed.begin(), owed.end(), soonestFirst);
    m_record.setOwed(owed);
}

void SystemNotifier::close(uint id)
{
    m_bus.asyncCall(serverCall(QStringLiteral("CloseNotification"), false) << id);
}

void SystemNotifier::withdraw(const QUuid &note)
{
    m_late.removeIf([&](const PlannedAlert &alert) { return alert.noteID == note; });
    for (Posting &posting : m_postings) {
        if (posting.note == note)
            posting.withdrawn = true;
    }
    recordOwed();
    for (uint id : m_record.takeNote(note))
        close(id);
}

// The server answers one connection's calls in order: once it has answered one more, the answers to
// every notification posted before it are in, and those it took are no longer owed.
void SystemNotifier::settlePostings()
{
    if (m_postings.isEmpty())
        return;
    m_bus.call(serverCall(QStringLiteral("GetServerInformation"), false), QDBus::Block, lastWordsTimeoutMs);
    const QList<QDBusPendingCallWatcher *> calls = m_postings.keys();
    for (QDBusPendingCallWatcher *call : calls) {
        if (call->isFinished())
            answered(call);
    }
}

// Alerts still on their way are settled first: their answers would mark them again.
void SystemNotifier::raisedSaved()
{
    settlePostings();
    m_record.forgetPosted();
}

// The requests go out before the program ends: a round trip to the bus daemon, bounded, follows them.
// Problems still on their way go as soon as they are shown, should the run go on after all.
void SystemNotifier::withdrawAll()
{
    settlePostings();
    for (Posting &posting : m_postings) {
        if (!posting.alert)
            posting.withdrawn = true;
    }
    const QList<uint> ids = m_record.takeAll();
    for (uint id : ids)
        close(id);
    if (!ids.isEmpty())
        m_bus.call(busCall(QStringLiteral("GetId")), QDBus::Block, lastWordsTimeoutMs);
    m_record.finish(QDeadlineTimer(lastWordsTimeoutMs));
}

// A click on the notification itself, or any key we did not offer, opens the note. Answers to
// notifications this run did not post (an earlier run's) or about a problem are dropped.
void SystemNotifier::actionInvoked(uint id, const QString &actionKey)
{
    const std::optional<NotificationRecord::Shown> shown = m_record.find(id);
    if (!shown || shown->note.isNull() || !onAction)
        return;
    onAction(shown->note, notifyActionFromString(actionKey).value_or(NotifyAction::open));
}

void SystemNotifier::notificationClosed(uint id, uint)
{
    m_record.remove(id);
}

// A problem with the notes is urgent: the server keeps it until the user closes it or it goes away.
void SystemNotifier::announce(Problem problem, const QString &title, const QString &body)
{
    const QVariantMap urgent{{QStringLiteral("urgency"), QVariant::fromValue(uchar(2))}};
    send(notifyCall(identifier(problem), title, body, {}, urgent, 0), Posting{QUuid(), identifier(problem), {}});
}

void SystemNotifier::resolve(Problem problem)
{
    for (Posting &posting : m_postings) {
        if (posting.identifier == identifier(problem))
            posting.withdrawn = true;
    }
    if (const std::optional<uint> id = m_record.idOf(identifier(problem))) {
        m_record.remove(*id);
        close(*id);
    }
}
