#include "Paper.h"

#include "Theme.h"

namespace {

struct PaperColors {
    Color fill;
    Color edge;
    Color swatch;
};

PaperColors colors(NoteColor color)
{
    switch (color) {
    case NoteColor::lemon: return {{0xFFE97F, 0x4C431B}, {0xEBCF52, 0x6B5F2A}, Color::fixed(0xFFE066)};
    case NoteColor::peach: return {{0xFFCDA8, 0x5A3421}, {0xF0AE80, 0x7A4A31}, Color::fixed(0xFFB27F)};
    case NoteColor::mint: return {{0xC2EFCD, 0x1E4A33}, {0x98D9AA, 0x2D6649}, Color::fixed(0x9FE3B1)};
    case NoteColor::sky: return {{0xC4E2FF, 0x1C3B58}, {0x98C8F5, 0x2B5479}, Color::fixed(0x9CCEFF)};
    case NoteColor::lilac: return {{0xDFD0FF, 0x3B2E5E}, {0xC2AEF2, 0x54437F}, Color::fixed(0xCDB6FF)};
    case NoteColor::rose: return {{0xFFC6D4, 0x5A2535}, {0xF29FB3, 0x7B3649}, Color::fixed(0xFFA8BE)};
    case NoteColor::graphite: return {{0x3B3B3E, 0x2B2B2E}, {0x56565A, 0x3E3E42}, Color::fixed(0x4A4A4E)};
    }
    return colors(NoteColor::lemon);
}

} // namespace

namespace Paper {

Color fill(NoteColor color)
{
    return colors(color).fill;
}

Color edge(NoteColor color)
{
    return colors(color).edge;
}

Color ink(NoteColor color)
{
    return color == NoteColor::graphite ? Color(0xF3F1EC, 0xEDEBE6) : Color(0x2A2519, 0xF4EEDF);
}

Color swatch(NoteColor color)
{
    return colors(color).swatch;
}

Color tapeInk(NoteColor paper, Urgency urgency)
{
    if (paper == NoteColor::graphite && urgency == Urgency::calm)
        return Color::fixed(0x5CC6CF);
    return Theme::urgency(urgency);
}

} // namespace Paper
