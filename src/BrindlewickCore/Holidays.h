#pragma once

#include "DatePhrase.h"
#include "DateScanner.h"

// Holidays that fall on the same date every year, as people in the US and the UK name them: "new
// year's eve", "valentine's day", "st. patrick's day", "fourth of july", "halloween", "bonfire night",
// "christmas eve", "boxing day". The names also used for the season or as a modifier ("christmas
// cards", "halloween costume") count only after a preposition ("by halloween").
namespace DateDetector {

std::optional<DayPhrase> holidayAt(const Scanner &scan, qsizetype i);

} // namespace DateDetector
