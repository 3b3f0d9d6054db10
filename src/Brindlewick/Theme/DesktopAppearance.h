#pragma once

#include "Appearance.h"

#include <QObject>
#include <optional>

class QDBusMessage;

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

public slots:
    // The portal's SettingChanged(group, key, value) signal. Taken as the whole message, because
    // QtDBus here will not bind a variant argument to a slot.
    void settingChanged(const QDBusMessage &message);

private:
    explicit DesktopAppearance(QObject *parent);
    void readAll();
    void read(const QString &group, const QString &key);
    void apply(const QString &group, const QString &key, const QVariant &value);

    std::optional<Scheme> m_scheme;
    bool m_reduceMotion = false;
};
