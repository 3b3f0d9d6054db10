#pragma once

#include <QString>
#include <optional>

// The case of `cases` whose raw value (its `toString`) is exactly `raw`; none for any other text.
template <typename Cases>
std::optional<typename Cases::value_type> caseWithRawValue(const Cases &cases, const QString &raw)
{
    for (const auto value : cases) {
        if (toString(value) == raw)
            return value;
    }
    return std::nullopt;
}
