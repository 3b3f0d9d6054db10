#include "NoteWindows.h"

#include "NotePanel.h"
#include "ScreenSpace.h"
#include "X11Window.h"

#include "NoteView/NoteView.h"
#include "State/AppModel.h"
#include "Theme/Appearance.h"

#include "NotePlacement.h"
#include "YUp.h"

#include <QApplication>
#include <QPointer>
#include <QSet>
#include <QShortcut>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace {

// After a panel loses focus, the peek waits this long for the focus to land somewhere of its own.
constexpr int peekCloseDelayMilliseconds = 150;
// New panels made per turn of the event loop.
constexpr int panelsPerTurn = 25;
// The peek hangs this far below the tray.
constexpr double peekGap = 8;
// Without a tray: the peek's top this far under the main screen's usable top, or these values.
constexpr double peekTopInset = 6;
constexpr double peekTopWithoutScreen = 894;
constexpr double peekCentreWithoutScreen = 720;

double peekTopWithoutTray()
{
    const std::optional<QRectF> usable = ScreenSpace::mainVisibleFrame();
    return usable ? YUp::maxY(*usable) - peekTopInset : peekTopWithoutScreen;
}

double peekCentreWithoutTray()
{
    const std::optional<QRectF> whole = ScreenSpace::mainFrame();
    return whole ? whole->center().x() : peekCentreWithoutScreen;
}

// The window itself, or a window or popup that was opened from it.
bool belongsTo(const QWidget *window, const QWidget *panel)
{
    for (const QWidget *w = window; w; w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        if (w == panel)
            return true;
    }
    return false;
}

bool focusStaysWith(const QWidget *panel)
{
    const QWidget *popup = QApplication::activePopupWidget();
    const QWidget *active = QApplication::activeWindow();
    return (popup && belongsTo(popup, panel)) || (active && belongsTo(active, panel))
           || X11Window::hasInputFocus(panel->windowHandle());
}

} // namespace

NoteWindows::NoteWindows(AppModel &model, QObject *parent)
    : QObject(parent), m_model(model), m_origin(model.defaults())
{
    connect(&m_model, &AppModel::bookChanged, this, &NoteWindows::scheduleSync);
    connect(&m_model, &AppModel::notesHiddenChanged, this, &NoteWindows::scheduleSync);
    // At once, before any frame is read or stored against the changed screens.
    ScreenSpace::followChanges(this, [this] {
        followOrigin();
        scheduleRescue();
    });
    scheduleSync();
}

NoteWindows::~NoteWindows()
{
    qDeleteAll(m_panels);
}

// Changes reach the panels from the event loop, never inside the model call that made them: the
// control that asked for the change may belong to a panel that goes away.
void NoteWindows::scheduleSync()
{
    if (m_syncPending)
        return;
    m_syncPending = true;
    QMetaObject::invokeMethod(this, &NoteWindows::sync, Qt::QueuedConnection);
}

void NoteWindows::sync()
{
    m_syncPending = false;
    followOrigin();
    const QList<StickyNote> notes = m_model.notesHidden() ? QList<StickyNote>() : m_model.desktopNotes();
    QSet<QUuid> keep;
    for (const StickyNote &note : notes)
        keep.insert(note.id);
    if (m_peeking) {
        const std::optional<StickyNote> peeked = m_model.book()[*m_peeking];
        if (peeked && peeked->isLive())
            keep.insert(*m_peeking);
        else
            m_peeking.reset();
    }
    for (const QUuid &id : m_panels.keys()) {
        if (!keep.contains(id))
            remove(id);
    }
    // A few new panels per turn of the event loop, so thousands of notes never hold it up.
    int made = 0;
    for (const StickyNote &note : notes) {
        NotePanel *shown = panel(note.id);
        if (!shown && made == panelsPerTurn) {
            scheduleSync();
            continue;
        }
        if (!shown) {
            shown = make(note);
            ++made;
        }
        style(shown, note);
    }
}

void NoteWindows::show(QUuid id)
{
    const std::optional<StickyNote> note = m_model.book()[id];
    if (!note || !note->isLive())
        return;
    if (note->tucked) {
        peek(id);
        return;
    }
    sync();
    NotePanel *shown = panel(id);
    if (!shown && !m_model.notesHidden()) {
        shown = make(*note);
        style(shown, *note);
    }
    if (shown)
        activate(shown);
}

void NoteWindows::peek(const QUuid &id)
{
    const std::optional<StickyNote> note = m_model.book()[id];
    if (!note || !note->tucked)
        return;
    if (m_peeking && *m_peeking != id)
        remove(*m_peeking);
    m_peeking = id;

    // As large as the note, within the main screen, and never smaller than the smallest peek.
    const QSizeF screen = ScreenSpace::mainVisibleFrame().value_or(fallbackArea).size();
    const QSizeF size = note->frame ? note->frame->rect().size().boundedTo(screen).expandedTo(smallestPeek)
                                    : smallestPeek;
    const std::optional<QRectF> anchor = peekAnchor ? peekAnchor() : std::nullopt;
    const double top = anchor ? YUp::minY(*anchor) : peekTopWithoutTray();
    const double centre = anchor ? anchor->center().x() : peekCentreWithoutTray();

    NotePanel *shown = panel(id);
    if (!shown) {
        shown = make(*note);
        new QShortcut(QKeySequence(Qt::Key_Escape), shown, this, &NoteWindows::closePeekByKey);
    }
    if (QApplication::activeWindow() != shown)
        m_beforePeek = QApplication::activeWindow();
    shown->place(ScreenSpace::toQt(
        QRectF(centre - size.width() / 2, top - size.height() - peekGap, size.width(), size.height())));
    style(shown, *note);
    activate(shown);
}

