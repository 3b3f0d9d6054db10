#pragma once

#include "DatePhrase.h"
#include "DateScanner.h"

// Clock times as people say them: "half past 10", "quarter past 9", "a quarter to 4", "ten to 6",
// "twenty-five past seven", "5 past 4", "quarter after 3". Said without am/pm, the hour may be
// either half of the day in every locale.
namespace DateDetector {

std::optional<TimePhrase> spokenTimeAt(const Scanner &scan, qsizetype i);

} // namespace DateDetector
