#pragma once

#include <QTimer>
#include <QUuid>
#include <QVariantAnimation>
#include <QWidget>
#include <chrono>
#include <optional>

class AppModel;
class PlainButton;
class ThemeLabel;

// The library's one message line: a pill in the window's inverse colours floating 18 points above
// the bottom edge of its parent, showing the model's banner with "Undo" (also Ctrl+Z) when the
// banner carries notes to put back. Each banner is cleared after the time-out counted from its own
// arrival, unless a newer banner has replaced it; a banner still shown when the view goes away
// goes with it.
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
    void slideIn();

    AppModel &m_model;
    ThemeLabel *m_text;
    PlainButton *m_undo;
    PlainButton *m_dismiss;
    QTimer m_timer;
    std::chrono::milliseconds m_timeout = defaultTimeout;
    std::optional<QUuid> m_shownId;
    QVariantAnimation m_slide;
};
