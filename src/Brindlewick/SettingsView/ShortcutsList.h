#pragma once

#include <QList>
#include <QString>
#include <QWidget>

// The keyboard shortcuts as a fixed, read-only table: the action on the left, its keys on a key cap
// on the right, a hairline under every row. The table is a constant of the program: a command whose
// shortcut changes must be changed here too.
class ShortcutsList : public QWidget {
    Q_OBJECT
public:
    struct Shortcut {
        // Shown exactly as written; unique in the list.
        QString keys;
        QString label;

        bool operator==(const Shortcut &) const = default;
    };

    explicit ShortcutsList(QWidget *parent = nullptr);

    // The rows in display order, labels translated.
    static QList<Shortcut> shortcuts();
};
