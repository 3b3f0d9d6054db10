#pragma once

#include <QString>
#include <QStringList>

// Where the notebook lives.
struct Paths {
    // The folder that holds "notes.json".
    QString data;

    // $XDG_DATA_HOME/Brindlewick, or BRINDLEWICK_DATA_DIR taken as it stands unless empty (the start
    // has made both absolute). Creates nothing: the store makes the folder on its first save.
    static Paths live();
    // $XDG_STATE_HOME/Brindlewick (~/.local/state/Brindlewick): notes that could not be saved go here.
    static QString stateFolder();

    // What the user should hear at start of the folders: the program's own among `own` (the state
    // folder is always looked at) that another user could change, where it keeps nothing, and a data
    // folder another user could change, which is used as the user chose.
    QStringList notices(const QStringList &own) const;

    bool operator==(const Paths &) const = default;
};
