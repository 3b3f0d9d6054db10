#pragma once

#include "Countdown.h"
#include "DueText.h"
#include "StickyNote.h"
#include "Theme/TimeTape.h"

#include <QWidget>
#include <optional>

class AppModel;

// One tile of the library's grid: a small paper in the note's colour with its countdown tape, its
// title, the start of its text and a row of badges. It only draws, against the model's clock and
// ringing set; the grid places it, tells it whether it is selected and whether it shows the keyboard,
// and handles the pointer (the card leaves every click to it).
class NoteCard : public QWidget {
    Q_OBJECT
public:
    static constexpr int cardHeight = 176;
    // Room around the paper for the selection ring, which lies 4 points outside it, and the shadow.
    static constexpr int margin = 6;

    NoteCard(AppModel &model, const StickyNote &note, bool selected, QWidget *parent = nullptr);

    const StickyNote &note() const { return m_note; }
    bool isSelected() const { return m_selected; }
    void setNote(const StickyNote &note, bool selected);
    // Rings the paper inside its edge: the keyboard is on this card in the grid.
    void setFocusShown(bool shown);
    bool showsFocus() const { return m_focusShown; }
    // Makes its note the library's selection: what a click on the card does, for assistive technologies.
    void select();

    // The paper, inside the widget's margin.
    QRect cardRect() const;
    // What the card shows, as it paints it.
    std::optional<Countdown> countdown() const;
    QStringList titleLines() const;
    QStringList restLines() const;
    // The deadline's when-text or the timer's length ("5 min timer"); empty without either.
    QString badgeText() const;
    // The badge is in the overdue red: a live note whose deadline has come.
    bool badgeIsOverdue() const;
    // 0.7 for a done or deleted note, else 1.
    qreal paperOpacity() const;

    QSize sizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // What the card shows that moves with the clock; the card repaints when it changes.
    struct ClockFace {
        // Its text key stands for the spoken text too.
        TimeTape::Face tape;
        QString badge;
        bool overdue = false;

        bool operator==(const ClockFace &) const = default;
    };
    ClockFace clockFace() const;
    void followClock();

    struct Layout;
    Layout layout() const;
    void paintPaper(QPainter &painter, const Layout &layout) const;
    void paintBadges(QPainter &painter, const Layout &layout) const;
    void paintSelectionRing(QPainter &painter) const;
    void updateAccessibleText();

    AppModel &m_model;
    StickyNote m_note;
    bool m_selected;
    ClockFace m_clockFace;
    mutable DueText m_dueText;
    bool m_ringing = false;
    bool m_focusShown = false;
};
