#pragma once

#include "MenuBarLabel.h"

#include <QObject>
#include <QSystemTrayIcon>

class AppModel;
class MenuBarMenu;

// The status item in the desktop's panel: the next countdown drawn as a symbol in its icon and told
// in its tool tip, and the `MenuBarMenu` on a click. Shown while the "showMenuBarItem" setting is on.
// A desktop without a status area shows nothing, and the program runs on regardless.
class MenuBarItem : public QObject {
    Q_OBJECT

public:
    explicit MenuBarItem(AppModel &model, QObject *parent = nullptr);
    ~MenuBarItem() override;

    const QSystemTrayIcon &trayIcon() const { return m_icon; }
    // The program is ending: the icon leaves the status area.
    void withdraw() { m_icon.hide(); }

private:
    void followSetting();
    void refresh();
    void activated(QSystemTrayIcon::ActivationReason reason);

    AppModel &m_model;
    std::unique_ptr<MenuBarMenu> m_menu;
    QSystemTrayIcon m_icon;
    MenuBarLabel m_label;
    bool m_drawn = false;
};
