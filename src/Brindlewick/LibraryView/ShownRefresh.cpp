#include "ShownRefresh.h"

#include <QEvent>
#include <QWidget>

ShownRefresh::ShownRefresh(QWidget *view, std::function<void()> refresh)
    : QObject(view), m_view(view), m_refresh(std::move(refresh))
{
    view->installEventFilter(this);
}

void ShownRefresh::request()
{
    if (!m_view->isVisible()) {
        m_stale = true;
        return;
    }
    m_stale = false;
    m_refresh();
}

bool ShownRefresh::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::Show && m_stale) {
        m_stale = false;
        m_refresh();
    }
    return false;
}
