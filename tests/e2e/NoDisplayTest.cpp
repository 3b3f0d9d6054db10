// The real binary started where there is no desktop to show it on: from a text console or over ssh.
#include "EndToEndTest.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

TEST(NoDisplay, TheProgramSaysInOneLineThatItNeedsADesktopAndEndsWithoutACrash)
{
    struct Case { const char *name; QList<std::pair<QString, QString>> display; const char *says; };
    const Case cases[] = {
        {"neither variable", {}, "neither DISPLAY nor WAYLAND_DISPLAY is set"},
        {"both empty", {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, "neither DISPLAY nor WAYLAND_DISPLAY is set"},
        {"a display nobody serves", {{"DISPLAY", ":249"}}, "no X server answers on DISPLAY=:249"},
    };
    for (const Case &c : cases) {
        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        for (const auto &[name, value] : c.display)
            environment.insert(name, value);
        environment.insert("BRINDLEWICK_DATA_DIR", home.filePath("data"));
        environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
        QProcess brindlewick;
        brindlewick.setProcessEnvironment(environment);
        brindlewick.start(QStringLiteral(BRINDLEWICK_BINARY_DIR "/src/Brindlewick/brindlewick"), {});
        ASSERT_TRUE(brindlewick.waitForFinished(patienceMs)) << c.name;

        EXPECT_EQ(brindlewick.exitStatus(), QProcess::NormalExit) << c.name << ": no abort, no core dump";
        EXPECT_NE(brindlewick.exitCode(), 0) << c.name;
        const QStringList lines =
            QString::fromUtf8(brindlewick.readAllStandardError() + brindlewick.readAllStandardOutput())
                .split(u'\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 1) << c.name << ": " << lines.join(u'|').toStdString();
        EXPECT_TRUE(lines.first().contains("needs a graphical desktop session")) << lines.first().toStdString();
        EXPECT_TRUE(lines.first().contains(c.says)) << lines.first().toStdString();
        EXPECT_FALSE(QFile::exists(home.filePath("data/notes.json"))) << c.name << ": nothing written";
    }
}

} // namespace
