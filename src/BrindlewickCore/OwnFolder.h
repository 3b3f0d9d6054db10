#pragma once

#include <QString>
#include <optional>

// Folders that belong to the user running the program, and no one else.
namespace OwnFolder {

// Makes the folder `path` and any missing parent, each made open to its owner only (0700); folders
// already there are left as they are. The error text, or none when the folder is there.
std::optional<QString> make(const QString &path);

// Opens the folder `path` (links on the way followed) when this user owns it and no one else may
// write in it, so nobody else can have put anything there; -1 when not. The caller closes it.
int open(const QString &path);

// Whether `path` is, without following a link, a folder this user owns that no one else may enter.
bool isPrivate(const QString &path);
// Opens the folder `path` when `isPrivate` says so of it; -1 when not. The caller closes it.
int openPrivate(const QString &path);

} // namespace OwnFolder
