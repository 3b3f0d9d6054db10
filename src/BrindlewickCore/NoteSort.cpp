#include "NoteSort.h"

#include "RawValue.h"

QString toString(NoteSort sort)
{
    switch (sort) {
    case NoteSort::urgency: return QStringLiteral("urgency");
    case NoteSort::edited: return QStringLiteral("edited");
    case NoteSort::created: return QStringLiteral("created");
    }
    return QStringLiteral("urgency");
}

std::optional<NoteSort> noteSortFromString(const QString &raw)
{
    return caseWithRawValue(NoteSorts::allCases, raw);
}

QString title(NoteSort sort)
{
    switch (sort) {
    case NoteSort::urgency: return QStringLiteral("Time left");
    case NoteSort::edited: return QStringLiteral("Last edited");
    case NoteSort::created: return QStringLiteral("Date created");
    }
    return QStringLiteral("Time left");
}
