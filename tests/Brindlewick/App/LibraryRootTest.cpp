#include "App/LibraryRoot.h"
#include "SharedModel.h"

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

} // namespace
