#include "TrayController.h"

#include "RestingTray.h"
#include "TrayPanel.h"
#include "TrayView.h"

#include "NoteWindows/ScreenSpace.h"
#include "Platform/X11.h"
#include "Platform/X11KeyGrab.h"
#include "State/AppModel.h"

#include <QApplication>
#include <QWindow>
#include <X11/keysym.h>

namespace {

// Room under the open tray or the banner for the shadow.
constexpr double shadowRoom = 30;

} // namespace

TrayController::TrayController(AppModel &model, QObject *parent)
    : QObject(parent), isPeeking([] { return false; }), m_model(model),
      m_pointer([this](QPoint pointer) { track(pointer); })
{
    m_clock.start();
    m_poll.setInterval(pollMilliseconds);
    m_poll.setTimerType(Qt::CoarseTimer);
    connect(&m_poll, &QTimer::timeout, &m_pointer, &PointerProbe::ask);
    connect(&m_state, &TrayState::modeChanged, this, &TrayController::followHold);
    connect(&m_state, &TrayState::modeChanged, this, &TrayController::followKeyboard);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TrayController::followHold);
    connect(&m_model, &AppModel::bookChanged, this, &TrayController::countTucked);
    countTucked();
    place();
    ScreenSpace::followChanges(this, [this] { remeasure(); });
    connect(&m_model, &AppModel::trayEnabledChanged, this, [this] { setEnabled(m_model.trayEnabled()); },
            Qt::QueuedConnection);
    QMetaObject::invokeMethod(this, [this] { setEnabled(m_model.trayEnabled()); }, Qt::QueuedConnection);
}

TrayController::~TrayController() = default;

void TrayController::toggle()
{
    const bool opening = !m_state.mode().isOpen();
    m_state.setMode(m_rules.toggle(m_state.mode()));
    if (opening)
        takeKeyboard();
}

void TrayController::takeKeyboard()
{
    if (!m_panel || !m_panel->isVisible())
        return;
    m_keyboardFrom = QApplication::activeWindow();
    m_panel->takeKeyboard();
}

// The tray accepts the keyboard only while it is open from the keyboard.
void TrayController::followKeyboard()
{
    if (m_panel && m_panel->acceptsFocus() && !m_state.mode().isOpen())
        m_panel->giveBackKeyboard(m_keyboardFrom);
}

void TrayController::ring(const StickyNote &note)
{
    m_state.setMode(m_rules.ring(m_state.mode(), note.id, m_model.trayEnabled(), seconds()));
}

std::optional<QRectF> TrayController::openRect() const
{
    if (!m_model.trayEnabled())
        return std::nullopt;
    const TrayGeometry &g = m_state.geometry();
    return g.rect(g.openSize());
}

// The panel spans the tray screen's width along its top edge, tall enough for the open tray or the
// banner and their shadow; the mode never changes it.
void TrayController::place()
{
    const TrayGeometry &g = m_state.geometry();
    const double height = std::max(g.openSize().height(), g.bannerSize().height()) + shadowRoom;
    const QRectF frame(g.screenFrame.x(), g.screenFrame.y() + g.screenFrame.height() - height, g.screenFrame.width(),
                       height);
    m_frame = frame;
    m_placed = ScreenSpace::toQt(frame);
    if (m_panel)
        m_panel->setGeometry(m_placed);
}

// The panel and its window are made when the tray is first turned on: with the tray off, a start
// makes no window and an edit repaints nothing of it.
void TrayController::makePanel()
{
    m_panel = std::make_unique<TrayPanel>(m_state, m_model);
    // Windows raised since may lie over the panel, which the window manager does not stack.
    connect(&m_state, &TrayState::modeChanged, m_panel.get(), [this] {
        m_panel->followCompositing();
        m_panel->raise();
    });
    connect(m_panel->view(), &TrayView::libraryAsked, this, &TrayController::libraryAsked);
}

// Disabling leaves the poll's timings as they are; the mode rests.
void TrayController::setEnabled(bool on)
{
    if (!on) {
        m_poll.stop();
        m_state.setMode(TrayMode::resting());
        followHold();
        if (m_panel)
            m_panel->hide();
        return;
    }
    if (!m_panel)
        makePanel();
    place();
    m_panel->show();
    m_panel->raise();
    if (!m_poll.isActive())
        m_poll.start();
    followHold();
}

// One tick reads the pointer and a few cached values; it assigns the mode and the input area only
// when they change, so a still pointer costs no allocation and no repaint.
void TrayController::track(QPoint pointer)
{
    if (!m_poll.isActive())
        return;
    const TrayGeometry &g = m_state.geometry();
    const TraySight sight{yUp(pointer), m_hasTucked, m_model.trayOpensOn(), &m_model.ringing(),
                          m_state.mode().isOpen() && isPeeking(), seconds()};
    m_state.setMode(m_rules.track(m_state.mode(), g, sight));
    followHold();

    const std::optional<QRectF> area = TrayRules::activeArea(m_state.mode(), g, m_hasTucked, m_model.trayOpensOn());
    m_panel->setActiveArea(area ? std::optional(inPanel(*area)) : std::nullopt);
}

// The grab is taken and given back only when the hold starts and ends, or the keyboard comes to the
// tray or leaves it; the press closes the tray from the event loop, since the grab that reports it
// goes with the hold.
void TrayController::followHold()
{
    const bool holding = m_poll.isActive() && m_rules.isHeldOpen(m_state.mode()) && !keyboardInTray();
    if (holding == m_holding)
        return;
    m_holding = holding;
    m_escape.reset();
    xcb_connection_t *connection = X11::connection();
    if (!holding || !connection)
        return;
    m_escape = X11KeyGrab::grab(connection, XK_Escape, Qt::NoModifier, [this] {
        QMetaObject::invokeMethod(this, [this] { m_state.setMode(TrayMode::resting()); }, Qt::QueuedConnection);
    });
}

bool TrayController::keyboardInTray() const
{
    return (m_panel && m_panel->isActiveWindow()) || isPeeking();
}

void TrayController::countTucked()
{
    m_hasTucked = RestingTray::tuckedCount(m_model.book()) > 0;
}

void TrayController::remeasure()
{
    m_state.setGeometry(TrayState::currentGeometry());
    place();
}

QPointF TrayController::yUp(QPoint qt) const
{
    return QPointF(m_frame.x() + qt.x() - m_placed.x(), m_frame.bottom() - (qt.y() - m_placed.y()));
}

QRect TrayController::inPanel(const QRectF &yUp) const
{
    return QRectF(yUp.x() - m_frame.x(), m_frame.bottom() - yUp.bottom(), yUp.width(), yUp.height()).toRect();
}

double TrayController::seconds() const
{
    return double(m_clock.nsecsElapsed()) / 1e9;
}
