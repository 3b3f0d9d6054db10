#include "ZoneWatch.h"

#include <QFileInfo>
#include <cstdlib>

namespace {

// The folder sees a setting replaced (as tools do, by renaming); the files see it edited in place.
const char *const zoneSettings[] = {"/etc", "/etc/localtime", "/etc/timezone"};

std::optional<QByteArray> tz()
{
    const char *value = std::getenv("TZ");
    return value ? std::optional(QByteArray(value)) : std::nullopt;
}

} // namespace

ZoneWatch::ZoneWatch() : m_tz(tz())
{
    for (const char *path : zoneSettings) {
        if (QFileInfo::exists(QString::fromLatin1(path)))
            m_watcher.addPath(QString::fromLatin1(path));
    }
    const auto changed = [this] { m_settingsChanged = true; };
    QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, changed);
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, changed);
}

bool ZoneWatch::mayHaveChanged()
{
    const std::optional<QByteArray> now = tz();
    const bool changed = m_settingsChanged || now != m_tz;
    m_tz = now;
    m_settingsChanged = false;
    return changed;
}
