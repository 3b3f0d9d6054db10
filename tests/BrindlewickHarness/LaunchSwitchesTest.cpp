#include "Patience.h"
#include "Pixels.h"
#include "QtPrinters.h"
#include "Theme/Paper.h"
#include "Theme/Theme.h"

#include "NoteCoding.h"
#include "NoteStore.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

// The real program, started with the developer switches in a session of its own (see
// support/with-session): the self-test, the screenshots and the demo world.
class LaunchSwitchesTest : public testing::Test {
protected:
    static QString binary() { return QStringLiteral(BRINDLEWICK_BINARY_DIR "/src/Brindlewick/brindlewick"); }

    QString path(const QString &name) const { return dir.filePath(name); }

    // Settings, data and the list of running programs go to the test's own folders, whatever the switch.
    void start(const QList<std::pair<QString, QString>> &switches)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path("config"));
        environment.insert(QStringLiteral("XDG_STATE_HOME"), path("state"));
        environment.insert(QStringLiteral("BRINDLEWICK_DATA_DIR"), path("live"));
        for (const auto &[name, value] : switches)
            environment.insert(name, value);
        process.setProcessEnvironment(environment);
        process.start(binary(), {});
        ASSERT_TRUE(process.waitForStarted()) << process.errorString().toStdString();
    }

    // Runs the program to its own end; its exit status.
    int run(const QList<std::pair<QString, QString>> &switches)
    {
        start(switches);
        EXPECT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        return process.exitCode();
    }

    QStringList pictures(const QString &folder) const
    {
        return QDir(folder).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    }

    QTemporaryDir dir;
    QProcess process;
};

TEST_F(LaunchSwitchesTest, SelfTestPassesWritesItsReportAndRemovesItsWorld)
{
    ASSERT_EQ(run({{"BRINDLEWICK_SELFTEST", path("selftest")}}), 0) << process.readAllStandardError().toStdString();

    QFile report(path("selftest/selftest.txt"));
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(report.readAll()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.last(), QStringLiteral("ALL PASS"));
    const QStringList checks = lines.mid(0, lines.size() - 1);
    EXPECT_EQ(checks.filter(QRegularExpression(QStringLiteral("^PASS "))), checks);
    EXPECT_TRUE(checks.contains(QStringLiteral("PASS peeks under the tray")));
    const QStringList printed = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(printed.mid(0, checks.size()), checks);
    EXPECT_FALSE(QFileInfo::exists(path("selftest/world")));
    EXPECT_FALSE(QFileInfo::exists(path("live/notes.json")));
}

