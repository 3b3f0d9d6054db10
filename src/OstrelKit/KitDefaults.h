#pragma once

#include <QHash>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

// Where the kit keeps its few settings ("OstrelAutoUpdate", "OstrelAnnounced-" plus a version). The
// application hands in its own settings file; without one they live in memory for the process.
struct KitDefaults {
    std::function<std::optional<bool>(const QString &key)> boolValue;
    std::function<void(const QString &key, bool value)> setBool;

    static KitDefaults inMemory()
    {
        auto values = std::make_shared<QHash<QString, bool>>();
        return {[values](const QString &key) {
                    return values->contains(key) ? std::optional(values->value(key)) : std::nullopt;
                },
                [values](const QString &key, bool value) { values->insert(key, value); }};
    }
};
