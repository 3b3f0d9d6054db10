#pragma once

#include "StickyNote.h"

#include <QString>
#include <QUuid>

// Notes for list tests. Numbered ids ("…-000000000007") sort like their numbers, so tie-breaks by
// identifier are easy to predict.
namespace TestNotes {

inline QUuid numberedId(int number)
{
    return QUuid::fromString(QStringLiteral("00000000-0000-4000-8000-%1").arg(number, 12, 10, QChar(u'0')));
}

inline StickyNote note(int number, Date created, const QString &text = QString(), NoteColor color = NoteColor::lemon)
{
    return StickyNote(numberedId(number), text.isNull() ? QStringLiteral("Note %1").arg(number) : text, color, created);
}

// A timer of `duration` seconds with `left` seconds to go at `now` (0 or less: finished).
inline NoteTimer runningTimer(double duration, double left, Date now)
{
    NoteTimer timer(duration);
    timer.start(now - (duration - left));
    return timer;
}

inline NoteTimer pausedTimer(double duration, double left)
{
    NoteTimer timer(duration);
    timer.pausedLeft = left;
    return timer;
}

} // namespace TestNotes
