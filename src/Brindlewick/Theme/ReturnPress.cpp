#include "ReturnPress.h"

#include <QAbstractButton>
#include <QKeyEvent>

bool ReturnPress::clicks(QAbstractButton &button, const QKeyEvent &event)
{
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    if (!enter || (event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    button.click();
    return true;
}
