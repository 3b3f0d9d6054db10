#include "AppLinks.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

const QStringList gnome{QStringLiteral("gnome-control-center"), QStringLiteral("notifications")};
const QStringList kde{QStringLiteral("systemsettings"), QStringLiteral("kcm_notifications")};

bool onKde()
{
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':').contains(QStringLiteral("KDE"), Qt::CaseInsensitive);
}

} // namespace

namespace AppLinks {

std::optional<QStringList> notificationSettingsCommand()
{
    const QList<QStringList> candidates = onKde() ? QList{kde, gnome} : QList{gnome, kde};
    for (QStringList command : candidates) {
        const QString program = QStandardPaths::findExecutable(command.first());
        if (program.isEmpty())
            continue;
        command.first() = program;
        return command;
    }
    return std::nullopt;
}

void openNotificationSettings()
{
    if (const auto command = notificationSettingsCommand())
        QProcess::startDetached(command->first(), command->mid(1));
}

} // namespace AppLinks
