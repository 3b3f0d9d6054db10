#include "LibraryFixture.h"
#include "Pixels.h"
#include "TestFiles.h"

#include "LibraryView/CardGrid.h"
#include "LibraryView/EmptyGrid.h"
#include "LibraryView/FocusSearch.h"
#include "LibraryView/NoteCard.h"
#include "LibraryView/NoteGrid.h"
#include "Theme/PlainButton.h"
#include "LibraryView/SearchField.h"
#include "Theme/ThemeLabel.h"
#include "Theme/CardStyle.h"
#include "Theme/PrimaryButton.h"
#include "Theme/QuietButton.h"
#include "Theme/SymbolLabel.h"
#include "Theme/Theme.h"

#include <QAccessible>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <functional>

namespace {

class NoteGridTest : public LibraryTest {
protected:
    NoteGridTest() : grid(model)
    {
        grid.resize(686, 740);
        grid.show();
    }

    QStringList cardTitles() const
    {
        QStringList titles;
        for (const NoteCard *card : grid.cardGrid()->cards())
            titles.append(card->note().title());
        return titles;
    }

    NoteCard *card(const QUuid &id) const
    {
        for (NoteCard *shownCard : grid.cardGrid()->cards()) {
            if (shownCard->note().id == id)
                return shownCard;
        }
        return nullptr;
    }

    static QStringList actionTexts(const QMenu *menu)
    {
        QStringList texts;
        for (const QAction *action : menu->actions())
            texts.append(action->isSeparator() ? QStringLiteral("—") : action->text());
        return texts;
    }

