#include "PlannedAlert.h"

#include "RawValue.h"

#include <array>

namespace {

constexpr std::array<PlannedAlert::Kind, 3> allKinds{PlannedAlert::Kind::timerEnded, PlannedAlert::Kind::due,
                                                     PlannedAlert::Kind::dueSoon};

} // namespace

QString PlannedAlert::identifier() const
{
    return noteID.toString(QUuid::WithoutBraces).toUpper() + u'.' + toString(kind);
}

QString toString(PlannedAlert::Kind kind)
{
    switch (kind) {
    case PlannedAlert::Kind::timerEnded: return QStringLiteral("timer");
    case PlannedAlert::Kind::due: return QStringLiteral("due");
    case PlannedAlert::Kind::dueSoon: return QStringLiteral("warn");
    }
    return QStringLiteral("due");
}

std::optional<PlannedAlert::Kind> plannedAlertKindFromString(const QString &raw)
{
    return caseWithRawValue(allKinds, raw);
}
