#include "KeyPanel.h"

#include <QApplication>
#include <QVBoxLayout>

namespace {

// Qt reports the application inactive for a moment when a window it just hid is shown again
// before the window manager has focused it; a real change of application lasts longer.
constexpr int deactivationGraceMs = 250;

} // namespace

KeyPanel::KeyPanel(QWidget *content)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(tr("Quick Note"));
    setAttribute(Qt::WA_TranslucentBackground);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);

    m_deactivated.setSingleShot(true);
    m_deactivated.setInterval(deactivationGraceMs);
    connect(&m_deactivated, &QTimer::timeout, this, &QWidget::hide);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            m_deactivated.stop();
        else if (isVisible())
            m_deactivated.start();
    });
}

void KeyPanel::present(const QRect &frame)
{
    setGeometry(frame);
    show();
    raise();
    activateWindow();
    // Hidden while it had the focus, the panel stays Qt's focus window, so showing it again brings
    // no activation and the line would get no keys.
    if (QGuiApplication::focusWindow() == windowHandle())
        QApplication::setActiveWindow(this);
}
