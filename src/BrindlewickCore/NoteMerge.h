#pragma once

#include "NoteBook.h"

// How the notes of a notes file that another program changed (a sync tool, a restore, a second
// machine) join the notes in hand. Notes are matched by id. A note only one side changed since the file
// was last seen takes that side's copy; a note both changed takes the copy changed last (its latest
// edit, completion or deletion) as a whole, the file's copy on a tie. Notes only one side has are kept,
// except one this run removed for good that the file still holds unchanged.
namespace NoteMerge {

struct Merged {
    NoteBook book;
    // Notes the file brought that the notes in hand lacked or held in an older state.
    int cameIn = 0;
};

// `base`: the file as this run last read or wrote it; `ours`: the notes in hand; `theirs`: the file now.
Merged merge(const NoteBook &base, const NoteBook &ours, const NoteBook &theirs);

} // namespace NoteMerge
