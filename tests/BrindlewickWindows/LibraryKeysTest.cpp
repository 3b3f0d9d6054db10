// "All Notes" used from the keyboard alone, in real windows under a window manager: Tab reaches the
// cards, the arrow keys, Home and End move the selection, Return opens the note on the desktop, and
// Down from the search field goes on to what it found.
#include "Patience.h"
#include "X11Probe.h"

#include "LibraryView/CardGrid.h"
#include "LibraryView/LibraryView.h"
#include "LibraryView/NoteGrid.h"
#include "LibraryView/SearchField.h"
#include "NoteWindows/NotePanel.h"
#include "NoteWindows/NoteWindows.h"
#include "Shell/LibraryWindow.h"
#include "State/AppModel.h"
#include "State/RecordingNotifier.h"
#include "QtPrinters.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
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
    for (int presses = 0; presses < 20 && QApplication::focusWidget() != cards(); ++presses) {
        const QWidget *before = QApplication::focusWidget();
        ASSERT_TRUE(press(QStringLiteral("Tab")));
        if (!QTest::qWaitFor([&] { return QApplication::focusWidget() != before; }, patienceMs))
            break;
    }
    ASSERT_EQ(QApplication::focusWidget(), cards()) << "Tab never reached the cards";
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
    QLineEdit *search = noteGrid()->searchField()->lineEdit();
    const QPoint at = search->mapToGlobal(search->rect().center());
    ASSERT_TRUE(X11Probe::xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                                   QStringLiteral("click"), QStringLiteral("1")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return search->hasFocus(); }, patienceMs));
    ASSERT_TRUE(X11Probe::xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"),
                                   QStringLiteral("ana")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.query() == QStringLiteral("ana"); }, patienceMs));

    ASSERT_TRUE(press(QStringLiteral("Down")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return cards()->hasFocus(); }, patienceMs));
    ASSERT_EQ(model.visible().size(), 1);
    const QUuid ana = model.visible().first().id;
    EXPECT_TRUE(QTest::qWaitFor([&] { return model.selection() == ana; }, patienceMs));

    ASSERT_TRUE(press(QStringLiteral("Return")));
    EXPECT_TRUE(opensActive(ana));
}

} // namespace
