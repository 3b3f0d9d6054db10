#include "TrayPanel.h"

#include "TrayView.h"
#include "TrayWindowShape.h"

#include "NoteWindows/WindowOutline.h"

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
