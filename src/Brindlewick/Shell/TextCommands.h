#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <optional>
#include <utility>

class AppModel;
class QAction;
class QMenu;
class QWidget;

// The Edit menu's standard group: Undo, Redo, Cut, Copy, Paste and Select All on the text that has
// the keyboard, a field or a note's text, each greyed out where it does not apply; with no text to
// act on, Undo is the banner's, as Ctrl+Z is in "All Notes". The keys the items show stay the text's
// own: no item takes a key from the field that has the keyboard.
class TextCommands : public QObject {
    Q_OBJECT
public:
    // Adds the group to the end of `menu`.
    TextCommands(QMenu &menu, AppModel &model, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The text that has the keyboard in the active window; none when the keyboard is elsewhere.
    QWidget *focusedText() const;
    bool bannerOffersUndo() const;
    void refresh();
    // Calls the slot of that name on the text that has the keyboard.
    void run(const char *slot);
    void follow(QWidget *focus);
    // Gives a field back the selection it lost when the menu bar took the keyboard.
    void restoreSelection();

    AppModel &m_model;
    QList<QAction *> m_actions;
    // The last control the keyboard was on, the menu bar never counted.
    QPointer<QWidget> m_focus;
    // A field drops its selection when the menu bar takes the keyboard: where it was, for the items.
    std::optional<std::pair<int, int>> m_fieldSelection;
};
