#include "SettingsWindow.h"

#include "Platform/KeyWindow.h"
#include "SettingsView/SettingsView.h"
#include "State/AppModel.h"
#include "WindowFrame.h"

#include <QCoreApplication>
#include <QEvent>
#include <QShortcut>

const QString SettingsWindow::frameKey = QStringLiteral("windowFrame.Settings");

SettingsWindow::SettingsWindow(AppModel &model, QObject *parent) : QObject(parent), m_model(model)
{
    connect(qApp, &QCoreApplication::aboutToQuit, this, &SettingsWindow::rememberFrame);
}

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
    if (!m_window)
        make();
    KeyWindow::bringForward(*m_window);
}

void SettingsWindow::make()
{
    m_window = new SettingsView(m_model);
    m_window->setWindowTitle(tr("Brindlewick Settings"));
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    // Closed like other settings windows: Escape, or the desktop's close keys (Ctrl+W).
    KeyWindow::closeOnEscape(*m_window, [window = m_window] { window->close(); });
    new QShortcut(QKeySequence::Close, m_window, m_window, &QWidget::close);
    WindowFrame::centreOnPointerScreen(*m_window);
    WindowFrame::restore(*m_window, m_model.defaults(), frameKey);
    m_window->installEventFilter(this);
}

bool SettingsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Hide)
        rememberFrame();
    return QObject::eventFilter(watched, event);
}

void SettingsWindow::rememberFrame()
{
    if (m_window)
        WindowFrame::remember(*m_window, m_model.defaults(), frameKey);
}
