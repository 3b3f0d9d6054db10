#include "MenuBarItem.h"

#include "State/AppModel.h"
#include "MenuBarMenu.h"

#include <QCursor>

MenuBarItem::MenuBarItem(AppModel &model, QObject *parent)
    : QObject(parent), m_model(model), m_menu(std::make_unique<MenuBarMenu>(model))
{
    m_icon.setContextMenu(m_menu.get());
    connect(&m_icon, &QSystemTrayIcon::activated, this, &MenuBarItem::activated);
    connect(&m_model, &AppModel::bookChanged, this, [this] {
        refresh();
        m_model.clockFollowers().wake(this);
    });
    m_model.clockFollowers().add(this, [this](Date now) {
        refresh();
        return MenuBarLabel::steadyUntil(m_model.book().notes, now);
    });
    connect(&m_model, &AppModel::showMenuBarItemChanged, this, &MenuBarItem::followSetting);
    refresh();
    followSetting();
}

MenuBarItem::~MenuBarItem() = default;

void MenuBarItem::followSetting()
{
    m_icon.setVisible(m_model.showMenuBarItem());
}

// Only on the ticks when the label may change. The icon is drawn again only when its picture
// changes; the words may change every second.
void MenuBarItem::refresh()
{
    const MenuBarLabel label = MenuBarLabel::make(m_model.book().notes, m_model.now());
    if (!m_drawn || !label.samePicture(m_label))
        m_icon.setIcon(label.icon());
    if (!m_drawn || label.toolTip() != m_label.toolTip())
        m_icon.setToolTip(label.toolTip());
    m_label = label;
    m_drawn = true;
}

// A plain click opens the menu too, as the right click does.
void MenuBarItem::activated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger)
        m_menu->popup(QCursor::pos());
}
