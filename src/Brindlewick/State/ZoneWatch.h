#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <optional>

// Tells whether the desktop's time zone may have changed, without reading the zone's files on every
// tick: the TZ variable is compared, and the system's zone settings are watched.
class ZoneWatch {
public:
    ZoneWatch();

    // Whether TZ or a zone setting changed since the last call (or since construction).
    bool mayHaveChanged();

private:
    QFileSystemWatcher m_watcher;
    std::optional<QByteArray> m_tz;
    bool m_settingsChanged = false;
};
