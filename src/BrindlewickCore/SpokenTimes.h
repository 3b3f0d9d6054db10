#pragma once

#include "DatePhrase.h"
#include "DateScanner.h"

// Clock times as people say them: "half past 10", "quarter past 9", "a quarter to 4", "ten to 6",
// "twenty-five past seven", "5 past 4", "quarter after 3". Said without am/pm, the hour may be
// either half of the day in every locale. What reads as a range or a count stays out: "5 to 6",
// "from ten to 6", "ten to twelve people".
namespace DateDetector {

std::optional<TimePhrase> spokenTimeAt(const Scanner &scan, qsizetype i);

} // namespace DateDetector
