#pragma once

#include <QPixmap>
#include <QPointer>
#include <QVariantAnimation>
#include <QWidget>

class QGraphicsOpacityEffect;

// Holds one page at a time and turns to the next: the new page slides in from the trailing edge
// while the old one slides out towards the leading edge, both fading, whichever way the reader
// goes. Pages fill the area and are cut at its edges.
class PageTurner : public QWidget {
    Q_OBJECT
public:
    static constexpr int turnMilliseconds = 350;

    explicit PageTurner(QWidget *parent = nullptr);

    // Takes `page` and shows it in place of the current one (which is deleted), turning when
    // `animated`, at once otherwise.
    void setPage(QWidget *page, bool animated);
    QWidget *page() const { return m_page; }
    bool isTurning() const { return m_turn.state() == QAbstractAnimation::Running; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void place(qreal progress);
    void finish();
    // +1 when the trailing edge is on the right.
    int forward() const { return isRightToLeft() ? -1 : 1; }

    QPointer<QWidget> m_page;
    QPixmap m_outgoing;
    qreal m_progress = 1;
    QVariantAnimation m_turn;
};
