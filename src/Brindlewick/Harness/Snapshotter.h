#pragma once

#include "Theme/Appearance.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The screenshot set: every window and panel of the application drawn from a frozen demo world in
// a temporary folder, in light and dark, as numbered PNG files "NN-<shot>-<light|dark>.png" at two
// image pixels per point. A shot's number is the same in both appearances.
namespace Snapshotter {

// The appearances asked for: "light" or "dark" alone, anything else (or nothing) both.
QList<Scheme> schemes(const std::optional<QString> &only);

// Renders the set into `dir` (made when missing); the files written, or nullopt when one could not
// be written.
std::optional<QStringList> render(const QString &dir, const QList<Scheme> &schemes);

// Renders the set in the appearances BRINDLEWICK_SNAPSHOT_ONLY names; the process's exit status.
int execute(const QString &dir);

// Renders the set once the event loop runs, then quits the application with its status.
void run(const QString &dir);

} // namespace Snapshotter
