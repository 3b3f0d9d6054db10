#pragma once

#include <QSize>
#include <QWidget>
#include <optional>

class AppModel;
class ChoiceCard;
class PageDots;
class PageTurner;
class QuietButton;
class PrimaryButton;

// The first-run welcome, three pages: what a note that keeps time looks like, notifications, and
// the tray. It owns only its page and the tray answer; everything else is read from and written to
// the model. The only way out is "Start Writing", which hands the tray answer to the model.
class WelcomeView : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize frameSize{620, 540};
    static constexpr int pageCount = 3;

    // `hasNotch` forces the notch (true) or the strip (false); without it the primary screen is
    // measured once, now.
    explicit WelcomeView(AppModel &model, int step = 0, bool useTray = true, std::optional<bool> hasNotch = std::nullopt,
                         QWidget *parent = nullptr);

    int step() const { return m_step; }
    bool useTray() const { return m_useTray; }
    bool hasNotch() const { return m_hasNotch; }
    // Moves `delta` pages, never past the first or the last; animated unless the desktop wants no
    // animations.
    void go(int delta);
    // The page on show.
    QWidget *page() const;
    bool isTurning() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *makePage();
    QWidget *intro();
    QWidget *alertsPage();
    QWidget *notchPage();
    QWidget *permissionRow();
    QWidget *footer();
    QString lead() const;
    void updateFooter();
    void startWriting();

    AppModel &m_model;
    int m_step;
    bool m_useTray;
    bool m_hasNotch;
    PageTurner *m_pages;
    QuietButton *m_back = nullptr;
    PageDots *m_dots = nullptr;
    PrimaryButton *m_continue = nullptr;
    PrimaryButton *m_startWriting = nullptr;
};
