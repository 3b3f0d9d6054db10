#include "Theme.h"

namespace Theme {

Color urgency(Urgency urgency)
{
    switch (urgency) {
    case Urgency::calm: return {0x1F7A84, 0x5CC6CF};
    case Urgency::soon: return {0xD98A0F, 0xF5B13D};
    case Urgency::urgent: return accent;
    case Urgency::over: return alarm;
    }
    return accent;
}

} // namespace Theme
