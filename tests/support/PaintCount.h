#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>

// Counts the paints a widget receives, for tests of what repaints when.
class PaintCount : public QObject {
public:
    explicit PaintCount(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};
