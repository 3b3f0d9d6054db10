#pragma once

#include "TrayState.h"

#include <QPainterPath>
#include <QVariantAnimation>
#include <QWidget>

class AppModel;

// The tray panel's one view: the black tray shape at the top of the tray screen, sized and placed for
// the current mode and filled with that mode's content (resting, open or banner). A mode change moves
// and resizes the shape with a spring, at once when the desktop wants no animations; the content
// travels with the shape, cut to its outline, and takes clicks only once it has settled, so a click
// never lands on a card that slid under the pointer. A click on the resting shape opens the tray.
// Always dark.
class TrayView : public QWidget {
    Q_OBJECT
public:
    // The panel starts at the tray screen's left edge; the view fills it.
    TrayView(TrayState &state, AppModel &model, QWidget *parent = nullptr);

    // Where the shape is drawn now, in the view's coordinates, and its outline.
    QRectF shapeRect() const { return m_shown; }
    QPainterPath outline() const;
    // The content of the current mode.
    QWidget *content() const { return m_content; }
    // Draws the shadow of the open and banner shapes; off where translucent pixels would show black.
    void setShadow(bool shadow);
    // The spring that carries the shape from one mode to the next.
    QAbstractAnimation &spring() { return m_spring; }

signals:
    // The drawn shape moved or changed its size or corners.
    void shapeChanged();
    // The open tray's "All Notes" was clicked.
    void libraryAsked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF target() const;
    qreal radius() const;
    void followMode();
    void followBook();
    void moveTo(const QRectF &rect);
    void settle();
    void rebuildContent();
    void placeContent();
    bool onRestingShape(const QPointF &point) const;

    TrayState &m_state;
    AppModel &m_model;
    bool m_ears = false;
    bool m_shadow = false;
    QRectF m_shown;
    QWidget *m_content = nullptr;
    QVariantAnimation m_spring;
};
