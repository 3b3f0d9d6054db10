#pragma once

#include <QTimer>
#include <QUuid>
#include <QVariantAnimation>
#include <QWidget>
#include <chrono>
#include <optional>

class AppModel;
class PlainButton;
class QGraphicsOpacityEffect;
class ThemeLabel;

// The library's one message line: a pill in the window's inverse colours floating 18 points above
// the bottom edge of its parent, showing the model's banner with "Undo" (also Ctrl+Z) when the
// banner carries notes to put back. It slides in from the bottom edge and out again, fading. Each
// banner is cleared after the time-out counted from when it came on screen, unless a newer banner
// has replaced it: a banner set while the parent is not shown waits for it. A banner still shown
// when the view goes away or its parent is hidden (the window closed) goes with it.
class BannerView : public QWidget {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds defaultTimeout{8000};

    // Floats over `parent`, which it follows in size.
    BannerView(AppModel &model, QWidget *parent);
    ~BannerView() override;

    // Takes effect from the next banner on.
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    // The id of the banner on show, if any.
    std::optional<QUuid> shownId() const { return m_shownId; }
    ThemeLabel *textLabel() const { return m_text; }
    PlainButton *undoButton() const { return m_undo; }
    PlainButton *dismissButton() const { return m_dismiss; }

    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();
    void expire();
    void place();
    void slide(qreal to);
    void slid();
    bool onScreen() const;

    AppModel &m_model;
    ThemeLabel *m_text;
    PlainButton *m_undo;
    PlainButton *m_dismiss;
    QTimer m_timer;
    std::chrono::milliseconds m_timeout = defaultTimeout;
    std::optional<QUuid> m_shownId;
    // How far the pill is in: 0 below the edge and clear, 1 in its place.
    QVariantAnimation m_slide;
    QGraphicsOpacityEffect *m_fade;
};
