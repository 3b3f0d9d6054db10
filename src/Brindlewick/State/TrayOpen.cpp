#include "TrayOpen.h"

QString toString(TrayOpen open)
{
    switch (open) {
    case TrayOpen::hover: return QStringLiteral("hover");
    case TrayOpen::click: return QStringLiteral("click");
    }
    return QStringLiteral("hover");
}

std::optional<TrayOpen> trayOpenFromString(const QString &raw)
{
    for (TrayOpen open : TrayOpens::allCases) {
        if (toString(open) == raw)
            return open;
    }
    return std::nullopt;
}
