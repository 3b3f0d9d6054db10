#include "LibraryFixture.h"
#include "Pixels.h"

#include "LibraryView/FilterRow.h"
#include "LibraryView/NextUpCard.h"
#include "LibraryView/Sidebar.h"
#include "Theme/Appearance.h"
#include "Theme/Theme.h"
#include "Theme/TimeTape.h"

#include <QAccessible>
#include <QTest>
#include <functional>

namespace {

class SidebarTest : public LibraryTest {
protected:
    SidebarTest() : sidebar(model)
    {
        sidebar.resize(204, 740);
        sidebar.show();
    }

    FilterRow *row(NoteFilter filter) const { return sidebar.row(filter); }

    // How far the row's symbol is from `color` at its closest pixel.
    int symbolDistance(NoteFilter filter, const QColor &color)
    {
        FilterRow *shownRow = row(filter);
        const QImage image = Pixels::grab(shownRow);
        return Pixels::nearest(image, QRect(10, 6, 18, 18), color);
    }

    Sidebar sidebar;
};

TEST_F(SidebarTest, RowsCountTheirNotesAndOnlyOverdueIsRed)
{
    const std::map<NoteFilter, int> expected{{NoteFilter::all, 8},    {NoteFilter::pinned, 1},
                                             {NoteFilter::timers, 3}, {NoteFilter::overdue, 1},
                                             {NoteFilter::tucked, 3}, {NoteFilter::done, 1},
                                             {NoteFilter::deleted, 1}};
    for (NoteFilter filter : NoteFilters::allCases) {
        SCOPED_TRACE(toString(filter).toStdString());
        EXPECT_EQ(row(filter)->count(), model.count(filter));
        if (expected.count(filter)) {
            EXPECT_EQ(row(filter)->count(), expected.at(filter));
        }
        EXPECT_EQ(row(filter)->accessibleName(), QStringLiteral("%1, %2").arg(title(filter)).arg(model.count(filter)));
        EXPECT_EQ(row(filter)->countColor(), filter == NoteFilter::overdue ? Theme::alarm : Theme::ink3);
        EXPECT_EQ(row(filter)->isSelected(), filter == NoteFilter::all);
    }
    EXPECT_EQ(row(NoteFilter::all)->symbolColor(), Theme::accent);
    EXPECT_EQ(row(NoteFilter::overdue)->symbolColor(), Theme::alarm);
    EXPECT_EQ(row(NoteFilter::timers)->symbolColor(), Theme::ink2);

    for (Scheme scheme : {Scheme::light, Scheme::dark}) {
        Appearance::force(&sidebar, scheme);
        EXPECT_LE(symbolDistance(NoteFilter::overdue, Theme::alarm.resolved(scheme)), 24);
        EXPECT_GT(symbolDistance(NoteFilter::timers, Theme::alarm.resolved(scheme)), 60);
    }
}

TEST_F(SidebarTest, CountsAndTheOverdueRedFollowTheClock)
{
    StickyNote soon(QUuid::createUuid(), QStringLiteral("Due in half a minute"), NoteColor::mint, t0 - 60);
    soon.setDeadline(t0 + 30, t0 - 60);
    put(soon);
    model.advance(29);
    EXPECT_EQ(row(NoteFilter::overdue)->count(), 1);
    model.advance(1);
    EXPECT_EQ(row(NoteFilter::overdue)->count(), 2) << "counted on the tick the deadline arrives";
    EXPECT_EQ(row(NoteFilter::overdue)->accessibleName(), QStringLiteral("Overdue, 2"));

    model.setBook(NoteBook({stored(idOf(QStringLiteral("Standup")))}));
    EXPECT_EQ(row(NoteFilter::overdue)->count(), 0);
    EXPECT_EQ(row(NoteFilter::overdue)->symbolColor(), Theme::ink2) << "no red without an overdue note";
    model.setFilter(NoteFilter::overdue);
    EXPECT_EQ(row(NoteFilter::overdue)->symbolColor(), Theme::accent);
}

TEST_F(SidebarTest, AnEmptyNotebookShowsNoCountsAndNoCard)
{
    model.setBook(NoteBook());
    for (NoteFilter filter : NoteFilters::allCases) {
        EXPECT_EQ(row(filter)->count(), 0);
        EXPECT_NE(row(filter)->symbolColor(), Theme::alarm);
    }
    EXPECT_EQ(row(NoteFilter::done)->accessibleName(), QStringLiteral("Done, 0"));
    EXPECT_FALSE(sidebar.nextUp()->isVisible());

    // A row with no notes paints no number: its right end shows only the sidebar.
    Appearance::force(&sidebar, Scheme::light);
    const QImage image = Pixels::grab(row(NoteFilter::timers));
    EXPECT_GT(Pixels::nearest(image, QRect(image.width() - 40, 4, 30, 22), Theme::ink3.resolved(Scheme::light)), 60);
}

TEST_F(SidebarTest, ChoosingARowChangesOnlyTheFilter)
{
    const QUuid standup = idOf(QStringLiteral("Standup"));
    model.setSelection(standup);
    QTest::mouseClick(row(NoteFilter::done), Qt::LeftButton, {}, QPoint(row(NoteFilter::done)->width() / 2, 15));
    EXPECT_EQ(model.filter(), NoteFilter::done);
    EXPECT_EQ(model.selection(), standup) << "the selection stays although Done hides it";
    EXPECT_TRUE(row(NoteFilter::done)->isSelected());
    EXPECT_FALSE(row(NoteFilter::all)->isSelected());
    EXPECT_EQ(row(NoteFilter::done)->symbolColor(), Theme::accent);

    // From the keyboard Space and Return choose a row as well.
    const std::pair<Qt::Key, NoteFilter> keys[] = {
        {Qt::Key_Return, NoteFilter::timers}, {Qt::Key_Space, NoteFilter::overdue}, {Qt::Key_Enter, NoteFilter::all}};
    for (const auto &[key, filter] : keys) {
        QTest::keyClick(row(filter), key);
        EXPECT_EQ(model.filter(), filter) << title(filter).toStdString();
    }
    EXPECT_EQ(model.selection(), standup);
}

TEST_F(SidebarTest, TheDividerStandsOnlyBetweenTheLiveFiltersAndDone)
{
    QList<int> gaps;
    for (size_t i = 1; i < NoteFilters::allCases.size(); ++i)
        gaps.append(row(NoteFilters::allCases[i])->y() - row(NoteFilters::allCases[i - 1])->geometry().bottom());
    const auto doneIndex = qsizetype(std::find(NoteFilters::allCases.begin(), NoteFilters::allCases.end(),
                                               NoteFilter::done) - NoteFilters::allCases.begin()) - 1;
    for (qsizetype i = 0; i < gaps.size(); ++i)
        EXPECT_EQ(gaps[i], i == doneIndex ? 3 + 13 + 2 : 3) << "gap before row " << i + 1;
}

TEST_F(SidebarTest, TheNextUpCardShowsTheMostPressingLiveNoteAndSelectsIt)
{
    NextUpCard *card = sidebar.nextUp();
    const QUuid call = idOf(QStringLiteral("Call Nimsa"));
    ASSERT_TRUE(card->isVisible());
    EXPECT_EQ(card->shown().note.id, call);
    EXPECT_EQ(card->kickerText(), QStringLiteral("Overdue"));
    EXPECT_EQ(card->tape()->countdown(), Countdowns::primary(stored(call), model.now()));

    // A click, Space or Return selects it.
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"click", [&] { QTest::mouseClick(card, Qt::LeftButton, {}, QPoint(card->width() / 2, card->height() - 6)); }},
        {"Space", [&] { QTest::keyClick(card, Qt::Key_Space); }},
        {"Return", [&] { QTest::keyClick(card, Qt::Key_Return); }},
    };
    for (const auto &[way, choose] : ways) {
        model.setFilter(NoteFilter::deleted);
        model.setSelection(std::nullopt);
        choose();
        EXPECT_EQ(model.selection(), call) << way;
        EXPECT_EQ(model.filter(), NoteFilter::all) << way;
    }

    model.toggleDone(call);
    const QUuid chai = idOf(QStringLiteral("Masala chai"));
    EXPECT_EQ(card->shown().note.id, chai) << "done notes leave the card; tucked ones may take it";
    EXPECT_EQ(card->kickerText(), QStringLiteral("Next up"));
}

TEST_F(SidebarTest, TheNextUpTitleWrapsToTwoLinesAndIsCut)
{
    StickyNote call = stored(idOf(QStringLiteral("Call Nimsa")));
    call.text = QStringLiteral("A very long title that keeps going well past the width of the little card in the "
                               "sidebar and then some more words");
    put(call);
    QApplication::processEvents();
    ASSERT_EQ(sidebar.nextUp()->shown().note.id, call.id);
    const QStringList lines = sidebar.nextUp()->titleLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("…")));
    EXPECT_TRUE(call.title().startsWith(lines.first()));
}

} // namespace

TEST_F(SidebarTest, AHiddenSidebarLeavesTheNotebookAloneAndCatchesUpWhenShown)
{
    sidebar.hide();
    const int before = row(NoteFilter::all)->count();
    model.newNote(QStringLiteral("Written while the library was closed"), std::nullopt, std::nullopt, false,
                  std::nullopt, false, std::nullopt);
    model.advance(60);
    EXPECT_EQ(row(NoteFilter::all)->count(), before);

    sidebar.show();
    EXPECT_EQ(row(NoteFilter::all)->count(), before + 1);
}
