#include "Launch.h"

#include <array>
#include <utility>

Launch Launch::from(const QProcessEnvironment &environment, bool atLogin)
{
    static const std::array<std::pair<const char *, Mode>, 3> switches{{
        {"BRINDLEWICK_SNAPSHOT_DIR", Mode::snapshots},
        {"BRINDLEWICK_SELFTEST", Mode::selfTest},
        {"BRINDLEWICK_DEMO_DIR", Mode::demo},
    }};
    for (const auto &[variable, mode] : switches) {
        const QString name = QString::fromLatin1(variable);
        if (environment.contains(name))
            return Launch{mode, environment.value(name), atLogin};
    }
    return Launch{Mode::normal, {}, atLogin};
}
