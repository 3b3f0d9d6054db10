#include "Patience.h"
#include "ScopedEnv.h"
#include "Platform/AppLinks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A stand-in settings program that writes its arguments into `<name>.ran`.
QString fakeProgram(const QDir &bin, const QString &name)
{
    const QString path = bin.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\necho \"$@\" > \"$0.ran\"\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

struct Case {
    const char *name;
    QStringList installed;
    const char *desktop;
    QStringList expected; // program name then arguments; empty for none
};

TEST(AppLinks, FindsTheDesktopsNotificationSettingsOnPath)
{
    const Case cases[] = {
        {"nothing installed", {}, "GNOME", {}},
        {"GNOME", {"gnome-control-center"}, "GNOME", {"gnome-control-center", "notifications"}},
        {"KDE", {"systemsettings"}, "KDE", {"systemsettings", "kcm_notifications"}},
        {"KDE's only, elsewhere", {"systemsettings"}, "XFCE", {"systemsettings", "kcm_notifications"}},
        {"both, on GNOME", {"gnome-control-center", "systemsettings"}, "ubuntu:GNOME",
         {"gnome-control-center", "notifications"}},
        {"both, on KDE", {"gnome-control-center", "systemsettings"}, "KDE", {"systemsettings", "kcm_notifications"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QDir bin(dir.path());
        for (const QString &program : c.installed)
            fakeProgram(bin, program);
        ScopedEnv path("PATH", dir.path().toUtf8());
        ScopedEnv desktop("XDG_CURRENT_DESKTOP", QByteArray(c.desktop));

        const auto command = AppLinks::notificationSettingsCommand();
        if (c.expected.isEmpty()) {
            EXPECT_FALSE(command.has_value());
            continue;
        }
        ASSERT_TRUE(command.has_value());
        QStringList wanted = c.expected;
        wanted.first() = bin.filePath(wanted.first());
        EXPECT_EQ(*command, wanted);
    }
}

TEST(AppLinks, OpeningStartsTheSettingsProgramAndWithoutOneDoesNothing)
{
    QTemporaryDir dir;
    const QDir bin(dir.path());
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", QByteArray("GNOME"));
    {
        ScopedEnv path("PATH", dir.path().toUtf8());
        AppLinks::openNotificationSettings();
    }
    const QString program = fakeProgram(bin, QStringLiteral("gnome-control-center"));
    ScopedEnv path("PATH", dir.path().toUtf8());
    AppLinks::openNotificationSettings();
    QFile ran(program + QStringLiteral(".ran"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ran.exists() && ran.size() > 0; }, patienceMs));
    ASSERT_TRUE(ran.open(QIODevice::ReadOnly));
    EXPECT_EQ(ran.readAll().trimmed(), QByteArray("notifications"));
}

} // namespace
