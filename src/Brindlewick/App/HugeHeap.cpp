#include "HugeHeap.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

constexpr const char *variable = "GLIBC_TUNABLES";
constexpr const char *hugePagesName = "glibc.malloc.hugetlb";

} // namespace

std::optional<std::string> HugeHeap::tunablesWithHugePages(const char *current)
{
    const std::string choice = std::string(hugePagesName) + "=1";
    if (!current || !*current)
        return choice;
    if (std::strstr(current, hugePagesName))
        return std::nullopt;
    return std::string(current) + ":" + choice;
}

void HugeHeap::restartWithHugePages(char **argv)
{
    const char *current = std::getenv(variable);
    const std::optional<std::string> tunables = tunablesWithHugePages(current);
    if (!tunables)
        return;
    const std::string previous = current ? current : "";
    const bool wasSet = current != nullptr;
    // By its own path rather than /proc/self/exe, which would rename the process "exe".
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return;
    path[length] = '\0';
    setenv(variable, tunables->c_str(), 1);
    execv(path, argv);
    // Still here: go on with small pages, leaving the environment as it was for whatever this starts.
    if (wasSet)
        setenv(variable, previous.c_str(), 1);
    else
        unsetenv(variable);
}
