#pragma once

#include "NoteBook.h"

// How the notes of a notes file that another program changed (a sync tool, a restore, a second
// machine) join the notes in hand. Notes are matched by id. A note whose copy in the file is one this
// run has seen there keeps the copy in hand, which grew from it. Otherwise the copy changed last wins
// as a whole (its latest change of any kind: an edit, completion, deletion, restore or undo), the
// file's copy on a tie: a stale copy from a machine that never saw an edit made here loses to it. Notes
// only one side has are kept, except one this run removed for good that the file still holds as seen.
namespace NoteMerge {

// What this run has seen of the file: the notebook it last read there (at the start, or put there by
// another program), and the last one it knows the file held, read or written.
struct Seen {
    NoteBook read;
    NoteBook last;
};

struct Merged {
    NoteBook book;
    // Notes the file brought that the notes in hand lacked or held in an older state.
    int cameIn = 0;
    // A note changed here since the file was last read lost to the file's copy: the notes in hand, as
    // they were, must be kept.
    bool oursLost = false;
};

// `ours`: the notes in hand; `theirs`: the file now.
Merged merge(const Seen &seen, const NoteBook &ours, const NoteBook &theirs);

} // namespace NoteMerge
