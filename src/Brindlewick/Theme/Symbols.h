#pragma once

#include <QFont>
#include <QIcon>
#include <QString>
#include <optional>

class QColor;
class QPainter;
class QRectF;

// Named symbols ("timer", "flag.fill", "pin", …) drawn from the Material Icons font that the
// build embeds. One table maps each name the interface uses to one glyph; an outlined form the font
// lacks ("pin") is drawn as the outline of the filled glyph.
namespace Symbols {

// The glyph's code point, or nullopt for a name the table does not hold.
std::optional<char32_t> codepoint(QStringView name);
// The glyph as text in font(); empty for an unknown name.
QString glyph(QStringView name);
// The symbol font at the size that matches text of `points` points.
QFont font(qreal points);
// How wide the symbol lies in a row of text; 0 for an unknown name.
qreal width(QStringView name, qreal points);
// Draws the symbol centred in `rect`; an unknown name draws nothing.
void draw(QPainter &painter, const QRectF &rect, QStringView name, qreal points, const QColor &color);
// The symbol as an icon for menus, tabs and stock buttons.
QIcon icon(QStringView name, const QColor &color, qreal points = 16);

} // namespace Symbols
