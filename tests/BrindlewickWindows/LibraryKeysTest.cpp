// "All Notes" used from the keyboard alone, in real windows under a window manager: Tab reaches the
// cards, the arrow keys, Home and End move the selection, Return opens the note on the desktop, and
// Down from the search field goes on to what it found. Tab goes through the inspector without
// touching the note and out of the grid without scrolling it; a note deleted by the keyboard comes
// back with Ctrl+Z; Ctrl+W closes the window.
#include "FocusMarks.h"
#include "Patience.h"
#include "X11Probe.h"

#include "LibraryView/CardGrid.h"
#include "LibraryView/FilterRow.h"
#include "LibraryView/Inspector.h"
#include "LibraryView/LibraryView.h"
#include "LibraryView/NextUpCard.h"
#include "LibraryView/NoteGrid.h"
#include "LibraryView/SearchField.h"
#include "LibraryView/Sidebar.h"
#include "Theme/PlainButton.h"
#include "NoteWindows/NotePanel.h"
#include "NoteWindows/NoteWindows.h"
#include "Shell/AppCommands.h"
#include "Shell/LibraryWindow.h"
#include "State/AppModel.h"
#include "State/RecordingNotifier.h"
#include "QtPrinters.h"
#include "Theme/PaperEditor.h"
#include "Theme/QuietButton.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

bool press(const QString &key)
{
    return X11Probe::xdotool({QStringLiteral("key"), key});
}

class LibraryKeysTest : public testing::Test {
protected:
    LibraryKeysTest()
        : model(Paths{dir.filePath(QStringLiteral("data"))}, SettingsStore(dir.filePath(QStringLiteral("settings.json"))),
                std::make_unique<RecordingNotifier>())
    {
        for (const char *text : {"Tea", "Invoice", "Call Ana", "Plants", "Rent", "Gym", "Books"})
            model.newNote(QString::fromLatin1(text));
        // On the desktop but hidden, so opening one is what brings it up.
        model.setNotesHidden(true);
        model.onShow = [this](const QUuid &id) { windows.show(id); };
        library.bringForward();
    }

    void SetUp() override { ASSERT_TRUE(QTest::qWaitForWindowActive(library.window(), patienceMs)); }

    NoteGrid *noteGrid() const { return library.window()->findChild<LibraryView *>()->grid(); }
    CardGrid *cards() const { return noteGrid()->cardGrid(); }
    Inspector *inspector() const { return library.window()->findChild<LibraryView *>()->inspector(); }

    // Presses Tab (or another key) until the keyboard reaches `target`.
    bool tabTo(const QWidget *target, const QString &key = QStringLiteral("Tab"))
    {
        for (int presses = 0; presses < 60 && QApplication::focusWidget() != target; ++presses) {
            const QWidget *before = QApplication::focusWidget();
            if (!press(key) || !QTest::qWaitFor([&] { return QApplication::focusWidget() != before; }, patienceMs))
                return false;
        }
        return QApplication::focusWidget() == target;
    }

    // Clicks into the search field and types `text` there.
    bool typeInSearch(const QString &text)
    {
        QLineEdit *search = noteGrid()->searchField()->lineEdit();
        const QPoint at = search->mapToGlobal(search->rect().center());
        return X11Probe::xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                                  QStringLiteral("click"), QStringLiteral("1")})
               && QTest::qWaitFor([&] { return search->hasFocus(); }, patienceMs)
               && X11Probe::xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text})
               && QTest::qWaitFor([&] { return model.query() == text; }, patienceMs);
    }

    // The position of the selected note among those the grid shows.
    qsizetype selectedIndex() const
    {
        const QList<StickyNote> visible = model.visible();
        for (qsizetype i = 0; i < visible.size(); ++i) {
            if (visible[i].id == model.selection())
                return i;
        }
        return -1;
    }

    // The note's panel once it is shown and is the window that takes the keys.
    bool opensActive(const QUuid &id)
    {
        return QTest::qWaitFor(
            [&] {
                const NotePanel *panel = windows.panel(id);
                return panel && panel->isActiveWindow() && X11Probe::isViewable(panel);
            },
            patienceMs);
    }

    QTemporaryDir dir;
    AppModel model;
    NoteWindows windows{model};
    LibraryWindow library{model};
};

