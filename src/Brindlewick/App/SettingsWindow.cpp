#include "SettingsWindow.h"

#include "AppModel.h"
#include "KeyWindow.h"
#include "SettingsView/SettingsView.h"

SettingsWindow::SettingsWindow(AppModel &model, QObject *parent) : QObject(parent), m_model(model) {}

SettingsWindow::~SettingsWindow()
{
    delete m_window;
}

SettingsWindow &SettingsWindow::shared()
{
    static SettingsWindow *const settings = new SettingsWindow(AppModel::shared());
    return *settings;
}

void SettingsWindow::bringForward()
{
    if (!m_window) {
        m_window = new SettingsView(m_model);
        m_window->setWindowTitle(tr("Brindlewick Settings"));
        m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    KeyWindow::bringForward(*m_window);
}
