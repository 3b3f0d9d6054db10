#include "NoteColor.h"

#include "RawValue.h"

QString toString(NoteColor color)
{
    switch (color) {
    case NoteColor::lemon: return QStringLiteral("lemon");
    case NoteColor::peach: return QStringLiteral("peach");
    case NoteColor::mint: return QStringLiteral("mint");
    case NoteColor::sky: return QStringLiteral("sky");
    case NoteColor::lilac: return QStringLiteral("lilac");
    case NoteColor::rose: return QStringLiteral("rose");
    case NoteColor::graphite: return QStringLiteral("graphite");
    }
    return QStringLiteral("lemon");
}

std::optional<NoteColor> noteColorFromString(const QString &raw)
{
    return caseWithRawValue(NoteColors::allCases, raw);
}

QString title(NoteColor color)
{
    const QString raw = toString(color);
    return raw.left(1).toUpper() + raw.mid(1);
}
