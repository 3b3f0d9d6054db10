#include "State/Paths.h"
#include "State/TrayOpen.h"
#include "QtPrinters.h"
#include "ScopedEnv.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Paths, DataFolderIsBrindlewickInTheUserDataFolderUnlessTheVariableNamesOne)
{
    QTemporaryDir home;
    const ScopedEnv dataHome("XDG_DATA_HOME", home.path().toUtf8());
    {
        const ScopedEnv unset("BRINDLEWICK_DATA_DIR", std::nullopt);
        EXPECT_EQ(Paths::live().data, home.path() + "/Brindlewick");
        EXPECT_FALSE(QFileInfo::exists(Paths::live().data));
    }
    {
        const ScopedEnv set("BRINDLEWICK_DATA_DIR", "/srv/notes here");
        EXPECT_EQ(Paths::live().data, "/srv/notes here");
    }
}

TEST(Paths, UnsavedNotesGoToBrindlewickInTheUserStateFolder)
{
    {
        const ScopedEnv state("XDG_STATE_HOME", "/srv/state");
        EXPECT_EQ(Paths::stateFolder(), "/srv/state/Brindlewick");
    }
    for (const std::optional<QByteArray> &unusable : {std::optional<QByteArray>(), std::optional<QByteArray>("rel")}) {
        const ScopedEnv state("XDG_STATE_HOME", unusable);
        EXPECT_EQ(Paths::stateFolder(), QDir::homePath() + "/.local/state/Brindlewick");
    }
}

TEST(TrayOpen, RawValuesMatchExactly)
{
    struct Case { QString raw; std::optional<TrayOpen> open; };
    for (const Case &c : {Case{"hover", TrayOpen::hover}, Case{"click", TrayOpen::click},
                          Case{"Click", std::nullopt}, Case{"", std::nullopt}}) {
        EXPECT_EQ(trayOpenFromString(c.raw), c.open) << c.raw.toStdString();
        if (c.open) {
            EXPECT_EQ(toString(*c.open), c.raw);
        }
    }
}

} // namespace
