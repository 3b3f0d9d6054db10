#pragma once

#include "Theme/Appearance.h"

#include <QFrame>
#include <optional>

// A small panel that hangs under the control that opened it, like a popover: it closes on a click
// outside it or on Esc, and says so through closed(). It shows one content widget.
class Popover : public QFrame {
    Q_OBJECT
public:
    // The popover belongs to `owner`, whose appearance it takes.
    Popover(QWidget *content, QWidget *owner);

    QWidget *content() const { return m_content; }
    // Shows the popover under `anchor`, or over it where the screen has no room below.
    void popup(const QWidget *anchor);

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // Gives the stock controls inside (calendar, fields, labels) the theme's colours.
    void followScheme();

    QWidget *m_content;
    std::optional<Scheme> m_scheme;
};
