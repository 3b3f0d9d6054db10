#pragma once

#include "Color.h"
#include "Countdown.h"

// The interface colour tokens; screens name these instead of writing colours.
namespace Theme {

inline constexpr Color desk{0xF2F0EB, 0x161618};
inline constexpr Color sidebar{0xE9E6DF, 0x1C1C1F};
inline constexpr Color card{0xFFFFFF, 0x232326};
inline constexpr Color well{0xE6E2DA, 0x2A2A2E};
inline constexpr Color hairline{0xDDD8CE, 0x323236};
// The edge of a stock control such as a check box: 3.2:1 or more against every ground above.
inline constexpr Color controlEdge{0x7F7A73, 0x86827B};
inline constexpr Color ink{0x1D1C1A, 0xF0EEE9};
inline constexpr Color ink2{0x615D56, 0xA9A59E};
inline constexpr Color ink3{0x96918A, 0x6F6C67};
inline constexpr Color accent{0xE0601E, 0xFF8A4C};
inline constexpr Color accentInk{0xFFFFFF, 0x2A1206};
inline constexpr Color good{0x2E8A5A, 0x5CC48A};
inline constexpr Color notch = Color::fixed(0x000000);
// The alarm red of ringing notes, their answers and overdue texts; also urgency(Urgency::over).
inline constexpr Color alarm{0xD7373F, 0xFF6369};

// The colour of an urgency: teal, amber, the accent orange, the alarm red.
Color urgency(Urgency urgency);

} // namespace Theme
