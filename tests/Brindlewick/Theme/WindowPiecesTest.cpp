#include "Pixels.h"
#include "Theme/Appearance.h"
#include "Theme/DropShadow.h"
#include "Theme/Fonts.h"
#include "Theme/SymbolLabel.h"
#include "Theme/Theme.h"
#include "Theme/ThemeLabel.h"
#include "Theme/ThemePalette.h"

#include <QCheckBox>
#include <QPainter>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

TEST(WindowPieces, ThemeLabelFadesWhenDisabled)
{
    ThemeLabel label(QStringLiteral("Open the tray when I"), Fonts::title(), Theme::good);
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

TEST(WindowPieces, SymbolLineReadsItsTextBesideTheSymbol)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    QWidget *line = symbolLine(QStringLiteral("checkmark.circle.fill"), QStringLiteral("On"), Fonts::body(), Theme::good);
    layout->addWidget(line);
    window.show();
    const auto *symbol = line->findChild<SymbolLabel *>();
    const auto *text = line->findChild<ThemeLabel *>();
    ASSERT_TRUE(symbol && text);
    EXPECT_EQ(text->accessibleName(), "On");
    EXPECT_EQ(symbol->color(), Theme::good);
    EXPECT_EQ(text->color(), Theme::good);
    EXPECT_LT(symbol->geometry().right(), text->geometry().left());
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

TEST(WindowPieces, AWindowPaletteDressesStockControlsInTheSchemeTheyPaintIn)
{
    QWidget window;
    auto *box = new QCheckBox(QStringLiteral("Float above other windows"), &window);
    ThemePalette::follow(&window, ThemePalette::window());
    for (Scheme scheme : {Scheme::dark, Scheme::light}) {
        Appearance::force(&window, scheme);
        window.grab();
        EXPECT_EQ(box->palette().color(QPalette::Window), Theme::desk.resolved(scheme));
        EXPECT_EQ(box->palette().color(QPalette::WindowText), Theme::ink.resolved(scheme));
        EXPECT_EQ(box->palette().color(QPalette::Base), Theme::card.resolved(scheme));
        EXPECT_EQ(box->palette().color(QPalette::Highlight), Theme::accent.resolved(scheme));
    }
}

} // namespace
