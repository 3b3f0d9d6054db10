#pragma once

#include "Calendar.h"
#include "Date.h"
#include "StickyNote.h"

#include <QList>
#include <QLocale>
#include <QString>

// Notes as one plain text, for the clipboard. The caller chooses the notes and their order.
namespace NoteExport {
// One block per note (its text, then "Due: …", "Timer: …" and "Done" lines as they apply),
// blocks set apart by a line of three em dashes between empty lines.
QString text(const QList<StickyNote> &notes, Date now, const Calendar &calendar = Calendar::current(),
             const QLocale &locale = QLocale());
}
