#include "Start/Autostart.h"
#include "State/FileWriter.h"
#include "Patience.h"
#include "ScopedEnv.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The keys of a desktop entry's main group, as a desktop reads them (values unescaped).
QMap<QString, QString> desktopEntry(const QByteArray &text)
{
    QMap<QString, QString> keys;
    bool inEntry = false;
    for (const QByteArray &line : text.split('\n')) {
        if (line.startsWith('['))
            inEntry = line == "[Desktop Entry]";
        const qsizetype equals = line.indexOf('=');
        if (inEntry && equals > 0)
            keys.insert(QString::fromUtf8(line.left(equals)), QString::fromUtf8(line.mid(equals + 1)));
    }
    return keys;
}

// Installs and waits for the writer to be done with it.
void install(const QString &program)
{
    Autostart::install(program);
    ASSERT_TRUE(FileWriter::shared().finish(QDeadlineTimer(patienceMs)));
}

TEST(Autostart, TheEntryStartsTheProgramThatWroteItQuotedAsTheDesktopEntryRulesSay)
{
    struct Case {
        QString program;
        QString exec;
    };
    const QList<Case> cases{
        {"/usr/bin/brindlewick", "/usr/bin/brindlewick --autostart"},
        {"/home/ann/My Apps/brindlewick", "\"/home/ann/My Apps/brindlewick\" --autostart"},
        {"/opt/100%/brindlewick", "/opt/100%%/brindlewick --autostart"},
        {"/opt/a$b\"c`d/brindlewick", "\"/opt/a\\\\$b\\\\\"c\\\\`d/brindlewick\" --autostart"},
        {"/opt/back\\slash/brindlewick", "\"/opt/back\\\\\\\\slash/brindlewick\" --autostart"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(desktopEntry(Autostart::entry(c.program)).value("Exec"), c.exec) << c.program.toStdString();
}

// The session shows the entry under the program's own name, icon and description.
TEST(Autostart, TheEntryNamesTheProgramAsItsDesktopEntryDoes)
{
    QFile packaged(QStringLiteral(BRINDLEWICK_TEST_SUPPORT "/../../packaging/brindlewick.desktop"));
    ASSERT_TRUE(packaged.open(QIODevice::ReadOnly));
    const QMap<QString, QString> desktop = desktopEntry(packaged.readAll());
    const QMap<QString, QString> autostart = desktopEntry(Autostart::entry("/usr/bin/brindlewick"));
    for (const char *key : {"Type", "Name", "Comment", "Icon"})
        EXPECT_EQ(autostart.value(key), desktop.value(key)) << key;
    EXPECT_TRUE(Autostart::entryPath().endsWith("/autostart/" + QFileInfo(packaged).fileName()));
}

// Written once: an entry the user disabled (or one of their own) is never written over.
TEST(Autostart, InstallWritesTheEntryIntoTheConfigurationFolderOnlyWhereThereIsNone)
{
    QTemporaryDir dir;
    const ScopedEnv config("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
    const ScopedEnv state("XDG_STATE_HOME", dir.filePath("state").toUtf8());
    const QString path = dir.filePath("config/autostart/brindlewick.desktop");
    ASSERT_EQ(Autostart::entryPath(), path);

    install("/usr/bin/brindlewick");
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), Autostart::entry("/usr/bin/brindlewick"));

    const QByteArray disabled = "[Desktop Entry]\nType=Application\nExec=brindlewick\nHidden=true\n";
    writeTestFile(path, disabled);
    install("/opt/other/brindlewick");
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), disabled);

    // Removed in the desktop's settings: it stays away, whatever became of the program's settings.
    ASSERT_TRUE(QFile::remove(path));
    install("/usr/bin/brindlewick");
    EXPECT_FALSE(QFileInfo::exists(path));
}

} // namespace
