#include "NoteCardAccessible.h"

#include "NoteCard.h"

namespace {

QAccessibleInterface *forCard(const QString &className, QObject *object)
{
    if (className == QLatin1String("NoteCard") && object && object->isWidgetType())
        return new NoteCardAccessible(static_cast<NoteCard *>(object));
    return nullptr;
}

} // namespace

NoteCardAccessible::NoteCardAccessible(NoteCard *card) : QAccessibleWidget(card, QAccessible::Button) {}

NoteCard *NoteCardAccessible::card() const
{
    return static_cast<NoteCard *>(widget());
}

QAccessible::State NoteCardAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.selectable = true;
    state.selected = card()->isSelected();
    // The grid takes the keyboard for its cards; the selected one is where it is.
    state.focusable = true;
    state.focused = state.selected && card()->parentWidget() && card()->parentWidget()->hasFocus();
    return state;
}

QStringList NoteCardAccessible::actionNames() const
{
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void NoteCardAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction())
        card()->select();
    else
        QAccessibleWidget::doAction(actionName);
}

void NoteCardAccessible::install()
{
    static const bool installed = (QAccessible::installFactory(forCard), true);
    Q_UNUSED(installed);
}
