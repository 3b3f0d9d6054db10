#pragma once

#include <QString>
#include <QStringList>

struct StickyNote;

// The library's search: every word must be in the note's text, or name the note's colour.
class NoteQuery {
public:
    // Splits at any whitespace and folds each word; empty pieces are dropped, repeats kept.
    explicit NoteQuery(const QString &text = QString());

    // The folded words in the order typed; never an empty one.
    const QStringList &words() const { return m_words; }
    bool isEmpty() const { return m_words.isEmpty(); }

    // An empty query matches every note.
    bool matches(const StickyNote &note) const;

    // Case-, diacritic- and width-insensitive: "Café", "CAFE" and "ｃａｆｅ" all give "cafe".
    static QString fold(const QString &text);

    bool operator==(const NoteQuery &) const = default;

private:
    QStringList m_words;
};
