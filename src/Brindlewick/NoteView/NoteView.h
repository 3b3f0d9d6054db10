#pragma once

#include "State/PopoverRequest.h"
#include "NoteColor.h"
#include "StickyNote.h"

#include <QPointer>
#include <QUuid>
#include <QWidget>
#include <optional>

class AppModel;
class NoteFooter;
class NoteHeader;
class PaperEditor;
class Popover;
class QVariantAnimation;
class RingBar;

// The face of one desktop note: the header with its tape and controls, the text, and the footer with
// the timer and deadline buttons, or the ring bar while the note rings. It holds no note data: every
// change of the model redraws it from the note looked up by id, and every control calls one model
// operation or opens one of the note's popovers. A note that is not in the notebook shows nothing.
class NoteView : public QWidget {
    Q_OBJECT
public:
    // `peeking` changes nothing here; `forceControls` keeps the controls shown whatever the pointer does.
    NoteView(AppModel &model, const QUuid &id, bool peeking, bool forceControls, QWidget *parent = nullptr);
    ~NoteView() override;

    const QUuid &id() const { return m_id; }
    bool peeking() const { return m_peeking; }
    bool forceControls() const { return m_forceControls; }

    // The keyboard focus is in the note.
    bool isEditing() const { return m_editing; }
    bool showsPopover(PopoverRequest::Kind kind) const;
    // Whether the controls that come and go are shown (they fade in and out).
    bool controlsShown() const;
    // Their opacity at this moment, while the fade runs too.
    qreal controlsOpacity() const { return m_controlsOpacity; }

    // Puts the keyboard focus in the note's text, now or when its window becomes active.
    void focusText();

    // Opens one of the note's popovers, closing any other.
    void openPopover(PopoverRequest::Kind kind);
    // The open popover, if any.
    Popover *popover() const;

    NoteHeader *header() const { return m_header; }
    PaperEditor *editor() const { return m_editor; }
    NoteFooter *footer() const { return m_footer; }
    // Made when the note first rings.
    RingBar *ringBar();

signals:
    // The more menu's "Show in All Notes", for whoever keeps the library window.
    void showInLibrary(const QUuid &id);

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The note, looked up by id; where it was last found is tried first.
    const StickyNote *note() const;
    void refresh();
    Date followClock(Date now);
    void showNote(const StickyNote &note);
    void showNothing();
    void answerPopoverRequest();
    void focusChanged();
    bool answersRing(const QKeyEvent *event);
    void setHovering(bool hovering);
    void updateControls();
    void setControlsOpacity(qreal opacity);
    QWidget *popoverContent(PopoverRequest::Kind kind);
    QWidget *popoverAnchor(PopoverRequest::Kind kind) const;

    AppModel &m_model;
    QUuid m_id;
    mutable qsizetype m_foundAt = 0;
    // The note and ringing as last shown, so edits of other notes cost this view one comparison.
    std::optional<std::pair<StickyNote, bool>> m_shown;
    // What the paper was last painted as: none while the note is missing.
    std::optional<std::pair<NoteColor, bool>> m_paperShown;
    bool m_peeking;
    bool m_forceControls;
    bool m_hovering = false;
    bool m_editing = false;
    // The window the note fills: the pointer is over the note while it is over the window, its
    // resize edges included.
    QPointer<QWidget> m_hoverWindow;
    QPointer<Popover> m_popover;
    PopoverRequest::Kind m_popoverKind = PopoverRequest::Kind::timer;
    bool m_targetShown = false;
    qreal m_controlsOpacity = 0;
    QVariantAnimation *m_fade;
    NoteHeader *m_header;
    PaperEditor *m_editor;
    NoteFooter *m_footer;
    RingBar *m_ringBar = nullptr;
};
