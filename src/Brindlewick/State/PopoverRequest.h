#pragma once

#include <QUuid>

// Asks the desktop view of one note to open one of its popovers; that view clears the request.
struct PopoverRequest {
    enum class Kind { timer, deadline, color };

    QUuid id;
    Kind kind = Kind::timer;

    bool operator==(const PopoverRequest &) const = default;
};
