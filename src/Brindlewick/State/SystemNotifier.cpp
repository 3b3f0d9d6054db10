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

// How long a silent bus may keep us waiting to learn whether a server is there.
constexpr int serverLookupTimeoutMs = 5000;
// How long the end of a run waits for the bus to take its last requests.
constexpr int lastWordsTimeoutMs = 500;

QDBusMessage busCall(const QString &method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                          QStringLiteral("org.freedesktop.DBus"), method);
}

QDBusMessage serverCall(const QString &method)
{
    return QDBusMessage::createMethodCall(service, path, interface, method);
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

// The sound theme's sound for a notification.
QVariantMap hints()
{
    return {{QStringLiteral("sound-name"), QStringLiteral("message-new-instant")}};
}

} // namespace

SystemNotifier::SystemNotifier(QObject *parent)
    : SystemNotifier(QDBusConnection::sessionBus(), SettingsStore::standard(), &Date::current,
                     QDir(Paths::stateFolder()).filePath(QStringLiteral("notifications.json")), parent)
{
}

SystemNotifier::SystemNotifier(QDBusConnection bus, SettingsStore settings, std::function<Date()> clock,
                               QString shownFile, QObject *parent)
    : QObject(parent),
      m_bus(std::move(bus)),
      m_settings(std::move(settings)),
      m_clock(std::move(clock)),
      m_watcher(service, m_bus, QDBusServiceWatcher::WatchForOwnerChange),
      m_shown(std::move(shownFile))
{
    connect(&m_alarm, &WallClockAlarm::rang, this, &SystemNotifier::postDue);
    connect(&m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &oldOwner, const QString &newOwner) {
                if (!oldOwner.isEmpty())
                    serverGone();
                if (!newOwner.isEmpty())
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
void SystemNotifier::requestPermission(PermissionHandler completion)
{
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
    completion(currentPermission());
}

// Asking for the server's capabilities also starts a server the bus knows how to start.
void SystemNotifier::findServer(std::function<void(bool found)> completion)
{
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(serverCall(QStringLiteral("GetCapabilities")),
                                                                serverLookupTimeoutMs),
                                                this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, completion = std::move(completion)](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                const QDBusPendingReply<QStringList> reply = *finished;
                m_serverSounds = reply.isValid() && reply.value().contains(QStringLiteral("sound"));
                serverFound(!finished->isError(), reply.reply().service());
                completion(!finished->isError());
            });
}

void SystemNotifier::serverFound(bool found, const QString &owner)
{
    m_server = found ? Server::present : Server::absent;
    if (!found)
        return;
    m_owner = owner;
    withdrawLeftovers();
    postLate();
}

// The ids it gave die with a server, and what it had not answered yet waits for the next one. A server
// the bus starts on demand is as good as there; with any other, so is what falls due from now on.
void SystemNotifier::serverGone()
{
    m_server = Server::absent;
    m_owner.clear();
    m_shown.takeAll();
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(busCall(QStringLiteral("ListActivatableNames"))), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<QStringList> reply = *finished;
        if (m_owner.isEmpty() && reply.isValid() && reply.value().contains(service)) {
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
    for (uint id : m_shown.serveOn(m_busId + u' ' + m_owner))
        close(id);
}

void SystemNotifier::schedule(const QList<PlannedAlert> &alerts)
{
    // A time that is no time (not finite) can never come.
    m_pending = alerts;
    m_pending.removeIf([this](const PlannedAlert &alert) {
        return !std::isfinite(alert.fireAt.seconds) || posted(alert);
    });
    std::stable_sort(m_pending.begin(), m_pending.end(),
                     [](const PlannedAlert &a, const PlannedAlert &b) { return fireSecond(a) < fireSecond(b); });
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

// While it is not known whether a server is there, posting is how to find out.
void SystemNotifier::deliver(const PlannedAlert &alert)
{
    if (posted(alert))
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
}

void SystemNotifier::postLate()
{
    QList<PlannedAlert> late = std::exchange(m_late, {});
    std::stable_sort(late.begin(), late.end(),
                     [](const PlannedAlert &a, const PlannedAlert &b) { return fireSecond(a) < fireSecond(b); });
    for (const PlannedAlert &alert : std::as_const(late))
        deliver(alert);
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
// was due.
void SystemNotifier::post(const PlannedAlert &alert)
{
    m_posted.insert(alert.identifier(), fireSecond(alert));
    const PlannedAlert shown = AlertPlanner::shownAt(alert, m_clock());
    QDBusMessage call = serverCall(QStringLiteral("Notify"));
    call << QStringLiteral("Brindlewick") << m_shown.idOf(alert.identifier()).value_or(0u) << QString() << shown.title
         << shown.body << actions(alert) << hints() << expireTimeout(alert);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, alert](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<uint> reply = *finished;
        if (reply.isValid())
            m_shown.add(reply.value(), {alert.noteID, alert.identifier()});
        // No answer from a server still there means a server too busy to answer: it shows the
        // notification when it gets to it.
        else if (reply.error().type() != QDBusError::NoReply || m_server != Server::present)
            notPosted(alert);
    });
}

// The server went away with the request: the alert waits for the next one.
void SystemNotifier::notPosted(const PlannedAlert &alert)
{
    if (posted(alert))
        m_posted.remove(alert.identifier());
    keepLate(alert);
}

void SystemNotifier::close(uint id)
{
    QDBusMessage call = serverCall(QStringLiteral("CloseNotification"));
    m_bus.asyncCall(call << id);
}

void SystemNotifier::withdraw(const QUuid &note)
{
    m_late.removeIf([&](const PlannedAlert &alert) { return alert.noteID == note; });
    for (uint id : m_shown.takeNote(note))
        close(id);
}

// The requests go out before the program ends: a round trip to the bus daemon, bounded, follows them.
void SystemNotifier::withdrawAll()
{
    m_late.clear();
    const QList<uint> ids = m_shown.takeAll();
    if (ids.isEmpty())
        return;
    for (uint id : ids)
        close(id);
    m_bus.call(busCall(QStringLiteral("GetId")), QDBus::Block, lastWordsTimeoutMs);
}

// A click on the notification itself, or any key we did not offer, opens the note. Answers to
// notifications this run did not post (an earlier run's) are dropped.
void SystemNotifier::actionInvoked(uint id, const QString &actionKey)
{
    const std::optional<ShownNotifications::Shown> shown = m_shown.find(id);
    if (!shown || !onAction)
        return;
    onAction(shown->note, notifyActionFromString(actionKey).value_or(NotifyAction::open));
}

void SystemNotifier::notificationClosed(uint id, uint)
{
    m_shown.remove(id);
}

// A problem with the notes is urgent: the server keeps it until the user closes it.
void SystemNotifier::announce(const QString &title, const QString &body)
{
    QDBusMessage call = serverCall(QStringLiteral("Notify"));
    const QVariantMap urgent{{QStringLiteral("urgency"), QVariant::fromValue(uchar(2))}};
    call << QStringLiteral("Brindlewick") << 0u << QString() << title << body << QStringList() << urgent << 0;
    m_bus.asyncCall(call);
}
