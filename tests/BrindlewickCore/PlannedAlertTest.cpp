#include "PlannedAlert.h"

#include <gtest/gtest.h>

namespace {

TEST(PlannedAlert, KindsRoundTripThroughTheirRawValuesAndNothingElse)
{
    struct Case { PlannedAlert::Kind kind; const char *raw; };
    for (const Case c : {Case{PlannedAlert::Kind::timerEnded, "timer"}, Case{PlannedAlert::Kind::due, "due"},
                         Case{PlannedAlert::Kind::dueSoon, "warn"}}) {
        EXPECT_EQ(toString(c.kind), QString::fromLatin1(c.raw));
        EXPECT_EQ(plannedAlertKindFromString(QString::fromLatin1(c.raw)), c.kind);
    }
    for (const char *raw : {"", "Due", "dueSoon", "timerEnded", "warn "})
        EXPECT_FALSE(plannedAlertKindFromString(QString::fromLatin1(raw))) << raw;
}

TEST(PlannedAlert, IdentifierIsTheUpperCaseNoteIdAndTheKind)
{
    const PlannedAlert warning{QUuid("{8d0f5a3c-1b2e-4c6d-9e7f-a1b2c3d4e5f6}"), PlannedAlert::Kind::dueSoon,
                               Date{1000}, "Due in 15 min: Call", "Due today, 5:00 pm."};
    EXPECT_EQ(warning.identifier(), "8D0F5A3C-1B2E-4C6D-9E7F-A1B2C3D4E5F6.warn");
}

} // namespace
