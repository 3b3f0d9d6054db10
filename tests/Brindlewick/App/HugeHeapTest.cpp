#include "App/HugeHeap.h"
#include "ScopedEnv.h"

#include <gtest/gtest.h>

namespace {

// After the restart that gave the heap huge pages, what the program starts (a browser for a link,
// the next version after an update) gets the malloc settings the user gave, not the program's own.
TEST(HugeHeap, TheRestartedProgramPutsBackTheSettingsItWasGiven)
{
    struct Case {
        const char *name;
        std::optional<QByteArray> carried;
        std::optional<QByteArray> expected;
    };
    const Case cases[] = {
        {"none were given", "unset", std::nullopt},
        {"some were given", "set:glibc.malloc.mxfast=0", "glibc.malloc.mxfast=0"},
        {"an empty value was given", "set:", ""},
        {"not restarted", std::nullopt, "glibc.malloc.hugetlb=1"},
    };
    for (const Case &c : cases) {
        const ScopedEnv tunables("GLIBC_TUNABLES", "glibc.malloc.hugetlb=1");
        const ScopedEnv given("BRINDLEWICK_GIVEN_TUNABLES", c.carried);
        HugeHeap::restoreGivenTunables();
        EXPECT_EQ(qEnvironmentVariableIsSet("GLIBC_TUNABLES") ? std::optional(qgetenv("GLIBC_TUNABLES")) : std::nullopt,
                  c.expected)
            << c.name;
        EXPECT_FALSE(qEnvironmentVariableIsSet("BRINDLEWICK_GIVEN_TUNABLES")) << c.name;
    }
}

} // namespace
