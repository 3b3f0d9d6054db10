#pragma once

#include "DatePhrase.h"
#include "DateScanner.h"

// A day and a later time with ordinary words between them make one moment: "monday meeting at 3pm",
// "tomorrow brunch with Ana at 11", "friday drinks at 6". A number, a mark that ends a clause (".",
// ";", ":", "!", "?", a bracket, a line break) or a word that sets them apart ("or", "then", "but")
// keeps them apart, and so does another date between them. A day written only in digits ("12/25")
// or named in the past ("last monday") keeps to itself.
namespace DateDetector {

// A phrase and where its match begins.
struct PlacedPhrase {
    qsizetype start = 0;
    Phrase phrase;
};

// The one phrase the day and the time make, when they make one.
std::optional<PlacedPhrase> dayAndTimeApart(const Scanner &scan, const PlacedPhrase &day, const PlacedPhrase &time);

} // namespace DateDetector