    static void trigger(QMenu *menu, const QString &text)
    {
        for (QAction *action : menu->actions()) {
            if (action->text() == text) {
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no menu item " << text.toStdString();
    }

    NoteGrid grid;
};

TEST_F(NoteGridTest, SubtitleSaysWhatTheGridShows)
{
    struct Case {
        NoteFilter filter;
        QString query;
        bool tray;
        NoteSort sort;
        QString subtitle;
    };
    const QList<Case> cases{
        {NoteFilter::all, {}, true, NoteSort::urgency, QStringLiteral("8 notes · sorted by time left")},
        {NoteFilter::all, {}, true, NoteSort::edited, QStringLiteral("8 notes · sorted by last edited")},
        {NoteFilter::pinned, {}, true, NoteSort::created, QStringLiteral("1 note · sorted by date created")},
        {NoteFilter::all, QStringLiteral("tea"), true, NoteSort::urgency, QStringLiteral("0 notes matching “tea”")},
        {NoteFilter::all, QStringLiteral(" "), true, NoteSort::urgency, QStringLiteral("8 notes matching “ ”")},
        {NoteFilter::done, QStringLiteral("pune"), true, NoteSort::urgency, QStringLiteral("1 note matching “pune”")},
        {NoteFilter::tucked, {}, true, NoteSort::urgency, QStringLiteral("3 notes tucked into the notch")},
        {NoteFilter::tucked, {}, false, NoteSort::urgency, QStringLiteral("The notch tray is off (Settings › Notch)")},
        {NoteFilter::deleted, {}, true, NoteSort::urgency, QStringLiteral("Deleted notes go for good after 30 days")},
    };
    for (const Case &c : cases) {
        model.setFilter(c.filter);
        model.setQuery(c.query);
        model.setTrayEnabled(c.tray);
        model.setSort(c.sort);
        EXPECT_EQ(grid.subtitleLabel()->text(), c.subtitle);
        EXPECT_EQ(grid.titleLabel()->text(), title(c.filter));
    }
    model.setQuery(QString());
    model.setFilter(NoteFilter::all);
    model.setBook(NoteBook());
    EXPECT_EQ(grid.subtitleLabel()->text(), QStringLiteral("0 notes · sorted by time left"));
}

TEST_F(NoteGridTest, SearchFindsWordsWhateverTheirCaseAndAccentsAndColourNames)
{
    QLineEdit *field = grid.searchField()->lineEdit();
    const QList<std::pair<QString, QStringList>> searches{
        {QStringLiteral("MÁSALA"), {QStringLiteral("Masala chai steeping ☕️")}},
        {QStringLiteral("mint"), {QStringLiteral("Laundry: move to the dryer"), QStringLiteral("Standup")}},
        {QStringLiteral("mint standup"), {QStringLiteral("Standup")}},
        {QStringLiteral("invoice timesheet"), {QStringLiteral("Send the Q4 invoice to Parvell & Sons")}},
    };
    for (const auto &[typed, titles] : searches) {
        field->clear();
        model.setQuery(QString());
        QTest::keyClicks(field, typed);
        EXPECT_EQ(model.query(), typed);
        QStringList shown = cardTitles();
        shown.sort();
        EXPECT_EQ(shown, titles) << typed.toStdString();
        EXPECT_TRUE(grid.searchField()->clearButton()->isVisibleTo(&grid));
    }
}

TEST_F(NoteGridTest, EscapeClearsTheQueryAndTheFocusWhileTheClearButtonKeepsTheFocus)
{
    grid.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    QLineEdit *field = grid.searchField()->lineEdit();
    FocusSearch::post();
    ASSERT_TRUE(field->hasFocus()) << "the focus request reaches the field";
    QTest::keyClicks(field, QStringLiteral("chai"));
    grid.searchField()->clearButton()->click();
    EXPECT_EQ(model.query(), QString());
    EXPECT_EQ(field->text(), QString());
    EXPECT_TRUE(field->hasFocus());
    EXPECT_FALSE(grid.searchField()->clearButton()->isVisibleTo(&grid));

    QTest::keyClicks(field, QStringLiteral("chai"));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(model.query(), QString());
    EXPECT_FALSE(field->hasFocus());

    FocusSearch::post();
    FocusSearch::post();
    EXPECT_TRUE(field->hasFocus()) << "a second request changes nothing";
    grid.hide();
    field->clearFocus();
    FocusSearch::post();
    EXPECT_FALSE(field->hasFocus()) << "a library that is not on screen ignores the request";
}

TEST_F(NoteGridTest, CardsFollowTheSortOrderAndTheSortMenuSetsIt)
{
    for (NoteSort sort : NoteSorts::allCases) {
        model.setSort(sort);
        QStringList expected;
        for (const StickyNote &note : model.visible())
            expected.append(note.title());
        EXPECT_EQ(cardTitles(), expected);
    }
    EXPECT_EQ(cardTitles().first(), QStringLiteral("Masala chai steeping ☕️")) << "the newest first";

    QMenu *menu = grid.sortMenu();
    QStringList entries = actionTexts(menu);
    entries.removeFirst();
    EXPECT_EQ(entries, (QStringList{QStringLiteral("Time left"), QStringLiteral("Last edited"),
                                    QStringLiteral("Date created")}));
    trigger(menu, QStringLiteral("Time left"));
    EXPECT_EQ(model.sort(), NoteSort::urgency);
    EXPECT_EQ(cardTitles().first(), QStringLiteral("Call Nimsa back about the venue")) << "overdue first";
    EXPECT_EQ(grid.sortButton()->toolTip(), QStringLiteral("Sort"));
}

TEST_F(NoteGridTest, AClickSelectsADoubleClickShowsOnTheDesktop)
{
    const QUuid launch = idOf(QStringLiteral("Write the launch post"));
    NoteCard *launchCard = card(launch);
    ASSERT_NE(launchCard, nullptr);
    QTest::mouseClick(launchCard, Qt::LeftButton, {}, launchCard->cardRect().center());
    EXPECT_EQ(model.selection(), launch);
    EXPECT_TRUE(card(launch)->isSelected());
    EXPECT_TRUE(shown.isEmpty());

    model.setNotesHidden(true);
    model.setRinging({launch});
    QTest::mouseDClick(launchCard, Qt::LeftButton, {}, launchCard->cardRect().center());
    EXPECT_EQ(shown, QList<QUuid>{launch});
    EXPECT_FALSE(model.notesHidden());
    EXPECT_TRUE(model.ringing().isEmpty());

    const QPoint margin = launchCard->mapTo(grid.cardGrid(), QPoint(1, 1));
    QTest::mouseClick(grid.cardGrid(), Qt::LeftButton, {}, margin);
    EXPECT_EQ(model.selection(), launch) << "the space between cards selects nothing";
}

TEST_F(NoteGridTest, AScreenReaderHearsEachCardAsAButtonAndTheSelectedOneAsSelected)
{
    const QUuid launch = idOf(QStringLiteral("Write the launch post"));
    const QUuid standup = idOf(QStringLiteral("Standup"));
    const auto read = [this](const QUuid &id) { return QAccessible::queryAccessibleInterface(card(id)); };
    struct Case { std::optional<QUuid> selection; bool launchSelected; bool standupSelected; };
    for (const Case &c : {Case{std::nullopt, false, false}, Case{launch, true, false}, Case{standup, false, true}}) {
        model.setSelection(c.selection);
        for (const auto &[id, selected] : {std::pair{launch, c.launchSelected}, std::pair{standup, c.standupSelected}}) {
            QAccessibleInterface *spoken = read(id);
            ASSERT_NE(spoken, nullptr);
            EXPECT_EQ(spoken->role(), QAccessible::Button);
            EXPECT_TRUE(spoken->state().selectable);
            EXPECT_EQ(spoken->state().selected, selected) << spoken->text(QAccessible::Name).toStdString();
            EXPECT_TRUE(spoken->text(QAccessible::Name).startsWith(card(id)->note().title()));
        }
    }

    QAccessibleActionInterface *press = read(launch)->actionInterface();
    ASSERT_NE(press, nullptr);
    ASSERT_TRUE(press->actionNames().contains(QAccessibleActionInterface::pressAction()));
    press->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(model.selection(), launch) << "pressing the card selects its note, as a click does";
    EXPECT_TRUE(read(launch)->state().selected);
    EXPECT_FALSE(read(standup)->state().selected);
}

TEST_F(NoteGridTest, TheContextMenuOffersWhatFitsTheNote)
{
    const QUuid chai = idOf(QStringLiteral("Masala chai"));
    std::unique_ptr<QMenu> menu(grid.cardGrid()->contextMenu(stored(chai)));
    EXPECT_EQ(actionTexts(menu.get()),
              (QStringList{QStringLiteral("Show on Desktop"), QStringLiteral("Put on the Desktop"),
                           QStringLiteral("Float Above Other Windows"), QStringLiteral("Mark Done"),
                           QStringLiteral("Duplicate"), QStringLiteral("—"), QStringLiteral("Delete")}));
    trigger(menu.get(), QStringLiteral("Put on the Desktop"));
    EXPECT_FALSE(stored(chai).tucked);
    trigger(menu.get(), QStringLiteral("Float Above Other Windows"));
    EXPECT_TRUE(stored(chai).pinned);

    menu.reset(grid.cardGrid()->contextMenu(stored(chai)));
    EXPECT_TRUE(actionTexts(menu.get()).contains(QStringLiteral("Tuck into the Notch")));
    EXPECT_TRUE(actionTexts(menu.get()).contains(QStringLiteral("Stop Floating")));
    trigger(menu.get(), QStringLiteral("Show on Desktop"));
    EXPECT_EQ(shown, QList<QUuid>{chai});
    trigger(menu.get(), QStringLiteral("Mark Done"));
    EXPECT_TRUE(stored(chai).isDone());
    menu.reset(grid.cardGrid()->contextMenu(stored(chai)));
    EXPECT_TRUE(actionTexts(menu.get()).contains(QStringLiteral("Not Done")));

    const qsizetype notes = model.book().notes.size();
    model.setSelection(chai);
    trigger(menu.get(), QStringLiteral("Duplicate"));
    ASSERT_EQ(model.book().notes.size(), notes + 1);
    const StickyNote copy = model.book().notes.last();
    EXPECT_EQ(copy.text, stored(chai).text);
    EXPECT_EQ(model.selection(), copy.id) << "the copy is selected";
    trigger(menu.get(), QStringLiteral("Delete"));
    EXPECT_TRUE(stored(chai).isDeleted());
    ASSERT_TRUE(model.banner());
    EXPECT_EQ(model.banner()->text, QStringLiteral("Deleted “Masala chai steeping ☕️”"));

    menu.reset(grid.cardGrid()->contextMenu(stored(chai)));
    EXPECT_EQ(actionTexts(menu.get()), (QStringList{QStringLiteral("Restore"), QStringLiteral("Delete Forever")}));
    trigger(menu.get(), QStringLiteral("Restore"));
    EXPECT_TRUE(stored(chai).isLive());
    model.deleteNotes({chai});
    menu.reset(grid.cardGrid()->contextMenu(stored(chai)));
    trigger(menu.get(), QStringLiteral("Delete Forever"));
    EXPECT_FALSE(model.book()[chai]);
}

TEST_F(NoteGridTest, EmptyStatesSayWhyNothingIsShown)
{
    model.setFilter(NoteFilter::pinned);
    model.setQuery(QStringLiteral("zebra"));
    EXPECT_FALSE(grid.scrollArea()->isVisibleTo(&grid));
    ASSERT_TRUE(grid.emptyGrid()->isVisibleTo(&grid));
    EXPECT_EQ(grid.emptyGrid()->reason(), EmptyGrid::Reason::search);
    EXPECT_EQ(grid.emptyGrid()->titleLabel()->text(), QStringLiteral("No notes match “zebra”"));

    model.setQuery(QString());
    model.setFilter(NoteFilter::overdue);
    model.setBook(NoteBook({stored(idOf(QStringLiteral("Old wifi")))}));
    EXPECT_EQ(grid.emptyGrid()->reason(), EmptyGrid::Reason::filter);
    EXPECT_EQ(grid.emptyGrid()->titleLabel()->text(), QStringLiteral("Nothing overdue."));
    model.setFilter(NoteFilter::all);
    EXPECT_EQ(grid.emptyGrid()->titleLabel()->text(), QStringLiteral("No notes here."))
        << "a deleted note still counts as a note";
    EXPECT_FALSE(grid.emptyGrid()->newNoteButton()->isVisibleTo(&grid));

    model.setBook(NoteBook());
    EXPECT_EQ(grid.emptyGrid()->reason(), EmptyGrid::Reason::noNotes);
    EXPECT_EQ(grid.emptyGrid()->titleLabel()->text(), QStringLiteral("No notes yet"));
    ASSERT_TRUE(grid.emptyGrid()->newNoteButton()->isVisibleTo(&grid));
    grid.emptyGrid()->newNoteButton()->click();
    ASSERT_EQ(model.book().notes.size(), 1);
    EXPECT_EQ(shown, QList<QUuid>{model.book().notes.first().id});
    EXPECT_TRUE(grid.scrollArea()->isVisibleTo(&grid));
    EXPECT_EQ(grid.cardGrid()->cards().size(), 1);
}

// The filter's symbol over its empty text is drawn the first time the grid runs empty.
TEST_F(NoteGridTest, AnEmptyFilterShowsItsSymbolTheFirstTime)
{
    model.setFilter(NoteFilter::overdue);
    model.setBook(NoteBook({stored(idOf(QStringLiteral("Old wifi")))}));
    ASSERT_EQ(grid.emptyGrid()->reason(), EmptyGrid::Reason::filter);
    QCoreApplication::sendPostedEvents();
    const SymbolLabel *symbol = grid.emptyGrid()->symbolLabel();
    ASSERT_TRUE(symbol->isVisibleTo(&grid));
    const QRect place(symbol->mapTo(&grid, QPoint(0, 0)), symbol->size());
    EXPECT_GE(place.width(), 20);
    const QImage image = Pixels::grab(&grid);
    EXPECT_LE(Pixels::nearest(image, place, Theme::ink3.resolved(&grid)), 24) << "no ink in the symbol's place";
}

TEST_F(NoteGridTest, TheToolbarOffersNewNoteOrUnderDeletedEmpty)
{
    grid.newNoteButton()->click();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(stored(shown.first()).color, model.defaultColor());
    EXPECT_FALSE(stored(shown.first()).tucked);
    EXPECT_EQ(grid.newNoteButton()->accessibleName(), QStringLiteral("New Note"));
    EXPECT_EQ(grid.newNoteButton()->text(), QStringLiteral("New Note"));
    grid.resize(440, 740);
    EXPECT_EQ(grid.newNoteButton()->text(), QString()) << "a narrow toolbar keeps only the symbol";

    model.setFilter(NoteFilter::deleted);
    EXPECT_FALSE(grid.newNoteButton()->isVisibleTo(&grid));
    ASSERT_TRUE(grid.emptyButton()->isVisibleTo(&grid));
    EXPECT_TRUE(grid.emptyButton()->isEnabled());
    grid.emptyButton()->click();
    EXPECT_EQ(model.count(NoteFilter::deleted), 0);
    EXPECT_FALSE(model.banner()) << "emptying offers no undo";
    EXPECT_FALSE(grid.emptyButton()->isEnabled());
}

TEST_F(NoteGridTest, TheLoadProblemStaysUntilOk)
{
    EXPECT_FALSE(grid.loadProblemCard()->isVisibleTo(&grid));
    model.setLoadProblem(QStringLiteral("The notes file could not be read."));
    ASSERT_TRUE(grid.loadProblemCard()->isVisibleTo(&grid));
    EXPECT_EQ(grid.loadProblemText()->text(), QStringLiteral("The notes file could not be read."));
    grid.loadProblemButton()->click();
    EXPECT_FALSE(model.loadProblem());
    EXPECT_FALSE(grid.loadProblemCard()->isVisibleTo(&grid));
}

TEST_F(NoteGridTest, WhileTheNotesCannotBeReadTheMessageOffersToTryAgain)
{
    const QString data = dir.filePath(QStringLiteral("data"));
    QDir(data).removeRecursively();
    writeTestFile(data, "a file where the folder should be");
    model.load();
    ASSERT_TRUE(grid.loadProblemCard()->isVisibleTo(&grid));
    EXPECT_EQ(grid.loadProblemButton()->text(), QStringLiteral("Try Again"));
    grid.loadProblemButton()->click();
    EXPECT_TRUE(model.loadProblem()) << "still unreadable: the message stays";

    QFile::remove(data);
    grid.loadProblemButton()->click();
    EXPECT_FALSE(model.loadProblem());
    EXPECT_FALSE(grid.loadProblemCard()->isVisibleTo(&grid));
}

TEST(CardGridColumns, AsManyColumnsAsFitCentredAndNoWiderThan260)
{
    struct Case {
        qreal width;
        int count;
        qreal columnWidth;
    };
    for (const Case &c : {Case{300, 1, 260}, Case{440, 2, 192}, Case{452, 2, 198}, Case{600, 2, 260},
                          Case{634, 3, 187.333}, Case{686, 3, 204.667}, Case{2000, 9, 203.556}}) {
        const CardGrid::Columns columns = CardGrid::columns(c.width);
        EXPECT_EQ(columns.count, c.count) << c.width;
        EXPECT_NEAR(columns.width, c.columnWidth, 0.001) << c.width;
        const qreal used = columns.count * columns.width + (columns.count - 1) * 16;
        EXPECT_NEAR(columns.left * 2 + used, c.width, 0.01) << "centred";
    }
}

} // namespace

TEST_F(NoteGridTest, AHundredThousandTuckedNotesShowTheirFirstPageAndEachPageAsItIsScrolledTo)
{
    QList<StickyNote> notes;
    for (int i = 0; i < 100000; ++i) {
        StickyNote note(QUuid::createUuid(), QStringLiteral("Tucked %1").arg(i), NoteColor::sky, t0 - 100000 + i);
        note.tucked = true;
        notes.append(note);
    }
    model.setSort(NoteSort::created);
    model.setBook(NoteBook(notes));
    QApplication::processEvents();
    const QList<StickyNote> visible = model.visible();
    const QList<NoteCard *> &cards = grid.cardGrid()->cards();
    ASSERT_FALSE(cards.isEmpty());
    EXPECT_LT(cards.size(), 60);
    EXPECT_EQ(cards.first()->note().id, visible.first().id);
    EXPECT_TRUE(cards.first()->isVisible());

    QScrollBar *scroll = grid.scrollArea()->verticalScrollBar();
    scroll->setValue(scroll->maximum());
    QApplication::processEvents();
    EXPECT_LT(cards.size(), 60);
    EXPECT_EQ(cards.last()->note().id, visible.last().id);
    const QRect viewport(QPoint(0, 0), grid.scrollArea()->viewport()->size());
    const QPoint lastCard = cards.last()->mapTo(grid.scrollArea()->viewport(), cards.last()->cardRect().center());
    EXPECT_TRUE(viewport.contains(lastCard));
}

// A selection moved by the keyboard is brought into view, however far down the grid it lies.
TEST_F(NoteGridTest, TheKeyboardsSelectionIsScrolledIntoView)
{
    QList<StickyNote> notes;
    for (int i = 0; i < 300; ++i)
        notes.append(StickyNote(QUuid::createUuid(), QStringLiteral("Note %1").arg(i), NoteColor::mint, t0 - 1000 + i));
    model.setSort(NoteSort::created);
    model.setBook(NoteBook(notes));
    QApplication::processEvents();
    CardGrid *cards = grid.cardGrid();
    cards->enter();
    const QWidget *viewport = grid.scrollArea()->viewport();
    const auto selectedCardInView = [&] {
        for (const NoteCard *card : cards->cards()) {
            if (card->isSelected())
                return QRect(QPoint(0, 0), viewport->size())
                    .contains(QRect(card->mapTo(viewport, card->cardRect().topLeft()), card->cardRect().size()));
        }
        return false;
    };
    const QList<StickyNote> visible = model.visible();
    const auto at = [&](const QUuid &id) {
        return std::find_if(visible.begin(), visible.end(), [&](const StickyNote &n) { return n.id == id; })
               - visible.begin();
    };
    const qsizetype perRow = CardGrid::columns(cards->width()).count;
    struct Step {
        Qt::Key key;
        std::function<bool(qsizetype)> lands;
    };
    const Step steps[] = {
        {Qt::Key_End, [&](qsizetype i) { return i == visible.size() - 1; }},
        {Qt::Key_Home, [](qsizetype i) { return i == 0; }},
        {Qt::Key_PageDown, [&](qsizetype i) { return i >= 2 * perRow && i % perRow == 0; }},
        {Qt::Key_PageUp, [](qsizetype i) { return i == 0; }},
    };
    for (const Step &step : steps) {
        QTest::keyClick(cards, step.key);
        QApplication::processEvents();
        EXPECT_TRUE(step.lands(at(*model.selection()))) << step.key << " went to " << at(*model.selection());
        EXPECT_TRUE(selectedCardInView()) << step.key;
    }
}
