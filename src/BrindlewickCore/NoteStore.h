#pragma once

#include "FileStamp.h"
#include "NoteBook.h"
#include "RegularFile.h"

#include <QString>
#include <functional>
#include <optional>
#include <variant>

// Reads and writes the notebook as one JSON file, "notes.json", in the data folder. The file may be a
// link (into a sync folder, say): it is read and written through, and stays a link.
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
    // the way that is a file, not a regular file), or the place the file lives in is not there yet (a
    // disk not mounted, a link to nothing): nothing is known, so nothing may replace it.
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
    // Undecodable, and left in place: it may be one another program is still writing.
    struct Unfinished {
        std::optional<FileStamp> stamp;
        bool operator==(const Unfinished &) const = default;
    };
    using Loaded = std::variant<NoteBook, Damaged, Fresh, Unreadable, Stuck, Unfinished>;

    explicit NoteStore(const QString &folder);

    const QString &url() const { return m_url; }

    // Never fails: no file in a folder plainly the user's is `Fresh`; an undecodable one is set aside,
    // never overwritten, or left where it is when it `mayBeUnfinished`.
    Loaded load(Date now, bool mayBeUnfinished = false) const;
    // Writes atomically and durably, readable by the owner only; the folder, when made, is the user's
    // alone. The error text, or none when saved.
    std::optional<QString> save(const NoteBook &book) const;
    // Saves as `save` does, but keeps the file it replaced, under a temporary name of ours beside it, for
    // the caller to look at (`RegularFile::exchange`). `beforeSwap` runs once the new file is written.
    std::variant<RegularFile::Exchanged, QString> swapIn(const NoteBook &book,
                                                         const std::function<void()> &beforeSwap = {}) const;
    // The notes file as it is on disk now (a link's target); none when there is none.
    std::optional<FileStamp> stamp() const;
    // Where the disk the notes file lives on is mounted.
    QString disk() const;
    // A free name for setting the notes file aside, beside it (beside a link's target):
    // "notes.<kind>-<unix seconds>.json".
    QString setAsideName(Date now, const QString &kind) const;
    // Keeps the notes file as it is now under `target` too; the notes file stays. The error text, or
    // none when kept.
    std::optional<QString> keepCopy(const QString &target) const;
    // Writes `book` to the new file `target`, never over anything there. The error text, or none when
    // kept.
    std::optional<QString> keep(const NoteBook &book, const QString &target) const;
    // Removes the temporary files of saves cut short by a crash or a kill: only those, never a file a
    // person put beside the notes.
    void removeLeftovers() const;

private:
    QString target() const;
    std::optional<QString> setAside(const QString &target) const;

    QString m_url;
};
