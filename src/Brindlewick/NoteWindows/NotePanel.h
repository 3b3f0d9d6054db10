#pragma once

#include "StickyNote.h"

#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QUuid>
#include <QWidget>

class QVariantAnimation;

// The frameless window of one desktop note; its whole content is the note's face. The window
// manager moves and resizes it (QWindow::startSystemMove/startSystemResize): the content starts
// moves from its header, the panel's own edges start resizes. Geometry here is Qt's, y down.
class NotePanel : public QWidget {
    Q_OBJECT

public:
    NotePanel(const QUuid &noteID, QWidget *content);

    // The note this panel shows; never changes.
    QUuid noteID() const { return m_noteID; }

    // Floating: kept above ordinary windows. Set both before the panel is first shown, floating
    // first.
    bool isFloating() const;
    void setFloating(bool floating);
    bool isOnAllDesktops() const { return m_onAllDesktops; }
    void setOnAllDesktops(bool all);

    // Titles the window after the note, as task switchers and screen readers name it: the note's
    // title, or the program's name while the note has none.
    void showTitle(const StickyNote &note);

    // Moves and sizes the panel where it is meant to be, also before it is first shown.
    void place(const QRect &geometry);
    // Puts the panel in front of the other windows (of its layer, when floating) and leaves the
    // keyboard where it is.
    void comeToFront();
    // Shakes the panel sideways for half a second; it ends where it started.
    void shake();
    bool isShaking() const;

signals:
    // The panel was moved while shown, by the user or by place(); not by its own shake.
    void moved();
    // A resize has ended: no further size change for a moment.
    void resized();
    // The panel stopped being the active window.
    void deactivated();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void settle();

    QUuid m_noteID;
    // The text the title was last made from.
    QString m_titledText;
    bool m_onAllDesktops = false;
    // Until the window manager has shown the panel its reported positions are not trusted.
    bool m_settled = false;
    QRect m_placed;
    QPoint m_shakeOrigin;
    QPointer<QVariantAnimation> m_shake;
    QTimer m_resizeEnd;
};
