#include "NotePanel.h"

#include "WindowOutline.h"
#include "X11Window.h"

#include "Theme/PaperBackground.h"

#include "NotePlacement.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QVariantAnimation>
#include <QWindow>
#include <array>

namespace {

constexpr int gripThickness = 4;
constexpr int gripCorner = 8;
constexpr int shakeMilliseconds = 500;
constexpr std::array<int, 8> shakeOffsets{0, -10, 10, -8, 8, -4, 4, 0};
// A resize counts as finished once the size has held this long.
constexpr int resizeSettleMilliseconds = 300;

Qt::CursorShape cursorFor(Qt::Edges edges)
{
    if (edges == (Qt::TopEdge | Qt::LeftEdge) || edges == (Qt::BottomEdge | Qt::RightEdge))
        return Qt::SizeFDiagCursor;
    if (edges == (Qt::TopEdge | Qt::RightEdge) || edges == (Qt::BottomEdge | Qt::LeftEdge))
        return Qt::SizeBDiagCursor;
    return edges & (Qt::LeftEdge | Qt::RightEdge) ? Qt::SizeHorCursor : Qt::SizeVerCursor;
}

QRect gripRect(Qt::Edges edges, QSize size)
{
    const int w = size.width(), h = size.height();
    const int x = edges & Qt::LeftEdge ? 0 : edges & Qt::RightEdge ? w - gripCorner : gripCorner;
    const int y = edges & Qt::TopEdge ? 0 : edges & Qt::BottomEdge ? h - gripCorner : gripCorner;
    const bool sideways = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool upDown = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (sideways && upDown)
        return QRect(x, y, gripCorner, gripCorner);
    if (sideways)
        return QRect(edges & Qt::LeftEdge ? 0 : w - gripThickness, y, gripThickness, h - 2 * gripCorner);
    return QRect(x, edges & Qt::TopEdge ? 0 : h - gripThickness, w - 2 * gripCorner, gripThickness);
}

constexpr std::array<Qt::Edges, 8> gripEdges{Qt::TopEdge,
                                             Qt::BottomEdge,
                                             Qt::LeftEdge,
                                             Qt::RightEdge,
                                             Qt::TopEdge | Qt::LeftEdge,
                                             Qt::TopEdge | Qt::RightEdge,
                                             Qt::BottomEdge | Qt::LeftEdge,
                                             Qt::BottomEdge | Qt::RightEdge};

Qt::Edges edgesAt(QPoint point, QSize size)
{
    for (const Qt::Edges edges : gripEdges)
        if (gripRect(edges, size).contains(point))
            return edges;
    return {};
}

// Invisible strips along the panel's edges and corners, above its content, that hand a press to the
// window manager's resize. One widget masked to the strips, so the rest of the panel is untouched;
// it follows the panel's size by itself.
class ResizeFrame : public QWidget {
public:
    explicit ResizeFrame(QWidget *panel) : QWidget(panel)
    {
        setMouseTracking(true);
        panel->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            cover(static_cast<QResizeEvent *>(event)->size());
        return QWidget::eventFilter(watched, event);
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (const Qt::Edges edges = edgesAt(event->position().toPoint(), size()))
            setCursor(cursorFor(edges));
        QWidget::mouseMoveEvent(event);
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        const Qt::Edges edges = edgesAt(event->position().toPoint(), size());
        if (event->button() == Qt::LeftButton && edges && window()->windowHandle()->startSystemResize(edges))
            return;
        QWidget::mousePressEvent(event);
    }

private:
    void cover(QSize size)
    {
        QRegion strips;
        for (const Qt::Edges edges : gripEdges)
            strips += gripRect(edges, size);
        setGeometry(QRect(QPoint(0, 0), size));
        setMask(strips);
        raise();
    }
};

} // namespace

