#pragma once

#include <functional>

// The X server going away (a session that crashed, a display killed) ends the process from inside Qt:
// it warns once that the connection broke and exits at once, with no quit handler run. This catches
// that warning and runs `lastWords` first, once, on the main thread, while everything still works
// but the display. One object at a time per process; destroying it puts the previous message handler
// back.
class DisplayLoss {
public:
    explicit DisplayLoss(std::function<void()> lastWords);
    ~DisplayLoss();
    DisplayLoss(const DisplayLoss &) = delete;
    DisplayLoss &operator=(const DisplayLoss &) = delete;
};
