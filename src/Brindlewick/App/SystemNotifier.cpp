#include "SystemNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>
#include <algorithm>
#include <cmath>

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString interface = QStringLiteral("org.freedesktop.Notifications");
const QString defaultActionKey = QStringLiteral("default");

// How long a silent bus may keep us waiting to learn whether a server is there.
constexpr int serverLookupTimeoutMs = 5000;

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

bool contains(const QList<PlannedAlert> &alerts, const PlannedAlert &alert)
{
    return std::any_of(alerts.begin(), alerts.end(), [&](const PlannedAlert &a) { return sameAlert(a, alert); });
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
    : SystemNotifier(QDBusConnection::sessionBus(), SettingsStore::standard(), &Date::current, parent)
{
}

SystemNotifier::SystemNotifier(QDBusConnection bus, SettingsStore settings, std::function<Date()> clock,
                               QObject *parent)
    : QObject(parent), m_bus(std::move(bus)), m_settings(std::move(settings)), m_clock(std::move(clock))
{
    connect(&m_alarm, &WallClockAlarm::rang, this, &SystemNotifier::postDue);
    m_bus.connect(service, path, interface, QStringLiteral("ActionInvoked"), this,
                  SLOT(actionInvoked(uint, QString)));
    m_bus.connect(service, path, interface, QStringLiteral("NotificationClosed"), this,
                  SLOT(notificationClosed(uint, uint)));
}

void SystemNotifier::permission(PermissionHandler completion)
{
    findServer([this, completion = std::move(completion)](bool found) {
        if (!found)
            completion(NotifyPermission::denied);
        else if (m_settings.boolValue(SettingsKeys::notificationsAllowed) == true)
            completion(NotifyPermission::allowed);
        else
            completion(NotifyPermission::notAsked);
    });
}

// There is no one to ask but the user in front of the app, so asking is allowing, when a server is there.
void SystemNotifier::requestPermission(PermissionHandler completion)
{
    findServer([this, completion = std::move(completion)](bool found) {
        if (found)
            m_settings.setBool(SettingsKeys::notificationsAllowed, true);
        completion(found ? NotifyPermission::allowed : NotifyPermission::denied);
    });
}

// Asking for the server's capabilities also starts a server the bus knows how to start.
void SystemNotifier::findServer(std::function<void(bool found)> completion)
{
    const QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface,
                                                             QStringLiteral("GetCapabilities"));
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, serverLookupTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, completion = std::move(completion)](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                const QDBusPendingReply<QStringList> reply = *finished;
                m_serverSounds = reply.isValid() && reply.value().contains(QStringLiteral("sound"));
                completion(!finished->isError());
            });
}

void SystemNotifier::schedule(const QList<PlannedAlert> &alerts)
{
    // A time that is no time (not finite) can never come.
    QList<PlannedAlert> soonest = alerts;
    soonest.removeIf([](const PlannedAlert &alert) { return !std::isfinite(alert.fireAt.seconds); });
    std::stable_sort(soonest.begin(), soonest.end(),
                     [](const PlannedAlert &a, const PlannedAlert &b) { return fireSecond(a) < fireSecond(b); });
    soonest.resize(std::min<qsizetype>(soonest.size(), mostPending));

    m_posted.removeIf([&](const PlannedAlert &posted) { return !contains(soonest, posted); });
    m_pending.clear();
    for (const PlannedAlert &alert : soonest) {
        if (!contains(m_posted, alert))
            m_pending.append(alert);
    }
    postDue();
}

void SystemNotifier::postDue()
{
    const Date now = m_clock();
    while (!m_pending.isEmpty() && fireSecond(m_pending.first()) <= now) {
        const PlannedAlert alert = m_pending.takeFirst();
        post(alert);
        m_posted.append(alert);
    }
    armForNext();
}

// The alarm runs on the wall clock; the wait is measured on our own clock, which tests may move.
void SystemNotifier::armForNext()
{
    if (m_pending.isEmpty()) {
        m_alarm.disarm();
        return;
    }
    const Date now = m_clock();
    m_alarm.arm(Date::current() + (fireSecond(m_pending.first()) - now));
}

// A new alert of the same note and kind replaces the one still on screen.
void SystemNotifier::post(const PlannedAlert &alert)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Notify"));
    call << QStringLiteral("Brindlewick") << shownIdFor(alert.identifier()) << QString() << alert.title
         << alert.body << actions(alert) << hints() << expireTimeout(alert);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    const Shown shown{alert.noteID, alert.identifier()};
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, shown](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<uint> reply = *finished;
        if (reply.isValid())
            m_shown.insert(reply.value(), shown);
    });
}

uint SystemNotifier::shownIdFor(const QString &identifier) const
{
    for (auto it = m_shown.begin(); it != m_shown.end(); ++it) {
        if (it->identifier == identifier)
            return it.key();
    }
    return 0;
}

void SystemNotifier::withdraw(const QUuid &note)
{
    for (auto it = m_shown.begin(); it != m_shown.end();) {
        if (it->note != note) {
            ++it;
            continue;
        }
        m_bus.asyncCall(QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("CloseNotification"))
                        << it.key());
        it = m_shown.erase(it);
    }
}

// A click on the notification itself, or any key we did not offer, opens the note.
void SystemNotifier::actionInvoked(uint id, const QString &actionKey)
{
    const auto shown = m_shown.constFind(id);
    if (shown == m_shown.constEnd() || !onAction)
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
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Notify"));
    const QVariantMap urgent{{QStringLiteral("urgency"), QVariant::fromValue(uchar(2))}};
    call << QStringLiteral("Brindlewick") << 0u << QString() << title << body << QStringList() << urgent << 0;
    m_bus.asyncCall(call);
}
