#include "../State/AppModelFixture.h"
#include "LayoutChecks.h"
#include "Pixels.h"
#include "Snapshots.h"

#include "Theme/Appearance.h"
#include "Welcome/WelcomeView.h"

#include <QCoreApplication>

namespace {

using WelcomeSnapshots = AppModelTest;

// Every page, with and without a notch, in both appearances: written for a person to look at, and
// checked for text cut off or laid over other text.
TEST_F(WelcomeSnapshots, EveryPageLaysOutItsTextsWithoutCuttingOrOverlapping)
{
    const QStringList pageNames{"intro", "alerts", "tray"};
    for (bool notch : {true, false}) {
        for (Scheme scheme : {Scheme::light, Scheme::dark}) {
            for (int step = 0; step < pageNames.size(); ++step) {
                const QString name = pageNames[step] + (notch ? "-notch" : "-strip") + (scheme == Scheme::dark ? "-dark" : "-light");
                SCOPED_TRACE(name.toStdString());
                WelcomeView view(*model, step, true, notch);
                Appearance::force(&view, scheme);
                view.show();
                QCoreApplication::sendPostedEvents();
                const QImage image = Pixels::grab(&view);
                EXPECT_EQ(image.size(), WelcomeView::frameSize);
                EXPECT_TRUE(Snapshots::write(image, "welcome", name));
                EXPECT_EQ(LayoutChecks::clipped(&view), QStringList());
                EXPECT_EQ(LayoutChecks::overlapping(&view), QStringList());
            }
        }
    }
}

} // namespace