NotePanel::NotePanel(const QUuid &noteID, QWidget *content)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), m_noteID(noteID)
{
    setAttribute(Qt::WA_TranslucentBackground);
    // A panel comes up without taking the keyboard; it is activated where a note is meant to be written in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMinimumSize(NotePlacement::minimumSize.toSize());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    new ResizeFrame(this);
    WindowOutline::cutCorners(this, PaperBackground::cornerRadius);

    m_resizeEnd.setSingleShot(true);
    m_resizeEnd.setInterval(resizeSettleMilliseconds);
    connect(&m_resizeEnd, &QTimer::timeout, this, &NotePanel::resized);
}

bool NotePanel::isFloating() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

// Before the native window exists the flag is only noted: changing it on a made but unmapped
// window would make Qt replace that window when it is shown, losing the hints already written on
// it. Afterwards it is changed on the native window directly, since QWidget::setWindowFlags would
// hide the panel.
void NotePanel::setFloating(bool floating)
{
    if (floating == isFloating())
        return;
    if (!windowHandle()) {
        setWindowFlag(Qt::WindowStaysOnTopHint, floating);
        return;
    }
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, floating);
    overrideWindowFlags(flags);
    windowHandle()->setFlags(flags);
}

// Makes the native window if needed, so the hints are in place before it is mapped.
void NotePanel::setOnAllDesktops(bool all)
{
    if (all == m_onAllDesktops)
        return;
    m_onAllDesktops = all;
    winId();
    X11Window::setOnAllDesktops(windowHandle(), all);
}

// Every change of any note comes by here, so the title is made again only when the text changed.
void NotePanel::showTitle(const StickyNote &note)
{
    if (note.text.isSharedWith(m_titledText) && !windowTitle().isEmpty())
        return;
    m_titledText = note.text;
    setWindowTitle(note.isBlank() ? QStringLiteral("Brindlewick") : note.title());
    setAccessibleName(tr("Note: %1").arg(note.title()));
}

void NotePanel::place(const QRect &geometry)
{
    m_placed = geometry;
    setGeometry(geometry);
}

void NotePanel::comeToFront()
{
    if (!X11Window::raiseWithoutFocus(windowHandle()))
        raise();
}

void NotePanel::shake()
{
    if (!isShaking())
        m_shakeOrigin = pos();
    delete m_shake;
    m_shake = new QVariantAnimation(this);
    m_shake->setDuration(shakeMilliseconds);
    for (std::size_t i = 0; i < shakeOffsets.size(); ++i)
        m_shake->setKeyValueAt(double(i) / double(shakeOffsets.size() - 1),
                               QPointF(m_shakeOrigin + QPoint(shakeOffsets[i], 0)));
    // Interpolated in fractions and rounded once, so the panel stands on the nearest point.
    connect(m_shake, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &value) { move(value.toPointF().toPoint()); });
    m_shake->start(QAbstractAnimation::DeleteWhenStopped);
}

bool NotePanel::isShaking() const
{
    return m_shake && m_shake->state() == QAbstractAnimation::Running;
}

// Some window managers report a position relative to their frame while they take the panel over
// and never correct it, leaving Qt (the widget, its window or both) believing the panel is at the
// screen's corner. Placing it again once it is shown puts Qt's idea and the screen back in step.
void NotePanel::settle()
{
    if (m_placed.isValid() && (geometry() != m_placed || windowHandle()->geometry() != m_placed)) {
        setGeometry(m_placed);
        windowHandle()->setGeometry(m_placed);
    }
    m_settled = true;
}

bool NotePanel::event(QEvent *event)
{
    if (event->type() == QEvent::WinIdChange && windowHandle())
        windowHandle()->installEventFilter(this);
    return QWidget::event(event);
}

bool NotePanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Expose && !m_settled && windowHandle()->isExposed())
        settle();
    return QWidget::eventFilter(watched, event);
}

void NotePanel::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    if (m_settled && isVisible() && !isShaking())
        emit moved();
}

void NotePanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_settled && isVisible())
        m_resizeEnd.start();
}

void NotePanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        emit deactivated();
}

// A note leaves the desktop only through the model, never by the window manager's close.
void NotePanel::closeEvent(QCloseEvent *event)
{
    event->ignore();
}
