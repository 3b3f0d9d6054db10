#include "Pixels.h"
#include "Theme/Appearance.h"
#include "Theme/ChipButton.h"
#include "Theme/Fonts.h"
#include "Theme/PaperIconButton.h"
#include "Theme/PlainButton.h"
#include "Theme/PrimaryButton.h"
#include "Theme/QuietButton.h"
#include "Theme/RingButton.h"
#include "Theme/Theme.h"

#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor hostColor(0x80, 0x80, 0x80);

// A button on a plain grey host in a forced appearance, so what it paints can be read back.
template <typename Button>
struct Hosted {
    QWidget host;
    Button *button;

    template <typename... Args>
    explicit Hosted(Scheme scheme, Args &&...args) : button(new Button(std::forward<Args>(args)...))
    {
        Pixels::paintBackground(&host, hostColor);
        auto *layout = new QHBoxLayout(&host);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(button);
        Appearance::force(&host, scheme);
        host.adjustSize();
        host.show();
    }
    // What the button shows over its host.
    QImage image() { return Pixels::grab(&host).copy(button->geometry()); }
};

// A spot on the button's background in the padding left of its label, halfway down.
QColor backgroundOf(QWidget *button, const QImage &image)
{
    return Pixels::at(image, 4, button->height() / 2);
}

QRect labelArea(QWidget *button)
{
    return button->rect().adjusted(button->height() / 2, 2, -button->height() / 2, -2);
}

TEST(PaperButtons, PrimaryButtonDimsItsToneButNeverItsLabel)
{
    for (Scheme scheme : {Scheme::light, Scheme::dark}) {
        Hosted<PrimaryButton> hosted(scheme, Theme::accent, QStringLiteral("Set Deadline"));
        PrimaryButton *button = hosted.button;
        const QColor tone = Theme::accent.resolved(scheme);
        EXPECT_EQ(backgroundOf(button, hosted.image()), tone);
        button->setDown(true);
        EXPECT_LE(Pixels::distance(backgroundOf(button, hosted.image()), Pixels::over(tone, 0.8, hostColor)), 1);
        button->setDown(true);
        button->setEnabled(false);
        const QImage disabled = hosted.image();
        EXPECT_LE(Pixels::distance(backgroundOf(button, disabled), Pixels::over(tone, 0.4, hostColor)), 1)
            << "disabled wins over pressed";
        EXPECT_LE(Pixels::nearest(disabled, labelArea(button), Theme::accentInk.resolved(scheme)), 8)
            << "the label keeps its full colour";
    }
}

TEST(PaperButtons, QuietButtonShowsItsWellFullyWhilePressedAndDimsOnlyItsLabelWhenDisabled)
{
    for (Scheme scheme : {Scheme::light, Scheme::dark}) {
        Hosted<QuietButton> hosted(scheme, QStringLiteral("Remove"));
        QuietButton *button = hosted.button;
        const QColor well = Theme::well.resolved(scheme);
        const QColor ink = Theme::ink.resolved(scheme);
        const QImage idle = hosted.image();
        EXPECT_LE(Pixels::distance(backgroundOf(button, idle), Pixels::over(well, 0.75, hostColor)), 1);
        EXPECT_LE(Pixels::nearest(idle, labelArea(button), ink), 8);
        EXPECT_EQ(Pixels::at(idle, button->width() / 2, 0), Theme::hairline.resolved(scheme)) << "border inside the edge";

        button->setDown(true);
        EXPECT_EQ(backgroundOf(button, hosted.image()), well);

        button->setDown(false);
        button->setEnabled(false);
        const QImage disabled = hosted.image();
        EXPECT_LE(Pixels::distance(backgroundOf(button, disabled), Pixels::over(well, 0.75, hostColor)), 1);
        EXPECT_GT(Pixels::nearest(disabled, labelArea(button), ink), 30) << "the label is dimmed to 0.4";
    }
}

TEST(PaperButtons, PaperIconButtonIsInvisibleWhenOffButTakesClicksInItsWholeFrame)
{
    Hosted<PaperIconButton> hosted(Scheme::light, QStringLiteral("timer"), Theme::ink);
    PaperIconButton *button = hosted.button;
    EXPECT_EQ(button->size(), QSize(24, 22));
    const QPoint corner(3, 11);
    EXPECT_EQ(Pixels::at(hosted.image(), corner.x(), corner.y()), hostColor);

    QSignalSpy clicks(button, &QAbstractButton::clicked);
    for (QPoint point : {QPoint(0, 0), QPoint(23, 21), QPoint(23, 0), QPoint(12, 11)})
        QTest::mouseClick(button, Qt::LeftButton, {}, point);
    EXPECT_EQ(clicks.count(), 4);

    const QColor ink = Theme::ink.resolved(Scheme::light);
    button->setOn(true);
    EXPECT_LE(Pixels::distance(Pixels::at(hosted.image(), corner.x(), corner.y()), Pixels::over(ink, 0.12, hostColor)), 1);
    for (bool on : {true, false}) {
        button->setOn(on);
        button->setDown(true);
        const QColor pressed = Pixels::at(hosted.image(), corner.x(), corner.y());
        EXPECT_LE(Pixels::distance(pressed, Pixels::over(ink, 0.16, hostColor)), 1);
        button->setDown(false);
    }
    // The symbol is drawn at full ink when on, 0.72 when off.
    button->setOn(true);
    EXPECT_LE(Pixels::nearest(hosted.image(), button->rect(), ink), 6);
    button->setOn(false);
    EXPECT_GT(Pixels::nearest(hosted.image(), button->rect(), ink), 10);
}