// Numbered pairs at two pixels per point: the invoice note's lemon paper in each appearance. The
// pictures stay in the build folder for a person to look at.
TEST_F(LaunchSwitchesTest, SnapshotsComeInLightAndDarkPairs)
{
    const QString shots = QStringLiteral(BRINDLEWICK_BINARY_DIR "/snapshots/harness");
    QDir(shots).removeRecursively();
    ASSERT_EQ(run({{"BRINDLEWICK_SNAPSHOT_DIR", shots}}), 0) << process.readAllStandardError().toStdString();

    const QStringList files = pictures(shots);
    ASSERT_GE(files.size(), 2 * 30);
    ASSERT_EQ(files.size() % 2, 0);
    for (qsizetype i = 0; i < files.size(); i += 2) {
        EXPECT_TRUE(files[i].endsWith(u"-dark.png")) << files[i].toStdString();
        EXPECT_EQ(files[i + 1], QString(files[i]).replace(QStringLiteral("-dark.png"), QStringLiteral("-light.png")));
        EXPECT_TRUE(files[i].startsWith(QStringLiteral("%1-").arg(i / 2 + 1, 2, 10, QChar(u'0'))));
    }

    for (const auto &[scheme, name] : {std::pair(Scheme::light, "01-note-pinned-deadline-light.png"),
                                       std::pair(Scheme::dark, "01-note-pinned-deadline-dark.png")}) {
        const QImage image(shots + u'/' + name);
        ASSERT_EQ(image.size(), QSize(548, 508)) << name;
        EXPECT_LT(Pixels::distance(image.pixelColor(4, 4), Theme::desk.resolved(scheme)), 3) << name;
        EXPECT_LT(Pixels::distance(image.pixelColor(2 * (12 + 230), 2 * (12 + 140)),
                                   Paper::fill(NoteColor::lemon).resolved(scheme)), 8) << name;
    }
    // The footer shows as on the desktop: the deadline's label at the right (both notes have a
    // deadline) and, with the controls shown, the add-timer button at the left.
    struct Footer { const char *name; QRect points; };
    for (const Footer &footer : {Footer{"01-note-pinned-deadline-light.png", QRect(160, 202, 85, 22)},
                                 Footer{"02-note-controls-light.png", QRect(160, 202, 85, 22)},
                                 Footer{"02-note-controls-light.png", QRect(5, 202, 24, 24)},
                                 Footer{"06-note-deadline-days-ahead-dark.png", QRect(150, 184, 85, 22)}}) {
        const QImage image(shots + u'/' + footer.name);
        const QRect pixels(2 * (footer.points.topLeft() + QPoint(12, 12)), 2 * footer.points.size());
        const QColor paper = image.pixelColor(pixels.left(), pixels.top());
        int farthest = 0;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y)
            for (int x = pixels.left(); x <= pixels.right(); ++x)
                farthest = std::max(farthest, Pixels::distance(image.pixelColor(x, y), paper));
        EXPECT_GT(farthest, 80) << footer.name << ": nothing drawn in the footer at " << footer.points.x();
    }

    const QImage library(shots + u'/' + files.filter(QRegularExpression(QStringLiteral("library-all-light"))).value(0));
    EXPECT_EQ(library.size(), QSize(2 * (1180 + 24), 2 * (740 + 24)));
    EXPECT_FALSE(QFileInfo::exists(path("live/notes.json")));
}

// The screenshot switch wins over the self-test, and BRINDLEWICK_SNAPSHOT_ONLY keeps one appearance.
TEST_F(LaunchSwitchesTest, DarkOnlySnapshotsWinOverTheSelfTest)
{
    ASSERT_EQ(run({{"BRINDLEWICK_SNAPSHOT_DIR", path("shots")},
                   {"BRINDLEWICK_SNAPSHOT_ONLY", "dark"},
                   {"BRINDLEWICK_SELFTEST", path("selftest")}}),
              0);
    const QStringList files = pictures(path("shots"));
    ASSERT_GE(files.size(), 30);
    for (const QString &file : files)
        EXPECT_TRUE(file.endsWith(u"-dark.png")) << file.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("selftest")));
}

// The demo folder gets the ten demo notes as of now, and the program then runs normally on it until
// told to quit.
TEST_F(LaunchSwitchesTest, DemoFolderHoldsTheTenDemoNotes)
{
    const Date launched = Date::current();
    start({{"BRINDLEWICK_DEMO_DIR", path("demo")}});
    const QString notes = path("demo/data/notes.json");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QFile::exists(notes) || process.state() != QProcess::Running; }, patienceMs));
    ASSERT_EQ(process.state(), QProcess::Running) << process.readAllStandardError().toStdString();
    process.waitForFinished(500);
    ASSERT_EQ(process.state(), QProcess::Running);
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(patienceMs));
    EXPECT_EQ(process.exitCode(), 0);

    const NoteStore::Loaded loaded = NoteStore(path("demo/data")).load(Date::current());
    const NoteBook *book = std::get_if<NoteBook>(&loaded);
    ASSERT_NE(book, nullptr);
    ASSERT_EQ(book->notes.size(), 10);
    for (int number = 1; number <= 10; ++number) {
        EXPECT_EQ(book->notes[number - 1].id.toString(QUuid::WithoutBraces).toUpper(),
                  QStringLiteral("5717C4A0-0000-4000-8000-%1").arg(number, 12, 10, QChar(u'0')));
    }
    EXPECT_EQ(book->notes[1].text, QStringLiteral("Masala chai steeping \u2615\uFE0F"));
    EXPECT_GE(book->notes[0].created, launched - 18000);
    EXPECT_LE(book->notes[0].created, Date::current() - 18000);
    EXPECT_FALSE(QFileInfo::exists(path("live/notes.json")));
}

} // namespace
