#pragma once

#include "State/PopoverRequest.h"

#include <QList>
#include <QObject>
#include <QSize>
#include <QString>

class AppModel;
class QMainWindow;
class QMenu;

// Keeps the one "All Notes" window. It is made when first needed and never replaced: closing it only
// hides it, and the next call brings back the same window with its place and size. Where the user
// left it is remembered across runs, in the model's settings. Ctrl+W closes it, as other windows, and
// F10 opens its first menu.
class LibraryWindow : public QObject {
    Q_OBJECT

public:
    static constexpr QSize initialSize{1180, 740};
    static constexpr QSize minimumSize{960, 600};
    // The settings key of the remembered frame.
    static const QString frameKey;

    explicit LibraryWindow(AppModel &model, QObject *parent = nullptr);
    // Only windows of keepers made for a while go with them; the process's one is never destroyed.
    ~LibraryWindow() override;
    // The process's one, on `AppModel::shared()`.
    static LibraryWindow &shared();

    // None until first needed.
    QMainWindow *window() const { return m_window; }
    // Makes the window when there is none yet, then shows it in front as the active window.
    void bringForward();
    // The menus of the window's menu bar, put in now or when the window is made.
    void setMenus(const QList<QMenu *> &menus);
    // Opens the inspector's timer or deadline picker for the selected note; false when it offers
    // none (no window, no note, or a deleted one).
    bool openPicker(PopoverRequest::Kind kind);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void make();
    void addMenus();
    void openFirstMenu();
    void rememberFrame();
    void restoreFrame();

    AppModel &m_model;
    QMainWindow *m_window = nullptr;
    QList<QMenu *> m_menus;
};