TEST_F(LibraryKeysTest, TabReachesTheCardsWhoseKeysMoveTheSelectionAndReturnOpensTheNote)
{
    ASSERT_TRUE(tabTo(cards())) << "Tab never reached the cards";
    EXPECT_TRUE(QTest::qWaitFor([&] { return selectedIndex() == 0; }, patienceMs))
        << "coming in selects the first note";

    const int perRow = CardGrid::columns(cards()->width()).count;
    ASSERT_GE(perRow, 2);
    struct Step {
        const char *key;
        qsizetype index;
    };
    const Step steps[] = {
        {"Right", 1}, {"Down", 1 + perRow}, {"Left", perRow}, {"Up", 0}, {"Left", 0},
        {"End", 6},   {"Right", 6},         {"Home", 0},      {"Right", 1},
    };
    for (const Step &step : steps) {
        ASSERT_TRUE(press(QString::fromLatin1(step.key)));
        EXPECT_TRUE(QTest::qWaitFor([&] { return selectedIndex() == step.index; }, patienceMs))
            << step.key << " left the selection at " << selectedIndex() << ", not " << step.index;
    }

    // The menu key opens the selected note's menu; Escape closes it and leaves the cards the keys.
    for (const char *key : {"Menu", "shift+F10"}) {
        ASSERT_TRUE(press(QString::fromLatin1(key)));
        ASSERT_TRUE(
            QTest::qWaitFor([] { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); }, patienceMs))
            << key;
        EXPECT_EQ(QApplication::activePopupWidget()->actions().first()->text(), QStringLiteral("Show on Desktop"));
        ASSERT_TRUE(press(QStringLiteral("Escape")));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return !QApplication::activePopupWidget() && cards()->hasFocus(); }, patienceMs));
    }

    const QUuid chosen = model.visible()[1].id;
    ASSERT_TRUE(press(QStringLiteral("Return")));
    EXPECT_TRUE(opensActive(chosen));
    EXPECT_FALSE(model.notesHidden());
}

TEST_F(LibraryKeysTest, DownFromTheSearchFieldGoesOnToWhatItFoundAndReturnOpensIt)
{
    ASSERT_TRUE(typeInSearch(QStringLiteral("ana")));

    ASSERT_TRUE(press(QStringLiteral("Down")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return cards()->hasFocus(); }, patienceMs));
    ASSERT_EQ(model.visible().size(), 1);
    const QUuid ana = model.visible().first().id;
    EXPECT_TRUE(QTest::qWaitFor([&] { return model.selection() == ana; }, patienceMs));

    ASSERT_TRUE(press(QStringLiteral("Return")));
    EXPECT_TRUE(opensActive(ana));
}

// Tab leaves the inspector's text for the next control, and Shift+Tab comes back, typing nothing.
TEST_F(LibraryKeysTest, TabGoesThroughTheInspectorWithoutTouchingTheNote)
{
    const QUuid id = model.visible().first().id;
    model.setSelection(id);
    const StickyNote before = *model.book()[id];
    QWidget *editor = inspector()->textEditor();
    ASSERT_TRUE(tabTo(editor));
    ASSERT_TRUE(tabTo(inspector()->trashButton())) << "the controls below the text are reached";
    ASSERT_TRUE(tabTo(editor, QStringLiteral("shift+Tab")));
    EXPECT_EQ(model.book()[id]->text, before.text);
    EXPECT_EQ(model.book()[id]->edited, before.edited);
}

