#pragma once

#include "StickyNote.h"

#include <QList>
#include <QUuid>
#include <QWidget>
#include <optional>

class AppModel;
class NoteCard;
class QMenu;

// The library's notes as cards in as many columns as fit (each 186 to 260 points wide, 16 apart,
// rows 18 apart, the whole grid centred). A click selects a note, a double click shows it on the
// desktop, and the context menu offers the library's note operations. From the keyboard the arrow
// keys, Page Up and Down, Home and End move the selection, Return shows the selected note on the
// desktop, Delete deletes it and the menu key opens its context menu. In a scroll area only the rows
// on screen and a screen's height either side have cards, so a notebook of any size costs no more
// than a few screens of them.
class CardGrid : public QWidget {
    Q_OBJECT
public:
    struct Columns {
        int count = 1;
        qreal width = 0;
        qreal left = 0;
    };

    explicit CardGrid(AppModel &model, QWidget *parent = nullptr);

    // Shows these notes in this order, reusing the cards already made.
    void setNotes(const QList<StickyNote> &notes, std::optional<QUuid> selection);
    // The cards made, in the notes' order: those on screen and a screen's height either side.
    const QList<NoteCard *> &cards() const { return m_cards; }

    // The menu of one note, as the grid last drew it; the caller owns it.
    QMenu *contextMenu(const StickyNote &note, QWidget *parent = nullptr);

    // The columns of a grid `width` points wide, its side padding included.
    static Columns columns(qreal width);

    // Takes the keyboard; a selection among the notes shown is kept, else the first note is selected.
    void enter();
    // Takes the keyboard on the note at `index`, kept within the notes, and selects it.
    void enterAt(qsizetype index);
    // Whether the selected note is among the notes shown.
    bool showsSelection() const { return selectedIndex().has_value(); }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

signals:
    // The selected note's cell, in the grid's coordinates, after the keyboard moved the selection.
    void selectionMoved(const QRect &cell);
    // The selected note left the notes shown, deleted, or changed by a command while the cards had the
    // keyboard (done, tucked, put back…); it stood at `index` among them.
    void selectedNoteLeft(qsizetype index);

protected:
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The notes whose cards are wanted now: their first index and count.
    std::pair<qsizetype, qsizetype> wantedRange() const;
    void placeCards();
    // The selected card shows the keyboard while the grid shows that it has it.
    void showFocus();
    NoteCard *cardAt(QPoint point) const;
    QRect cell(qsizetype index) const;
    // Where the selection is among the notes shown, if it is.
    std::optional<qsizetype> selectedIndex() const;
    // Where the selected note stood when it is no longer among `notes` as `selectedNoteLeft` says.
    std::optional<qsizetype> placeOfDepartedSelection(const QList<StickyNote> &notes) const;
    void deleteSelected();
    // Selects the copy, in view when the grid shows it.
    void duplicate(QUuid id);
    // Selects the note at `index`, kept within the notes, and brings its cell into view.
    void selectAt(qsizetype index);
    int pageRows() const;
    // The index a key moves the selection to, maybe beyond the notes; none for a key that does not move it.
    std::optional<qsizetype> target(int key) const;
    void popUpMenu(const StickyNote &note, QPoint globalPos);
    // The selected note's menu, over the middle of its card.
    void popUpSelectedMenu();
    // Shows a note on the desktop: all notes come back, the note stops ringing and opens. The id is a
    // copy: the model's changes on the way rebuild the cards it may come from.
    void showOnDesktop(QUuid id);

    AppModel &m_model;
    QList<StickyNote> m_notes;
    std::optional<QUuid> m_selection;
    // Cards of the notes from `m_first` on.
    qsizetype m_first = 0;
    QList<NoteCard *> m_cards;
};
