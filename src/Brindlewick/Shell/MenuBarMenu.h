#pragma once

#include "Date.h"
#include "StickyNote.h"

#include <QList>
#include <QMenu>
#include <QUuid>

class AppModel;

// The status item's menu: the live notes, most urgent first, each bringing its note forward; then
// the everyday commands. It follows the model as it changes, also while it is open.
class MenuBarMenu : public QMenu {
    Q_OBJECT

public:
    // Live notes beyond this many are summed up in one line.
    static constexpr int mostNotes = 10;

    struct Entry {
        QUuid id;
        // The title, and the countdown once it runs: "Tea  ·  4:59".
        QString text;
        bool operator==(const Entry &) const = default;
    };

    explicit MenuBarMenu(AppModel &model, QWidget *parent = nullptr);

    // The note entries for `notes` at `now`: the first `mostNotes` live notes by urgency.
    static QList<Entry> entries(const QList<StickyNote> &notes, Date now);

private:
    void addNoteSlots();
    void addCommands();
    void refresh();
    void choose(const QUuid &id);

    AppModel &m_model;
    QList<QAction *> m_notes;
    QAction *m_more = nullptr;
    QAction *m_noNotes = nullptr;
    QAction *m_hideNotes = nullptr;
};
