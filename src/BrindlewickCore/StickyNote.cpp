#include "StickyNote.h"

#include <QTextBoundaryFinder>
#include <optional>

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

QStringView trimmed(QStringView text, bool (*strip)(QChar))
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && strip(text.at(begin)))
        ++begin;
    while (end > begin && strip(text.at(end - 1)))
        --end;
    return text.sliced(begin, end - begin);
}

// The first line that holds more than spaces and tabs, trimmed, and where that line ends; the scan
// stops there, so a huge note costs no more than its first lines. Each newline character ends a
// line, so a CR LF pair leaves a blank line between them.
struct FilledLine {
    QStringView text;
    qsizetype end = 0;
};

std::optional<FilledLine> firstFilledLine(const QString &text)
{
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && !isNewline(text.at(end)))
            ++end;
        const QStringView line = trimmed(QStringView(text).sliced(start, end - start), isSpaceOrTab);
        if (!line.isEmpty())
            return FilledLine{line, end};
        start = end + 1;
    }
    return std::nullopt;
}

// The line itself when it has at most `titleLimit` characters (grapheme clusters), else its first
// `titleLimit` - 1 and an ellipsis. Only the line's start is segmented, however long it is: a window
// of it, widened until it holds `titleLimit` whole clusters or the whole line. A boundary at the
// window's end is not trusted, since the cluster there may go on past it (stacked combining marks).
QString shortened(QStringView line)
{
    for (qsizetype window = 4 * titleLimit;; window *= 2) {
        const bool whole = window >= line.size();
        const QString head = line.first(std::min(window, line.size())).toString();
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, head);
        qsizetype kept = 0;
        int seen = 0;
        for (qsizetype boundary = finder.toNextBoundary(); boundary != -1; boundary = finder.toNextBoundary()) {
            if (boundary == head.size() && !whole)
                break;
            if (++seen == titleLimit - 1)
                kept = boundary;
            if (seen == titleLimit)
                return boundary == line.size() ? head.left(boundary) : head.left(kept) + QChar(0x2026);
        }
        if (whole)
            return head;
    }
}

} // namespace

StickyNote::StickyNote(QUuid noteId, QString noteText, NoteColor noteColor, Date now)
    : id(noteId), text(std::move(noteText)), color(noteColor), created(now), edited(now)
{
}

QString StickyNote::title() const
{
    const std::optional<FilledLine> line = firstFilledLine(text);
    return line ? shortened(line->text) : QStringLiteral("Empty note");
}

bool StickyNote::isBlank() const
{
    return !firstFilledLine(text);
}

QString StickyNote::rest() const
{
    const std::optional<FilledLine> line = firstFilledLine(text);
    if (!line || line->end >= text.size())
        return QString();
    QString after = text.mid(line->end + 1);
    for (QChar &c : after) {
        if (isNewline(c))
            c = u'\n';
    }
    return trimmed(after, [](QChar c) { return isSpaceOrTab(c) || isNewline(c); }).toString();
}

void StickyNote::setDeadline(std::optional<Date> newDeadline, Date now)
{
    deadline = newDeadline;
    deadlineSetAt = newDeadline ? std::optional<Date>(now) : std::nullopt;
    alertedDeadline.reset();
    alertedWarning.reset();
}
