#pragma once

#include <QScrollArea>

// A scroll area over text that no control inside takes the keyboard for: it takes the focus itself,
// so the arrow and page keys scroll it, and rings its edge while it shows the focus. It paints no
// background of its own; the content shows what lies beneath.
class TextScroll : public QScrollArea {
    Q_OBJECT
public:
    explicit TextScroll(QWidget *content, QWidget *parent = nullptr);

protected:
    bool event(QEvent *event) override;
};
