#pragma once

#include "FileStamp.h"
#include "NoteBook.h"

#include <QString>
#include <optional>
#include <variant>

// Reads and writes the notebook as one JSON file, "notes.json", in the data folder.
class NoteStore {
public:
    struct Fresh {
        bool operator==(const Fresh &) const = default;
    };
    struct Damaged {
        // Where the unreadable file was set aside.
        QString setAside;
        bool operator==(const Damaged &) const = default;
    };
    // Something is there that could not be looked at (no permission, an I/O error, a folder on
    // the way that is a file, not a regular file): nothing is known, so nothing may replace it.
    struct Unreadable {
        QString error;
        bool operator==(const Unreadable &) const = default;
    };
    // Undecodable, and moving it to `setAside` failed: it stays in place and must not be saved over.
    struct Stuck {
        QString setAside;
        QString error;
        bool operator==(const Stuck &) const = default;
    };
    using Loaded = std::variant<NoteBook, Damaged, Fresh, Unreadable, Stuck>;

    explicit NoteStore(const QString &folder);

    const QString &url() const { return m_url; }

    // Never fails: no file is `Fresh`; an undecodable one is moved aside, never overwritten.
    Loaded load(Date now) const;
    // Writes atomically and durably, readable by the owner only. The error text, or none when saved.
    std::optional<QString> save(const NoteBook &book) const;
    // The notes file as it is on disk now; none when there is none.
    std::optional<FileStamp> stamp() const;
    // A free name in the folder for setting a file aside: "notes.<kind>-<unix seconds>.json".
    QString setAsideName(Date now, const QString &kind = QStringLiteral("damaged")) const;
    // Moves the notes file to `target`; the error text, or none when moved.
    std::optional<QString> moveAside(const QString &target) const;
    // Removes the temporary copies that saves cut short by a crash or a kill left in the folder.
    void removeLeftovers() const;

private:
    QString m_url;
};
