#include "NotifyAction.h"

QString toString(NotifyAction action)
{
    switch (action) {
    case NotifyAction::open: return QStringLiteral("open");
    case NotifyAction::snooze: return QStringLiteral("snooze");
    case NotifyAction::done: return QStringLiteral("done");
    }
    return QStringLiteral("open");
}

std::optional<NotifyAction> notifyActionFromString(const QString &raw)
{
    for (NotifyAction action : {NotifyAction::open, NotifyAction::snooze, NotifyAction::done}) {
        if (toString(action) == raw)
            return action;
    }
    return std::nullopt;
}
