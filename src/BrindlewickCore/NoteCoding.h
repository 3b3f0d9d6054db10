#pragma once

#include "NoteBook.h"

#include <QByteArray>
#include <optional>

// The notes file's JSON form. Decoding is strict about types and lenient about absence:
// a wrong type anywhere fails the whole book, a missing key takes its default.
namespace NoteCoding {

// Pretty-printed, keys sorted. None when a date or number is not finite.
std::optional<QByteArray> encode(const NoteBook &book);
// `now` stands in for a missing creation date.
std::optional<NoteBook> decode(const QByteArray &json, Date now);

} // namespace NoteCoding
