#pragma once

#include <QByteArray>
#include <QString>

// Starting with the desktop session: an XDG autostart entry in the user's configuration folder, written
// once, at the end of the welcome. The desktop's startup-applications settings own it from then on: a
// user who removes or disables it keeps it that way.
namespace Autostart {

// The argument the entry starts the program with: it shows its notes and opens no other window.
inline const QString argument = QStringLiteral("--autostart");

// "$XDG_CONFIG_HOME/autostart/brindlewick.desktop", the same file name as the desktop entry.
QString entryPath();
// The entry's text, starting `program` with the session.
QByteArray entry(const QString &program);
// Writes the entry for `program` once for this user, on the `FileWriter`'s thread: never where a file
// is there already (the user's own, or one disabled), and never again once an entry was there, though
// the user removed it since.
void install(const QString &program);

} // namespace Autostart
