#include "MenuBarLabel.h"

#include "Theme/Fonts.h"
#include "Theme/Paper.h"
#include "Theme/Symbols.h"
#include "Theme/Theme.h"

#include "NoteList.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// Drawn large; the status area scales it down to its own size.
constexpr int side = 64;
constexpr qreal corner = 12;
constexpr qreal textBand = 26;
constexpr qreal margin = 3;

// The paper keeps the symbol readable on light and dark panels alike.
constexpr NoteColor paper = NoteColor::lemon;

QString symbolFor(const Countdown &countdown)
{
    if (countdown.urgency == Urgency::over)
        return QStringLiteral("exclamationmark.circle");
    if (countdown.kind.isDeadline())
        return QStringLiteral("flag");
    return QStringLiteral("timer");
}

// The largest bold font, up to the band's height, in which `text` fits the width.
QFont fitted(const QString &text, qreal width)
{
    QFont font = Fonts::system(textBand * 0.8, QFont::Bold, Fonts::Design::standard, true);
    while (font.pointSizeF() > 6 && QFontMetricsF(font).horizontalAdvance(text) > width)
        font.setPointSizeF(font.pointSizeF() - 1);
    return font;
}

} // namespace

MenuBarLabel MenuBarLabel::make(const QList<StickyNote> &notes, Date now)
{
    const std::optional<NoteList::NoteCountdown> soonest = NoteList::soonest(notes, now, false);
    if (!soonest)
        return MenuBarLabel{QStringLiteral("note.text"), {}, std::nullopt};
    const Countdown &countdown = soonest->countdown;
    return MenuBarLabel{symbolFor(countdown), countdown.shortText(), countdown.urgency};
}

QString MenuBarLabel::toolTip() const
{
    return title.isEmpty() ? QStringLiteral("Brindlewick") : title;
}

QIcon MenuBarLabel::icon() const
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF whole(0, 0, side, side);
    QPainterPath shape;
    shape.addRoundedRect(whole.adjusted(1, 1, -1, -1), corner, corner);
    painter.fillPath(shape, Paper::fill(paper).resolved(Scheme::light));
    painter.strokePath(shape, QPen(Paper::edge(paper).resolved(Scheme::light), 2));

    const QColor ink = Paper::ink(paper).resolved(Scheme::light);
    const QColor symbolInk = urgency ? Theme::urgency(*urgency).resolved(Scheme::light) : ink;
    if (title.isEmpty()) {
        Symbols::draw(painter, whole, symbol, side * 0.55, symbolInk);
        return QIcon(pixmap);
    }
    const QRectF symbolArea(0, margin, side, side - textBand - margin);
    Symbols::draw(painter, symbolArea, symbol, symbolArea.height() * 0.8, symbolInk);
    const QRectF textArea(margin, side - textBand - margin, side - 2 * margin, textBand);
    painter.setFont(fitted(title, textArea.width()));
    painter.setPen(ink);
    painter.drawText(textArea, Qt::AlignCenter, title);
    return QIcon(pixmap);
}
