#pragma once

#include <QObject>
#include <QRect>
#include <memory>
#include <optional>

class AppModel;
class KeyPanel;

// Owns the one Quick Note panel and remembers which window was active before it showed, so Esc can
// give that window the focus back.
class QuickNoteController : public QObject {
    Q_OBJECT
public:
    explicit QuickNoteController(QObject *parent = nullptr);
    ~QuickNoteController() override;

    // The one the application uses; made on first use.
    static QuickNoteController &shared();

    // Shows the panel near the top of the screen with the focus in its line. The panel is made on
    // the first show, for `model`; later shows keep that model.
    void show(AppModel &model);
    // What the global key does: hides the panel when it is visible (the focus stays where the
    // window manager puts it), else shows it.
    void toggle(AppModel &model);
    // None before the first show.
    KeyPanel *panel() const { return m_panel.get(); }

    // Where the panel shows on a screen of `area` (Qt coordinates): centred, its lower edge 28 % of
    // the height below the top.
    static QRect frame(const QRect &area);

private:
    void make(AppModel &model);
    void close(bool restore);

    std::unique_ptr<KeyPanel> m_panel;
    // The X window that was active when the panel last showed.
    std::optional<quint32> m_previous;
};
