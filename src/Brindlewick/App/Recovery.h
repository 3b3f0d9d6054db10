#pragma once

#include "NoteBook.h"

#include <QString>
#include <QStringList>
#include <optional>

// Where a notebook that could not be saved at quit goes: a file of its own in the state folder
// ("notes.unsaved-<unix seconds>.json"), or in the temporary folder when that cannot be written.
// The files stay until the user has taken what they need from them.
namespace Recovery {

struct Written {
    // The file the notes went to; none when no place could take them.
    std::optional<QString> file;
    // Why the state folder could not take them, when it could not.
    QString error;
};

Written write(const NoteBook &book, Date now, const QString &folder);
// The recovery files in `folder`, oldest first.
QStringList pending(const QString &folder);

} // namespace Recovery