// Leaving a long grid by Tab, at the top or scrolled to the end, leaves it where it was; coming back
// lands on the selected card.
TEST_F(LibraryKeysTest, TabOutOfALongGridKeepsItsPlaceAndComingBackLandsOnTheSelectedCard)
{
    for (qsizetype i = model.visible().size(); i < 60; ++i)
        model.newNote(QStringLiteral("Note %1").arg(i));
    ASSERT_TRUE(tabTo(cards()));
    const QScrollBar *scroll = noteGrid()->scrollArea()->verticalScrollBar();
    for (const auto &[key, index] : {std::pair{"Home", 0}, std::pair{"End", 59}}) {
        ASSERT_TRUE(press(QString::fromLatin1(key)));
        ASSERT_TRUE(QTest::qWaitFor([&] { return selectedIndex() == index; }, patienceMs)) << key;
        const int place = scroll->value();
        ASSERT_TRUE(press(QStringLiteral("Tab")) && QTest::qWaitFor([&] { return !cards()->hasFocus(); }, patienceMs));
        QTest::qWait(100);
        EXPECT_EQ(scroll->value(), place) << "after " << key;
        ASSERT_TRUE(press(QStringLiteral("shift+Tab")) && QTest::qWaitFor([&] { return cards()->hasFocus(); }, patienceMs));
        EXPECT_EQ(selectedIndex(), index) << key;
        EXPECT_EQ(scroll->value(), place) << key;
    }
}

// Deleted by the keyboard, on the cards or with the inspector's trash, the note goes with the undo
// banner and the keyboard stays on the cards, on the note that took its place, so Ctrl+Z brings it back.
TEST_F(LibraryKeysTest, ANoteDeletedByTheKeyboardComesBackWithCtrlZ)
{
    const std::pair<const char *, std::function<bool()>> ways[] = {
        {"Delete on the cards", [&] { return press(QStringLiteral("Delete")); }},
        {"Space on the trash", [&] { return tabTo(inspector()->trashButton()) && press(QStringLiteral("space")); }},
    };
    for (const auto &[way, deleteSecond] : ways) {
        ASSERT_TRUE(tabTo(cards()) && press(QStringLiteral("Home")) && press(QStringLiteral("Right")));
        ASSERT_TRUE(QTest::qWaitFor([&] { return selectedIndex() == 1; }, patienceMs));
        const QUuid gone = model.visible()[1].id;
        const QUuid next = model.visible()[2].id;
        ASSERT_TRUE(deleteSecond());
        ASSERT_TRUE(QTest::qWaitFor([&] { return model.book()[gone]->isDeleted(); }, patienceMs)) << way;
        EXPECT_TRUE(QTest::qWaitFor([&] { return model.selection() == next && cards()->hasFocus(); }, patienceMs))
            << way << ": the keyboard is on the next card";
        ASSERT_TRUE(press(QStringLiteral("ctrl+z")));
        EXPECT_TRUE(QTest::qWaitFor([&] { return model.book()[gone]->isLive(); }, patienceMs)) << way;
    }
}

TEST_F(LibraryKeysTest, EveryStopShowsThatItHasTheKeyboardTheCardsIncluded)
{
    model.setSelection(model.visible()[2].id);
    ASSERT_TRUE(tabTo(noteGrid()->sortButton()));
    EXPECT_EQ(FocusMarks::unmarkedStops(library.window(), 60), QStringList());
}

// Tab goes down the sidebar as it is drawn: the filters, then the "Next up" card below them, and on
// out of the sidebar.
TEST_F(LibraryKeysTest, TabGoesDownTheSidebarToTheNextUpCardBelowTheFilters)
{
    model.newNote(QStringLiteral("Pay the rent"), std::nullopt, std::nullopt, false, Date::current() + 3600);
    const Sidebar *sidebar = library.window()->findChild<Sidebar *>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sidebar->nextUp()->isVisible(); }, patienceMs));
    ASSERT_TRUE(tabTo(sidebar->row(NoteFilter::all)));
    QList<const QWidget *> stops;
    for (const NoteFilter filter : NoteFilters::allCases)
        stops.append(sidebar->row(filter));
    stops.append(sidebar->nextUp());
    for (qsizetype i = 1; i < stops.size(); ++i) {
        ASSERT_TRUE(press(QStringLiteral("Tab")));
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == stops[i]; }, patienceMs))
            << "stop " << i << " is a " << QApplication::focusWidget()->metaObject()->className();
    }
    ASSERT_TRUE(press(QStringLiteral("Tab")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !sidebar->isAncestorOf(QApplication::focusWidget()); }, patienceMs));
}

