#include "NoteExport.h"

#include "TimeText.h"

#include <QStringList>

namespace {

QString block(const StickyNote &note, Date now, const Calendar &calendar, const QLocale &locale)
{
    QStringList lines{note.text.trimmed()};
    if (note.deadline)
        lines << QStringLiteral("Due: ") + TimeText::due(*note.deadline, now, calendar, locale);
    if (note.timer)
        lines << QStringLiteral("Timer: ") + TimeText::span(note.timer->duration);
    if (note.isDone())
        lines << QStringLiteral("Done");
    return lines.join(u'\n');
}

} // namespace

namespace NoteExport {

QString text(const QList<StickyNote> &notes, Date now, const Calendar &calendar, const QLocale &locale)
{
    QStringList blocks;
    blocks.reserve(notes.size());
    for (const StickyNote &note : notes)
        blocks << block(note, now, calendar, locale);
    return blocks.join(QStringLiteral("\n\n———\n\n"));
}

} // namespace NoteExport
