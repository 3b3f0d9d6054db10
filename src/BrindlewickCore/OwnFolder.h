#pragma once

#include <QString>
#include <optional>

// Folders that belong to the user running the program, and no one else.
namespace OwnFolder {

// Makes the folder `path` and any missing parent, each made open to its owner only (0700); folders
// already there are left as they are. The error text, or none when the folder is there.
std::optional<QString> make(const QString &path);

// Makes the folder `path` as `make` does when `whyNotOwn` finds nothing against it, so nothing is made
// where another user could change it. The reason or the error text, or none when the folder is there.
std::optional<QString> makeOwn(const QString &path);

// Why another user could change what lies at `path`, or put their own folder in its place: a link on the
// way that they made, a folder on the way (links followed) that they own, or one they may write in
// without the sticky bit keeping them to their own names; the folder itself, where it is there, must be
// this user's and closed to others' writing. Root counts as nobody else. None when only this user can.
std::optional<QString> whyNotOwn(const QString &path);

// Opens the folder `path` (links on the way followed) when this user owns it and no one else may
// write in it or change the way to it, so nobody else can have put anything there; -1 when not. The
// caller closes it.
int open(const QString &path);

// Whether `path` is, without following a link, a folder this user owns that no one else may enter,
// on a way no one else may change.
bool isPrivate(const QString &path);
// Opens the folder `path` when `isPrivate` says so of it; -1 when not. The caller closes it.
int openPrivate(const QString &path);

} // namespace OwnFolder
