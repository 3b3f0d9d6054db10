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
// desktop, and the context menu offers the library's note operations.
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
    const QList<NoteCard *> &cards() const { return m_cards; }

    // The menu of one note, as the grid last drew it; the caller owns it.
    QMenu *contextMenu(const StickyNote &note, QWidget *parent = nullptr);

    // The columns of a grid `width` points wide, its side padding included.
    static Columns columns(qreal width);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeCards();
    NoteCard *cardAt(QPoint point) const;
    // Shows a note on the desktop: all notes come back, the note stops ringing and opens.
    void showOnDesktop(const QUuid &id);

    AppModel &m_model;
    QList<NoteCard *> m_cards;
};
