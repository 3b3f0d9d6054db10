#include "KeyWindow.h"

#include <QWidget>

void KeyWindow::bringForward(QWidget &window)
{
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}
