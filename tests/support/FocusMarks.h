#pragma once

#include <QApplication>
#include <QImage>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace FocusMarks {

// Goes round the active window by Tab from its focused control (at most `presses` stops), then takes
// the keyboard away, and names the stops that look the same with the keyboard on them as without it:
// stops a keyboard user cannot see. A round that never leaves its first control, or that has no
// control to start from, is named too: it saw nothing.
inline QStringList unmarkedStops(QWidget *window, int presses)
{
    const auto shot = [window](const QWidget *w) { return window->grab(QRect(w->mapTo(window, QPoint()), w->size())).toImage(); };
    QWidget *const start = QApplication::focusWidget();
    if (!start)
        return {QStringLiteral("no control has the keyboard")};
    // There and back, so the window shows that the keyboard moves the focus.
    QTest::keyClick(start, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QList<std::pair<QWidget *, QImage>> marked;
    for (QWidget *at = start; at && marked.size() < presses; at = QApplication::focusWidget()) {
        marked.append({at, shot(at)});
        QTest::keyClick(at, Qt::Key_Tab);
        if (QApplication::focusWidget() == start)
            break;
    }
    if (QWidget *focused = QApplication::focusWidget())
        focused->clearFocus();
    QStringList unmarked;
    if (marked.size() < 2)
        unmarked.append(QStringLiteral("Tab never left ") + QString::fromLatin1(start->metaObject()->className()));
    for (const auto &[stop, look] : marked) {
        if (shot(stop) == look)
            unmarked.append(QString::fromLatin1(stop->metaObject()->className()) + u' ' + stop->accessibleName());
    }
    return unmarked;
}

} // namespace FocusMarks
