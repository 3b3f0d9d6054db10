#pragma once

#include <QTimer>
#include <QWidget>

// The Quick Note window: frameless, floating above other windows and able to take the keyboard
// focus, which the typed line needs. It is made once and only ever shown and hidden; it hides by
// itself when the application stops being the active one.
class KeyPanel : public QWidget {
    Q_OBJECT
public:
    // Holds `content`, which fills it.
    explicit KeyPanel(QWidget *content);

    // Shows the panel at `frame` (in Qt's screen coordinates), in front, with the keyboard focus.
    void present(const QRect &frame);

private:
    QTimer m_deactivated;
};
