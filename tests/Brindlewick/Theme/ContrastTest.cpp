#include "../State/AppModelFixture.h"
#include "Pixels.h"
#include "Snapshots.h"

#include "SettingsView/SettingsView.h"
#include "Shell/AppCommands.h"
#include "Shell/LibraryWindow.h"
#include "Shell/MenuBarMenu.h"
#include "Theme/Appearance.h"
#include "Theme/ColorDots.h"
#include "Theme/PaperStyle.h"
#include "Theme/Theme.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// The contrast ratio of two opaque colours, as accessibility guidelines measure it (1 to 21).
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &color) {
        const auto linear = [](double channel) {
            return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) + 0.0722 * linear(color.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The strongest contrast any pixel of `area` makes against `ground`.
double strongest(const QImage &image, const QRect &area, const QColor &ground)
{
    double best = 1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            best = std::max(best, contrast(image.pixelColor(x, y), ground));
    return best;
}

QRect placeIn(const QWidget *widget, const QWidget *root, const QRect &rect)
{
    return rect.translated(widget->mapTo(root, QPoint()));
}

const char *name(Scheme scheme)
{
    return scheme == Scheme::dark ? "dark" : "light";
}

// Widgets draw in the program's own style, as the program installs it at start.
class ContrastTest : public AppModelTest {
protected:
    ContrastTest() { PaperStyle::install(); }
};

// The settings' own stock controls: the unchecked "Float above other windows" box and the heads-up
// pop-up button, each with the part of it that carries the outline.
struct StockControl {
    const char *what;
    SettingsView::Tab tab;
    std::function<QRect(const SettingsView &)> outline;
};

QRect indicatorOf(const SettingsView &view, const QString &text)
{
    for (QCheckBox *box : view.findChildren<QCheckBox *>()) {
        if (box->text() != text)
            continue;
        QStyleOptionButton option;
        option.initFrom(box);
        return placeIn(box, &view, box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box));
    }
    return {};
}

QRect popUpOf(const SettingsView &view)
{
    for (QComboBox *box : view.findChildren<QComboBox *>())
        if (box->isVisibleTo(&view))
            return placeIn(box, &view, box->rect());
    return {};
}

// A control's outline must stand out from the ground it lies on at 3:1 or more; its text at 4.5:1.
TEST_F(ContrastTest, StockControlsAndColourDotsOfTheSettingsReadInBothAppearances)
{
    const StockControl controls[] = {
        {"an unchecked box", SettingsView::Tab::general,
         [](const SettingsView &view) { return indicatorOf(view, QStringLiteral("Float above other windows")); }},
        {"the heads-up pop-up", SettingsView::Tab::alerts, popUpOf},
        {"the kit's automatic-update box", SettingsView::Tab::updates,
         [](const SettingsView &view) {
             return indicatorOf(view, QStringLiteral("Download and install updates automatically"));
         }},
    };
    for (const Scheme scheme : {Scheme::light, Scheme::dark}) {
        for (const StockControl &control : controls) {
            SCOPED_TRACE(std::string(name(scheme)) + ", " + control.what);
            SettingsView view(*model, false);
            Appearance::force(&view, scheme);
            view.showTab(control.tab);
            view.show();
            QCoreApplication::sendPostedEvents();
            const QImage image = Pixels::grab(&view);
            const QRect outline = control.outline(view);
            ASSERT_FALSE(outline.isEmpty());
            const QColor card = image.pixelColor(outline.left() - 4, outline.center().y());
            EXPECT_LT(Pixels::distance(card, Theme::card.resolved(scheme)), 3) << "it lies on the card";
            const QRect leftEdge(outline.left(), outline.top() + 3, 2, outline.height() - 6);
            EXPECT_GE(strongest(image, leftEdge, card), 3.0);

            if (control.tab != SettingsView::Tab::general)
                continue;
            auto *dots = view.findChild<ColorDots *>();
            ASSERT_NE(dots, nullptr);
            for (const NoteColor color : NoteColors::allCases) {
                const QWidget *dot = dots->dot(color);
                const QRect leftHalf = placeIn(dot, &view, QRect(0, dot->height() / 2 - 1, dot->width() / 2, 3));
                EXPECT_GE(strongest(image, leftHalf, card), 3.0) << toString(color).toStdString() << " dot";
            }
        }
    }
}

// Menus are windows of their own, which take no colours from the window they open from.
TEST_F(ContrastTest, TheAllNotesMenuBarItsMenusAndTheStatusMenuTakeTheAppearance)
{
    for (const Scheme scheme : {Scheme::light, Scheme::dark}) {
        SCOPED_TRACE(name(scheme));
        LibraryWindow library(*model);
        AppCommands commands(*model);
        library.setMenus(commands.menus());
        library.bringForward();
        Appearance::force(library.window(), scheme);
        QCoreApplication::sendPostedEvents();

        QMenuBar *bar = library.window()->menuBar();
        const QImage barImage = Pixels::grab(bar);
        const QColor barGround = barImage.pixelColor(bar->width() - 4, bar->height() / 2);
        EXPECT_LT(Pixels::distance(barGround, Theme::desk.resolved(scheme)), 8) << "the bar is the window's colour";
        const QMenu &file = *commands.menus().first();
        EXPECT_GE(strongest(barImage, bar->actionGeometry(file.menuAction()), barGround), 4.5) << "the first menu's title";

        MenuBarMenu status(*model);
        QImage picture(QSize(bar->width(), bar->height() + 400), QImage::Format_ARGB32);
        picture.fill(Theme::desk.resolved(scheme));
        QPainter painter(&picture);
        painter.drawImage(0, 0, barImage);
        int left = 0;
        for (QMenu *menu : {commands.menus().first(), static_cast<QMenu *>(&status)}) {
            Appearance::force(menu, scheme);
            menu->adjustSize();
            const QImage menuImage = Pixels::grab(menu);
            const QList<QAction *> actions = menu->actions();
            const auto newNote = std::find_if(actions.begin(), actions.end(),
                                              [](const QAction *a) { return a->text() == QStringLiteral("New Note"); });
            ASSERT_NE(newNote, actions.end());
            const QRect item = menu->actionGeometry(*newNote);
            const QColor menuGround = menuImage.pixelColor(item.right() - 4, item.center().y());
            EXPECT_LT(Pixels::distance(menuGround, Theme::card.resolved(scheme)), 8) << "a menu is a card";
            EXPECT_GE(strongest(menuImage, item, menuGround), 4.5) << "\"New Note\"";
            painter.drawImage(left, bar->height(), menuImage);
            left += menu->width() + 24;
        }
        painter.end();
        Snapshots::write(picture, QStringLiteral("contrast"), QStringLiteral("menus-") + name(scheme));
    }
}

} // namespace
