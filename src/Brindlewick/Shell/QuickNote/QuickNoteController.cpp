#include "QuickNoteController.h"

#include "KeyPanel.h"
#include "QuickNoteView.h"

#include "NoteWindows/WindowOutline.h"
#include "Platform/X11.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace {

constexpr QSize panelSize{520, 150};
constexpr double lowerEdgeFromTop = 0.28;
// Where the panel goes when there is no screen at all.
constexpr QRect fallbackArea{0, 0, 1440, 875};

// The screen the user works on: the one under the pointer.
const QScreen *workScreen()
{
    const QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

QuickNoteController::QuickNoteController(QObject *parent) : QObject(parent)
{
}

QuickNoteController::~QuickNoteController() = default;

QuickNoteController &QuickNoteController::shared()
{
    // Never deleted, like the other windows kept for the process: a panel deleted with the
    // application object would go after the window system it belongs to.
    static QuickNoteController *const instance = new QuickNoteController;
    return *instance;
}

QRect QuickNoteController::frame(const QRect &area)
{
    const int left = area.x() + area.width() / 2 - panelSize.width() / 2;
    const int top = area.y() + qRound(lowerEdgeFromTop * area.height()) - panelSize.height();
    return {QPoint(left, top), panelSize};
}

void QuickNoteController::show(AppModel &model)
{
    xcb_connection_t *x11 = X11::connection();
    m_previous = x11 ? X11::activeWindow(x11) : std::nullopt;
    if (!m_panel)
        make(model);
    const QScreen *screen = workScreen();
    m_panel->present(frame(screen ? screen->availableGeometry() : fallbackArea));
}

void QuickNoteController::toggle(AppModel &model)
{
    if (m_panel && m_panel->isVisible())
        m_panel->hide();
    else
        show(model);
}

void QuickNoteController::make(AppModel &model)
{
    m_panel = std::make_unique<KeyPanel>(new QuickNoteView(model, [this](bool restore) { close(restore); }));
    WindowOutline::cutCorners(m_panel.get(), QuickNoteView::cornerRadius);
}

// The window that had the focus gets it back, one of ours too (a note, "All Notes"): hiding the
// panel leaves the focus to the window manager, which picks a window of its own choosing.
void QuickNoteController::close(bool restore)
{
    m_panel->hide();
    xcb_connection_t *x11 = X11::connection();
    if (restore && m_previous && x11 && *m_previous != m_panel->winId())
        X11::activate(x11, *m_previous);
}
