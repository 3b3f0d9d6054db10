#pragma once

#include <QWidget>

class AppModel;
class BannerView;
class Inspector;
class NoteGrid;
class Sidebar;

// The whole content of the "All Notes" window: the sidebar (204 points), the note grid (at least
// 440, taking the rest) and the inspector (290), between one-point hairlines, on the desk colour,
// with the undo banner floating over the bottom edge. The columns share nothing but the model.
class LibraryView : public QWidget {
    Q_OBJECT
public:
    static constexpr int sidebarWidth = 204;
    static constexpr int gridMinimumWidth = 440;
    static constexpr int inspectorWidth = 290;

    explicit LibraryView(AppModel &model, QWidget *parent = nullptr);

    Sidebar *sidebar() const { return m_sidebar; }
    NoteGrid *grid() const { return m_grid; }
    Inspector *inspector() const { return m_inspector; }
    BannerView *banner() const { return m_banner; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Sidebar *m_sidebar;
    NoteGrid *m_grid;
    Inspector *m_inspector;
    BannerView *m_banner;
};
