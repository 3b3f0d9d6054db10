#include "Pixels.h"
#include "Theme/Appearance.h"
#include "Theme/Paper.h"
#include "Theme/PaperBackground.h"
#include "Theme/TapeShape.h"
#include "Theme/Theme.h"
#include "Theme/TiltedTape.h"
#include "Theme/TimeTape.h"

#include <QAccessible>
#include <QDir>
#include <QGridLayout>
#include <QPainter>
#include <gtest/gtest.h>
#include <cmath>

namespace {

using State = NoteTimer::State;

Countdown timer(State state, double fraction, Urgency urgency = Urgency::calm, double remaining = 300)
{
    return {Countdown::Kind::timer(state), remaining, fraction, urgency};
}

Countdown deadline(double remaining, double fraction, Urgency urgency)
{
    return {Countdown::Kind::deadline(), remaining, fraction, urgency};
}

// A tape lying on a note's paper in a forced appearance, so its pixels can be read.
struct TapeOnPaper {
    PaperBackground paper;
    TimeTape *tape;

    TapeOnPaper(std::optional<Countdown> countdown, NoteColor color, Scheme scheme, QSize size, bool showsText = false)
        : paper(color), tape(new TimeTape(countdown, color, size.height(), showsText, &paper))
    {
        paper.resize(size + QSize(20, 20));
        tape->setGeometry(QRect(QPoint(10, 10), size));
        Appearance::force(&paper, scheme);
    }
    QImage image() { return Pixels::grab(&paper).copy(tape->geometry()); }
};

// The colour a point well inside the tape shows: the paper under the tape's shadow, the white track,
// then the fill (if any) at its opacity.
QColor expectedInside(NoteColor paper, Scheme scheme, std::optional<QColor> fill, qreal fillOpacity)
{
    const bool dark = scheme == Scheme::dark;
    const qreal track = dark ? 0.16 : 0.6;
    const qreal coverage = 1 - (1 - track) * (1 - (fill ? fillOpacity : 0));
    QColor colour = Pixels::over(Qt::black, (dark ? 0.35 : 0.1) * coverage, Paper::fill(paper).resolved(scheme));
    colour = Pixels::over(Qt::white, track, colour);
    return fill ? Pixels::over(*fill, fillOpacity, colour) : colour;
}

// Runs of tape pixels down one column: one per tooth at the tape's ends.
int runsDown(const QImage &image, int x, const QColor &background)
{
    int runs = 0;
    bool inside = false;
    for (int y = 0; y < image.height(); ++y) {
        const bool tape = Pixels::distance(image.pixelColor(x, y), background) > 40;
        runs += tape && !inside ? 1 : 0;
        inside = tape;
    }
    return runs;
}

TEST(TimeTape, TeethAtBothEndsAreAQuarterOfTheHeightButAtLeastThree)
{
    struct Case { qreal height; int teeth; };
    for (const Case c : {Case{16, 4}, Case{10, 3}, Case{22, 5}, Case{4, 3}, Case{15.9, 3}, Case{40, 10}}) {
        EXPECT_EQ(TapeShape::toothCount(c.height), c.teeth) << c.height;
    }
    for (const Case c : {Case{16, 4}, Case{10, 3}, Case{22, 5}}) {
        // An overdue tape is filled across its whole width, so its ends show the teeth clearly.
        TapeOnPaper tape(deadline(-600, 0, Urgency::over), NoteColor::sky, Scheme::light, QSize(120, int(c.height)));
        const QImage image = tape.image();
        const QColor paper = Paper::fill(NoteColor::sky).resolved(Scheme::light);
        EXPECT_EQ(runsDown(image, 0, paper), c.teeth) << c.height;
        EXPECT_EQ(runsDown(image, image.width() - 1, paper), c.teeth) << c.height;
        EXPECT_EQ(runsDown(image, 60, paper), 1) << c.height;
    }

    const QPainterPath outline = TapeShape::path(QRectF(0, 0, 200, 16));
    EXPECT_EQ(outline.boundingRect(), QRectF(0, 0, 200, 16));
    EXPECT_TRUE(outline.contains(QPointF(199.5, 2))) << "a tooth tip touches the side mid-band";
    EXPECT_FALSE(outline.contains(QPointF(198.5, 4.05))) << "its root lies 2.2 points in";
    EXPECT_TRUE(TapeShape::path(QRectF(0, 0, 100, qQNaN())).isEmpty());
}

TEST(TimeTape, FillReachesTheShareOfTimeLeftButNeverLessThanMostOfTheHeight)
{
    const NoteColor paper = NoteColor::lemon;
    const Scheme scheme = Scheme::light;
    struct Case {
        const char *what;
        Countdown countdown;
        qreal fillWidth;
    };
    const Case cases[] = {
        {"half a running timer", timer(State::running, 0.5, Urgency::calm), 100},
        {"almost run down", timer(State::running, 0.01, Urgency::urgent), 9.6},
        {"a deadline three quarters away", deadline(7200, 0.75, Urgency::soon), 150},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TapeOnPaper tape(c.countdown, paper, scheme, QSize(200, 16));
        const QImage image = tape.image();
        const QColor ink = Paper::tapeInk(paper, c.countdown.urgency).resolved(scheme);
        const QColor filled = expectedInside(paper, scheme, ink, 0.88);
        const QColor track = expectedInside(paper, scheme, std::nullopt, 0);
        const int midBand = 2;  // the middle of the first of four bands, where the tooth tips are
        EXPECT_LE(Pixels::distance(Pixels::at(image, 5, midBand), filled), 3);
        EXPECT_LE(Pixels::distance(Pixels::at(image, qFloor(c.fillWidth) - 3, midBand), filled), 3);
        EXPECT_LE(Pixels::distance(Pixels::at(image, qCeil(c.fillWidth) + 1, midBand), track), 3);
        EXPECT_LE(Pixels::distance(Pixels::at(image, 190, 8), track), 3);
    }

    for (const Countdown &idle : {timer(State::ready, 1), timer(State::paused, 0.3)}) {
        TapeOnPaper tape(idle, paper, scheme, QSize(200, 16));
        const QImage image = tape.image();
        const QColor faint = expectedInside(paper, scheme, Paper::tapeInk(paper, Urgency::calm).resolved(scheme), 0.28);
        for (int x : {5, 100, 190})
            EXPECT_LE(Pixels::distance(Pixels::at(image, x, 8), faint), 3) << x;
    }
}

TEST(TimeTape, FillColourFollowsPaperAndUrgencyInBothAppearances)
{
    // One sheet per appearance: a row per paper, a column per state; a person can look at the PNGs.
    const std::vector<std::pair<const char *, std::optional<Countdown>>> columns = {
        {"none", std::nullopt},
        {"ready", timer(State::ready, 1, Urgency::calm, 1500)},
        {"paused", timer(State::paused, 0.6, Urgency::calm, 900)},
        {"calm", timer(State::running, 0.8, Urgency::calm, 1200)},
        {"soon", deadline(20000, 0.45, Urgency::soon)},
        {"urgent", timer(State::running, 0.08, Urgency::urgent, 45)},
        {"finished", timer(State::finished, 0, Urgency::over, 0)},
        {"overdue", deadline(-5400, 0, Urgency::over)},
    };
    const QString folder = QStringLiteral(BRINDLEWICK_BINARY_DIR "/snapshots/theme");
    ASSERT_TRUE(QDir().mkpath(folder));
    for (Scheme scheme : {Scheme::light, Scheme::dark}) {
        const char *schemeName = scheme == Scheme::dark ? "dark" : "light";
        QWidget sheet;
        Appearance::force(&sheet, scheme);
        Pixels::paintBackground(&sheet, QColor::fromRgb(scheme == Scheme::dark ? 0x161618 : 0xF2F0EB));
        auto *grid = new QGridLayout(&sheet);
        grid->setSpacing(8);
        std::vector<std::tuple<NoteColor, std::optional<Countdown>, TimeTape *>> tapes;
        for (size_t row = 0; row < NoteColors::allCases.size(); ++row) {
            const NoteColor color = NoteColors::allCases[row];
            for (size_t column = 0; column < columns.size(); ++column) {
                auto *paper = new PaperBackground(color);
                paper->setFixedSize(150, 40);
                auto *tape = new TimeTape(columns[column].second, color, 22, true, paper);
                tape->setGeometry(8, 9, 134, 22);
                grid->addWidget(paper, int(row), int(column));
                tapes.emplace_back(color, columns[column].second, tape);
            }
        }
        sheet.show();
        QCoreApplication::sendPostedEvents();
        const QImage image = Pixels::grab(&sheet);
        EXPECT_TRUE(image.save(folder + QStringLiteral("/tapes-%1.png").arg(QLatin1String(schemeName))));
        QImage sharp(sheet.size() * 3, QImage::Format_ARGB32_Premultiplied);
        sharp.setDevicePixelRatio(3);
        sheet.render(&sharp);
        EXPECT_TRUE(sharp.save(folder + QStringLiteral("/tapes-%1@3x.png").arg(QLatin1String(schemeName))));

        for (const auto &[color, countdown, tape] : tapes) {
            if (!countdown || countdown->urgency == Urgency::over)
                continue;
            SCOPED_TRACE(toString(color).toStdString() + " " + schemeName + " " + std::to_string(int(countdown->urgency)));
            const qreal opacity = countdown->isReady() || countdown->isPaused() ? 0.28 : 0.88;
            const QColor ink = Paper::tapeInk(color, countdown->urgency).resolved(scheme);
            const QColor expected = expectedInside(color, scheme, ink, opacity);
            const QPoint spot = tape->mapTo(&sheet, QPoint(4, 3));
            EXPECT_LE(Pixels::distance(Pixels::at(image, spot.x(), spot.y()), expected), 3);
        }
    }

    // Over: the alarm red at 0.88 with white hatching across the whole tape.
    for (Scheme scheme : {Scheme::light, Scheme::dark}) {
        TapeOnPaper tape(deadline(-5400, 0, Urgency::over), NoteColor::mint, scheme, QSize(200, 16));
        const QImage image = tape.image();
        const QColor red = expectedInside(NoteColor::mint, scheme, Theme::urgency(Urgency::over).resolved(scheme), 0.88);
        const QColor hatched = Pixels::over(Qt::white, 0.22, red);
        int nearRed = 255, nearHatch = 255;
        for (int x = 150; x < 162; ++x) {
            nearRed = std::min(nearRed, Pixels::distance(Pixels::at(image, x, 8), red));
            nearHatch = std::min(nearHatch, Pixels::distance(Pixels::at(image, x, 8), hatched));
        }
        EXPECT_LE(nearRed, 3);
        EXPECT_LE(nearHatch, 3);
    }
}

// Tilted tapes that look alike share what was drawn for the first of them; each still shows at its
// own place, on screen and in a window rendered at a finer pixel ratio than the screen's.
TEST(TimeTape, AlikeTiltedTapesEachShowTheirFillWhereTheyLie)
{
    const NoteColor color = NoteColor::lemon;
    QWidget sheet;
    Appearance::force(&sheet, Scheme::light);
    Pixels::paintBackground(&sheet, Paper::fill(color).resolved(Scheme::light));
    sheet.resize(540, 60);
    std::vector<TiltedTape *> tapes;
    for (int i = 0; i < 3; ++i) {
        auto *tape = new TiltedTape(QSizeF(134, 22), -3, color, &sheet);
        tape->setCountdown(timer(State::running, 0.8, Urgency::calm, 1200));
        tape->move(10 + 177 * i, 14);
        tapes.push_back(tape);
    }
    sheet.show();
    QCoreApplication::sendPostedEvents();
    const QColor ink = Paper::tapeInk(color, Urgency::calm).resolved(Scheme::light);
    const QColor filled = expectedInside(color, Scheme::light, ink, 0.88);
    for (const int ratio : {1, 3}) {
        QImage image(sheet.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        sheet.render(&image);
        for (const TiltedTape *tape : tapes) {
            // Near the tape's left end, in the fill and clear of the label.
            const QPoint spot = tape->mapTo(&sheet, QPointF(tape->tapeRect().left() + 14, tape->tapeRect().center().y()).toPoint());
            SCOPED_TRACE("ratio " + std::to_string(ratio) + " at x " + std::to_string(spot.x()));
            EXPECT_LE(Pixels::distance(Pixels::at(image, spot.x() * ratio, spot.y() * ratio), filled), 3);
        }
    }
}

TEST(TimeTape, LabelReadsInTheTintOverTheFillAndInThePaperInkBeyondIt)
{
    const Countdown half = deadline(9000, 0.5, Urgency::soon);  // "2 h 30 min", wide enough to straddle the fill's end
    struct Case { NoteColor paper; Scheme scheme; quint32 tint; };
    for (const Case c : {Case{NoteColor::lemon, Scheme::dark, 0x15211F}, Case{NoteColor::sky, Scheme::dark, 0x15211F},
                         Case{NoteColor::lemon, Scheme::light, 0xFFFFFF},
                         Case{NoteColor::graphite, Scheme::dark, 0xFFFFFF}}) {
        SCOPED_TRACE(toString(c.paper).toStdString() + (c.scheme == Scheme::dark ? " dark" : " light"));
        TapeOnPaper tape(half, c.paper, c.scheme, QSize(200, 22), true);
        const QImage image = tape.image();
        const QColor tint = QColor::fromRgb(c.tint);
        const QColor ink = Paper::ink(c.paper).resolved(c.scheme);
        const QRect overFill(40, 4, 58, 14), beyondFill(103, 4, 60, 14);
        EXPECT_LE(Pixels::nearest(image, overFill, tint), 12);
        EXPECT_LE(Pixels::nearest(image, beyondFill, ink), 12);
        if (Pixels::distance(tint, ink) > 60) {
            EXPECT_GT(Pixels::nearest(image, overFill, ink), 40);
            EXPECT_GT(Pixels::nearest(image, beyondFill, tint), 40);
        }
    }

    // Over: the whole label is white in both appearances; never the paper's ink.
    for (Scheme scheme : {Scheme::light, Scheme::dark}) {
        TapeOnPaper tape(deadline(-5400, 0, Urgency::over), NoteColor::lemon, scheme, QSize(200, 22), true);
        const QImage image = tape.image();
        const QRect label(60, 4, 80, 14);
        EXPECT_LE(Pixels::nearest(image, label, Qt::white), 12);
        if (scheme == Scheme::light) {
            EXPECT_GT(Pixels::nearest(image, label, Paper::ink(NoteColor::lemon).resolved(scheme)), 60);
        }
    }

    // A timer that is not running shows only the paper-ink label.
    TapeOnPaper ready(timer(State::ready, 1, Urgency::calm, 1500), NoteColor::lemon, Scheme::light, QSize(200, 22), true);
    const QImage readyImage = ready.image();
    EXPECT_LE(Pixels::nearest(readyImage, QRect(60, 4, 80, 14), Paper::ink(NoteColor::lemon).resolved(Scheme::light)), 12);
    EXPECT_GT(Pixels::nearest(readyImage, QRect(0, 0, 200, 22), Qt::white), 30);
}

TEST(TimeTape, TheTextShrinksToFitBeforeItIsCut)
{
    const Countdown due = deadline(2 * 3600 + 25 * 60, 0.5, Urgency::calm);
    const QString whole = due.shortText();
    ASSERT_EQ(whole, QStringLiteral("2 h 25 min"));
    EXPECT_EQ(TimeTape::labelText(due, QSizeF(118, 19)), whole) << "a library card's tape";
    EXPECT_TRUE(TimeTape::labelText(due, QSizeF(30, 14)).endsWith(QStringLiteral("…")));
    // Font sizes come in steps, so a text that fits shrunk at one width must not be cut at a wider one.
    bool fitted = false;
    for (qreal width = 30; width <= 120; width += 0.5) {
        const bool shownWhole = TimeTape::labelText(due, QSizeF(width, 14)) == whole;
        EXPECT_TRUE(shownWhole || !fitted) << "cut at " << width << " although it fitted narrower";
        fitted = fitted || shownWhole;
    }
    EXPECT_TRUE(fitted);
}

TEST(TimeTape, WithoutTextOrCountdownNoLabelIsDrawn)
{
    const QColor ink = Paper::ink(NoteColor::peach).resolved(Scheme::light);
    for (const auto &[countdown, showsText] : {std::pair{std::optional(timer(State::running, 0.3)), false},
                                               std::pair{std::optional<Countdown>(), true}}) {
        TapeOnPaper tape(countdown, NoteColor::peach, Scheme::light, QSize(200, 22), showsText);
        EXPECT_GT(Pixels::nearest(tape.image(), QRect(0, 0, 200, 22), ink), 60);
    }
    TapeOnPaper bare(std::nullopt, NoteColor::peach, Scheme::light, QSize(200, 22));
    EXPECT_LE(Pixels::distance(Pixels::at(bare.image(), 100, 11),
                               expectedInside(NoteColor::peach, Scheme::light, std::nullopt, 0)), 3);
}

TEST(TimeTape, SymbolFollowsTheKindOfCountdown)
{
    struct Case { Countdown countdown; const char *symbol; };
    const Case cases[] = {
        {timer(State::ready, 1), "timer"},
        {timer(State::running, 0.5), "timer"},
        {timer(State::paused, 0.5), "pause.fill"},
        {timer(State::finished, 0, Urgency::over), "bell.fill"},
        {deadline(600, 0.2, Urgency::urgent), "flag.fill"},
        {deadline(-30, 0, Urgency::over), "exclamationmark"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TimeTape::symbolName(c.countdown), QString::fromLatin1(c.symbol));
}

TEST(TimeTape, IsOneAccessibleElementReadingTheSpokenCountdown)
{
    TimeTape tape(std::nullopt, NoteColor::lemon, 16, true);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&tape);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("No timer or deadline"));
    EXPECT_EQ(accessible->childCount(), 0);

    const Countdown running = timer(State::running, 0.5, Urgency::calm, 299.4);
    tape.setCountdown(running);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Timer, 5 min left"));
    tape.setCountdown(std::nullopt);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("No timer or deadline"));
}

} // namespace
