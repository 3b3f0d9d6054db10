#pragma once

// Finding text that a layout cut off or laid over other text: the faults a person would see first
// in a screenshot.

#include "Theme/ThemeLabel.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QStringList>
#include <QWidget>

namespace LayoutChecks {

inline QString describe(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (const auto *label = qobject_cast<const ThemeLabel *>(widget))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    return widget->accessibleName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                              : widget->accessibleName();
}

// The widget's rectangle in `root`'s coordinates, cut to what the scroll areas between them show.
inline QRect visibleRect(const QWidget *widget, const QWidget *root)
{
    QRect shown(widget->mapTo(root, QPoint()), widget->size());
    for (const QWidget *w = widget->parentWidget(); w && w != root; w = w->parentWidget())
        shown &= QRect(w->mapTo(root, QPoint()), w->size());
    return shown;
}

// Visible widgets that show text or take clicks, without the containers around them.
inline QList<QWidget *> leaves(QWidget *root)
{
    QList<QWidget *> found;
    for (QWidget *widget : root->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(root) || visibleRect(widget, root).isEmpty())
            continue;
        if (qobject_cast<QLabel *>(widget) || qobject_cast<ThemeLabel *>(widget) || qobject_cast<QAbstractButton *>(widget)
            || qobject_cast<QComboBox *>(widget)
            || widget->findChildren<QWidget *>().isEmpty())
            found.append(widget);
    }
    return found;
}

// Texts of labels and buttons that got less room than they need.
inline QStringList clipped(QWidget *root)
{
    QStringList faults;
    for (QWidget *widget : leaves(root)) {
        if (qobject_cast<QComboBox *>(widget) && widget->width() < widget->minimumSizeHint().width())
            faults << describe(widget);
        if (const auto *text = qobject_cast<ThemeLabel *>(widget)) {
            if (text->hasHeightForWidth() ? text->height() < text->heightForWidth(text->width())
                                          : text->width() < text->sizeHint().width())
                faults << text->text();
        }
        const auto *label = qobject_cast<QLabel *>(widget);
        if (label && label->wordWrap() && label->height() < label->heightForWidth(label->width()))
            faults << label->text();
        else if (label && !label->wordWrap() && label->width() < label->sizeHint().width())
            faults << label->text();
        const auto *button = qobject_cast<QAbstractButton *>(widget);
        if (button && button->hasHeightForWidth() && button->height() < button->heightForWidth(button->width()))
            faults << button->text();
        else if (button && !button->hasHeightForWidth()
                 && (button->width() < button->sizeHint().width() || button->height() < button->sizeHint().height()))
            faults << button->text();
    }
    return faults;
}

// Pairs of visible leaves that lie over each other.
inline QStringList overlapping(QWidget *root)
{
    QStringList faults;
    const QList<QWidget *> all = leaves(root);
    for (int i = 0; i < all.size(); ++i) {
        for (int j = i + 1; j < all.size(); ++j) {
            if (all[i]->isAncestorOf(all[j]) || all[j]->isAncestorOf(all[i]))
                continue;
            if (visibleRect(all[i], root).intersects(visibleRect(all[j], root)))
                faults << describe(all[i]) + QStringLiteral(" / ") + describe(all[j]);
        }
    }
    return faults;
}

} // namespace LayoutChecks
