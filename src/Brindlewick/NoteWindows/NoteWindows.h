#pragma once

#include "FrameOrigin.h"

#include "StickyNote.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QUuid>
#include <QWidget>
#include <functional>
#include <optional>

class AppModel;
class NotePanel;

// Keeps one panel per desktop note in step with the model: makes panels for new desktop notes,
// drops those of notes that were tucked, finished, deleted or hidden, floats pinned notes on every
// virtual desktop, writes moved and resized frames back, shows a tucked note for a moment as a peek
// panel under the open tray, shakes ringing notes and pulls panels back onto a screen when the
// screens change. Frames in the model are y up; ScreenSpace converts them for Qt, and FrameOrigin
// keeps them where they were seen when the primary screen changes.
class NoteWindows : public QObject {
    Q_OBJECT

public:
    static constexpr QSizeF smallestPeek{280, 240};
    // Where notes go when there is no screen at all.
    static constexpr QRectF fallbackArea{0, 0, 1440, 875};

    // Makes no panel itself: the first sync runs from the event loop.
    explicit NoteWindows(AppModel &model, QObject *parent = nullptr);
    ~NoteWindows() override;

    // Brings the panels in line with the model's desktop notes and the peek.
    void sync();
    // Brings a live note forward: a tucked one as the peek, any other as its desktop panel. The id is
    // a copy: showing rebuilds panels and lists a reference could point into.
    void show(QUuid id);
    // Shows a tucked note as a panel hanging under the tray. Escape there puts it away and gives the
    // keyboard back to the window that had it.
    void peek(const QUuid &id);
    // Brings the note's panel to the front without activating it and shakes it, unless the desktop
    // wants no animations. Nothing for a note without a panel.
    void ring(const StickyNote &note);
    // Clamps every panel that no longer shows on any screen into the main screen.
    void rescue();
    // The panel shown for the note, if any.
    NotePanel *panel(const QUuid &id) const;

    // The tucked note shown as the peek panel.
    std::optional<QUuid> peeking() const { return m_peeking; }
    // Where the open tray is, y up; the peek hangs under it. Unset or answering none: under the
    // top middle of the main screen.
    std::function<std::optional<QRectF>()> peekAnchor;

    // A panel stopped being the active window: the peek closes a moment later unless the focus went
    // to the peek panel again or to a popup or window of its own.
    void panelDeactivated(NotePanel *panel);

signals:
    // A note's menu asked for the note in the "All Notes" window.
    void showInLibrary(const QUuid &id);

private:
    NotePanel *make(const StickyNote &note);
    QRectF frame(const StickyNote &note) const;
    void style(NotePanel *panel, const StickyNote &note) const;
    void activate(NotePanel *panel);
    void remember(const NotePanel *panel);
    void remove(const QUuid &id);
    void closePeekByKey();
    void scheduleSync();
    void scheduleRescue();
    void followOrigin();

    AppModel &m_model;
    FrameOrigin m_origin;
    QHash<QUuid, NotePanel *> m_panels;
    std::optional<QUuid> m_peeking;
    // The window that had the keyboard when the peek took it.
    QPointer<QWidget> m_beforePeek;
    bool m_syncPending = false;
};
