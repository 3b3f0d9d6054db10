#include "Pixels.h"

#include "NotchTray/NotchIllustration.h"
#include "Theme/Appearance.h"
#include "Theme/Paper.h"
#include "Welcome/NoteFan.h"

#include <QAccessible>
#include <gtest/gtest.h>

namespace {

TEST(NoteFan, DefaultsAreTheThreeSampleNotesAtRisingUrgency)
{
    const QList<NoteFan::Item> items = NoteFan::defaultItems();
    ASSERT_EQ(items.size(), 3);
    const NoteColor papers[] = {NoteColor::sky, NoteColor::lemon, NoteColor::rose};
    const char *texts[] = {"Write the post", "Send the invoice", "Call Tamsin back"};
    const Countdown countdowns[] = {
        {Countdown::Kind::timer(NoteTimer::State::running), 1080, 0.72, Urgency::calm},
        {Countdown::Kind::deadline(), 2400, 0.18, Urgency::urgent},
        {Countdown::Kind::deadline(), -720, 0, Urgency::over},
    };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(items[i].paper, papers[i]);
        EXPECT_EQ(items[i].text, texts[i]);
        EXPECT_EQ(items[i].countdown, countdowns[i]);
    }
    EXPECT_EQ(items[2].countdown->shortText(), "Overdue 12 min");
}

TEST(NoteFan, LaysOutAsOneCardAndDrawsTheOuterCardsBesideItFollowingTheAppearance)
{
    NoteFan fan;
    EXPECT_EQ(fan.sizeHint(), QSize(150, 150));
    fan.resize(560, 190);
    const QRectF middle = fan.cardRect(1);
    EXPECT_EQ(middle.size(), QSizeF(150, 150));
    EXPECT_EQ(middle.center(), QRectF(fan.rect()).center());
    EXPECT_EQ(fan.cardRect(0).center(), middle.center() + QPointF(-150, 10));
    EXPECT_EQ(fan.cardRect(2).center(), middle.center() + QPointF(150, 10));
    EXPECT_EQ(fan.cardAngle(0), -6);
    EXPECT_EQ(fan.cardAngle(1), 0);
    EXPECT_EQ(fan.cardAngle(2), 6);

    // Below the text lines, each card shows its bare paper in the fan's appearance.
    for (Scheme scheme : {Scheme::light, Scheme::dark}) {
        Appearance::force(&fan, scheme);
        const QImage image = Pixels::grab(&fan);
        for (int i = 0; i < 3; ++i) {
            const QPointF spot = fan.cardRect(i).center() + QPointF(0, 55);
            const QColor paper = Paper::fill(NoteFan::defaultItems()[i].paper).resolved(scheme);
            EXPECT_LE(Pixels::distance(Pixels::at(image, qRound(spot.x()), qRound(spot.y())), paper), 2) << i;
        }
    }
}

TEST(NotchIllustration, TheNotchHasABlockBetweenTheEarsAndTheStripADot)
{
    struct Case {
        bool notch;
        QSizeF resting;
        qreal radius;
    };
    for (const Case &c : {Case{true, {192, 24}, 8}, Case{false, {108, 18}, 9}}) {
        SCOPED_TRACE(c.notch);
        NotchIllustration picture(c.notch);
        picture.setFixedHeight(130);
        EXPECT_EQ(picture.width(), 420);
        const QRectF resting = picture.restingRect();
        EXPECT_EQ(resting.size(), c.resting);
        EXPECT_EQ(resting.top(), 0);
        EXPECT_EQ(resting.center().x(), 210);
        EXPECT_EQ(picture.openRect(), QRectF(210 - 117, 30, 234, 78));

        const QImage image = Pixels::grab(&picture);
        const QColor black(Qt::black);
        EXPECT_EQ(Pixels::at(image, qRound(resting.left()) + 1, 1), black) << "square top corners";
        EXPECT_NE(Pixels::at(image, qRound(resting.left()), qRound(resting.bottom()) - 1), black) << "curved bottom corners";
        // The middle: the notch's black block, or the strip's dot on black.
        const QColor middle = Pixels::at(image, 210, qRound(resting.top() + 3));
        EXPECT_EQ(middle, black);
        EXPECT_EQ(Pixels::at(image, 210, qRound(resting.center().y())) == black, c.notch);
    }
}

TEST(NotchIllustration, MiniNotesStayLightAndTheDesktopLooksTheSameInBothAppearances)
{
    NotchIllustration picture(true);
    picture.setFixedHeight(150);
    Appearance::force(&picture, Scheme::light);
    const QImage light = Pixels::grab(&picture);
    Appearance::force(&picture, Scheme::dark);
    const QImage dark = Pixels::grab(&picture);
    EXPECT_EQ(light, dark);

    // The mint note, below its text lines.
    const QRectF open = picture.openRect();
    const QPoint mint(qRound(open.left() + 10 + 66 + 8 + 33), qRound(open.top() + 10 + 50));
    const QColor paper = Paper::fill(NoteColor::mint).resolved(Scheme::light);
    EXPECT_LE(Pixels::distance(Pixels::at(dark, mint.x(), mint.y()), paper), 16);
    EXPECT_GT(Pixels::distance(Paper::fill(NoteColor::mint).resolved(Scheme::dark), paper), 40);
}

TEST(NotchIllustration, IsHiddenFromAssistiveTechnologies)
{
    NotchIllustration picture(false);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&picture);
    ASSERT_TRUE(accessible);
    EXPECT_TRUE(accessible->state().invisible);
}

} // namespace
