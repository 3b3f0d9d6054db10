#pragma once

#include "Date.h"

#include <QString>
#include <optional>

// What a typed quick line turns into: the note's text, a timer length and a deadline.
struct QuickNote {
    QString text;
    std::optional<double> timer;
    std::optional<Date> deadline;

    bool operator==(const QuickNote &) const = default;
};
