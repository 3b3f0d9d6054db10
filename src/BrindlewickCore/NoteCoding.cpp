#include "NoteCoding.h"

#include <algorithm>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSet>
#include <cmath>
#include <limits>

namespace {

// Thrown inside this file only, to fail a whole decode from any depth.
struct DecodeFailure {};

bool isAbsent(const QJsonValue &value)
{
    return value.isUndefined() || value.isNull();
}

double number(const QJsonValue &value)
{
    if (!value.isDouble())
        throw DecodeFailure{};
    return value.toDouble();
}

std::optional<double> optionalNumber(const QJsonObject &object, const char *key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (isAbsent(value))
        return std::nullopt;
    return number(value);
}

// Dates from a hand-edited file lie in the years 1 to 9999 like any other.
std::optional<Date> optionalDate(const QJsonObject &object, const char *key)
{
    const auto seconds = optionalNumber(object, key);
    return seconds ? std::optional<Date>(Date{*seconds}.bounded()) : std::nullopt;
}

// A length of time no longer than the years dates reach, so that it can be added to one and counted
// in whole units.
double span(double seconds)
{
    constexpr double longest = Date::latestSeconds - Date::earliestSeconds;
    return std::clamp(seconds, -longest, longest);
}

bool boolOr(const QJsonObject &object, const char *key, bool fallback)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (isAbsent(value))
        return fallback;
    if (!value.isBool())
        throw DecodeFailure{};
    return value.toBool();
}

std::optional<QString> optionalString(const QJsonObject &object, const char *key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (isAbsent(value))
        return std::nullopt;
    if (!value.isString())
        throw DecodeFailure{};
    return value.toString();
}

QJsonObject objectOf(const QJsonValue &value)
{
    if (!value.isObject())
        throw DecodeFailure{};
    return value.toObject();
}

QUuid uuid(const QJsonObject &object)
{
    const auto text = optionalString(object, "id");
    // Only the plain 36-character form counts, as the file writes it.
    if (!text || text->size() != 36)
        throw DecodeFailure{};
    const QUuid id = QUuid::fromString(*text);
    if (id.isNull() && *text != QUuid().toString(QUuid::WithoutBraces))
        throw DecodeFailure{};
    return id;
}

// Far beyond any screen, yet every sum of a few of them still fits the integers windows are placed with.
constexpr double farthestPoint = 1e6;

NoteFrame decodeFrame(const QJsonValue &value)
{
    const QJsonObject object = objectOf(value);
    auto required = [&](const char *key) {
        return std::clamp(number(object.value(QLatin1String(key))), -farthestPoint, farthestPoint);
    };
    return NoteFrame{required("x"), required("y"), required("width"), required("height")};
}

NoteTimer decodeTimer(const QJsonValue &value)
{
    const QJsonObject object = objectOf(value);
    NoteTimer timer;
    timer.duration = span(number(object.value(QLatin1String("duration"))));
    timer.endsAt = optionalDate(object, "endsAt");
    if (const auto left = optionalNumber(object, "pausedLeft"))
        timer.pausedLeft = span(*left);
    return timer;
}

StickyNote decodeNote(const QJsonValue &value, Date now)
{
    const QJsonObject object = objectOf(value);
    StickyNote note;
    note.id = uuid(object);
    note.text = optionalString(object, "text").value_or(QString());
    note.color = noteColorFromString(optionalString(object, "color").value_or(QString()))
                     .value_or(NoteColor::lemon);
    note.created = optionalDate(object, "created").value_or(now);
    note.edited = optionalDate(object, "edited").value_or(note.created);
    note.pinned = boolOr(object, "pinned", false);
    note.tucked = boolOr(object, "tucked", false);
    if (const QJsonValue frame = object.value(QLatin1String("frame")); !isAbsent(frame))
        note.frame = decodeFrame(frame);
    if (const QJsonValue timer = object.value(QLatin1String("timer")); !isAbsent(timer))
        note.timer = decodeTimer(timer);
    note.deadline = optionalDate(object, "deadline");
    note.deadlineSetAt = optionalDate(object, "deadlineSetAt");
    note.doneAt = optionalDate(object, "doneAt");
    note.deletedAt = optionalDate(object, "deletedAt");
    note.alertedTimerEnd = optionalDate(object, "alertedTimerEnd");
    note.alertedDeadline = optionalDate(object, "alertedDeadline");
    note.alertedWarning = optionalDate(object, "alertedWarning");
    note.changedAt = optionalDate(object, "changedAt");
    return note;
}

