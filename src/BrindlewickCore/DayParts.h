#pragma once

#include "DatePhrase.h"
#include "DateScanner.h"

// Parts of the day: "morning", "in the afternoon", "at night", "this evening".
namespace DateDetector {

// The part of the day a word names ("evening").
std::optional<PartPhrase> dayPartAt(const Scanner &scan, qsizetype i);
// A part of the day on its own: "in the morning", or "evening" and "the evening" after a preposition.
std::optional<PartPhrase> partAloneAt(const Scanner &scan, qsizetype i);
// A part of the day after a day or a time: "evening", "in the evening", "at night", "this evening".
std::optional<PartPhrase> partAfter(const Scanner &scan, qsizetype i);

} // namespace DateDetector
