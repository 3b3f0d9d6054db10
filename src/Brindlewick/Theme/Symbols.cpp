#include "Symbols.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QResource>
#include <algorithm>
#include <array>
#include <utility>

namespace {

// Material Icons glyphs fill a square em with some air around the figure; this makes a symbol as
// tall as the capitals of text at the same size.
constexpr qreal emPerPoint = 1.25;
// The font's outlined glyphs draw their lines a twelfth of the em wide (2 units of 24).
constexpr qreal outlineWeight = 12;

// How a glyph is drawn: as the font has it, or as its outline where the font lacks an outlined form.
enum class Form { asInFont, outline };

struct Symbol {
    std::u16string_view name;
    char32_t point;
    Form form = Form::asInFont;
};

constexpr std::array<Symbol, 40> table{{
    {u"arrow.down.to.line", 0xE258},        // vertical_align_bottom
    {u"arrow.triangle.2.circlepath", 0xE627}, // sync
    {u"arrow.up.arrow.down", 0xE8D5},       // swap_vert
    {u"arrow.up.to.line", 0xE25A},          // vertical_align_top
    {u"bell", 0xE7F5},                      // notifications_none
    {u"bell.badge.fill", 0xE7F7},           // notifications_active
    {u"bell.fill", 0xE7F4},                 // notifications
    {u"bell.slash", 0xE7F6},                // notifications_off
    {u"checkmark", 0xE5CA},                 // check
    {u"checkmark.circle", 0xE92D},          // check_circle_outline
    {u"checkmark.circle.fill", 0xE86C},     // check_circle
    {u"chevron.left", 0xE5CB},              // chevron_left
    {u"chevron.right", 0xE5CC},             // chevron_right
    {u"circle", 0xE836},                    // radio_button_unchecked
    {u"command", 0xEAE7},                   // keyboard_command_key
    {u"ellipsis", 0xE5D3},                  // more_horiz
    {u"exclamationmark", 0xE645},           // priority_high
    {u"exclamationmark.circle", 0xE001},    // error_outline
    {u"exclamationmark.triangle.fill", 0xE002}, // warning
    {u"flag", 0xE16E},                      // outlined_flag
    {u"flag.fill", 0xE153},                 // flag
    {u"gearshape", 0xE8B8},                 // settings
    {u"hand.point.up.left", 0xE913},        // touch_app
    {u"hand.raised.fill", 0xE925},          // pan_tool
    {u"info.circle", 0xE88F},               // info_outline
    {u"largecircle.fill.circle", 0xE837},   // radio_button_checked
    {u"magnifyingglass", 0xE8B6},           // search
    {u"note.text", 0xF1FC},                 // sticky_note_2
    {u"note.text.badge.plus", 0xEA20},      // post_add
    {u"pause.fill", 0xE034},                // pause
    {u"pin", 0xF10D, Form::outline},        // push_pin: the font has no outlined pin
    {u"pin.fill", 0xF10D},                  // push_pin
    {u"play.fill", 0xE037},                 // play_arrow
    {u"plus", 0xE145},                      // add
    {u"rectangle.topthird.inset.filled", 0xE069}, // web_asset
    {u"square.grid.2x2", 0xE9B0},           // grid_view
    {u"timer", 0xE425},                     // timer
    {u"trash", 0xE92E},                     // delete_outline
    {u"xmark", 0xE5CD},                     // close
    {u"xmark.circle.fill", 0xE5C9},         // cancel
}};

const Symbol *find(QStringView name)
{
    const std::u16string_view key(name.utf16(), size_t(name.size()));
    const auto found = std::find_if(table.begin(), table.end(), [&](const Symbol &symbol) { return symbol.name == key; });
    return found == table.end() ? nullptr : &*found;
}

const QString &symbolFamily()
{
    static const QString family = [] {
        // Stored uncompressed in the program, the font is handed over where it lies rather than
        // copied whole onto the heap.
        const QResource resource(QStringLiteral(":/fonts/MaterialIcons-Regular.ttf"));
        const int id = QFontDatabase::addApplicationFontFromData(resource.uncompressedData());
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QStringLiteral("Material Icons") : families.first();
    }();
    return family;
}

} // namespace

namespace Symbols {

std::optional<char32_t> codepoint(QStringView name)
{
    const Symbol *symbol = find(name);
    return symbol ? std::optional(symbol->point) : std::nullopt;
}

QString glyph(QStringView name)
{
    const auto point = codepoint(name);
    if (!point)
        return {};
    const char32_t text[] = {*point};
    return QString::fromUcs4(text, 1);
}

QFont font(qreal points)
{
    QFont font(symbolFamily());
    font.setPixelSize(qMax(1, qRound(points * emPerPoint)));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Measuring a glyph of this font shapes it through the font's large ligature tables, a costly walk
// for a tape that repaints once a minute; the answer for one glyph at one size never changes.
qreal width(QStringView name, qreal points)
{
    const auto point = codepoint(name);
    if (!point)
        return 0;
    static QHash<std::pair<char32_t, int>, qreal> known;
    const QFont symbolFont = font(points);
    const std::pair key{*point, symbolFont.pixelSize()};
    if (const auto found = known.constFind(key); found != known.cend())
        return *found;
    const qreal measured = QFontMetricsF(symbolFont).horizontalAdvance(glyph(name));
    known.insert(key, measured);
    return measured;
}

void draw(QPainter &painter, const QRectF &rect, QStringView name, qreal points, const QColor &color)
{
    const Symbol *symbol = find(name);
    if (!symbol)
        return;
    const QString text = glyph(name);
    const QFont symbolFont = font(points);
    painter.save();
    if (symbol->form == Form::outline) {
        // Placed as the centred text would be, and traced with the weight of the font's own outlines.
        const QFontMetricsF metrics(symbolFont);
        const QPointF baseline(rect.center().x() - width(name, points) / 2,
                               rect.center().y() - metrics.height() / 2 + metrics.ascent());
        QPainterPath outline;
        outline.addText(baseline, symbolFont, text);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setClipPath(outline, Qt::IntersectClip);
        painter.strokePath(outline, QPen(color, 2 * symbolFont.pixelSize() / outlineWeight, Qt::SolidLine, Qt::RoundCap,
                                         Qt::RoundJoin));
    } else {
        painter.setFont(symbolFont);
        painter.setPen(color);
        painter.drawText(rect, Qt::AlignCenter, text);
    }
    painter.restore();
}

QIcon icon(QStringView name, const QColor &color, qreal points)
{
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    const int side = qCeil(points * emPerPoint);
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    draw(painter, QRectF(0, 0, side, side), name, points, color);
    painter.end();
    return QIcon(pixmap);
}

} // namespace Symbols
