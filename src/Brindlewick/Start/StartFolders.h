#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>
#include <utility>

// The folders the environment points the program at, settled once at start before anything reads
// them, so that every part of the program, and whatever it starts (the next version after an update),
// finds the same absolute folders wherever it is started from.
namespace StartFolders {

struct Settled {
    // Variables to set to a new value, or to remove (none).
    QList<std::pair<QByteArray, std::optional<QByteArray>>> changes;
    // Why the program cannot start: BRINDLEWICK_DATA_DIR cannot name a folder.
    std::optional<QString> problem;

    bool operator==(const Settled &) const = default;
};

// From the variables set (name to value) and the folder the process started in: relative XDG base
// folders are dropped, as the XDG rules say; an empty BRINDLEWICK_DATA_DIR counts as unset, a relative
// one (or BRINDLEWICK_DEMO_DIR) is made absolute against the working folder. Linear in the values'
// length.
Settled settle(const QMap<QByteArray, QByteArray> &environment, const QByteArray &workingFolder);

// Settles the process's own environment; the problem when the program cannot start.
std::optional<QString> settleOwn();

} // namespace StartFolders
