#include "Pixels.h"
#include "Theme/Appearance.h"
#include "Theme/DropShadow.h"
#include "Theme/Fonts.h"
#include "Theme/Hairline.h"
#include "Theme/InkLabel.h"
#include "Theme/LinkButton.h"
#include "Theme/Symbols.h"
#include "Theme/SymbolLabel.h"
#include "Theme/Theme.h"
#include "Theme/ThemePalette.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

TEST(WindowPieces, InkLabelPaintsItsTokenInEachAppearanceAndFadesWhenDisabled)
{
    InkLabel label(QStringLiteral("Deadlines"), Fonts::title(), Theme::good);
    label.resize(label.sizeHint());
    for (Scheme scheme : {Scheme::light, Scheme::dark}) {
        Appearance::force(&label, scheme);
        label.setEnabled(true);
        QImage image = Pixels::grab(&label);
        EXPECT_LE(Pixels::nearest(image, image.rect(), Theme::good.resolved(scheme)), 8);
        label.setEnabled(false);
        image = Pixels::grab(&label);
        EXPECT_GT(Pixels::nearest(image, image.rect(), Theme::good.resolved(scheme)), 8);
    }
}

TEST(WindowPieces, SymbolLabelReadsItsTextAndWithoutTextIsTheSymbolAlone)
{
    SymbolLabel on(QStringLiteral("checkmark.circle.fill"), QStringLiteral("On"), Fonts::body(), Theme::good);
    EXPECT_EQ(on.accessibleName(), "On");
    const qreal symbol = QFontMetricsF(Symbols::font(13)).horizontalAdvance(Symbols::glyph(u"checkmark.circle.fill"));
    EXPECT_GT(on.sizeHint().width(), symbol + QFontMetricsF(Fonts::body()).horizontalAdvance("On"));

    SymbolLabel mark(QStringLiteral("circle"), {}, Fonts::body(), Theme::ink3);
    EXPECT_LE(mark.sizeHint().width(), qCeil(symbol) + 1);
    mark.resize(26, 20);
    Appearance::force(&mark, Scheme::light);
    const QImage image = Pixels::grab(&mark);
    EXPECT_LE(Pixels::nearest(image, QRect(9, 2, 8, 16), Theme::ink3.resolved(Scheme::light)), 30) << "centred";
}

TEST(WindowPieces, DropShadowFallsBelowTheShapeAndFadesOutward)
{
    QImage image(120, 120, QImage::Format_ARGB32);
    image.fill(Qt::white);
    const QRectF shape(30, 30, 60, 60);
    {
        QPainter painter(&image);
        DropShadow::paint(painter, shape, 6, QPointF(0, 3), QColor(255, 0, 0, 128),
                          [&](QPainter &layer) { layer.fillRect(shape, Qt::black); });
    }
    const auto redness = [&](int x, int y) { return 255 - image.pixelColor(x, y).green(); };
    EXPECT_NEAR(redness(60, 60), 128, 3) << "under the shape: the colour at its opacity";
    EXPECT_EQ(image.pixelColor(60, 60).red(), 255) << "tinted, not darkened";
    EXPECT_GT(redness(60, 92), redness(60, 27)) << "dropped below";
    EXPECT_GT(redness(60, 92), redness(60, 98));
    EXPECT_GT(redness(60, 98), 0) << "soft, spreading past the edge";
    EXPECT_EQ(redness(5, 5), 0);
}

TEST(WindowPieces, ThemePaletteDressesStockControlsOnceForTheirScheme)
{
    QWidget window;
    Appearance::force(&window, Scheme::dark);
    EXPECT_TRUE(ThemePalette::follow(&window));
    EXPECT_FALSE(ThemePalette::follow(&window)) << "nothing to do the second time";
    EXPECT_EQ(window.palette().color(QPalette::Window), Theme::desk.resolved(Scheme::dark));
    EXPECT_EQ(window.palette().color(QPalette::Text), Theme::ink.resolved(Scheme::dark));
    EXPECT_EQ(window.palette().color(QPalette::Disabled, QPalette::WindowText), Theme::ink3.resolved(Scheme::dark));
    Appearance::force(&window, Scheme::light);
    EXPECT_TRUE(ThemePalette::follow(&window));
    EXPECT_EQ(window.palette().color(QPalette::Highlight), Theme::accent.resolved(Scheme::light));
}

TEST(WindowPieces, HairlineAndLinkPaintInTheirTokens)
{
    QWidget host;
    Appearance::force(&host, Scheme::dark);
    Hairline line(&host);
    line.resize(40, 1);
    EXPECT_EQ(line.height(), 1);
    EXPECT_EQ(Pixels::at(Pixels::grab(&line), 20, 0), Theme::hairline.resolved(Scheme::dark));

    LinkButton link(QStringLiteral("Open Notification Settings"), &host);
    link.resize(link.sizeHint());
    const QImage image = Pixels::grab(&link);
    EXPECT_LE(Pixels::nearest(image, image.rect(), Theme::accent.resolved(Scheme::dark)), 8);
}

} // namespace
