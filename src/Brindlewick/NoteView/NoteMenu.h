#pragma once

#include <QMenu>
#include <QUuid>

class AppModel;

// The more menu of a note: done, duplicate, copy the text, show in the library, delete.
class NoteMenu : public QMenu {
    Q_OBJECT
public:
    NoteMenu(AppModel &model, const QUuid &id, QWidget *parent = nullptr);

    // Reads the note's done state into the first item's title.
    void refresh();

signals:
    // "Show in All Notes": the library window is the application's to open.
    void showInLibrary(const QUuid &id);

private:
    void copyText();

    AppModel &m_model;
    QUuid m_id;
    QAction *m_done;
};
