// The real binary runs as the one process that was started, under its own name and with the
// environment it was given, so what it starts in turn (a browser for a link, the next version after
// an update) gets the user's settings, and debuggers and profilers see the process they launched.
#include "EndToEndTest.h"
#include "ScopedEnv.h"

#include <QFile>
#include <QTest>

namespace {

QByteArray procFile(qint64 pid, const char *name)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::optional<QByteArray> environmentValue(qint64 pid, const QByteArray &name)
{
    for (const QByteArray &entry : procFile(pid, "environ").split('\0')) {
        if (entry.startsWith(name + '='))
            return entry.mid(name.size() + 1);
    }
    return std::nullopt;
}

class LaunchEnvironmentTest : public EndToEndTest {};

TEST_F(LaunchEnvironmentTest, TheProgramRunsUnderItsOwnNameWithTheEnvironmentItWasGiven)
{
    const std::optional<QByteArray> cases[] = {std::nullopt, QByteArray("glibc.malloc.mxfast=0")};
    for (const std::optional<QByteArray> &given : cases) {
        const ScopedEnv tunables("GLIBC_TUNABLES", given);
        launch(brindlewick);
        ASSERT_TRUE(brindlewick.waitForStarted(patienceMs));
        ASSERT_TRUE(QTest::qWaitFor([] { return !programWindows().isEmpty(); }, patienceMs));
        const qint64 pid = brindlewick.processId();

        EXPECT_EQ(procFile(pid, "comm").trimmed(), "brindlewick") << "the name ps and top show";
        EXPECT_EQ(environmentValue(pid, "GLIBC_TUNABLES"), given) << given.value_or("unset").toStdString();
        EXPECT_TRUE(quit(brindlewick));
    }
}

} // namespace
