#pragma once

// On a virtual machine, memory left alone for a minute is slow to touch again: each 4 KiB page costs
// a fresh walk through the guest's and the host's page tables, tens of microseconds here. An idle
// program that wakes once a minute to repaint a few countdowns spends most of that wake on such
// walks. Kept in 2 MiB pages, the same heap is reached through a small fraction of the walks.
//
// glibc takes this choice only from its environment at start, so the program starts itself once
// more with it, before anything else runs. A choice already in the environment is left as it is,
// and once restarted the program puts back the environment it was given, for what it starts.
namespace HugeHeap {

// Returns only if the program already runs with the choice made, or cannot start itself again.
void restartWithHugePages(char **argv);

// In the restarted program: GLIBC_TUNABLES as the user gave it (or unset), and no trace of the
// restart; elsewhere nothing.
void restoreGivenTunables();

} // namespace HugeHeap
