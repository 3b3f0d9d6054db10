#pragma once

#include "StickyNote.h"

#include <QHash>
#include <QList>
#include <QWidget>

class AppModel;
class TrayCard;

// The open tray's row of cards, one per tucked note in the order given: centred while it fits,
// scrolled sideways by the wheel (without indicators) when it does not. Only the cards that lie in
// view are built, so any number of tucked notes costs no more than a trayful.
//
// From the keyboard the row is one stop: the arrow keys move from card to card, scrolling as they go,
// and on past either end to the tray's other controls; Return or Space opens the card.
class CardRow : public QWidget {
    Q_OBJECT
public:
    static constexpr int spacing = 10;
    static constexpr int padding = 16;

    explicit CardRow(AppModel &model, QWidget *parent = nullptr);

    void setNotes(const QList<StickyNote> &notes);
    int offset() const { return m_offset; }
    // Scrolls so the row starts `offset` points into its content, kept within the content.
    void scrollTo(int offset);
    // The cards built now, left to right.
    QList<TrayCard *> cards() const;
    // The note the keyboard is on, among those given.
    qsizetype current() const { return m_current; }

    // The tray has settled open: the cards take the hover of the pointer where it is, and from now on
    // again whenever they move under it or it moves over them.
    void followPointer();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int contentWidth() const;
    void layoutCards();
    void hoverAt(QPoint pointer);
    // Moves the keyboard to the note at `index`, scrolled into view.
    void moveCurrent(qsizetype index);
    TrayCard *currentCard() const;
    void showCurrent();
    void announceCurrent();

    AppModel &m_model;
    QList<StickyNote> m_notes;
    QHash<QUuid, TrayCard *> m_built;
    int m_offset = 0;
    qsizetype m_current = 0;
    bool m_followsPointer = false;
};
