#include "HarnessFixture.h"

#include "Harness/DemoData.h"
#include "NoteWindows/NoteWindows.h"
#include "NoteWindows/ScreenSpace.h"
#include "State/AppModel.h"
#include "State/RecordingNotifier.h"
#include "State/SettingsStore.h"

#include "TestFiles.h"
#include "YUp.h"

#include <QDir>
#include <QFile>

namespace {

class DemoDataTest : public HarnessTest {
protected:
    AppModel model{Paths{path("live")}, SettingsStore(path("settings.json")), std::make_unique<RecordingNotifier>()};
    const Date then = DemoData::frozenNow();

    void write(const QString &name, const QByteArray &bytes) const { writeTestFile(path(name), bytes); }

    NoteBook savedBook() const
    {
        const NoteStore::Loaded loaded = NoteStore(path("world/data")).load(then);
        const NoteBook *book = std::get_if<NoteBook>(&loaded);
        return book ? *book : NoteBook();
    }
};

TEST_F(DemoDataTest, FillsTheWorldWithTheTenDemoNotesSavedAndTheWelcomeDone)
{
    DemoData::prepare(model, path("world"), then, true);

    const NoteBook saved = savedBook();
    ASSERT_EQ(saved.notes.size(), 10);
    EXPECT_EQ(saved, model.book());
    EXPECT_EQ(saved.notes.first().id, QUuid::fromString(QStringLiteral("5717C4A0-0000-4000-8000-000000000001")));
    EXPECT_EQ(saved.notes.first().created, then - 18000);
    // Laid out from the top left of the main screen's usable area, y up.
    const QRectF screen = ScreenSpace::mainVisibleFrame().value_or(NoteWindows::fallbackArea);
    EXPECT_EQ(saved.notes.first().frame->rect(), QRectF(screen.x() + 60, YUp::maxY(screen) - 70 - 230, 250, 230));
    EXPECT_TRUE(model.isDemo());
    EXPECT_EQ(model.paths().data, path("world/data"));
    EXPECT_EQ(model.defaults(), SettingsStore::demo());
    EXPECT_EQ(SettingsStore::demo().boolValue(SettingsKeys::welcomeDone), true);
    EXPECT_FALSE(QFile::exists(path("live/notes.json")));
    EXPECT_FALSE(SettingsStore(path("settings.json")).boolValue(SettingsKeys::welcomeDone));

    model.start();
    EXPECT_FALSE(model.showWelcome());
    EXPECT_EQ(model.book().notes.size(), 10);
}

TEST_F(DemoDataTest, FrozenClockStandsStillAndALiveOneRuns)
{
    DemoData::prepare(model, path("world"), then, true);
    EXPECT_EQ(model.clock(), then);
    model.advance(60);
    EXPECT_EQ(model.clock(), then + 60);

    const Date before = Date::current();
    DemoData::prepare(model, path("world"), std::nullopt, false);
    const Date after = Date::current();
    EXPECT_GE(model.now(), before);
    EXPECT_LE(model.now(), after);
    EXPECT_GE(model.book().notes.first().created, before - 18000);
    EXPECT_GE(model.clock(), after);
}

// A world made again starts over: an earlier run's notes and damaged files go, and so do its
// settings; files the world did not write stay, so a mistyped folder loses nothing.
TEST_F(DemoDataTest, StartsOverButLeavesForeignFilesAlone)
{
    write("world/data/notes.json", "{\"version\":1,\"notes\":[]}");
    write("world/data/notes.damaged-700000000.json", "garbage");
    write("world/data/keep.txt", "mine");
    write("world/report.pdf", "mine too");
    SettingsStore::demo().setString(SettingsKeys::sort, QStringLiteral("created"));

    DemoData::prepare(model, path("world"), then, true);

    EXPECT_EQ(savedBook().notes.size(), 10);
    EXPECT_FALSE(QFile::exists(path("world/data/notes.damaged-700000000.json")));
    EXPECT_TRUE(QFile::exists(path("world/data/keep.txt")));
    EXPECT_TRUE(QFile::exists(path("world/report.pdf")));
    EXPECT_EQ(SettingsStore::demo().stringValue(SettingsKeys::sort), QStringLiteral("urgency"));
}

TEST_F(DemoDataTest, RemoveTakesTheWorldAwayWithTheFoldersItEmptied)
{
    DemoData::prepare(model, path("world"), then, true);
    DemoData::remove(path("world"));
    EXPECT_FALSE(QFileInfo::exists(path("world")));

    DemoData::prepare(model, path("world"), then, true);
    write("world/notes-by-hand.txt", "mine");
    DemoData::remove(path("world"));
    EXPECT_FALSE(QFileInfo::exists(path("world/data")));
    EXPECT_TRUE(QFile::exists(path("world/notes-by-hand.txt")));
}

} // namespace
