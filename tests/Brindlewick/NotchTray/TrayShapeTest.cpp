#include "NotchTray/TrayShape.h"

#include <gtest/gtest.h>

namespace {

struct ShapeCase {
    const char *name;
    QRectF rect;
    qreal radius;
    qreal effectiveRadius;
};

// The outline's extent at the bottom: square top corners, curved bottom corners of the effective radius.
TEST(TrayShape, TopCornersStaySquareAndBottomCornersUseTheRadiusCutToHalfTheSmallerSide)
{
    const ShapeCase cases[] = {
        {"open tray", QRectF(10, 0, 640, 210), 22, 22},
        {"resting strip becomes a capsule", QRectF(0, 0, 168, 20), 1000, 10},
        {"narrow and tall: half the width", QRectF(0, 0, 40, 100), 1000, 20},
        {"no radius", QRectF(0, 0, 100, 50), 0, 0},
    };
    for (const ShapeCase &c : cases) {
        SCOPED_TRACE(c.name);
        const QPainterPath path = TrayShape{c.radius}.path(c.rect);
        const QRectF r = c.rect;
        const qreal e = c.effectiveRadius;
        EXPECT_EQ(path.boundingRect(), r);
        EXPECT_TRUE(path.contains(QPointF(r.left() + 0.3, r.top() + 0.3)));
        EXPECT_TRUE(path.contains(QPointF(r.right() - 0.3, r.top() + 0.3)));
        EXPECT_EQ(path.contains(QPointF(r.left() + 0.3, r.bottom() - 0.3)), e == 0);
        EXPECT_EQ(path.contains(QPointF(r.right() - 0.3, r.bottom() - 0.3)), e == 0);
        // The straight bottom edge runs from left + e to right - e.
        EXPECT_TRUE(path.contains(QPointF(r.center().x(), r.bottom() - 0.3)));
        if (e > 2) {
            EXPECT_FALSE(path.contains(QPointF(r.left() + e * 0.5, r.bottom() - 0.3)));
            EXPECT_TRUE(path.contains(QPointF(r.left() + 0.3, r.bottom() - e - 0.5)));
        }
    }
}

TEST(TrayShape, BottomCornersAreQuadraticCurvesNotCircularArcs)
{
    const QRectF rect(0, 0, 200, 100);
    const qreal r = 20;
    const QPainterPath path = TrayShape{r}.path(rect);
    // Along the corner's diagonal a quadratic curve lies r/4 from the corner, a circular arc 0.29 r.
    const qreal between = 0.27 * r;
    EXPECT_TRUE(path.contains(QPointF(rect.right() - between, rect.bottom() - between)));
    EXPECT_TRUE(path.contains(QPointF(rect.left() + between, rect.bottom() - between)));
    EXPECT_FALSE(path.contains(QPointF(rect.right() - 0.23 * r, rect.bottom() - 0.23 * r)));
}

TEST(TrayShape, CurvesMeetInTheMiddleWhenTheRadiusIsHalfTheWidth)
{
    const QRectF rect(0, 0, 40, 100);
    const QPainterPath path = TrayShape{1000}.path(rect);
    EXPECT_TRUE(path.contains(QPointF(20, 99.5)));
    EXPECT_FALSE(path.contains(QPointF(12, 99.5)));
    EXPECT_FALSE(path.contains(QPointF(28, 99.5)));
}

} // namespace
