#pragma once

#include <QObject>
#include <QString>

class AppModel;
class QWidget;

// Keeps the one settings window: made when first needed, then the same window every time. It opens
// centred on the screen with the pointer; once moved, where the user left it, across runs too.
// Escape (once no list is open in it) and Ctrl+W close it.
class SettingsWindow : public QObject {
    Q_OBJECT

public:
    // The settings key of the remembered frame.
    static const QString frameKey;

    explicit SettingsWindow(AppModel &model, QObject *parent = nullptr);
    // Only windows of keepers made for a while go with them; the process's one is never destroyed.
    ~SettingsWindow() override;
    // The process's one, on `AppModel::shared()`.
    static SettingsWindow &shared();

    // None until first needed.
    QWidget *window() const { return m_window; }
    // Makes the window when there is none yet, then shows it in front as the active window.
    void bringForward();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void make();
    void rememberFrame();

    AppModel &m_model;
    QWidget *m_window = nullptr;
};
