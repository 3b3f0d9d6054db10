#include "Shell/MenuBarItem.h"
#include "Shell/MenuBarLabel.h"
#include "Shell/MenuBarMenu.h"
#include "SharedModel.h"

#include <QAction>

namespace {

using TestNotes::note;
using TestNotes::pausedTimer;
using TestNotes::runningTimer;

class MenuBarTest : public SharedModelTest {
protected:
    // The visible texts of the menu down to its first divider: the note entries and their summary.
    QStringList noteLines() const
    {
        QStringList lines;
        for (const QAction *action : menu.actions()) {
            if (action->isSeparator())
                break;
            if (action->isVisible())
                lines.append(action->text());
        }
        return lines;
    }

    QAction *command(const QString &text) const
    {
        for (QAction *action : menu.actions()) {
            if (action->isVisible() && action->text() == text)
                return action;
        }
        return nullptr;
    }

    void putLiveNotes(int count)
    {
        for (int number = 1; number <= count; ++number)
            put(note(number, t0 - 100 * number));
    }

    MenuBarMenu menu{model};
};

TEST_F(MenuBarTest, ListsTheFirstTenLiveNotesAndSumsUpTheRest)
{
    struct Case {
        int live;
        int doneAndDeleted;
        int entries;
        QString last;
    };
    const QList<Case> cases{
        {0, 0, 0, "No notes"},
        {0, 2, 0, "No notes"},
        {1, 0, 1, "Note 1"},
        {10, 2, 10, "Note 10"},
        {11, 0, 10, "and 1 more…"},
        {13, 3, 10, "and 3 more…"},
    };
    for (const Case &c : cases) {
        model.setBook(NoteBook());
        putLiveNotes(c.live);
        for (int extra = 0; extra < c.doneAndDeleted; ++extra) {
            StickyNote gone = note(100 + extra, t0);
            (extra % 2 ? gone.deletedAt : gone.doneAt) = t0;
            put(gone);
        }
        const QStringList lines = noteLines();
        const int summaries = c.live == 0 || c.live > MenuBarMenu::mostNotes ? 1 : 0;
        EXPECT_EQ(lines.size(), c.entries + summaries) << c.live << " live: " << lines.join(" | ").toStdString();
        EXPECT_EQ(lines.value(lines.size() - 1), c.last) << c.live << " live";
        EXPECT_FALSE(lines.contains("Note 100") || lines.contains("Note 101")) << c.live << " live";
    }
}

TEST_F(MenuBarTest, EntriesShowTheCountdownOnceItRunsMostUrgentFirst)
{
    StickyNote ready = note(1, t0, "Ready timer");
    ready.timer = NoteTimer(600);
    StickyNote paused = note(2, t0, "Paused timer");
    paused.timer = pausedTimer(600, 120);
    StickyNote running = note(3, t0, "Tea");
    running.timer = runningTimer(300, 65, now);
    StickyNote due = note(4, t0, "Invoice");
    due.setDeadline(now + 7200, now - 3600);
    StickyNote plain = note(5, t0, "Plain & simple");
    for (const StickyNote &n : {ready, paused, running, due, plain})
        put(n);

    const QList<MenuBarMenu::Entry> entries = MenuBarMenu::entries(model.book().notes, now);
    QStringList texts;
    for (const MenuBarMenu::Entry &entry : entries)
        texts.append(entry.text);
    EXPECT_EQ(texts, (QStringList{"Tea  ·  1:05", "Invoice  ·  2 h", "Ready timer", "Paused timer  ·  2:00",
                                  "Plain & simple"}));
    EXPECT_EQ(noteLines().value(4), "Plain && simple");

    now = now + 5;
    model.tick();
    menu.popup(QPoint());
    EXPECT_EQ(noteLines().value(0), "Tea  ·  1:00") << "the menu opens with the current countdown";
    now = now + 1;
    model.tick();
    EXPECT_EQ(noteLines().value(0), "Tea  ·  0:59") << "and follows it while open";
    menu.hide();
}

TEST_F(MenuBarTest, ChoosingANoteShowsHiddenNotesAnswersItsRingAndBringsItForward)
{
    const QUuid tea = put(note(1, t0, "Tea"));
    const QUuid other = put(note(2, t0, "Other"));
    model.setNotesHidden(true);
    model.setRinging({tea, other});
    QList<QUuid> shown;
    model.onShow = [&](const QUuid &id) { shown.append(id); };

    command("Tea")->trigger();

    EXPECT_FALSE(model.notesHidden());
    EXPECT_EQ(model.ringing(), QSet<QUuid>{other});
    EXPECT_EQ(shown, QList<QUuid>{tea});
}

TEST_F(MenuBarTest, HideNotesTitleFollowsTheModelAndFlipsIt)
{
    ASSERT_NE(command("Hide Notes"), nullptr);
    command("Hide Notes")->trigger();
    EXPECT_TRUE(model.notesHidden());
    ASSERT_NE(command("Show Notes"), nullptr);
    model.setNotesHidden(false);
    EXPECT_NE(command("Hide Notes"), nullptr);
}

TEST_F(MenuBarTest, LabelShowsTheMostPressingCountdownBySymbol)
{
    struct Case {
        const char *what;
        std::function<void(StickyNote &)> give;
        QString symbol;
        QString title;
    };
    const QList<Case> cases{
        {"no time", [](StickyNote &) {}, "note.text", ""},
        {"ready timer", [](StickyNote &n) { n.timer = NoteTimer(300); }, "note.text", ""},
        {"running timer", [&](StickyNote &n) { n.timer = runningTimer(300, 299, now); }, "timer", "4:59"},
        {"paused timer", [](StickyNote &n) { n.timer = pausedTimer(300, 60); }, "note.text", ""},
        {"deadline", [&](StickyNote &n) { n.setDeadline(now + 5400, now - 3600); }, "flag", "1 h 30 min"},
        {"finished timer", [&](StickyNote &n) { n.timer = runningTimer(300, -5, now); }, "exclamationmark.circle",
         "Time’s up"},
        {"passed deadline", [&](StickyNote &n) { n.setDeadline(now - 600, now - 3600); },
         "exclamationmark.circle", "Overdue 10 min"},
    };
    for (const Case &c : cases) {
        StickyNote n = note(1, t0);
        c.give(n);
        StickyNote done = note(2, t0);
        done.timer = runningTimer(300, 10, now);
        done.doneAt = now;
        const MenuBarLabel label = MenuBarLabel::make({n, done}, now);
        EXPECT_EQ(label.symbol, c.symbol) << c.what;
        EXPECT_EQ(label.title, c.title) << c.what;
        EXPECT_EQ(label.toolTip(), c.title.isEmpty() ? "Brindlewick" : c.title) << c.what;
    }
}

TEST_F(MenuBarTest, StatusItemFollowsItsSettingAndTheCountdown)
{
    MenuBarItem item(model);
    EXPECT_TRUE(item.trayIcon().isVisible());
    EXPECT_EQ(item.trayIcon().toolTip(), "Brindlewick");

    StickyNote tea = note(1, t0, "Tea");
    tea.timer = runningTimer(300, 125, now);
    put(tea);
    EXPECT_EQ(item.trayIcon().toolTip(), "2:05");
    now = now + 1;
    model.tick();
    EXPECT_EQ(item.trayIcon().toolTip(), "2:04");
    EXPECT_FALSE(item.trayIcon().icon().isNull());

    model.setShowMenuBarItem(false);
    EXPECT_FALSE(item.trayIcon().isVisible());
    model.setShowMenuBarItem(true);
    EXPECT_TRUE(item.trayIcon().isVisible());
}

// The words change every second, the icon only when a step of its ring is passed; a finished timer
// stays ahead of the next countdown, answered or not, until it is dealt with.
TEST_F(MenuBarTest, StatusIconChangesOnlyWithItsPictureAndKeepsAnOverdueTimerAhead)
{
    MenuBarItem item(model);
    StickyNote tea = note(1, t0, "Tea");
    tea.timer = runningTimer(240, 240, now);
    put(tea);
    StickyNote report = note(2, t0, "Report");
    report.setDeadline(now + 7200, now - 3600);
    put(report);
    const qint64 full = item.trayIcon().icon().cacheKey();
    const double step = 240.0 / MenuBarLabel::ringSteps;

    now = now + 1;
    model.tick();
    EXPECT_EQ(item.trayIcon().toolTip(), "3:59");
    EXPECT_EQ(item.trayIcon().icon().cacheKey(), full);
    now = now + step;
    model.tick();
    EXPECT_NE(item.trayIcon().icon().cacheKey(), full);

    now = t0 + 241;
    model.tick();
    ASSERT_EQ(model.ringing(), QSet<QUuid>{tea.id});
    EXPECT_EQ(item.trayIcon().toolTip(), "Time’s up");
    model.stopRinging(tea.id);
    EXPECT_EQ(item.trayIcon().toolTip(), "Time’s up") << "an answered ring still shows while the timer is over";
    model.addTime(tea.id, 60);
    EXPECT_EQ(item.trayIcon().toolTip(), "1:00");
    model.toggleDone(tea.id);
    EXPECT_EQ(item.trayIcon().toolTip(), "1 h 55 min") << "the report is next";
}

// The item looks at the clock only when its label can change; it must never miss the moment.
TEST_F(MenuBarTest, TheStatusItemFollowingTheClockShowsWhatOneMadeAtThatMomentShows)
{
    const auto picture = [](const MenuBarItem &item) { return item.trayIcon().icon().pixmap(64).toImage(); };
    const auto report = [](Date from) {
        StickyNote n = note(1, from, "Report");
        n.setDeadline(from + 200, from - 40);
        return n;
    };
    const auto handOver = [](Date from) {
        StickyNote n = note(2, from, "Paused tea, nearer deadline");
        n.timer = pausedTimer(900, 150);
        n.setDeadline(from + 170, from - 600);
        return n;
    };
    const auto tea = [](Date from) {
        StickyNote n = note(3, from, "Tea");
        n.timer = runningTimer(60, 30.5, from);
        return n;
    };
    using Make = std::function<StickyNote(Date)>;
    struct Case { QList<Make> notes; double seconds; };
    const QList<Case> cases{{{report}, 230}, {{handOver}, 40}, {{report, tea}, 45}};
    for (const Case &c : cases) {
        for (const StickyNote &n : model.book().notes)
            model.deleteForever(n.id);
        const Date from = now;
        for (const Make &make : c.notes)
            put(make(from));
        const std::string name = model.book().notes.value(0).text.toStdString();
        MenuBarItem followed(model);
        for (double later = 0; later <= c.seconds; later += 1) {
            now = from + later;
            model.tick();
            const MenuBarItem fresh(model);
            ASSERT_EQ(followed.trayIcon().toolTip(), fresh.trayIcon().toolTip()) << name << " +" << later;
            ASSERT_EQ(picture(followed), picture(fresh)) << name << " +" << later;
        }
    }
}

} // namespace