// A note whose id an earlier note has (a file edited or joined by hand) is another note: it gets
// an id of its own, made from its id and its place, so reading the same file again gives the same.
void giveOwnId(StickyNote &note, qsizetype index, QSet<QUuid> &seen)
{
    while (seen.contains(note.id))
        note.id = QUuid::createUuidV5(note.id, QString::number(index));
    seen.insert(note.id);
}

int decodeVersion(const QJsonObject &object)
{
    const QJsonValue value = object.value(QLatin1String("version"));
    if (isAbsent(value))
        return NoteBook::currentVersion;
    const double version = number(value);
    if (version != std::trunc(version) || std::fabs(version) > std::numeric_limits<int>::max())
        throw DecodeFailure{};
    return static_cast<int>(version);
}

// U+FEFF in UTF-8. Qt's JSON reader drops it where it starts a string, as if it marked the byte order,
// so it is written escaped: a text keeps it as typed.
constexpr QByteArrayView byteOrderMark("\xEF\xBB\xBF");

// The same document with every U+FEFF after a leading byte-order mark escaped; raw U+FEFF can
// stand only inside strings, where the escape means the same.
QByteArray withMarksEscaped(const QByteArray &json)
{
    const qsizetype start = json.startsWith(byteOrderMark) ? byteOrderMark.size() : 0;
    if (json.indexOf(byteOrderMark, start) < 0)
        return json;
    return json.left(start) + json.mid(start).replace(byteOrderMark, "\\ufeff");
}

// Encoding refuses what JSON cannot carry, instead of writing null in its place.
struct EncodeFailure {};

// Writes the file's pretty-printed form directly: several times faster than building a QJsonDocument,
// which matters because every edit saves the whole book. Callers add keys in sorted order.
class Writer {
public:
    QByteArray take() { return std::move(m_out); }
    void reserve(qsizetype bytes) { m_out.reserve(bytes); }

    void open(char bracket)
    {
        m_out += bracket;
        m_first = true;
        ++m_depth;
    }
    void close(char bracket)
    {
        --m_depth;
        if (!m_first)
            newline();
        m_out += bracket;
        m_first = false;
    }
    // Starts an array element or an object member.
    void item(const char *key = nullptr)
    {
        if (!m_first)
            m_out += ',';
        m_first = false;
        newline();
        if (key) {
            m_out += '"';
            m_out += key;
            m_out += "\" : ";
        }
    }

    void number(double value)
    {
        if (!std::isfinite(value))
            throw EncodeFailure{};
        m_out += QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
    }
    void boolean(bool value) { m_out += value ? "true" : "false"; }
    void string(const QString &text);

    void member(const char *key, double value) { item(key); number(value); }
    void member(const char *key, bool value) { item(key); boolean(value); }
    void member(const char *key, const QString &value) { item(key); string(value); }
    void member(const char *key, Date date) { member(key, date.seconds); }
    // Absent values are left out.
    template <typename T>
    void member(const char *key, const std::optional<T> &value)
    {
        if (value)
            member(key, *value);
    }

private:
    // Text without lone surrogates, as UTF-8 with JSON's escapes.
    void utf8(QStringView text);
    // One UTF-16 code unit as JSON's six-character escape.
    void escape(char16_t unit);
    void newline()
    {
        m_out += '\n';
        m_out.append(2 * m_depth, ' ');
    }

    QByteArray m_out;
    int m_depth = 0;
    bool m_first = true;
};

// A surrogate without its other half (text pasted from a broken source) has no UTF-8 form: it is
// written as its JSON escape, which the reader turns back into the same code unit.
bool isLoneSurrogate(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate())
        return i + 1 == text.size() || !text[i + 1].isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text[i - 1].isHighSurrogate();
    return false;
}

