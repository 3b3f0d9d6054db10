#include "TrayAccessible.h"

#include "RestingTray.h"
#include "TrayCard.h"

#include <QAccessibleWidget>

namespace {

QString openAction()
{
    return TrayCard::tr("Open");
}

class CardAccessible : public QAccessibleWidget {
public:
    explicit CardAccessible(TrayCard *card) : QAccessibleWidget(card, QAccessible::Button) {}

    QStringList actionNames() const override { return {openAction()}; }
    void doAction(const QString &name) override
    {
        if (name == openAction())
            static_cast<TrayCard *>(widget())->openNote();
    }
};

QAccessibleInterface *trayInterface(const QString &key, QObject *object)
{
    if (key == QLatin1String("TrayCard"))
        return new CardAccessible(static_cast<TrayCard *>(object));
    if (key == QLatin1String("RestingTray"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Button);
    return nullptr;
}

} // namespace

namespace TrayAccessible {

void install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(trayInterface);
}

} // namespace TrayAccessible
