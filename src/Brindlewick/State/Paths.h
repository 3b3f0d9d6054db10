#pragma once

#include <QString>

// Where the notebook lives.
struct Paths {
    // The folder that holds "notes.json".
    QString data;

    // $XDG_DATA_HOME/Brindlewick, or BRINDLEWICK_DATA_DIR taken as it stands unless empty (the start
    // has made both absolute). Creates nothing: the store makes the folder on its first save.
    static Paths live();
    // $XDG_STATE_HOME/Brindlewick (~/.local/state/Brindlewick): notes that could not be saved go here.
    static QString stateFolder();

    bool operator==(const Paths &) const = default;
};
