#include "HugeHeap.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

constexpr const char *variable = "GLIBC_TUNABLES";
constexpr const char *hugePagesName = "glibc.malloc.hugetlb";
// Carries the value the user gave (after "set:") or its absence ("unset") across the restart.
constexpr const char *givenVariable = "BRINDLEWICK_GIVEN_TUNABLES";
constexpr const char *setPrefix = "set:";

// The executable's own path, or empty if it cannot be read.
std::string ownPath()
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, size_t(length)) : std::string();
}

// The GLIBC_TUNABLES value that adds huge pages for malloc to `current` (unset when null), or none
// if `current` already says what malloc does with them.
std::optional<std::string> tunablesWithHugePages(const char *current)
{
    const std::string choice = std::string(hugePagesName) + "=1";
    if (!current || !*current)
        return choice;
    if (std::strstr(current, hugePagesName))
        return std::nullopt;
    return std::string(current) + ":" + choice;
}

} // namespace

void HugeHeap::restoreGivenTunables()
{
    const char *given = std::getenv(givenVariable);
    if (!given)
        return;
    const std::string value = given;
    unsetenv(givenVariable);
    if (value.rfind(setPrefix, 0) == 0)
        setenv(variable, value.c_str() + std::strlen(setPrefix), 1);
    else
        unsetenv(variable);
}

void HugeHeap::restartWithHugePages(char **argv)
{
    if (std::getenv(givenVariable)) {
        restoreGivenTunables();
        return;
    }
    const char *current = std::getenv(variable);
    const std::optional<std::string> tunables = tunablesWithHugePages(current);
    // By its own path rather than /proc/self/exe, which would rename the process "exe".
    const std::string path = ownPath();
    if (!tunables || path.empty())
        return;
    setenv(givenVariable, current ? (std::string(setPrefix) + current).c_str() : "unset", 1);
    setenv(variable, tunables->c_str(), 1);
    execv(path.c_str(), argv);
    // Still here: go on with small pages.
    restoreGivenTunables();
}
