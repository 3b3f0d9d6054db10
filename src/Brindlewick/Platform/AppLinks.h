#pragma once

#include <QStringList>
#include <optional>

// Links into the desktop's own settings.
namespace AppLinks {

// The command that opens the desktop's notification settings: KDE's System Settings on a KDE
// desktop when it is installed, else GNOME Settings, else KDE's; none when neither is on PATH.
std::optional<QStringList> notificationSettingsCommand();
// Starts that command detached; does nothing when there is none or it cannot be started.
void openNotificationSettings();

} // namespace AppLinks
