#pragma once

#include <QString>
#include <optional>

// The user's answer to a notification. The raw values are also the notification action keys.
enum class NotifyAction { open, snooze, done };

// "open", "snooze", "done".
QString toString(NotifyAction action);
// Exactly one of the three raw values; anything else is no action.
std::optional<NotifyAction> notifyActionFromString(const QString &raw);
