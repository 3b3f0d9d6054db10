#pragma once

#include "TrayGeometry.h"

#include <QWidget>
#include <functional>

class AppModel;
class CardRow;
class Kicker;

// The dropped-down tray: a header with the heading and the number of tucked notes, "+" for a new
// tucked note and "All Notes"; under it the row of cards, or a hint on how to tuck a note when none is.
class OpenTray : public QWidget {
    Q_OBJECT
public:
    // `close` returns the tray to rest.
    OpenTray(AppModel &model, const TrayGeometry &geometry, std::function<void()> close, QWidget *parent = nullptr);

    QString heading() const;
    CardRow *row() const { return m_row; }
    bool showsEmptyState() const;

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
};
