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

protected:
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    int contentWidth() const;
    void layoutCards();

    AppModel &m_model;
    QList<StickyNote> m_notes;
    QHash<QUuid, TrayCard *> m_built;
    int m_offset = 0;
};
