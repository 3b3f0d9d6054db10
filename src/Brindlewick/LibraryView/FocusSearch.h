#pragma once

#include <QObject>

// The in-process request "Brindlewick.focusSearch": the find command asks the library's search field
// for the keyboard focus. It carries nothing; whoever shows a search field listens on the main thread.
class FocusSearch : public QObject {
    Q_OBJECT
public:
    static FocusSearch &instance();
    // Asks every listening search field for the focus; nothing happens when none listens.
    static void post();

signals:
    void posted();

private:
    FocusSearch() = default;
};
