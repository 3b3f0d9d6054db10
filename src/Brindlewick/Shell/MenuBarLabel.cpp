#include "MenuBarLabel.h"

#include "Theme/Paper.h"
#include "Theme/Symbols.h"
#include "Theme/Theme.h"

#include "NoteFace.h"
#include "NoteList.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Drawn large; the status area scales it down to its own size (16 to 24 pixels).
constexpr int side = 64;
constexpr qreal corner = 12;
constexpr qreal ringWidth = 11;
constexpr qreal ringInset = 10;
constexpr qreal trackOpacity = 0.2;

// The paper keeps the ring readable on light and dark panels alike.
constexpr NoteColor paper = NoteColor::lemon;

QString symbolFor(const Countdown &countdown)
{
    if (countdown.urgency == Urgency::over)
        return QStringLiteral("exclamationmark.circle");
    if (countdown.kind.isDeadline())
        return QStringLiteral("flag");
    return QStringLiteral("timer");
}

void paintPaper(QPainter &painter)
{
    QPainterPath shape;
    shape.addRoundedRect(QRectF(1, 1, side - 2, side - 2), corner, corner);
    painter.fillPath(shape, Paper::fill(paper).resolved(Scheme::light));
    painter.strokePath(shape, QPen(Paper::edge(paper).resolved(Scheme::light), 2));
}

// The track in faint ink, and from twelve o'clock clockwise the part of the time still left.
void paintRing(QPainter &painter, const QColor &color, int left)
{
    const QRectF ring(ringInset, ringInset, side - 2 * ringInset, side - 2 * ringInset);
    painter.setPen(QPen(Paper::ink(paper).resolved(Scheme::light, trackOpacity), ringWidth));
    painter.drawEllipse(ring);
    painter.setPen(QPen(color, ringWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(ring, 90 * 16, -360 * 16 * left / MenuBarLabel::ringSteps);
}

// A filled disc with a white exclamation mark: over, and still ringing.
void paintAlert(QPainter &painter, const QColor &color)
{
    const QRectF disc(ringInset - ringWidth / 2, ringInset - ringWidth / 2, side - 2 * ringInset + ringWidth,
                      side - 2 * ringInset + ringWidth);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(disc);
    const qreal mid = side / 2.0;
    painter.setPen(QPen(Qt::white, ringWidth * 0.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(mid, mid - 14), QPointF(mid, mid + 3));
    painter.drawPoint(QPointF(mid, mid + 15));
}

} // namespace

MenuBarLabel MenuBarLabel::make(const QList<StickyNote> &notes, Date now)
{
    const std::optional<NoteList::NoteCountdown> soonest = NoteList::soonest(notes, now, false);
    if (!soonest)
        return MenuBarLabel{QStringLiteral("note.text"), {}, std::nullopt, 0};
    const Countdown &countdown = soonest->countdown;
    const int left = int(std::ceil(std::clamp(countdown.fraction, 0.0, 1.0) * ringSteps));
    return MenuBarLabel{symbolFor(countdown), countdown.shortText(), countdown.urgency, left};
}

Date MenuBarLabel::steadyUntil(const QList<StickyNote> &notes, Date now)
{
    constexpr double unending = std::numeric_limits<double>::infinity();
    Date until{unending};
    for (const StickyNote &note : notes) {
        if (note.isLive())
            until = std::min(until, NoteFace::steadyUntil(note, now, Date{unending}, unending));
    }
    if (const auto soonest = NoteList::soonest(notes, now, false)) {
        const double ringSteady = soonest->countdown.fillSteadyFor(ringSteps);
        until = std::min(until, NoteFace::steadyUntil(soonest->note, now, Date{unending}, ringSteady));
    }
    return until;
}

QString MenuBarLabel::toolTip() const
{
    return title.isEmpty() ? QStringLiteral("Brindlewick") : title;
}

bool MenuBarLabel::samePicture(const MenuBarLabel &other) const
{
    return symbol == other.symbol && urgency == other.urgency && left == other.left;
}

QIcon MenuBarLabel::icon() const
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paintPaper(painter);
    if (!urgency)
        Symbols::draw(painter, QRectF(0, 0, side, side), symbol, side * 0.55, Paper::ink(paper).resolved(Scheme::light));
    else if (*urgency == Urgency::over)
        paintAlert(painter, Theme::urgency(*urgency).resolved(Scheme::light));
    else
        paintRing(painter, Theme::urgency(*urgency).resolved(Scheme::light), left);
    return QIcon(pixmap);
}
