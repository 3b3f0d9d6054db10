#include "Theme/PaperStyle.h"

#include <QImage>
#include <QPainter>
#include <QStyleOption>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The style paints its stock controls from a copy of their options with the theme's edge. Every copy
// must go as the type it is, or the texts it holds are never released (and the program's behaviour
// is undefined): once the paint is over, the text is the caller's alone again.
TEST(PaperStyle, ThemedControlsKeepNoCopyOfTheirTexts)
{
    PaperStyle style;
    QWidget widget;
    QImage image(240, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QRect rect(0, 0, 240, 40);

    struct Case {
        const char *what;
        std::function<void(const QString &)> paint;
    };
    const Case cases[] = {
        {"pop-up button",
         [&](const QString &text) {
             QStyleOptionComboBox option;
             option.initFrom(&widget);
             option.rect = rect;
             option.currentText = text;
             style.drawComplexControl(QStyle::CC_ComboBox, &option, &painter, &widget);
         }},
        {"push button",
         [&](const QString &text) {
             QStyleOptionButton option;
             option.initFrom(&widget);
             option.rect = rect;
             option.text = text;
             style.drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, &widget);
         }},
        {"tab",
         [&](const QString &text) {
             QStyleOptionTab option;
             option.initFrom(&widget);
             option.rect = rect;
             option.text = text;
             style.drawControl(QStyle::CE_TabBarTabShape, &option, &painter, &widget);
         }},
    };
    for (const Case &c : cases) {
        // Text of its own, not shared with a literal.
        QString text = QStringLiteral("Heads-up before a deadline ") + QString::fromLatin1(c.what);
        ASSERT_TRUE(text.isDetached());
        c.paint(text);
        EXPECT_TRUE(text.isDetached()) << c.what << ": a copy of its text was left behind";
    }
}

} // namespace
