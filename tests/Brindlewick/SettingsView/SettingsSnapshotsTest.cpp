#include "../State/AppModelFixture.h"
#include "LayoutChecks.h"
#include "Pixels.h"
#include "Snapshots.h"

#include "SettingsView/SettingsView.h"
#include "Theme/Appearance.h"

#include <QCoreApplication>
#include <QTabWidget>

namespace {

using SettingsSnapshots = AppModelTest;

// Every tab, with and without a notch, in both appearances: written for a person to look at, and
// checked for text cut off or laid over other text.
TEST_F(SettingsSnapshots, EveryTabLaysOutItsTextsWithoutCuttingOrOverlapping)
{
    const QStringList tabNames{"general", "alerts", "notch", "shortcuts", "updates", "how-it-works"};
    for (bool notch : {true, false}) {
        for (Scheme scheme : {Scheme::light, Scheme::dark}) {
            SettingsView view(*model, notch);
            Appearance::force(&view, scheme);
            view.show();
            for (int tab = 0; tab < tabNames.size(); ++tab) {
                const QString name = tabNames[tab] + (notch ? "-notch" : "-strip") + (scheme == Scheme::dark ? "-dark" : "-light");
                SCOPED_TRACE(name.toStdString());
                view.showTab(SettingsView::Tab(tab));
                QCoreApplication::sendPostedEvents();
                const QImage image = Pixels::grab(&view);
                EXPECT_EQ(image.size(), SettingsView::frameSize);
                EXPECT_TRUE(Snapshots::write(image, "settings", name));
                QWidget *page = view.tabs()->currentWidget();
                EXPECT_EQ(LayoutChecks::clipped(page), QStringList());
                EXPECT_EQ(LayoutChecks::overlapping(page), QStringList());
            }
        }
    }
}

} // namespace
