#pragma once

#include "TrayGeometry.h"

#include <QWidget>
#include <functional>

class AppModel;
class CardRow;
class Kicker;
class TrayButton;

// The dropped-down tray: a header with the heading and the number of tucked notes, "+" for a new
// tucked note and "All Notes"; under it the row of cards, or a hint on how to tuck a note when none is.
// Given the keyboard, Tab and the arrow keys go round the cards and the two buttons, and Escape
// returns the tray to rest.
class OpenTray : public QWidget {
    Q_OBJECT
public:
    // `close` returns the tray to rest.
    OpenTray(AppModel &model, const TrayGeometry &geometry, std::function<void()> close, QWidget *parent = nullptr);

    QString heading() const;
    CardRow *row() const { return m_row; }
    TrayButton *plusButton() const { return m_plus; }
    TrayButton *libraryButton() const { return m_library; }
    bool showsEmptyState() const;

    // Puts the keyboard on the cards, or on "+" when there are none.
    void focusFirst();
    // The tray has settled open: the cards follow the pointer.
    void followPointer();

protected:
    void keyPressEvent(QKeyEvent *event) override;

signals:
    // "All Notes" was clicked; the tray has gone back to rest.
    void libraryAsked();

private:
    QWidget *header();
    QWidget *emptyState();
    void refresh();
    void addNote();

    AppModel &m_model;
    TrayGeometry m_geometry;
    std::function<void()> m_close;
    Kicker *m_kicker = nullptr;
    QWidget *m_empty = nullptr;
    CardRow *m_row = nullptr;
    TrayButton *m_plus = nullptr;
    TrayButton *m_library = nullptr;
};
