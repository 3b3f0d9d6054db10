#pragma once

#include <QString>
#include <array>
#include <optional>

// How the resting notch tray opens.
enum class TrayOpen { hover, click };

namespace TrayOpens {
inline constexpr std::array<TrayOpen, 2> allCases{TrayOpen::hover, TrayOpen::click};
}

QString toString(TrayOpen open);
// Exact, case-sensitive raw value; anything else is none.
std::optional<TrayOpen> trayOpenFromString(const QString &raw);
