#include "TrayPanel.h"

#include "OpenTray.h"
#include "TrayView.h"
#include "TrayWindowShape.h"

#include "NoteWindows/WindowOutline.h"
#include "Platform/X11.h"

#include <QVBoxLayout>
#include <QWindow>

TrayPanel::TrayPanel(TrayState &state, AppModel &model)
    : QWidget(nullptr, Qt::Tool | Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint |
                           Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint),
      m_view(new TrayView(state, model, this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(tr("Brindlewick tray"));
    setWindowTitle(QStringLiteral("Brindlewick tray"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    connect(m_view, &TrayView::shapeChanged, this, &TrayPanel::clipToShape);
    winId();
    followCompositing();
}

void TrayPanel::setActiveArea(const std::optional<QRect> &area)
{
    if (area == m_activeArea)
        return;
    m_activeArea = area;
    TrayWindowShape::setInput(windowHandle(), area ? QRegion(*area) : QRegion());
}

void TrayPanel::followCompositing()
{
    m_compositing = WindowOutline::compositing();
    m_view->setShadow(m_compositing);
    clipToShape();
}

void TrayPanel::takeKeyboard()
{
    setAcceptsFocus(true);
    setAttribute(Qt::WA_KeyboardFocusChange);
    if (auto *open = qobject_cast<OpenTray *>(m_view->content()))
        open->focusFirst();
    activateWindow();
}

void TrayPanel::giveBackKeyboard(QWidget *window)
{
    const bool hadKeyboard = isActiveWindow();
    setAcceptsFocus(false);
    if (!hadKeyboard)
        return;
    if (window && window->isVisible() && !window->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus)) {
        window->activateWindow();
        return;
    }
    // The window manager never gives the focus to the panel, nor takes it from there.
    if (xcb_connection_t *connection = X11::connection()) {
        xcb_set_input_focus(connection, XCB_INPUT_FOCUS_POINTER_ROOT, XCB_INPUT_FOCUS_POINTER_ROOT,
                            XCB_CURRENT_TIME);
        xcb_flush(connection);
    }
}

void TrayPanel::setAcceptsFocus(bool accepts)
{
    const Qt::WindowFlags flags = windowFlags().setFlag(Qt::WindowDoesNotAcceptFocus, !accepts);
    if (flags == windowFlags())
        return;
    overrideWindowFlags(flags);
    windowHandle()->setFlags(flags);
}

void TrayPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    TrayWindowShape::setInput(windowHandle(), m_activeArea ? QRegion(*m_activeArea) : QRegion());
    clipToShape();
}

void TrayPanel::clipToShape()
{
    if (!windowHandle())
        return;
    if (m_compositing) {
        TrayWindowShape::setVisible(windowHandle(), std::nullopt);
        return;
    }
    const QPolygon outline = m_view->outline().toFillPolygon().toPolygon();
    TrayWindowShape::setVisible(windowHandle(), QRegion(outline).translated(m_view->pos()));
}
