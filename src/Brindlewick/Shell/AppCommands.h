#pragma once

#include "State/PopoverRequest.h"

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QUuid>
#include <functional>
#include <memory>
#include <vector>

class AppModel;
class QAction;
class QMenu;
class QWidget;

// The program's menus: File (new notes, copying every note as text, about, updates, settings, quit), Edit (the
// text's own Undo to Select All, then search), Note (commands on the current note,
// `AppActions::currentNote()`) and Window, each opened by Alt and its underlined letter. "All Notes"
// shows them in its menu bar, and the shortcuts of the program's own commands work from every window
// of the program, note panels included.
// A Note command with no current note only beeps, as does a picker the note cannot offer.
class AppCommands : public QObject {
    Q_OBJECT

public:
    explicit AppCommands(AppModel &model, QObject *parent = nullptr);
    ~AppCommands() override;

    // File, Edit, Note and Window, in menu-bar order.
    QList<QMenu *> menus() const;

    // What a Note command does without a current note; the desktop's beep unless replaced.
    std::function<void()> beep;

private:
    QMenu *addMenu(const QString &title);
    QAction *add(QMenu *menu, const QString &title, const QKeySequence &shortcut, std::function<void()> command);
    QAction *addNoteCommand(QMenu *menu, const QString &title, const QKeySequence &shortcut,
                            std::function<void(const QUuid &)> command);
    void buildFileMenu();
    void buildEditMenu();
    void buildNoteMenu();
    void buildWindowMenu();
    void startOrPauseTimer(const QUuid &id);
    void openPicker(const QUuid &id, PopoverRequest::Kind kind);
    void copyAllNotesAsText();
    static void showAbout();
    void attachShortcutsTo(QWidget *window);

    AppModel &m_model;
    std::vector<std::unique_ptr<QMenu>> m_menus;
    // Every command with a shortcut, handed to each window that becomes active.
    QList<QAction *> m_shortcuts;
    QAction *m_hideNotes = nullptr;
};
