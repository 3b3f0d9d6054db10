#include "NotePlacement.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QRectF laptopArea(0, 0, 1440, 875);
const QSizeF noteSize = NotePlacement::defaultSize;

QRectF note(double x, double y)
{
    return QRectF(QPointF(x, y), noteSize);
}

// The bottom-left corner, in the y-up convention.
QPointF origin(const QRectF &rect)
{
    return QPointF(rect.x(), rect.y());
}

// The frames next() hands out one after another, each placed as if the earlier ones stood there.
QList<QRectF> cascade(const QRectF &area, int count)
{
    QList<QRectF> placed;
    for (int i = 0; i < count; ++i)
        placed.append(NotePlacement::next(area, placed, noteSize));
    return placed;
}

TEST(NotePlacement, NextTakesTheFirstSpotNoNoteCovers)
{
    struct Case {
        const char *name;
        QRectF area;
        QList<QRectF> existing;
        QPointF expected;
    };
    const Case cases[] = {
        {"empty area", laptopArea, {}, QPointF(1154, 609)},
        {"first spot taken within 5 points", laptopArea, {note(1159, 604)}, QPointF(1126, 581)},
        {"a corner exactly 6 away leaves the spot free", laptopArea, {note(1160, 609)}, QPointF(1154, 609)},
        {"a taller note with the same top-left corner takes the spot", laptopArea, {QRectF(1154, 509, 250, 330)},
         QPointF(1126, 581)},
        {"a note overlapping but moved off its spot frees it", laptopArea, {note(1100, 560)}, QPointF(1154, 609)},
        {"eleventh spot starts a new row at the top", laptopArea, cascade(laptopArea, 10), QPointF(876, 609)},
        {"all forty taken gives the first spot", laptopArea, cascade(laptopArea, 40), QPointF(1154, 609)},
        {"secondary screen right of and above the primary", QRectF(1440, 200, 1920, 1050), {},
         QPointF(3074, 984)},
        {"screen left of and below the primary", QRectF(-1920, -300, 1920, 1050), {}, QPointF(-286, 484)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NotePlacement::next(c.area, c.existing, noteSize), QRectF(c.expected, noteSize)) << c.name;
}

TEST(NotePlacement, CascadeRunsDownAndLeftAndIsClampedIntoSmallAreas)
{
    EXPECT_EQ(origin(cascade(laptopArea, 12)[11]), QPointF(876 - 28, 581));

    // In a 600 wide area, spots past the left edge are clamped onto it, where the later rows'
    // spots coincide with the second row's: once those are filled every spot counts as taken.
    const QRectF narrow(0, 0, 600, 875);
    const QList<QRectF> placed = cascade(narrow, 23);
    EXPECT_EQ(origin(placed[10]), QPointF(36, 609));
    EXPECT_EQ(origin(placed[12]), QPointF(0, 553));
    EXPECT_EQ(origin(placed[20]), QPointF(0, 609));
    EXPECT_EQ(origin(placed[21]), QPointF(0, 581));
    EXPECT_EQ(origin(placed[22]), QPointF(314, 609));

    // Spots that would fall below the area are lifted to its bottom edge.
    const QRectF shallow(0, 0, 1440, 400);
    EXPECT_EQ(origin(cascade(shallow, 10)[9]), QPointF(1154 - 9 * 28, 0));
}

TEST(NotePlacement, ClampGrowsShrinksAndMovesIntoTheBounds)
{
    const QRectF bounds(0, 0, 1440, 875);
    struct Case {
        const char *name;
        QRectF rect;
        QRectF into;
        QRectF expected;
    };
    const Case cases[] = {
        {"fits already", QRectF(100, 100, 250, 230), bounds, QRectF(100, 100, 250, 230)},
        {"grown to the minimum size", QRectF(100, 100, 100, 100), bounds, QRectF(100, 100, 190, 150)},
        {"off the right edge", QRectF(1300, 100, 250, 230), bounds, QRectF(1190, 100, 250, 230)},
        {"off the top edge", QRectF(100, 800, 250, 230), bounds, QRectF(100, 645, 250, 230)},
        {"off the left and bottom edges", QRectF(-80, -40, 250, 230), bounds, QRectF(0, 0, 250, 230)},
        {"narrower area than the minimum", QRectF(500, 100, 250, 230), QRectF(20, 0, 150, 875),
         QRectF(20, 100, 150, 230)},
        {"as tall as the bounds sits on the bottom", QRectF(100, 300, 250, 2000), QRectF(0, 40, 1440, 835),
         QRectF(100, 40, 250, 835)},
        {"onto a screen left of the primary", QRectF(200, 100, 250, 230), QRectF(-1920, -300, 1920, 1050),
         QRectF(-250, 100, 250, 230)},
        {"onto a screen above the primary", QRectF(100, 100, 250, 230), QRectF(0, 875, 1440, 900),
         QRectF(100, 875, 250, 230)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NotePlacement::clamp(c.rect, c.into), c.expected) << c.name;
}

// A laptop's screen and a larger one to its right.
const QRectF primary(0, 0, 1440, 900);
const QRectF right(1440, 0, 1920, 1080);

TEST(NotePlacement, VisibleNeedsSixtyByFortyPointsOnOneScreen)
{
    struct Case {
        const char *name;
        QRectF frame;
        QList<QRectF> screens;
        bool expected;
    };
    const Case cases[] = {
        {"wholly on screen", QRectF(100, 100, 250, 230), {primary}, true},
        {"59 points across the left edge", QRectF(-191, 100, 250, 230), {primary}, false},
        {"60 by 40 at the top right corner", QRectF(1380, 860, 250, 230), {primary}, true},
        {"60 by 39 at the top right corner", QRectF(1380, 861, 250, 230), {primary}, false},
        {"on no screen", QRectF(5000, 5000, 250, 230), {primary, right}, false},
        {"no screens", QRectF(100, 100, 250, 230), {}, false},
        {"on the second screen", QRectF(2000, 500, 250, 230), {primary, right}, true},
        {"50 points on each of two screens is not enough on either", QRectF(1390, 100, 100, 230),
         {primary, right}, false},
        {"touching edges only", QRectF(1440, 100, 250, 230), {primary}, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NotePlacement::isVisible(c.frame, c.screens), c.expected) << c.name;
}

TEST(NotePlacement, ASavedFrameReopensWhereItWasWhileItShowsAndFitsTheScreens)
{
    struct Case {
        const char *name;
        QRectF saved;
        QList<QRectF> screens;
        QRectF expected;
    };
    const Case cases[] = {
        {"on a screen", QRectF(100, 100, 250, 230), {primary}, QRectF(100, 100, 250, 230)},
        {"smaller than the smallest note", QRectF(100, 100, 100, 100), {primary}, QRectF(100, 100, 100, 100)},
        {"across two screens, wider than either", QRectF(1000, 100, 2000, 300), {primary, right},
         QRectF(1000, 100, 2000, 300)},
        {"as tall as the tallest screen", QRectF(2000, 0, 250, 1080), {primary, right}, QRectF(2000, 0, 250, 1080)},
        {"off every screen", QRectF(5000, 100, 250, 230), {primary, right}, QRectF(1190, 100, 250, 230)},
        {"taller than every screen", QRectF(100, 100, 250, 1e6), {primary, right}, QRectF(100, 0, 250, 900)},
        {"wider than the screens together", QRectF(-1e6, 100, 2e6, 230), {primary, right},
         QRectF(0, 100, 1440, 230)},
        {"no size", QRectF(100, 100, 0, 230), {primary}, QRectF(100, 100, 190, 230)},
        {"no screens", QRectF(100, 100, 250, 230), {}, QRectF(100, 100, 250, 230)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NotePlacement::reopen(c.saved, c.screens, primary), c.expected) << c.name;
}

} // namespace
