#include "Pixels.h"
#include "Theme/Appearance.h"
#include "Theme/Color.h"
#include "Theme/PaperBackground.h"
#include "Theme/Paper.h"
#include "Theme/Theme.h"

#include <gtest/gtest.h>

namespace {

QColor hex(quint32 rgb)
{
    return QColor::fromRgb(rgb);
}

TEST(Appearance, ForcedSchemeHoldsForTheWidgetAndEverythingInsideIt)
{
    QWidget dark, light;
    auto *darkChild = new QWidget(&dark);
    auto *grandChild = new QWidget(darkChild);
    Appearance::force(&dark, Scheme::dark);
    Appearance::force(&light, Scheme::light);

    EXPECT_TRUE(Appearance::isDark(grandChild));
    EXPECT_FALSE(Appearance::isDark(&light));
    // Two widgets in different appearances at once each take their own member of the same token.
    EXPECT_EQ(Theme::ink.resolved(grandChild), hex(0xF0EEE9));
    EXPECT_EQ(Theme::ink.resolved(&light), hex(0x1D1C1A));

    Appearance::force(darkChild, Scheme::light);
    EXPECT_FALSE(Appearance::isDark(grandChild)) << "the nearest forced ancestor wins";
    EXPECT_EQ(Theme::ink.resolved(grandChild), hex(0x1D1C1A)) << "the same token, resolved again";

    Appearance::force(darkChild, std::nullopt);
    Appearance::force(&dark, std::nullopt);
    EXPECT_EQ(Appearance::scheme(grandChild), Appearance::desktopScheme());
}

TEST(Palette, PaperColoursInBothAppearances)
{
    struct Case {
        NoteColor color;
        quint32 fillLight, fillDark, edgeLight, edgeDark, inkLight, inkDark, swatch;
    };
    const Case cases[] = {
        {NoteColor::lemon, 0xFFE97F, 0x4C431B, 0xEBCF52, 0x6B5F2A, 0x2A2519, 0xF4EEDF, 0xFFE066},
        {NoteColor::peach, 0xFFCDA8, 0x5A3421, 0xF0AE80, 0x7A4A31, 0x2A2519, 0xF4EEDF, 0xFFB27F},
        {NoteColor::mint, 0xC2EFCD, 0x1E4A33, 0x98D9AA, 0x2D6649, 0x2A2519, 0xF4EEDF, 0x9FE3B1},
        {NoteColor::sky, 0xC4E2FF, 0x1C3B58, 0x98C8F5, 0x2B5479, 0x2A2519, 0xF4EEDF, 0x9CCEFF},
        {NoteColor::lilac, 0xDFD0FF, 0x3B2E5E, 0xC2AEF2, 0x54437F, 0x2A2519, 0xF4EEDF, 0xCDB6FF},
        {NoteColor::rose, 0xFFC6D4, 0x5A2535, 0xF29FB3, 0x7B3649, 0x2A2519, 0xF4EEDF, 0xFFA8BE},
        {NoteColor::graphite, 0x3B3B3E, 0x2B2B2E, 0x56565A, 0x3E3E42, 0xF3F1EC, 0xEDEBE6, 0x4A4A4E},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(toString(c.color).toStdString());
        EXPECT_EQ(Paper::ink(c.color), Color(c.inkLight, c.inkDark));
        EXPECT_EQ(Paper::swatch(c.color).resolved(Scheme::light), hex(c.swatch));
        EXPECT_EQ(Paper::swatch(c.color).resolved(Scheme::dark), hex(c.swatch));

        // What a note really shows: its paper in the middle, the edge at 0.7 along its border.
        for (const auto &[scheme, fill, edge] : {std::tuple{Scheme::light, c.fillLight, c.edgeLight},
                                                 std::tuple{Scheme::dark, c.fillDark, c.edgeDark}}) {
            PaperBackground paper(c.color);
            paper.resize(120, 80);
            Appearance::force(&paper, scheme);
            const QImage image = Pixels::grab(&paper);
            EXPECT_EQ(Pixels::at(image, 60, 40), hex(fill));
            // The 0.75-wide edge covers three quarters of the outermost pixel column.
            const QColor expectedEdge = Pixels::over(hex(edge), 0.7 * 0.75, hex(fill));
            EXPECT_LE(Pixels::distance(Pixels::at(image, 0, 40), expectedEdge), 4)
                << Pixels::at(image, 0, 40).name().toStdString() << " vs " << expectedEdge.name().toStdString();
        }
    }
}

TEST(Palette, RingingPaperHasAThickAlarmRedEdgeWhateverThePaper)
{
    for (NoteColor color : NoteColors::allCases) {
        for (const auto &[scheme, red] : {std::pair{Scheme::light, 0xD7373Fu}, std::pair{Scheme::dark, 0xFF6369u}}) {
            PaperBackground paper(color, true);
            paper.resize(120, 80);
            Appearance::force(&paper, scheme);
            const QImage image = Pixels::grab(&paper);
            EXPECT_EQ(Pixels::at(image, 1, 40), hex(red)) << toString(color).toStdString();
            EXPECT_EQ(Pixels::at(image, 60, 1), hex(red));
            EXPECT_EQ(Pixels::at(image, 60, 40), Paper::fill(color).resolved(scheme));
        }
    }
}

TEST(Palette, UrgencyAndTapeColoursInBothAppearances)
{
    struct Case {
        Urgency urgency;
        quint32 light, dark;
    };
    const Case cases[] = {{Urgency::calm, 0x1F7A84, 0x5CC6CF},
                          {Urgency::soon, 0xD98A0F, 0xF5B13D},
                          {Urgency::urgent, 0xE0601E, 0xFF8A4C},
                          {Urgency::over, 0xD7373F, 0xFF6369}};
    for (const Case &c : cases) {
        EXPECT_EQ(Theme::urgency(c.urgency), Color(c.light, c.dark));
        for (NoteColor paper : NoteColors::allCases) {
            const bool teal = paper == NoteColor::graphite && c.urgency == Urgency::calm;
            EXPECT_EQ(Paper::tapeInk(paper, c.urgency), teal ? Color::fixed(0x5CC6CF) : Color(c.light, c.dark))
                << toString(paper).toStdString() << " " << int(c.urgency);
        }
    }
    EXPECT_EQ(Theme::urgency(Urgency::urgent), Theme::accent);
    EXPECT_EQ(Theme::urgency(Urgency::over), Theme::alarm);
}

} // namespace