void Writer::string(const QString &text)
{
    m_out += '"';
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text[i].isSurrogate() || !isLoneSurrogate(text, i))
            continue;
        utf8(QStringView(text).sliced(start, i - start));
        escape(text[i].unicode());
        start = i + 1;
    }
    utf8(QStringView(text).sliced(start));
    m_out += '"';
}

void Writer::escape(char16_t unit)
{
    static const char hex[] = "0123456789abcdef";
    m_out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        m_out += hex[(unit >> shift) & 0xF];
}

void Writer::utf8(QStringView text)
{
    const QByteArray utf8 = text.toUtf8();
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        const auto byte = static_cast<unsigned char>(c);
        if (QByteArrayView(utf8).sliced(i).startsWith(byteOrderMark)) {
            escape(0xFEFF);
            i += byteOrderMark.size() - 1;
            continue;
        }
        switch (c) {
        case '"': m_out += "\\\""; break;
        case '\\': m_out += "\\\\"; break;
        case '\n': m_out += "\\n"; break;
        case '\r': m_out += "\\r"; break;
        case '\t': m_out += "\\t"; break;
        default:
            if (byte < 0x20)
                escape(byte);
            else
                m_out += c;
        }
    }
}

void writeFrame(Writer &out, const NoteFrame &frame)
{
    out.open('{');
    out.member("height", frame.height);
    out.member("width", frame.width);
    out.member("x", frame.x);
    out.member("y", frame.y);
    out.close('}');
}

void writeTimer(Writer &out, const NoteTimer &timer)
{
    out.open('{');
    out.member("duration", timer.duration);
    out.member("endsAt", timer.endsAt);
    out.member("pausedLeft", timer.pausedLeft);
    out.close('}');
}

void writeNote(Writer &out, const StickyNote &note)
{
    out.open('{');
    out.member("alertedDeadline", note.alertedDeadline);
    out.member("alertedTimerEnd", note.alertedTimerEnd);
    out.member("alertedWarning", note.alertedWarning);
    out.member("changedAt", note.changedAt);
    out.member("color", toString(note.color));
    out.member("created", note.created);
    out.member("deadline", note.deadline);
    out.member("deadlineSetAt", note.deadlineSetAt);
    out.member("deletedAt", note.deletedAt);
    out.member("doneAt", note.doneAt);
    out.member("edited", note.edited);
    if (note.frame) {
        out.item("frame");
        writeFrame(out, *note.frame);
    }
    out.member("id", note.id.toString(QUuid::WithoutBraces).toUpper());
    out.member("pinned", note.pinned);
    out.member("text", note.text);
    if (note.timer) {
        out.item("timer");
        writeTimer(out, *note.timer);
    }
    out.member("tucked", note.tucked);
    out.close('}');
}

} // namespace

namespace NoteCoding {

std::optional<QByteArray> encode(const NoteBook &book)
{
    try {
        Writer out;
        out.reserve(600 * (book.notes.size() + 1));
        out.open('{');
        out.item("notes");
        out.open('[');
        for (const StickyNote &note : book.notes) {
            out.item();
            writeNote(out, note);
        }
        out.close(']');
        out.member("version", double(book.version));
        out.close('}');
        QByteArray json = out.take();
        json += '\n';
        return json;
    } catch (const EncodeFailure &) {
        return std::nullopt;
    }
}

std::optional<NoteBook> decode(const QByteArray &json, Date now)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(withMarksEscaped(json), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    try {
        const QJsonObject root = document.object();
        NoteBook book;
        book.version = decodeVersion(root);
        const QJsonValue notes = root.value(QLatin1String("notes"));
        if (isAbsent(notes))
            return book;
        if (!notes.isArray())
            return std::nullopt;
        const QJsonArray array = notes.toArray();
        book.notes.reserve(array.size());
        QSet<QUuid> seen;
        for (const QJsonValue &note : array) {
            book.notes.append(decodeNote(note, now));
            giveOwnId(book.notes.last(), book.notes.size() - 1, seen);
        }
        return book;
    } catch (const DecodeFailure &) {
        return std::nullopt;
    }
}

} // namespace NoteCoding
