#include "TextCommands.h"

#include "State/AppModel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <array>
#include <optional>

namespace {

// What the text that has the keyboard offers now.
struct Offers {
    bool undo = false;
    bool redo = false;
    bool cut = false;
    bool copy = false;
    bool paste = false;
    bool selectAll = false;
};

struct Item {
    const char *title;
    QKeySequence::StandardKey key;
    // The slot of that name on every kind of text.
    const char *slot;
    bool Offers::*offered;
    bool separatorAfter = false;
};

const std::array<Item, 6> items{{
    {QT_TRANSLATE_NOOP("TextCommands", "&Undo"), QKeySequence::Undo, "undo", &Offers::undo},
    {QT_TRANSLATE_NOOP("TextCommands", "&Redo"), QKeySequence::Redo, "redo", &Offers::redo, true},
    {QT_TRANSLATE_NOOP("TextCommands", "Cu&t"), QKeySequence::Cut, "cut", &Offers::cut},
    {QT_TRANSLATE_NOOP("TextCommands", "&Copy"), QKeySequence::Copy, "copy", &Offers::copy},
    {QT_TRANSLATE_NOOP("TextCommands", "&Paste"), QKeySequence::Paste, "paste", &Offers::paste, true},
    {QT_TRANSLATE_NOOP("TextCommands", "Select &All"), QKeySequence::SelectAll, "selectAll", &Offers::selectAll},
}};

bool clipboardHasText()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

Offers offers(const QLineEdit &field, bool keptSelection)
{
    const bool editable = !field.isReadOnly();
    const bool selected = (field.hasSelectedText() || keptSelection) && field.echoMode() == QLineEdit::Normal;
    return {editable && field.isUndoAvailable(), editable && field.isRedoAvailable(), editable && selected, selected,
            editable && clipboardHasText(), !field.text().isEmpty()};
}

// QPlainTextEdit and QTextEdit.
template <typename Editor>
Offers offers(const Editor &editor)
{
    const bool editable = !editor.isReadOnly();
    const bool selected = editor.textCursor().hasSelection();
    const QTextDocument &text = *editor.document();
    return {editable && text.isUndoAvailable(), editable && text.isRedoAvailable(), editable && selected, selected,
            editable && editor.canPaste(), !text.isEmpty()};
}

std::optional<Offers> offersOf(const QWidget *text, bool keptSelection)
{
    if (const auto *field = qobject_cast<const QLineEdit *>(text))
        return offers(*field, keptSelection);
    if (const auto *plain = qobject_cast<const QPlainTextEdit *>(text))
        return offers(*plain);
    if (const auto *rich = qobject_cast<const QTextEdit *>(text))
        return offers(*rich);
    return std::nullopt;
}

} // namespace

TextCommands::TextCommands(QMenu &menu, AppModel &model, QObject *parent) : QObject(parent), m_model(model)
{
    for (const Item &item : items) {
        QAction *action = menu.addAction(tr(item.title));
        // Shown in the menu, heard only while the menu bar has the keyboard.
        action->setShortcut(QKeySequence(item.key));
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, [this, slot = item.slot] { run(slot); });
        m_actions.append(action);
        if (item.separatorAfter)
            menu.addSeparator();
    }
    connect(&menu, &QMenu::aboutToShow, this, &TextCommands::refresh);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { follow(now); });
    follow(QApplication::focusWidget());
}

void TextCommands::follow(QWidget *focus)
{
    if (!focus || qobject_cast<QMenuBar *>(focus) || qobject_cast<QMenu *>(focus) || focus == m_focus)
        return;
    if (m_focus)
        m_focus->removeEventFilter(this);
    m_focus = focus;
    m_fieldSelection.reset();
    if (qobject_cast<QLineEdit *>(focus))
        focus->installEventFilter(this);
}

// Seen before the field itself drops its selection, and after it has taken the keyboard back.
bool TextCommands::eventFilter(QObject *watched, QEvent *event)
{
    const bool out = event->type() == QEvent::FocusOut, in = event->type() == QEvent::FocusIn;
    if ((!out && !in) || static_cast<QFocusEvent *>(event)->reason() != Qt::MenuBarFocusReason)
        return false;
    const auto *field = static_cast<QLineEdit *>(watched);
    if (out && field->hasSelectedText())
        m_fieldSelection = std::pair{field->selectionStart(), field->selectionLength()};
    if (in)
        restoreSelection();
    return false;
}

void TextCommands::restoreSelection()
{
    if (auto *field = qobject_cast<QLineEdit *>(m_focus); field && m_fieldSelection)
        field->setSelection(m_fieldSelection->first, m_fieldSelection->second);
    m_fieldSelection.reset();
}

QWidget *TextCommands::focusedText() const
{
    QWidget *focus = m_focus;
    const bool here = focus && focus->window() == QApplication::activeWindow();
    return here && offersOf(focus, false) ? focus : nullptr;
}

void TextCommands::refresh()
{
    const Offers now = offersOf(focusedText(), m_fieldSelection.has_value()).value_or(Offers{});
    for (qsizetype i = 0; i < m_actions.size(); ++i)
        m_actions[i]->setEnabled(now.*(items[size_t(i)].offered));
    QAction *undo = m_actions.first();
    if (!focusedText())
        undo->setEnabled(bannerOffersUndo());
}

bool TextCommands::bannerOffersUndo() const
{
    return m_model.banner() && !m_model.banner()->undo.isEmpty();
}

void TextCommands::run(const char *slot)
{
    if (QWidget *text = focusedText()) {
        restoreSelection();
        QMetaObject::invokeMethod(text, slot);
    } else if (qstrcmp(slot, "undo") == 0) {
        m_model.undo();
    }
}
