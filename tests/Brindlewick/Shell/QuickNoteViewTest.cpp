#include "../State/AppModelFixture.h"
#include "Shell/QuickNote/PreviewChip.h"
#include "Shell/QuickNote/QuickNoteView.h"
#include "Theme/Appearance.h"
#include "Theme/ColorDots.h"
#include "Theme/Paper.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

class QuickNoteViewTest : public AppModelTest {
protected:
    QuickNoteViewTest()
    {
        model->tick();
        model->onShow = [this](const QUuid &id) { shown.append(id); };
        view = std::make_unique<QuickNoteView>(*model, [this](bool restore) { closes.append(restore); });
    }

    template <typename T>
    T *piece(const char *name = nullptr) const
    {
        T *found = name ? view->findChild<T *>(QString::fromLatin1(name)) : view->findChild<T *>();
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void type(const QString &text) const { QTest::keyClicks(piece<QLineEdit>("line"), text); }
    void press(Qt::Key key) const { QTest::keyClick(piece<QLineEdit>("line"), key); }

    // What row 2 shows: the chip texts, or the hint.
    QStringList preview() const
    {
        QStringList shown;
        for (const char *name : {"timerChip", "deadlineChip"}) {
            if (!piece<PreviewChip>(name)->isHidden())
                shown.append(piece<PreviewChip>(name)->text());
        }
        if (!piece<QLabel>("hint")->isHidden())
            shown.append(piece<QLabel>("hint")->text());
        return shown;
    }

    std::unique_ptr<QuickNoteView> view;
    QList<bool> closes;
    QList<QUuid> shown;
};

TEST_F(QuickNoteViewTest, TheLinePreviewsItsTimerAndDeadlineAsItIsTyped)
{
    const QString hint = QStringLiteral("Return to stick it on the desktop · Esc to close");
    EXPECT_EQ(preview(), QStringList{hint});

    type(QStringLiteral("tea 4m"));
    EXPECT_EQ(preview(), QStringList{"4 min timer, starts now"});

    piece<QLineEdit>("line")->clear();
    type(QStringLiteral("Read 25"));
    EXPECT_EQ(preview(), QStringList{hint});

    piece<QLineEdit>("line")->clear();
    type(QStringLiteral("send invoice tomorrow 9:30 for 1h 30m"));
    const QStringList chips = preview();
    ASSERT_EQ(chips.size(), 2);
    EXPECT_EQ(chips[0], "1 h 30 min timer, starts now");
    // The clock follows the locale: "9:30 AM" or "09:30".
    EXPECT_TRUE(chips[1].startsWith("Due Tomorrow, ") && chips[1].contains("9:30")) << chips[1].toStdString();
}

TEST_F(QuickNoteViewTest, ThePreviewFollowsTheClockAndCatchesUpWhenShownAgain)
{
    const Date beforeNine = Date::fromDateTime(QDateTime(QDate(2025, 12, 8), QTime(8, 59)));
    now = beforeNine;
    model->tick();
    view->show();
    type(QStringLiteral("standup at 9am"));
    ASSERT_EQ(preview().size(), 1);
    EXPECT_TRUE(preview()[0].startsWith("Due Today, ")) << preview()[0].toStdString();

    // Nine has passed: the same line now means nine tomorrow.
    now = beforeNine + 120;
    model->tick();
    ASSERT_EQ(preview().size(), 1);
    EXPECT_TRUE(preview()[0].startsWith("Due Tomorrow, ")) << preview()[0].toStdString();

    view->hide();
    now = beforeNine;
    model->tick();
    view->show();
    EXPECT_TRUE(preview()[0].startsWith("Due Today, ")) << preview()[0].toStdString();
}

TEST_F(QuickNoteViewTest, ReturnAddsTheNoteWithItsRunningTimerColourAndTuckThenClosesWithoutRestoring)
{
    model->setTrayEnabled(true);
    model->setNotesHidden(true);
    QTest::mouseClick(piece<ColorDots>()->dot(NoteColor::mint), Qt::LeftButton);
    QTest::mouseClick(piece<QCheckBox>("tuck"), Qt::LeftButton);
    type(QStringLiteral("tea 4m"));
    press(Qt::Key_Return);

    ASSERT_EQ(model->book().notes.size(), 1);
    const StickyNote added = model->book().notes[0];
    EXPECT_EQ(added.text, "tea");
    EXPECT_EQ(added.color, NoteColor::mint);
    EXPECT_TRUE(added.tucked);
    ASSERT_TRUE(added.timer);
    EXPECT_EQ(added.timer->duration, 240);
    EXPECT_EQ(added.timer->endsAt, now + 240);
    EXPECT_EQ(closes, QList<bool>{false});
    EXPECT_EQ(shown, QList<QUuid>{added.id});
    EXPECT_FALSE(model->notesHidden());

    // The line starts afresh; the choices stay for the next note.
    EXPECT_EQ(view->line(), "");
    EXPECT_EQ(view->color(), NoteColor::mint);
    EXPECT_TRUE(view->tucked());
}

TEST_F(QuickNoteViewTest, EscClosesGivingTheFocusBackAndAnEmptyLineAddsNothing)
{
    type(QStringLiteral("   "));
    press(Qt::Key_Return);
    EXPECT_TRUE(model->book().notes.isEmpty());
    EXPECT_TRUE(closes.isEmpty());

    type(QStringLiteral("half a thought"));
    press(Qt::Key_Escape);
    EXPECT_EQ(closes, QList<bool>{true});
    EXPECT_TRUE(model->book().notes.isEmpty());
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(view->line(), "   half a thought");
}

TEST_F(QuickNoteViewTest, TheTuckChoiceShowsAndCountsOnlyWhileTheTrayIsOn)
{
    auto *tuck = piece<QCheckBox>("tuck");
    EXPECT_TRUE(tuck->isHidden());
    model->setTrayEnabled(true);
    EXPECT_FALSE(tuck->isHidden());
    tuck->setChecked(true);
    model->setTrayEnabled(false);
    EXPECT_TRUE(tuck->isHidden());

    type(QStringLiteral("call back"));
    press(Qt::Key_Return);
    ASSERT_EQ(model->book().notes.size(), 1);
    EXPECT_FALSE(model->book().notes[0].tucked);
}

TEST_F(QuickNoteViewTest, PaperFollowsTheDefaultColourUntilOneIsPickedAndIsAlwaysLight)
{
    model->setDefaultColor(NoteColor::peach);
    EXPECT_EQ(view->paper(), NoteColor::peach);
    EXPECT_EQ(piece<ColorDots>()->selection(), NoteColor::peach);
    EXPECT_EQ(view->color(), std::nullopt);

    QTest::mouseClick(piece<ColorDots>()->dot(NoteColor::graphite), Qt::LeftButton);
    model->setDefaultColor(NoteColor::sky);
    EXPECT_EQ(view->paper(), NoteColor::graphite);
    EXPECT_EQ(piece<ColorDots>()->selection(), NoteColor::graphite);

    QWidget darkDesk;
    Appearance::force(&darkDesk, Scheme::dark);
    view->setParent(&darkDesk);
    EXPECT_EQ(Appearance::scheme(view.get()), Scheme::light);
    const QImage image = view->grab().toImage();
    EXPECT_EQ(image.pixelColor(510, 75).rgb() & 0xFFFFFF, Paper::fill(NoteColor::graphite).light());
    view->setParent(nullptr);
}

TEST_F(QuickNoteViewTest, APasteLongerThanTheLineHoldsSaysItWasCut)
{
    QApplication::clipboard()->setText(QString(40000, u'x'));
    piece<QLineEdit>("line")->paste();
    const QString cut = QStringLiteral("Cut at %1 characters: a quick note holds no more").arg(QLocale().toString(32767));
    EXPECT_EQ(preview(), QStringList{cut});

    press(Qt::Key_Backspace);
    EXPECT_EQ(preview(), QStringList{"Return to stick it on the desktop · Esc to close"})
        << "below the limit nothing was cut";
}

} // namespace
