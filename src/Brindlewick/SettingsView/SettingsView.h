#pragma once

#include "Theme/Appearance.h"

#include <QSize>
#include <QWidget>
#include <optional>

class AppModel;
class QAbstractButton;
class QCheckBox;
class QTabWidget;
class ThemeLabel;

// The settings window's content: the General, Alerts, Notch, Shortcuts, Updates and How It Works tabs.
// Every control writes one AppModel setting and follows it back; the view keeps no copy of any setting.
// The Updates tab is the update kit's own pane, which keeps its own state.
class SettingsView : public QWidget {
    Q_OBJECT
public:
    enum class Tab { general, alerts, notch, shortcuts, updates, howItWorks };

    static constexpr QSize frameSize{540, 440};

    // `hasNotch` forces the notch (true) or the strip (false) wording and drawing; without it the
    // primary screen is measured once, when the Notch tab is built.
    explicit SettingsView(AppModel &model, std::optional<bool> hasNotch = std::nullopt, QWidget *parent = nullptr);

    bool hasNotch() const;
    QTabWidget *tabs() const { return m_tabs; }
    void showTab(Tab tab);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *generalTab();
    QWidget *alertsTab();
    QWidget *notchTab();
    QWidget *shortcutsTab();
    QWidget *howItWorksTab();
    QWidget *noServerLine();
    void addTabKeys();
    void updateHotkeyWarning();
    void updatePermission();
    void updateTabIcons(Scheme scheme);

    AppModel &m_model;
    std::optional<bool> m_hasNotch;
    mutable std::optional<bool> m_liveHasNotch;
    QTabWidget *m_tabs;
    ThemeLabel *m_hotkeyWarning = nullptr;
    QCheckBox *m_notificationsSwitch = nullptr;
    QWidget *m_noServer = nullptr;
    QAbstractButton *m_openSettings = nullptr;
    Scheme m_iconScheme = Scheme::light;
};
