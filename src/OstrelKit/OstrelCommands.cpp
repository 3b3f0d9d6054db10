#include "OstrelCommands.h"

#include "Ostrel.h"
#include "Updater.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

QAction *OstrelCommands::addTo(QMenu &menu) const
{
    QAction *check = menu.addAction(QCoreApplication::translate("OstrelCommands", "Check for Updates…"));
    check->setEnabled(Ostrel::updater().enabled());
    QObject::connect(check, &QAction::triggered, &Ostrel::checkForUpdates);
    return check;
}