// A note is shown to be written in: its text takes the typing.
void NoteWindows::activate(NotePanel *panel)
{
    panel->raise();
    panel->activateWindow();
    if (auto *face = panel->findChild<NoteView *>())
        face->focusText();
}

void NoteWindows::ring(const StickyNote &note)
{
    NotePanel *shown = panel(note.id);
    if (!shown)
        return;
    shown->comeToFront();
    if (!Appearance::reduceMotion())
        shown->shake();
}

void NoteWindows::rescue()
{
    const QList<QRectF> screens = ScreenSpace::visibleFrames();
    const QRectF area = ScreenSpace::mainVisibleFrame().value_or(QRectF());
    for (NotePanel *shown : std::as_const(m_panels)) {
        const QRectF current = ScreenSpace::fromQt(shown->geometry());
        if (!NotePlacement::isVisible(current, screens))
            shown->place(ScreenSpace::toQt(NotePlacement::clamp(current, area)));
    }
}

NotePanel *NoteWindows::panel(const QUuid &id) const
{
    return m_panels.value(id);
}

void NoteWindows::panelDeactivated(NotePanel *panel)
{
    if (!m_peeking || panel->noteID() != *m_peeking)
        return;
    QTimer::singleShot(peekCloseDelayMilliseconds, this, [this, peekPanel = QPointer<NotePanel>(panel)] {
        if (!peekPanel || m_peeking != peekPanel->noteID() || focusStaysWith(peekPanel))
            return;
        m_peeking.reset();
        sync();
    });
}

// The keyboard goes back before the peek goes, or the window manager would hand it to a window of
// its own choosing when the peek leaves the screen with it.
void NoteWindows::closePeekByKey()
{
    if (!m_peeking)
        return;
    QWidget *before = m_beforePeek;
    if (before && before->isVisible() && !before->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus))
        before->activateWindow();
    m_peeking.reset();
    sync();
}

// Shown by style(), once the window hints that must precede mapping are in place.
NotePanel *NoteWindows::make(const StickyNote &note)
{
    const QRectF rect = frame(note);
    auto *face = new NoteView(m_model, note.id, false, false);
    connect(face, &NoteView::showInLibrary, this, &NoteWindows::showInLibrary);
    auto *made = new NotePanel(note.id, face);
    // Whenever the panel becomes active without a focus of its own, the text takes it.
    face->focusText();
    made->place(ScreenSpace::toQt(rect));
    connect(made, &NotePanel::moved, this, [this, made] { remember(made); });
    connect(made, &NotePanel::resized, this, [this, made] { remember(made); });
    connect(made, &NotePanel::deactivated, this, [this, made] { panelDeactivated(made); });
    m_panels.insert(note.id, made);
    if (!note.frame)
        m_model.setFrame(note.id, ScreenSpace::fromQt(made->geometry()));
    return made;
}

// A stored frame that still shows is kept; without one the cascade finds a free spot; a frame off
// every screen or larger than they are is pulled into the main screen (and stored only once the user
// moves it).
QRectF NoteWindows::frame(const StickyNote &note) const
{
    const QRectF area = ScreenSpace::mainVisibleFrame().value_or(fallbackArea);
    if (note.frame)
        return NotePlacement::reopen(note.frame->rect(), ScreenSpace::visibleFrames(), area);
    QList<QRectF> existing;
    for (const NotePanel *shown : m_panels)
        existing.append(ScreenSpace::fromQt(shown->geometry()));
    return NotePlacement::next(area, existing, NotePlacement::defaultSize);
}

// A panel shown here comes to the front but leaves the keyboard where it is.
void NoteWindows::style(NotePanel *panel, const StickyNote &note) const
{
    panel->setFloating(note.pinned || m_peeking == note.id);
    panel->setOnAllDesktops(note.pinned);
    panel->showTitle(note);
    if (!panel->isVisible()) {
        panel->show();
        panel->raise();
        // Showing posts a repaint of the whole window, which would otherwise come after the paint
        // of its first exposure and paint every new note twice; taken now, the two are one.
        QCoreApplication::sendPostedEvents(panel, QEvent::UpdateLater);
    }
}

// The peek panel's place is not the note's: a peeked note keeps its desktop frame.
void NoteWindows::remember(const NotePanel *panel)
{
    if (panel->noteID() == m_peeking)
        return;
    m_model.setFrame(panel->noteID(), ScreenSpace::fromQt(panel->geometry()));
}

// The panel goes from the screen at once and is deleted from the event loop, since the call that
// removes it may come from inside it.
void NoteWindows::remove(const QUuid &id)
{
    NotePanel *removed = m_panels.take(id);
    if (!removed)
        return;
    disconnect(removed, nullptr, this, nullptr);
    removed->hide();
    removed->deleteLater();
}

// Frames kept under the primary screen of another run or of a moment ago are moved to the primary
// screen now, so every note opens where it was seen. A notebook not read yet is left for later.
void NoteWindows::followOrigin()
{
    if (m_model.loadBlocked())
        return;
    if (const std::optional<NoteBook> moved = m_origin.follow(m_model.book())) {
        m_model.setBook(*moved);
        m_model.scheduleSave();
    }
}

void NoteWindows::scheduleRescue()
{
    QMetaObject::invokeMethod(this, &NoteWindows::rescue, Qt::QueuedConnection);
}