// The menus open the Linux way, by Alt and the title's letter, or F10 for the first. The Edit menu's
// text group acts on the field that has the keyboard and is greyed out where none has it, and the
// keys stay the field's: Ctrl+Z undoes the typing there, and on the cards the deletion.
TEST_F(LibraryKeysTest, MenusOpenByAltOrF10AndTheEditMenusTextGroupActsOnTheFocusedField)
{
    AppCommands commands(model);
    library.setMenus(commands.menus());
    const auto openMenu = [] { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); };
    const auto menuCloses = [&] {
        return press(QStringLiteral("Escape")) && QTest::qWaitFor([&] { return !openMenu(); }, patienceMs);
    };
    for (const char *key : {"alt+f", "F10"}) {
        ASSERT_TRUE(press(QString::fromLatin1(key)));
        ASSERT_TRUE(QTest::qWaitFor(openMenu, patienceMs)) << key;
        EXPECT_EQ(openMenu()->title(), QStringLiteral("&File")) << key;
        ASSERT_TRUE(menuCloses()) << key;
        ASSERT_TRUE(press(QStringLiteral("Escape"))) << "the menu bar lets go of the keyboard";
    }

    QLineEdit *search = noteGrid()->searchField()->lineEdit();
    ASSERT_TRUE(typeInSearch(QStringLiteral("tea")));
    ASSERT_TRUE(press(QStringLiteral("ctrl+z")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return search->text().isEmpty(); }, patienceMs)) << "Ctrl+Z undoes the typing";
    ASSERT_TRUE(press(QStringLiteral("ctrl+shift+z")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return search->text() == QStringLiteral("tea"); }, patienceMs));

    const std::pair<const char *, std::function<bool()>> items[] = {
        {"a", [&] { return search->selectedText() == QStringLiteral("tea"); }},
        {"c", [] { return QGuiApplication::clipboard()->text() == QStringLiteral("tea"); }},
        {"t", [&] { return search->text().isEmpty(); }},
        {"p", [&] { return search->text() == QStringLiteral("tea"); }},
        {"u", [&] { return search->text().isEmpty(); }},
    };
    for (const auto &[letter, done] : items) {
        ASSERT_TRUE(press(QStringLiteral("alt+e")));
        ASSERT_TRUE(QTest::qWaitFor(openMenu, patienceMs)) << letter;
        ASSERT_TRUE(press(QString::fromLatin1(letter)));
        EXPECT_TRUE(QTest::qWaitFor([&] { return done() && search->hasFocus(); }, patienceMs)) << "Edit, " << letter;
    }

    ASSERT_TRUE(tabTo(cards()));
    const auto enabledItems = [&] {
        QStringList enabled;
        for (const QAction *item : openMenu()->actions())
            if (!item->isSeparator() && item->isEnabled())
                enabled.append(item->text());
        return enabled;
    };
    ASSERT_TRUE(press(QStringLiteral("alt+e")) && QTest::qWaitFor(openMenu, patienceMs));
    EXPECT_EQ(enabledItems(), QStringList{QStringLiteral("Search Notes")}) << "no text has the keyboard";
    ASSERT_TRUE(menuCloses());
    ASSERT_TRUE(press(QStringLiteral("Escape")) && QTest::qWaitFor([&] { return cards()->hasFocus(); }, patienceMs));

    // A deletion on the cards comes back with Ctrl+Z, or with the menu's Undo.
    for (const char *undo : {"ctrl+z", "alt+e u"}) {
        const QUuid gone = model.selection().value_or(QUuid());
        ASSERT_TRUE(press(QStringLiteral("Delete")));
        ASSERT_TRUE(QTest::qWaitFor([&] { return model.book()[gone]->isDeleted() && cards()->hasFocus(); }, patienceMs));
        ASSERT_TRUE(X11Probe::xdotool(QStringList{QStringLiteral("key")} + QString::fromLatin1(undo).split(u' ')));
        EXPECT_TRUE(QTest::qWaitFor([&] { return model.book()[gone]->isLive(); }, patienceMs)) << undo;
    }
}

TEST_F(LibraryKeysTest, CtrlWClosesTheWindow)
{
    ASSERT_TRUE(press(QStringLiteral("ctrl+w")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !library.window()->isVisible(); }, patienceMs));
}

} // namespace
