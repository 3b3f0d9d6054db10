#pragma once

#include "Color.h"
#include "NoteColor.h"

// The colours of a note's paper, one set per paper colour.
namespace Paper {

Color fill(NoteColor color);
// The slightly darker border of the paper.
Color edge(NoteColor color);
// Text and icons drawn on the paper.
Color ink(NoteColor color);
// The dot that stands for the paper in pickers; the same in both appearances.
Color swatch(NoteColor color);

} // namespace Paper
