#include "ShellTestHelper.h"

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(QuitSignals, EachQuitSignalEndsTheProcessNormallyAfterTheQuitHandlersRan)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const QTemporaryDir dir;
        const QString saved = dir.filePath(QStringLiteral("saved"));
        QProcess child;
        startShellTestHelper(child, {QStringLiteral("quit-on-signal"), saved});
        ASSERT_TRUE(waitForLine(child, "ready"));

        ASSERT_EQ(::kill(static_cast<pid_t>(child.processId()), signal), 0);
        ASSERT_TRUE(child.waitForFinished(patienceMs));
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(child.exitCode(), 0) << signal;
        EXPECT_EQ(contents(saved), "saved") << signal;
    }
}

} // namespace
