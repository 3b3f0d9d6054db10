#include "KeyWindow.h"

#include <QKeyEvent>
#include <QWidget>

namespace {

// Sees the keys that reach the window itself: those its controls and its open lists and menus,
// which are windows of their own, left alone.
class EscapeFilter : public QObject {
public:
    EscapeFilter(QWidget &window, std::function<void()> close) : QObject(&window), m_close(std::move(close))
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
            return false;
        m_close();
        return true;
    }

private:
    std::function<void()> m_close;
};

} // namespace

void KeyWindow::bringForward(QWidget &window)
{
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

void KeyWindow::closeOnEscape(QWidget &window, std::function<void()> close)
{
    new EscapeFilter(window, std::move(close));
}
