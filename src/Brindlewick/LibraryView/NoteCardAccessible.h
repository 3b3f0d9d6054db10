#pragma once

#include <QAccessibleWidget>

class NoteCard;

// What assistive technologies read of a library card: a button that names its note and says whether
// it is the selected one; pressing it selects the note, as a click does.
class NoteCardAccessible : public QAccessibleWidget {
public:
    explicit NoteCardAccessible(NoteCard *card);

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

    // Lets Qt make one for every card; safe to call more than once.
    static void install();

private:
    NoteCard *card() const;
};
