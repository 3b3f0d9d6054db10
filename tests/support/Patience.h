#pragma once

// How long a test waits for what must come: a process or server starting, a window shown, moved or
// given the keyboard by the window manager, a file saved, an answer over the bus. The suite runs on
// loaded machines and in a sanitizer build, so this is far more than any of these takes; a passing
// test never waits it out. Not for checks that something does not happen within a time.
constexpr int patienceMs = 30000;
