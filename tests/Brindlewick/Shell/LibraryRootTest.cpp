#include "Shell/LibraryRoot.h"
#include "Pixels.h"
#include "SharedModel.h"
#include "Theme/Appearance.h"
#include "Welcome/WelcomeView.h"

#include <QTest>

namespace {

class LibraryRootTest : public SharedModelTest {
protected:
    bool sheetUp() const { return root.welcomeSheet() && root.welcomeSheet()->isVisible(); }

    LibraryRoot root{model};
};

TEST_F(LibraryRootTest, WelcomeSheetStaysUntilTheWelcomeIsFinished)
{
    root.resize(1180, 740);
    root.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&root));
    EXPECT_FALSE(sheetUp());
    EXPECT_TRUE(root.library()->isEnabled());

    model.setShowWelcome(true);
    ASSERT_TRUE(sheetUp());
    EXPECT_EQ(root.welcomeSheet()->geometry(), root.rect());
    EXPECT_FALSE(root.library()->isEnabled());

    QWidget *focused = QApplication::focusWidget() ? QApplication::focusWidget() : root.welcomeSheet();
    QTest::keyClick(focused, Qt::Key_Escape);
    QTest::mouseClick(root.welcomeSheet(), Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseClick(root.welcomeSheet(), Qt::LeftButton, {}, QPoint(root.width() - 4, root.height() - 4));
    EXPECT_TRUE(sheetUp()) << "nothing but the welcome's own last step closes it";
    EXPECT_TRUE(model.showWelcome());

    model.finishWelcome(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(root.welcomeSheet(), nullptr);
    EXPECT_TRUE(root.library()->isEnabled());
}

// The welcome is told apart from the dimmed library around it by its edge, in either appearance.
TEST_F(LibraryRootTest, TheWelcomeSheetHasAVisibleEdgeInBothAppearances)
{
    root.resize(1180, 740);
    model.setShowWelcome(true);
    root.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&root));
    const QWidget *welcome = root.welcomeSheet()->findChild<WelcomeView *>();
    ASSERT_TRUE(welcome);
    for (const Scheme scheme : {Scheme::light, Scheme::dark}) {
        Appearance::force(&root, scheme);
        QCoreApplication::processEvents();
        const QImage image = Pixels::grab(&root);
        const QRect sheet(welcome->mapTo(&root, QPoint(0, 0)), welcome->size());
        const int y = sheet.center().y();
        const QColor outside = Pixels::at(image, sheet.left() - 2, y);
        const QColor edge = Pixels::at(image, sheet.left(), y);
        EXPECT_GE(Pixels::distance(edge, outside), 24) << (scheme == Scheme::dark ? "dark" : "light");
    }
}

} // namespace
