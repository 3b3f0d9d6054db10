#include "Theme/Fonts.h"
#include "Theme/Symbols.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QRawFont>
#include <gtest/gtest.h>
#include <utility>

namespace {

TEST(TypeScale, FontsComeFromTheNamedFamiliesAtTheirSizes)
{
    struct Case {
        const char *name;
        QFont font;
        int pixels;
        int weight;
        const char *family;
    };
    const Case cases[] = {
        {"title", Fonts::title(), 14, QFont::DemiBold, "Inter"},
        {"body", Fonts::body(), 13, QFont::Normal, "Inter"},
        {"bodyMedium", Fonts::bodyMedium(), 13, QFont::Medium, "Inter"},
        {"caption", Fonts::caption(), 12, QFont::Normal, "Inter"},
        {"label", Fonts::label(), 10, QFont::DemiBold, "DejaVu Sans Mono"},
        {"clock", Fonts::clock(), 11, QFont::Bold, "DejaVu Sans"},
        {"number", Fonts::number(), 13, QFont::Medium, "DejaVu Sans"},
    };
    for (const Case &c : cases) {
        const QFontInfo info(c.font);
        EXPECT_EQ(info.family(), QString::fromUtf8(c.family)) << c.name;
        EXPECT_NEAR(info.pixelSize(), c.pixels, 1) << c.name;
        EXPECT_EQ(c.font.weight(), c.weight) << c.name;
    }
    EXPECT_DOUBLE_EQ(Fonts::points(Fonts::caption()), 11.5);
}

TEST(TypeScale, ClockAndNumberDigitsAllHaveOneWidth)
{
    const QFont roundedDigits = Fonts::system(11, QFont::Bold, Fonts::Design::rounded, true);
    for (const QFont &font : {Fonts::clock(), Fonts::number(), roundedDigits}) {
        const QFontMetricsF metrics(font);
        const qreal zero = metrics.horizontalAdvance(QLatin1Char('0'));
        for (char digit = '1'; digit <= '9'; ++digit)
            EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(QLatin1Char(digit)), zero) << digit;
    }
}

TEST(Symbols, EveryNameTheInterfaceUsesHasAGlyphInTheEmbeddedFont)
{
    ASSERT_TRUE(QFile::exists(QStringLiteral(":/fonts/MaterialIcons-Regular.ttf")));
    const QRawFont raw = QRawFont::fromFont(Symbols::font(12));
    ASSERT_TRUE(raw.isValid());
    EXPECT_EQ(raw.familyName(), QStringLiteral("Material Icons"));
    const char *names[] = {
        "arrow.down.to.line", "arrow.triangle.2.circlepath", "arrow.up.arrow.down", "arrow.up.to.line", "bell",
        "bell.badge.fill", "bell.fill", "bell.slash", "checkmark", "checkmark.circle", "checkmark.circle.fill",
        "chevron.left", "chevron.right", "circle", "command", "ellipsis", "exclamationmark", "exclamationmark.circle",
        "exclamationmark.triangle.fill", "flag", "flag.fill", "gearshape", "hand.point.up.left",
        "hand.raised.fill", "info.circle", "largecircle.fill.circle", "magnifyingglass", "note.text",
        "note.text.badge.plus", "pause.fill", "pin", "pin.fill", "play.fill", "plus",
        "rectangle.topthird.inset.filled", "square.grid.2x2", "timer", "trash", "xmark", "xmark.circle.fill",
    };
    for (const char *name : names) {
        const auto point = Symbols::codepoint(QString::fromLatin1(name));
        ASSERT_TRUE(point) << name;
        EXPECT_TRUE(raw.supportsCharacter(uint(*point))) << name;
        EXPECT_FALSE(Symbols::icon(QString::fromLatin1(name), Qt::black).isNull()) << name;
    }
    // Outlined and filled forms differ where the font has both.
    EXPECT_NE(Symbols::codepoint(u"flag"), Symbols::codepoint(u"flag.fill"));
    EXPECT_NE(Symbols::codepoint(u"bell"), Symbols::codepoint(u"bell.fill"));
    EXPECT_FALSE(Symbols::codepoint(u"no.such.symbol"));
    EXPECT_TRUE(Symbols::glyph(u"no.such.symbol").isEmpty());
}

// A floating note's pin must read differently from a loose one's, as the filled flag from the empty one.
TEST(Symbols, FilledFormsDrawMoreInkThanOutlinedOnes)
{
    const auto ink = [](const char *name) {
        const QImage image = Symbols::icon(QString::fromLatin1(name), Qt::black, 13).pixmap(64).toImage();
        qint64 alpha = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                alpha += image.pixelColor(x, y).alpha();
        return alpha;
    };
    const std::pair<const char *, const char *> pairs[] = {
        {"pin", "pin.fill"}, {"flag", "flag.fill"}, {"bell", "bell.fill"}, {"checkmark.circle", "checkmark.circle.fill"}};
    for (const auto &[outlined, filled] : pairs) {
        EXPECT_GT(ink(outlined), 0) << outlined;
        EXPECT_GT(ink(filled), ink(outlined) * 5 / 4) << filled << " against " << outlined;
    }
}

} // namespace
