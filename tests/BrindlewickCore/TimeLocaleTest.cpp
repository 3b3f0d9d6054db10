#include "TimeLocale.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(TimeLocale, TakesLcAllThenLcTimeThenLangAsTheCLibraryDoes)
{
    struct Case { const char *lcAll; const char *lcTime; const char *lang; const char *name; };
    const Case cases[] = {
        {"", "en_GB.UTF-8", "en_US.UTF-8", "en_GB"},
        {"de_DE.UTF-8", "en_GB.UTF-8", "en_US.UTF-8", "de_DE"},
        {"", "", "en_US.UTF-8", "en_US"},
        {"", "fr_FR.utf8@euro", "", "fr_FR"},
        {"", "C.UTF-8", "en_US.UTF-8", "C"},
        {"POSIX", "", "", "C"},
        {"", "", "", "C"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TimeLocale::fromSettings(c.lcAll, c.lcTime, c.lang).name(), QString::fromLatin1(c.name)) << c.name;
}

TEST(TimeLocale, TellsATwelveHourClockFromATwentyFourHourOne)
{
    struct Case { const char *locale; bool twelveHours; };
    for (const Case c : {Case{"en_US", true}, Case{"en_AU", true}, Case{"ko_KR", true}, Case{"en_GB", false},
                         Case{"de_DE", false}, Case{"ja_JP", false}, Case{"fr_CA", false}, Case{"C", false}}) {
        EXPECT_EQ(TimeLocale::usesTwelveHourClock(QLocale(QString::fromLatin1(c.locale))), c.twelveHours) << c.locale;
    }
}

} // namespace
