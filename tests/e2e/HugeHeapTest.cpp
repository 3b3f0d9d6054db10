// The real binary keeps its heap in huge pages, which an idle program woken once a minute reaches far
// more cheaply, and still runs under its own name and with whatever malloc settings the user gave it.
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

QByteArray environmentValue(qint64 pid, const QByteArray &name)
{
    for (const QByteArray &entry : procFile(pid, "environ").split('\0')) {
        if (entry.startsWith(name + '='))
            return entry.mid(name.size() + 1);
    }
    return {};
}

qlonglong hugePagesKiB(qint64 pid)
{
    for (const QByteArray &line : procFile(pid, "smaps_rollup").split('\n')) {
        if (line.startsWith("AnonHugePages:"))
            return line.mid(14).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

bool kernelGivesHugePages()
{
    QFile file(QStringLiteral("/sys/kernel/mm/transparent_hugepage/enabled"));
    return file.open(QIODevice::ReadOnly) && !file.readAll().contains("[never]");
}

class HugeHeapTest : public EndToEndTest {};

TEST_F(HugeHeapTest, TheProgramRunsUnderItsOwnNameWithItsHeapInHugePagesUnlessTheUserChoseOtherwise)
{
    struct Case {
        const char *name;
        std::optional<QByteArray> given;
        // How the variable starts in the running program (the loader cuts its copy after the first
        // setting it reads): the user's own settings come first and stay.
        QByteArray runningStart;
        bool huge;
    };
    const Case cases[] = {
        {"nothing chosen", std::nullopt, "glibc.malloc.hugetlb=1", true},
        {"other settings chosen", "glibc.malloc.mxfast=0", "glibc.malloc.mxfast=0", true},
        {"huge pages refused", "glibc.malloc.hugetlb=0", "glibc.malloc.hugetlb=0", false},
    };
    for (const Case &c : cases) {
        const ScopedEnv tunables("GLIBC_TUNABLES", c.given);
        launch(brindlewick);
        ASSERT_TRUE(brindlewick.waitForStarted(5000)) << c.name;
        ASSERT_TRUE(QTest::qWaitFor([] { return !programWindows().isEmpty(); }, 10000)) << c.name;
        const qint64 pid = brindlewick.processId();

        EXPECT_EQ(procFile(pid, "comm").trimmed(), "brindlewick") << c.name << ": the name ps and top show";
        EXPECT_TRUE(environmentValue(pid, "GLIBC_TUNABLES").startsWith(c.runningStart))
            << c.name << ": " << environmentValue(pid, "GLIBC_TUNABLES").toStdString();
        if (kernelGivesHugePages()) {
            // The kernel hands a huge page over once a whole aligned 2 MiB of heap is in use, which
            // under load may come a moment after the first window.
            const bool huge = c.huge ? QTest::qWaitFor([pid] { return hugePagesKiB(pid) > 0; }, 5000)
                                     : hugePagesKiB(pid) > 0;
            EXPECT_EQ(huge, c.huge) << c.name << ": " << hugePagesKiB(pid) << " KiB";
        }
        EXPECT_TRUE(quit(brindlewick)) << c.name;
    }
}

} // namespace