TEST(PaperButtons, ChipButtonTakesTheAccentWhenSelectedAndTheWellOtherwise)
{
    for (Scheme scheme : {Scheme::light, Scheme::dark}) {
        Hosted<ChipButton> hosted(scheme, QStringLiteral("5 min"));
        ChipButton *chip = hosted.button;
        hosted.host.resize(80, 26);
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(chip->height(), 26);
        EXPECT_EQ(chip->width(), 80) << "as wide as offered";
        const QColor well = Theme::well.resolved(scheme);
        EXPECT_LE(Pixels::distance(Pixels::at(hosted.image(), 6, 13), Pixels::over(well, 0.7, hostColor)), 1);
        EXPECT_LE(Pixels::nearest(hosted.image(), labelArea(chip), Theme::ink.resolved(scheme)), 8);
        chip->setDown(true);
        EXPECT_EQ(Pixels::at(hosted.image(), 6, 13), well);
        chip->setDown(false);
        chip->setSelected(true);
        EXPECT_EQ(Pixels::at(hosted.image(), 6, 13), Theme::accent.resolved(scheme));
        EXPECT_LE(Pixels::nearest(hosted.image(), labelArea(chip), Theme::accentInk.resolved(scheme)), 8);
    }
}

TEST(PaperButtons, RingButtonIsSolidWhiteWithRedTextWhenStrongElseAWhiteWash)
{
    for (Scheme scheme : {Scheme::light, Scheme::dark}) {
        Hosted<RingButton> strong(scheme, QStringLiteral("OK"), true);
        EXPECT_EQ(backgroundOf(strong.button, strong.image()), QColor(Qt::white));
        EXPECT_LE(Pixels::nearest(strong.image(), labelArea(strong.button), Theme::alarm.resolved(scheme)), 10);

        Hosted<RingButton> quiet(scheme, QStringLiteral("+5 min"), false);
        const QColor white(Qt::white);
        EXPECT_LE(Pixels::distance(backgroundOf(quiet.button, quiet.image()), Pixels::over(white, 0.2, hostColor)), 1);
        quiet.button->setDown(true);
        EXPECT_LE(Pixels::distance(backgroundOf(quiet.button, quiet.image()), Pixels::over(white, 0.35, hostColor)), 1);
        EXPECT_LE(Pixels::nearest(quiet.image(), labelArea(quiet.button), white), 8);
        const QFontMetricsF metrics(Fonts::system(10.5, QFont::Bold, Fonts::Design::rounded));
        EXPECT_EQ(quiet.button->width(), qCeil(metrics.horizontalAdvance(QStringLiteral("+5 min"))) + 14)
            << "its natural width with 7 points on either side";
    }
}

TEST(PaperButtons, TheKeyboardFocusShowsARingInTheLabelsColourInsideTheEdgeButAClickDoesNot)
{
    const Scheme scheme = Scheme::light;
    QWidget host;
    Pixels::paintBackground(&host, hostColor);
    auto *row = new QHBoxLayout(&host);
    struct Case {
        StyledButton *button;
        Color ring;
        bool underline;
        // The buttons on a note's paper leave the focus in its text when clicked.
        bool focusOnClick;
    };
    const Case cases[] = {
        {new PrimaryButton(Theme::accent, QStringLiteral("Start")), Theme::accentInk, false, true},
        {new QuietButton(QStringLiteral("Remove")), Theme::ink, false, true},
        {new ChipButton(QStringLiteral("5 min")), Theme::ink, false, true},
        {new PaperIconButton(QStringLiteral("timer"), Theme::ink), Theme::ink, false, false},
        {new RingButton(QStringLiteral("OK"), true), Theme::alarm, false, false},
        {new RingButton(QStringLiteral("+5 min")), Color::fixed(0xFFFFFF), false, false},
        {new PlainButton(QStringLiteral("Change…"), Fonts::body(), Theme::accent), Theme::accent, true, true},
    };
    for (const Case &c : cases)
        row->addWidget(c.button);
    Appearance::force(&host, scheme);
    host.show();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));

    // The ring lies 2 points inside the edge, framed on both sides by the button's own colour.
    const auto spot = [&](const Case &c, int y) {
        const QImage image = Pixels::grab(&host).copy(c.button->geometry());
        return Pixels::at(image, image.width() / 2, y);
    };
    const auto ringSpot = [&](const Case &c) { return spot(c, c.underline ? c.button->height() - 1 : 3); };
    for (const Case &c : cases) {
        QTest::mouseClick(c.button, Qt::LeftButton);
        ASSERT_EQ(c.button->hasFocus(), c.focusOnClick) << c.button->text().toStdString();
        EXPECT_GT(Pixels::distance(ringSpot(c), c.ring.resolved(scheme)), 30) << c.button->text().toStdString();
    }
    for (const Case &c : cases) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_TRUE(c.button->hasFocus()) << "the focus goes round to the first button and on";
        EXPECT_LE(Pixels::distance(ringSpot(c), c.ring.resolved(scheme)), 2) << c.button->text().toStdString();
        if (!c.underline) {
            EXPECT_GT(Pixels::distance(spot(c, 0), c.ring.resolved(scheme)), 30) << c.button->text().toStdString();
        }
    }
}

} // namespace
