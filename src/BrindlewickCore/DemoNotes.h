#pragma once

#include "Calendar.h"
#include "Date.h"
#include "StickyNote.h"

#include <QList>
#include <QRectF>

// The one fixed set of made-up notes of demo runs, the self-test and the screenshots: every state a
// note can be in, all times relative to `now`, so a frozen clock gives the same picture every run.
namespace DemoNotes {

// Always the same ten notes in the same order, with the same ids. `screen` is the usable area of
// the screen the desktop notes go on (y up).
QList<StickyNote> make(Date now, const Calendar &calendar, const QRectF &screen);

} // namespace DemoNotes
