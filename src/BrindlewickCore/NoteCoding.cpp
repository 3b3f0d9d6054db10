#include "NoteCoding.h"

#include <QJsonArray>
#include <QJsonDocument>
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

std::optional<Date> optionalDate(const QJsonObject &object, const char *key)
{
    const auto seconds = optionalNumber(object, key);
    return seconds ? std::optional<Date>(Date{*seconds}) : std::nullopt;
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

NoteFrame decodeFrame(const QJsonValue &value)
{
    const QJsonObject object = objectOf(value);
    auto required = [&](const char *key) { return number(object.value(QLatin1String(key))); };
    return NoteFrame{required("x"), required("y"), required("width"), required("height")};
}

NoteTimer decodeTimer(const QJsonValue &value)
{
    const QJsonObject object = objectOf(value);
    NoteTimer timer;
    timer.duration = number(object.value(QLatin1String("duration")));
    timer.endsAt = optionalDate(object, "endsAt");
    timer.pausedLeft = optionalNumber(object, "pausedLeft");
    return timer;
}

StickyNote decodeNoteOrThrow(const QJsonValue &value, Date now)
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
    return note;
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

// Encoding refuses what JSON cannot carry, instead of writing null in its place.
struct EncodeFailure {};

double finiteNumber(double value)
{
    if (!std::isfinite(value))
        throw EncodeFailure{};
    return value;
}

void putDate(QJsonObject &object, const char *key, const std::optional<Date> &date)
{
    if (date)
        object.insert(QLatin1String(key), finiteNumber(date->seconds));
}

QJsonObject encodeFrame(const NoteFrame &frame)
{
    return QJsonObject{{"x", finiteNumber(frame.x)},
                       {"y", finiteNumber(frame.y)},
                       {"width", finiteNumber(frame.width)},
                       {"height", finiteNumber(frame.height)}};
}

QJsonObject encodeTimer(const NoteTimer &timer)
{
    QJsonObject object{{"duration", finiteNumber(timer.duration)}};
    putDate(object, "endsAt", timer.endsAt);
    if (timer.pausedLeft)
        object.insert(QLatin1String("pausedLeft"), finiteNumber(*timer.pausedLeft));
    return object;
}

} // namespace

namespace NoteCoding {

QJsonObject encodeNote(const StickyNote &note)
{
    QJsonObject object{{"id", note.id.toString(QUuid::WithoutBraces).toUpper()},
                       {"text", note.text},
                       {"color", toString(note.color)},
                       {"created", finiteNumber(note.created.seconds)},
                       {"edited", finiteNumber(note.edited.seconds)},
                       {"pinned", note.pinned},
                       {"tucked", note.tucked}};
    if (note.frame)
        object.insert(QLatin1String("frame"), encodeFrame(*note.frame));
    if (note.timer)
        object.insert(QLatin1String("timer"), encodeTimer(*note.timer));
    putDate(object, "deadline", note.deadline);
    putDate(object, "deadlineSetAt", note.deadlineSetAt);
    putDate(object, "doneAt", note.doneAt);
    putDate(object, "deletedAt", note.deletedAt);
    putDate(object, "alertedTimerEnd", note.alertedTimerEnd);
    putDate(object, "alertedDeadline", note.alertedDeadline);
    putDate(object, "alertedWarning", note.alertedWarning);
    return object;
}

std::optional<QByteArray> encode(const NoteBook &book)
{
    try {
        QJsonArray notes;
        for (const StickyNote &note : book.notes)
            notes.append(encodeNote(note));
        const QJsonObject root{{"version", book.version}, {"notes", notes}};
        return QJsonDocument(root).toJson(QJsonDocument::Indented);
    } catch (const EncodeFailure &) {
        return std::nullopt;
    }
}

std::optional<StickyNote> decodeNote(const QJsonValue &value, Date now)
{
    try {
        return decodeNoteOrThrow(value, now);
    } catch (const DecodeFailure &) {
        return std::nullopt;
    }
}

std::optional<NoteBook> decode(const QByteArray &json, Date now)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
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
        for (const QJsonValue &note : array)
            book.notes.append(decodeNoteOrThrow(note, now));
        return book;
    } catch (const DecodeFailure &) {
        return std::nullopt;
    }
}

} // namespace NoteCoding
