#include "StickyNote.h"

#include <QStringList>
#include <QTextBoundaryFinder>

namespace {

constexpr int titleLimit = 80;

bool isSpaceOrTab(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

bool isNewline(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
}

QString trimmed(const QString &text, bool (*strip)(QChar))
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && strip(text.at(begin)))
        ++begin;
    while (end > begin && strip(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString trimSpaces(const QString &text)
{
    return trimmed(text, isSpaceOrTab);
}

// Splits at each newline character, so a CR LF pair leaves an empty line between them.
QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isNewline(text.at(i)))
            continue;
        lines.append(text.mid(start, i - start));
        start = i + 1;
    }
    lines.append(text.mid(start));
    return lines;
}

// The line itself when it has at most `titleLimit` characters (grapheme clusters), else its first
// `titleLimit` - 1 and an ellipsis.
QString shortened(const QString &line)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line);
    qsizetype kept = 0;
    for (int seen = 1; seen <= titleLimit; ++seen) {
        const qsizetype boundary = finder.toNextBoundary();
        if (boundary == -1 || boundary == line.size())
            return line;
        if (seen == titleLimit - 1)
            kept = boundary;
    }
    return line.left(kept) + QChar(0x2026);
}

} // namespace

StickyNote::StickyNote(QUuid noteId, QString noteText, NoteColor noteColor, Date now)
    : id(noteId), text(std::move(noteText)), color(noteColor), created(now), edited(now)
{
}

QString StickyNote::title() const
{
    // Blank lines are passed over, so a CR LF pair needs no care here.
    for (const QString &line : splitLines(text)) {
        const QString candidate = trimSpaces(line);
        if (!candidate.isEmpty())
            return shortened(candidate);
    }
    return QStringLiteral("Empty note");
}

QString StickyNote::rest() const
{
    QStringList lines = splitLines(text);
    while (!lines.isEmpty() && trimSpaces(lines.first()).isEmpty())
        lines.removeFirst();
    if (lines.isEmpty())
        return QString();
    lines.removeFirst();
    return trimmed(lines.join(u'\n'), [](QChar c) { return isSpaceOrTab(c) || isNewline(c); });
}

void StickyNote::setDeadline(std::optional<Date> newDeadline, Date now)
{
    deadline = newDeadline;
    deadlineSetAt = newDeadline ? std::optional<Date>(now) : std::nullopt;
    alertedDeadline.reset();
    alertedWarning.reset();
}
