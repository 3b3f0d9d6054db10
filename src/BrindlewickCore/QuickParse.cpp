#include "QuickParse.h"

#include "DateDetector.h"
#include "NoteTimer.h"
#include "Words.h"

#include <QStringList>

namespace {

constexpr double oneDay = 86400;

std::optional<double> decimalNumber(QStringView text)
{
    static const QLocale c = [] {
        QLocale locale = QLocale::c();
        locale.setNumberOptions(QLocale::RejectGroupSeparator);
        return locale;
    }();
    bool ok = false;
    const double value = c.toDouble(text, &ok);
    return ok ? std::optional(value) : std::nullopt;
}

std::optional<double> unitSeconds(const QString &word)
{
    const auto unit = QuickParse::units().constFind(word);
    return unit == QuickParse::units().constEnd() ? std::nullopt : std::optional(*unit);
}

// Takes the last duration off `words`: a compact word ("4m") or a number and a unit ("4 min").
std::optional<double> takeLastDuration(QStringList &words)
{
    const QString last = words.last().toLower();
    if (const auto seconds = QuickParse::compact(last)) {
        words.removeLast();
        return seconds;
    }
    const auto unit = unitSeconds(last);
    if (!unit || words.size() < 2)
        return std::nullopt;
    const auto count = decimalNumber(words[words.size() - 2]);
    if (!count || !(*count > 0))
        return std::nullopt;
    words.resize(words.size() - 2);
    return *count * *unit;
}

bool holdsLetterOrColon(QStringView text)
{
    for (const QChar c : text) {
        if (c.isLetter() || c == u':')
            return true;
    }
    return false;
}

} // namespace

const QHash<QString, double> &QuickParse::units()
{
    static const QHash<QString, double> table{
        {QStringLiteral("s"), 1},       {QStringLiteral("sec"), 1},        {QStringLiteral("secs"), 1},
        {QStringLiteral("second"), 1},  {QStringLiteral("seconds"), 1},    {QStringLiteral("m"), 60},
        {QStringLiteral("min"), 60},    {QStringLiteral("mins"), 60},      {QStringLiteral("minute"), 60},
        {QStringLiteral("minutes"), 60}, {QStringLiteral("h"), 3600},      {QStringLiteral("hr"), 3600},
        {QStringLiteral("hrs"), 3600},  {QStringLiteral("hour"), 3600},    {QStringLiteral("hours"), 3600},
    };
    return table;
}

QuickNote QuickParse::parse(const QString &line, Date now, const Calendar &calendar, const QLocale &locale)
{
    QString text = line.trimmed();
    const auto timer = takeDuration(text);
    const auto deadline = findDeadline(text, now, calendar, locale);
    return QuickNote{text, timer, deadline};
}

std::optional<double> QuickParse::takeDuration(QString &text)
{
    QStringList remaining = splitWords(text);
    double total = 0;
    while (!remaining.isEmpty()) {
        const auto seconds = takeLastDuration(remaining);
        if (!seconds)
            break;
        total += *seconds;
    }
    // Nothing taken leaves the total at 0, outside the range as well.
    if (!(total >= 1 && total <= NoteTimer::longest))
        return std::nullopt;
    if (!remaining.isEmpty() && remaining.last().toLower() == u"for")
        remaining.removeLast();
    if (!remaining.isEmpty())
        text = remaining.join(u' ');
    return total;
}

std::optional<double> QuickParse::compact(QStringView word)
{
    QString number;
    QString unit;
    double total = 0;
    const auto settle = [&] {
        const auto count = decimalNumber(number);
        const auto seconds = unitSeconds(unit);
        number.clear();
        unit.clear();
        if (!count || !(*count > 0) || !seconds)
            return false;
        total += *count * *seconds;
        return true;
    };
    for (const QChar c : word) {
        if ((c >= u'0' && c <= u'9') || c == u'.') {
            if (!unit.isEmpty() && !settle())
                return std::nullopt;
            number.append(c);
        } else if (c.isLetter() && !number.isEmpty()) {
            unit.append(c);
        } else {
            return std::nullopt;
        }
    }
    if (unit.isEmpty() || !settle())
        return std::nullopt;
    return total;
}

std::optional<Date> QuickParse::findDeadline(const QString &text, Date now, const Calendar &calendar,
                                             const QLocale &locale)
{
    for (const DateMatch &match : DateDetector::matches(text, now, calendar, locale)) {
        if (!holdsLetterOrColon(QStringView(text).mid(match.offset, match.length)))
            continue;
        if (match.date > now)
            return match.date;
        if (now - match.date < oneDay) {
            if (const auto nextDay = calendar.addingDays(match.date, 1))
                return nextDay;
        }
    }
    return std::nullopt;
}
