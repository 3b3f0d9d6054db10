#pragma once

#include <QFont>

// The type scale. Sizes are in points as layouts count them (one point is one logical pixel).
// Families are named explicitly, so text looks the same on every machine that ran the setup:
// Inter for text, DejaVu Sans where digits must keep one width, DejaVu Sans Mono for monospaced text.
namespace Fonts {

enum class Design { standard, rounded, monospaced };

// The system font at a size in points, as every screen asks for it.
QFont system(qreal points, QFont::Weight weight = QFont::Normal, Design design = Design::standard,
             bool monospacedDigits = false);
// `font` for the program's own short texts that every note draws (times, dates, button labels):
// such text in a script that does not need shaping is drawn straight from the font's character
// map, several times faster than through the shaper. Never for what the user wrote: emoji
// sequences and flags need the shaper whatever the script.
QFont unshaped(QFont font);
// The size in points of a font made by system().
qreal points(const QFont &font);

const QFont &title();
const QFont &body();
const QFont &bodyMedium();
const QFont &caption();
const QFont &label();
const QFont &clock();
const QFont &number();

} // namespace Fonts
