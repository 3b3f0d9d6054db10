#include "State/Banner.h"
#include "State/RecordingNotifier.h"

#include <gtest/gtest.h>

namespace {

TEST(NotifyAction, RawValuesAreExactlyTheThreeActionKeys)
{
    struct Case { QString raw; std::optional<NotifyAction> action; };
    for (const Case &c : {Case{"open", NotifyAction::open}, Case{"snooze", NotifyAction::snooze},
                          Case{"done", NotifyAction::done}, Case{"Done", std::nullopt},
                          Case{"", std::nullopt}, Case{"default", std::nullopt}}) {
        EXPECT_EQ(notifyActionFromString(c.raw), c.action) << c.raw.toStdString();
        if (c.action) {
            EXPECT_EQ(toString(*c.action), c.raw);
        }
    }
}

TEST(Banner, TwoBannersWithTheSameTextDiffer)
{
    const Banner first(QStringLiteral("Marked done"));
    const Banner second(QStringLiteral("Marked done"));
    EXPECT_NE(first.id, second.id);
    EXPECT_NE(first, second);
    EXPECT_EQ(first, first);
}

TEST(RecordingNotifier, AnswersWithItsStateAndCountsRequests)
{
    struct Case { bool grant; NotifyPermission expected; };
    for (const Case c : {Case{true, NotifyPermission::allowed}, Case{false, NotifyPermission::denied}}) {
        RecordingNotifier notifier;
        notifier.grantOnRequest = c.grant;
        std::optional<NotifyPermission> before, answered, after;
        notifier.permission([&](NotifyPermission p) { before = p; });
        notifier.requestPermission([&](NotifyPermission p) { answered = p; });
        notifier.permission([&](NotifyPermission p) { after = p; });
        EXPECT_EQ(before, NotifyPermission::notAsked);
        EXPECT_EQ(answered, c.expected);
        EXPECT_EQ(after, c.expected);
        EXPECT_EQ(notifier.requests, 1);
    }
}

} // namespace
