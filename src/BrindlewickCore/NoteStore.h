#pragma once

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
    using Loaded = std::variant<NoteBook, Damaged, Fresh>;

    explicit NoteStore(const QString &folder);

    const QString &url() const { return m_url; }

    // Never fails: no readable file is `Fresh`; an undecodable one is moved aside, never overwritten.
    Loaded load(Date now) const;
    // Writes atomically and durably, readable by the owner only. The error text, or none when saved.
    std::optional<QString> save(const NoteBook &book) const;
    // A free name in the folder for setting an unusable file aside.
    QString setAsideName(Date now) const;

private:
    QString m_url;
};
