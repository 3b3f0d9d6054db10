#include "EndToEndTest.h"

#include "Desktop.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTest>
#include <csignal>

namespace {

const QSize newNoteSize(250, 230);

} // namespace

void EndToEndTest::TearDown()
{
    for (QProcess *process : {&second, &brindlewick, &notificationServer}) {
        process->terminate();
        process->waitForFinished(3000);
    }
}

QString EndToEndTest::path(const QString &name) const
{
    return QDir(dir.path()).filePath(name);
}

void EndToEndTest::writeFile(const QString &name, const QByteArray &bytes) const
{
    writeTestFile(path(name), bytes);
}

void EndToEndTest::startNotificationServer(const QString &config)
{
    notificationServer.start("dunst", {"-config", config});
    ASSERT_TRUE(QTest::qWaitFor([] { return Desktop::output("dunstctl", {"is-paused"}) == "false"; }, patienceMs));
}

void EndToEndTest::launch(QProcess &process, const QStringList &command,
                          const std::function<void(QProcessEnvironment &)> &adjust) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("BRINDLEWICK_DATA_DIR", path("data"));
    environment.insert("XDG_CONFIG_HOME", path("config"));
    environment.insert("XDG_STATE_HOME", path("state"));
    environment.remove("QT_QPA_PLATFORM");
    if (adjust)
        adjust(environment);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    if (command.isEmpty())
        process.start(QStringLiteral(BRINDLEWICK_BINARY_DIR "/src/Brindlewick/brindlewick"), {});
    else
        process.start(command.first(), command.mid(1));
}

testing::AssertionResult EndToEndTest::quit(QProcess &process)
{
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    if (!process.waitForFinished(patienceMs))
        return testing::AssertionFailure() << "still running " << patienceMs / 1000 << " s after SIGTERM";
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return testing::AssertionFailure() << "ended with status " << process.exitStatus() << ", code "
                                           << process.exitCode();
    return testing::AssertionSuccess();
}

std::optional<NoteBook> EndToEndTest::notebook() const
{
    QFile file(path("data/notes.json"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return NoteCoding::decode(file.readAll(), Date::current());
}

std::optional<StickyNote> EndToEndTest::savedNote(const std::function<bool(const StickyNote &)> &check) const
{
    std::optional<StickyNote> found;
    const bool saved = QTest::qWaitFor([&] {
        const std::optional<NoteBook> book = notebook();
        if (book && book->notes.size() == 1 && check(book->notes.first()))
            found = book->notes.first();
        return found.has_value();
    }, patienceMs);
    return saved ? found : std::nullopt;
}

QJsonObject EndToEndTest::settings() const
{
    QFile file(path("config/Brindlewick/settings.json"));
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
}

// The tray's panel spans the top of the screen while the tray is on; no person switches to it.
QStringList EndToEndTest::programWindows()
{
    QStringList windows = Desktop::visibleWindows("brindlewick");
    windows.removeIf(
        [](const QString &window) { return Desktop::xdotool({"getwindowname", window}) == "Brindlewick tray"; });
    return windows;
}

QString EndToEndTest::noteWindow()
{
    for (const QString &window : programWindows()) {
        if (Desktop::size(window) == newNoteSize)
            return window;
    }
    return {};
}

bool EndToEndTest::floats(const QString &window)
{
    return Desktop::output("xprop", {"-id", window, "_NET_WM_STATE"}).contains("_NET_WM_STATE_ABOVE");
}

QRect EndToEndTest::onScreen(const NoteFrame &frame)
{
    const QRectF rect = frame.rect();
    const int screenHeight = Desktop::screenSize().height();
    return QRectF(rect.x(), screenHeight - rect.y() - rect.height(), rect.width(), rect.height()).toRect();
}
