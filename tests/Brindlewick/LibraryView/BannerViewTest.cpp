#include "LibraryFixture.h"

#include "LibraryView/BannerView.h"
#include "Theme/PlainButton.h"
#include "Theme/ThemeLabel.h"

#include <QElapsedTimer>
#include <QTest>

using namespace std::chrono_literals;

namespace {

class BannerViewTest : public LibraryTest {
protected:
    BannerViewTest() : banner(new BannerView(model, &host))
    {
        host.resize(900, 600);
        host.show();
    }

    bool pillShown() const { return banner->isVisibleTo(&host); }

    QWidget host;
    BannerView *banner;
};

TEST_F(BannerViewTest, UndoPutsTheNotesBackByClickAndByCtrlZ)
{
    const QUuid standup = idOf(QStringLiteral("Standup"));
    model.deleteNotes({standup});
    ASSERT_TRUE(pillShown());
    EXPECT_EQ(banner->textLabel()->text(), QStringLiteral("Deleted “Standup”"));
    EXPECT_TRUE(banner->undoButton()->isVisibleTo(&host));
    EXPECT_EQ(banner->dismissButton()->accessibleName(), QStringLiteral("Dismiss"));
    QTRY_COMPARE(banner->geometry().bottom() + 1, host.height() - 18);
    EXPECT_EQ(banner->geometry().center().x(), host.rect().center().x());

    banner->undoButton()->click();
    EXPECT_TRUE(stored(standup).isLive());
    EXPECT_FALSE(model.banner());
    QTRY_VERIFY(!pillShown());

    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    model.toggleDone(standup);
    ASSERT_TRUE(model.banner());
    QTest::keyClick(&host, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(stored(standup).isDone());
    EXPECT_FALSE(model.banner());

    model.toggleDone(standup);
    model.setBanner(std::nullopt);
    QTest::keyClick(&host, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(stored(standup).isDone()) << "Ctrl+Z goes with the banner that offered it";
}

TEST_F(BannerViewTest, AMessageWithoutNotesOffersOnlyItsCloseButton)
{
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    model.setBanner(Banner(QStringLiteral("Couldn’t save notes: disk full")));
    ASSERT_TRUE(pillShown());
    EXPECT_FALSE(banner->undoButton()->isVisibleTo(&host));
    QTest::keyClick(&host, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(model.banner()) << "Ctrl+Z does not reach undo, which would clear the banner";
    banner->dismissButton()->click();
    EXPECT_FALSE(model.banner());
    QTRY_VERIFY(!pillShown());
}

TEST_F(BannerViewTest, EachBannerGetsItsFullTimeAndAnOlderTimeOutLeavesANewerBannerAlone)
{
    banner->setTimeout(600ms);
    model.setBanner(Banner(QStringLiteral("First")));
    QTest::qWait(400);
    model.setBanner(Banner(QStringLiteral("Second")));
    QElapsedTimer second;
    second.start();
    QTest::qWait(350);
    ASSERT_TRUE(model.banner());
    EXPECT_EQ(model.banner()->text, QStringLiteral("Second")) << "the first banner's time-out found a newer banner";
    QTRY_VERIFY_WITH_TIMEOUT(!model.banner(), 2000);
    EXPECT_GE(second.elapsed(), 600);
    QTRY_VERIFY(!pillShown());
}

TEST_F(BannerViewTest, ABannerLeavesWithTheViewThatShowedIt)
{
    model.setBanner(Banner(QStringLiteral("Still here")));
    delete banner;
    EXPECT_FALSE(model.banner());

    model.setBanner(Banner(QStringLiteral("Set while no library is open")));
    QTest::qWait(60);
    EXPECT_TRUE(model.banner()) << "no view, no time-out";
    BannerView later(model, &host);
    later.setTimeout(50ms);
    EXPECT_TRUE(later.isVisibleTo(&host));
    EXPECT_TRUE(later.shownId());
    model.setBanner(Banner(QStringLiteral("Counted from its own arrival")));
    QTRY_VERIFY_WITH_TIMEOUT(!model.banner(), 2000);
}

TEST_F(BannerViewTest, ALongTextStaysOnOneCutLine)
{
    model.setBanner(Banner(QStringLiteral("Deleted “%1”").arg(QString(200, u'x'))));
    QTRY_COMPARE(banner->geometry().bottom() + 1, host.height() - 18);
    EXPECT_EQ(banner->height(), 36);
    EXPECT_LE(banner->width(), host.width() - 32);
    const QStringList lines = banner->textLabel()->shownLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines.first().endsWith(QStringLiteral("…")));
}

} // namespace
