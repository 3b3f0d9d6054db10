#pragma once

#include "Countdown.h"
#include "DueText.h"
#include "StickyNote.h"

#include <QWidget>
#include <optional>

class AppModel;
class PaperIconButton;

// One tucked note in the open tray's row: a 158 × 138 square of its paper, always light, with its
// countdown tape stuck askew across the top, its title and the start of its text, the due date of a
// deadline and, while the pointer is over it, buttons to put it on the desktop or mark it done.
// A click opens the note under the tray; the row gives it a ring where the keyboard is. It repaints
// only when what it shows changes.
class TrayCard : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize cardSize{158, 138};

    TrayCard(AppModel &model, const StickyNote &note, bool forceHover = false, QWidget *parent = nullptr);

    const StickyNote &note() const { return m_note; }
    // Takes the note as it is now and the model's clock and ringing set.
    void setNote(const StickyNote &note);
    // Shows a tucked note under the open tray, as a card's click, the banner's "Open" and the "+" do:
    // hidden notes show again and the note stops ringing.
    static void open(AppModel &model, const QUuid &id);
    // The card's click, also its accessibility action "Open".
    void openNote();

    bool showsButtons() const;
    // Whether the pointer is over the card; the pointer's comings and goings set it, and the row when
    // it moves the card under a still pointer.
    void setHovering(bool hovering);
    // Rings the card: the keyboard is on it in the row.
    void setFocusShown(bool shown);
    bool showsFocus() const { return m_focusShown; }

protected:
    bool event(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // What a paint shows; a repaint is asked for only when it changes.
    struct Face {
        std::optional<Countdown> countdown;
        QString due;
        bool ringing = false;
        StickyNote note;
        bool operator==(const Face &) const = default;
    };
    std::optional<Countdown> countdown() const;
    QString dueText() const;
    Face face() const;
    void refresh();
    void updateAccessibleName();

    AppModel &m_model;
    StickyNote m_note;
    bool m_forceHover;
    bool m_hovering = false;
    bool m_focusShown = false;
    Face m_face;
    mutable DueText m_dueText;
    PaperIconButton *m_putBack;
    PaperIconButton *m_done;
};
