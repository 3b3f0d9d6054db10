#include "Pixels.h"
#include "Theme/Appearance.h"
#include "Theme/CardStyle.h"
#include "Theme/ColorDots.h"
#include "Theme/Fonts.h"
#include "Theme/KeyCap.h"
#include "Theme/Kicker.h"
#include "Theme/Paper.h"
#include "Theme/Theme.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QFontMetricsF>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

int checkedDots(const ColorDots &dots)
{
    int checked = 0;
    for (NoteColor color : NoteColors::allCases) {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(dots.dot(color));
        checked += accessible->state().checked ? 1 : 0;
    }
    return checked;
}

// The ring around a dot: a pixel 2 points outside the dot, level with its centre.
QColor ringPixel(const QImage &image, const QAbstractButton *dot, qreal size)
{
    const QPoint centre = dot->geometry().center();
    return Pixels::at(image, qRound(centre.x() + size / 2 + 2), centre.y());
}

TEST(PaperKit, ColorDotsRingOnlyTheSelectionAndMoveTheRingWithoutMovingADot)
{
    const qreal size = 16;
    ColorDots dots(NoteColor::graphite, size);
    Appearance::force(&dots, Scheme::light);
    dots.show();
    QSignalSpy changes(&dots, &ColorDots::selectionChanged);

    std::vector<QRect> before;
    for (NoteColor color : NoteColors::allCases) {
        QAbstractButton *dot = dots.dot(color);
        EXPECT_EQ(dot->toolTip(), title(color));
        EXPECT_EQ(dot->accessibleName(), title(color));
        before.push_back(dot->geometry());
    }
    for (size_t i = 1; i < before.size(); ++i)
        EXPECT_GT(before[i].left(), before[i - 1].left()) << "dots run in colour order";
    EXPECT_EQ(checkedDots(dots), 1);

    const QColor ink = Theme::ink.resolved(Scheme::light);
    QImage image = Pixels::grab(&dots);
    EXPECT_EQ(ringPixel(image, dots.dot(NoteColor::graphite), size), ink);
    EXPECT_NE(ringPixel(image, dots.dot(NoteColor::lemon), size), ink);
    const QPoint lemonCentre = dots.dot(NoteColor::lemon)->geometry().center();
    EXPECT_EQ(Pixels::at(image, lemonCentre.x(), lemonCentre.y()), QColor::fromRgb(0xFFE066));

    QTest::mouseClick(dots.dot(NoteColor::lemon), Qt::LeftButton);
    EXPECT_EQ(dots.selection(), NoteColor::lemon);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.first().first().value<NoteColor>(), NoteColor::lemon);
    EXPECT_EQ(checkedDots(dots), 1);
    EXPECT_TRUE(dots.dot(NoteColor::lemon)->isChecked());

    image = Pixels::grab(&dots);
    EXPECT_EQ(ringPixel(image, dots.dot(NoteColor::lemon), size), ink);
    EXPECT_NE(ringPixel(image, dots.dot(NoteColor::graphite), size), ink);
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(dots.dot(NoteColors::allCases[i])->geometry(), before[i]);

    QTest::mouseClick(dots.dot(NoteColor::lemon), Qt::LeftButton);
    EXPECT_TRUE(dots.dot(NoteColor::lemon)->isChecked()) << "clicking the selection keeps it";
    EXPECT_EQ(changes.count(), 1);
}

TEST(PaperKit, KickerShowsItsTextInCapitals)
{
    Kicker kicker(QStringLiteral("Timer"), Theme::ink3);
    EXPECT_EQ(kicker.shownText(), QStringLiteral("TIMER"));
    Appearance::force(&kicker, Scheme::dark);
    kicker.resize(kicker.sizeHint());
    const QImage image = Pixels::grab(&kicker);
    EXPECT_LE(Pixels::nearest(image, image.rect(), Theme::ink3.resolved(Scheme::dark)), 10);
    // Tracking widens the line by 1.1 points per letter.
    QFont plain = Fonts::label();
    EXPECT_GE(kicker.sizeHint().width(), QFontMetricsF(plain).horizontalAdvance(QStringLiteral("TIMER")) + 5);
}

TEST(PaperKit, KeyCapIsAtLeastTwentyTwoWideAndGrowsWithSixPointsEitherSide)
{
    KeyCap single(QStringLiteral("N"));
    EXPECT_EQ(single.sizeHint(), QSize(22, 20));
    const QString keys = QStringLiteral("Ctrl+Alt+Shift+N");
    KeyCap wide(keys);
    const qreal text = QFontMetricsF(Fonts::system(11, QFont::DemiBold, Fonts::Design::rounded)).horizontalAdvance(keys);
    EXPECT_EQ(wide.sizeHint().width(), qCeil(text + 12));

    Appearance::force(&wide, Scheme::light);
    wide.resize(wide.sizeHint());
    const QImage image = Pixels::grab(&wide);
    EXPECT_EQ(Pixels::at(image, 3, 10), Theme::well.resolved(Scheme::light));
    EXPECT_EQ(Pixels::at(image, wide.width() / 2, 0), Theme::hairline.resolved(Scheme::light));
}

TEST(PaperKit, CardPadsItsContentOnACardSurface)
{
    QWidget window;
    auto *content = new QLabel(QStringLiteral("Soonest"));
    CardStyle *surface = card(content, 16);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(surface);
    Appearance::force(&window, Scheme::dark);
    window.show();
    QCoreApplication::sendPostedEvents();

    EXPECT_EQ(content->parentWidget(), surface);
    EXPECT_EQ(content->geometry().topLeft(), QPoint(16, 16));
    EXPECT_EQ(surface->height(), content->height() + 32);
    const QImage image = Pixels::grab(surface);
    EXPECT_EQ(Pixels::at(image, 8, surface->height() / 2), Theme::card.resolved(Scheme::dark));
    EXPECT_EQ(Pixels::at(image, 0, surface->height() / 2), Theme::hairline.resolved(Scheme::dark));
    // The corners are rounded with a 12-point radius: the very corner is not card.
    EXPECT_NE(Pixels::at(image, 1, 1), Theme::card.resolved(Scheme::dark));
}

} // namespace
