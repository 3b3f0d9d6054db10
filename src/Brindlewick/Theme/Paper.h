#pragma once

#include "Color.h"
#include "Countdown.h"
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
// The countdown tape's fill on this paper: the urgency's colour, but the light teal for calm on graphite.
Color tapeInk(NoteColor paper, Urgency urgency);

} // namespace Paper
