#pragma once

#include "NoteBook.h"

#include <QString>
#include <QStringList>
#include <optional>

// Where a notebook that could not be saved at quit goes: a file of its own,
// "notes.unsaved-<unix seconds>.json", in the first of the given folders that is the user's alone
// (owned by the user, closed to everyone else's writes), so nobody else can have planted anything
// there. The file is always new: never written over anything, never through a link. The first folder
// is made when missing. The files stay until the user has taken what they need from them.
namespace Recovery {

struct Written {
    // The file the notes went to; none when no folder could take them.
    std::optional<QString> file;
    // Why the folders before it could not take them, when they could not.
    QString error;
};

Written write(const NoteBook &book, Date now, const QStringList &folders);
// The recovery files in all of `folders`, oldest first.
QStringList pending(const QStringList &folders);

} // namespace Recovery
