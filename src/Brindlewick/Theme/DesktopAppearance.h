#pragma once

#include "Appearance.h"

#include <QObject>
#include <optional>

class QDBusPendingCallWatcher;
class QDBusVariant;

// The desktop's appearance settings as the freedesktop settings portal reports them: the preferred
// colour scheme and whether animations are wanted. Read once at first use, again whenever the portal
// (re)appears on the session bus, and followed through the portal's change signal. Widgets are
// repainted when either setting changes.
class DesktopAppearance : public QObject {
    Q_OBJECT
public:
    static DesktopAppearance &instance();

    // The desktop's explicit preference; nullopt when it has none or cannot be asked.
    std::optional<Scheme> scheme() const { return m_scheme; }
    // Unknown counts as animations wanted.
    bool reduceMotion() const { return m_reduceMotion; }

signals:
    void changed();

private slots:
    void settingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    explicit DesktopAppearance(QObject *parent);
    void readAll();
    void read(const QString &group, const QString &key);
    void apply(const QString &group, const QString &key, const QVariant &value);

    std::optional<Scheme> m_scheme;
    bool m_reduceMotion = false;
};
