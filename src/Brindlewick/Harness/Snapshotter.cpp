#include "Snapshotter.h"

#include "DemoWorld.h"

#include "NotchTray/TrayState.h"
#include "NotchTray/TrayView.h"
#include "NoteView/NoteView.h"
#include "NoteWindows/NotePanel.h"
#include "NoteWindows/NoteWindows.h"
#include "SettingsView/SettingsView.h"
#include "Shell/LibraryRoot.h"
#include "Shell/LibraryWindow.h"
#include "Shell/MenuBarMenu.h"
#include "Shell/QuickNote/KeyPanel.h"
#include "Shell/QuickNote/QuickNoteView.h"
#include "Theme/Theme.h"
#include "Welcome/WelcomeView.h"

#include "NotePlacement.h"

#include <QApplication>
#include <QAbstractAnimation>
#include <QDir>
#include <QElapsedTimer>
#include <QGraphicsOpacityEffect>
#include <QLineEdit>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>

namespace {

// Image pixels per point, whatever the screen.
constexpr qreal pixelRatio = 2;
// The desk shown around every window, in points.
constexpr int margin = 12;

struct Shot {
    QString name;
    // Makes the shot's window on a fresh world.
    std::function<std::unique_ptr<QWidget>(DemoWorld &)> make;
    // Runs once the window shows in its appearance: opens what the shot is about.
    std::function<void(QWidget *)> stage = {};
};

// A panel's size: its note's frame, or for a peek at least the smallest peek.
QSize panelSize(const StickyNote &note, bool peeking)
{
    const QSizeF frame = note.frame ? note.frame->rect().size() : QSizeF();
    if (!peeking)
        return (note.frame ? frame : NotePlacement::defaultSize).toSize();
    return frame.expandedTo(NoteWindows::smallestPeek).toSize();
}

// A note panel as the note windows make it.
Shot note(const QString &name, int number, bool peeking = false, bool controls = false)
{
    return {name, [=](DemoWorld &world) -> std::unique_ptr<QWidget> {
                auto view = new NoteView(world.model(), world.id(number), peeking, controls);
                auto panel = std::make_unique<NotePanel>(world.id(number), view);
                panel->resize(panelSize(world.note(number), peeking));
                return panel;
            }};
}

Shot notePopover(const QString &name, int number, PopoverRequest::Kind kind)
{
    Shot shot = note(name, number, false, true);
    shot.stage = [kind](QWidget *panel) { panel->findChild<NoteView *>()->openPopover(kind); };
    return shot;
}

// The Quick Note panel with `line` typed into it.
Shot quickNote(const QString &name, const QString &line)
{
    return {name, [line](DemoWorld &world) -> std::unique_ptr<QWidget> {
                auto view = new QuickNoteView(world.model(), [](bool) {});
                view->findChild<QLineEdit *>()->setText(line);
                auto panel = std::make_unique<KeyPanel>(view);
                panel->adjustSize();
                return panel;
            }};
}

// The status item's menu, open.
Shot statusMenu()
{
    return {QStringLiteral("status-menu"), [](DemoWorld &world) -> std::unique_ptr<QWidget> {
                return std::make_unique<MenuBarMenu>(world.model());
            }};
}

// One tab of the settings window; `notch` draws the notch instead of the menu-bar strip.
Shot settings(const QString &name, SettingsView::Tab tab, bool notch = false)
{
    return {name, [=](DemoWorld &world) -> std::unique_ptr<QWidget> {
                auto view = std::make_unique<SettingsView>(world.model(), notch);
                view->showTab(tab);
                view->resize(SettingsView::frameSize);
                return view;
            }};
}

// One page of the first-run welcome.
Shot welcome(const QString &name, int step, bool notch = false)
{
    return {name, [=](DemoWorld &world) -> std::unique_ptr<QWidget> {
                auto view = std::make_unique<WelcomeView>(world.model(), step, true, notch);
                view->resize(WelcomeView::frameSize);
                return view;
            }};
}

// The tray as it hangs from the top of the screen, with or without a notch, cut to the open tray's
// width with a margin on each side; it shows in `mode`.
class TrayHost : public QWidget {
public:
    static constexpr int side = 24;

    TrayHost(AppModel &model, bool notch, const TrayMode &mode)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        TrayState::forceNotch(notch);
        m_state.setGeometry(TrayState::currentGeometry());
        TrayState::forceNotch(std::nullopt);
        const TrayGeometry &g = m_state.geometry();
        const QRectF open = g.rect(g.openSize());
        const int height = int(std::max(g.openSize().height(), g.bannerSize().height())) + 30;
        auto *view = new TrayView(m_state, model, this);
        view->setGeometry(int(g.screenFrame.x() - open.x()) + side, 0, int(g.screenFrame.width()), height);
        resize(int(open.width()) + 2 * side, height);
        m_state.setMode(mode);
    }

private:
    TrayState m_state;
};

Shot tray(const QString &name, bool notch, std::function<TrayMode(DemoWorld &)> mode)
{
    return {name, [=](DemoWorld &world) -> std::unique_ptr<QWidget> {
                return std::make_unique<TrayHost>(world.model(), notch, mode(world));
            }};
}

// A tucked note's banner: the chai's timer has run out.
TrayMode chaiRings(DemoWorld &world)
{
    world.model().advance(*world.note(2).timer->endsAt - world.model().now() + 1);
    return TrayMode::banner(world.id(2));
}

// Lets the event loop run for a while, for movements whose animations the shot cannot reach.
void letRun(std::chrono::milliseconds span)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < span.count())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The content of the "All Notes" window at its first size, after `setup` has brought the model where
// the shot needs it.
Shot library(const QString &name, std::function<void(DemoWorld &)> setup)
{
    return {name, [setup](DemoWorld &world) -> std::unique_ptr<QWidget> {
                setup(world);
                auto view = std::make_unique<LibraryRoot>(world.model());
                view->resize(LibraryWindow::initialSize);
                return view;
            }};
}

// The banner slides up from the bottom edge once the window shows.
Shot undoBanner()
{
    Shot shot = library(QStringLiteral("library-undo-banner"),
                        [](DemoWorld &world) { world.model().toggleDone(world.id(4)); });
    shot.stage = [](QWidget *) { letRun(std::chrono::milliseconds(400)); };
    return shot;
}

Shot libraryFilter(NoteFilter filter)
{
    return library(QStringLiteral("library-") + toString(filter),
                   [filter](DemoWorld &world) { world.model().setFilter(filter); });
}

const QList<Shot> &shots()
{
    static const QList<Shot> list{
        note(QStringLiteral("note-pinned-deadline"), 1),
        note(QStringLiteral("note-controls"), 1, false, true),
        note(QStringLiteral("note-running-timer"), 3),
        note(QStringLiteral("note-plain"), 4),
        note(QStringLiteral("note-overdue-ringing"), 5),
        note(QStringLiteral("note-deadline-days-ahead"), 6),
        note(QStringLiteral("peek-running-timer"), 2, true),
        note(QStringLiteral("peek-paused-timer"), 7, true),
        note(QStringLiteral("peek-graphite"), 8, true),
        notePopover(QStringLiteral("timer-picker"), 3, PopoverRequest::Kind::timer),
        notePopover(QStringLiteral("deadline-picker"), 1, PopoverRequest::Kind::deadline),
        notePopover(QStringLiteral("colour-picker"), 4, PopoverRequest::Kind::color),
        quickNote(QStringLiteral("quick-note-empty"), QString()),
        quickNote(QStringLiteral("quick-note-timer-and-deadline"), QStringLiteral("Bake bread tomorrow 9am 45m")),
        libraryFilter(NoteFilter::all),
        libraryFilter(NoteFilter::pinned),
        libraryFilter(NoteFilter::timers),
        libraryFilter(NoteFilter::today),
        libraryFilter(NoteFilter::overdue),
        libraryFilter(NoteFilter::tucked),
        libraryFilter(NoteFilter::done),
        libraryFilter(NoteFilter::deleted),
        library(QStringLiteral("library-inspector-timer"),
                [](DemoWorld &world) { world.model().setSelection(world.id(3)); }),
        library(QStringLiteral("library-inspector-deleted"),
                [](DemoWorld &world) {
                    world.model().setFilter(NoteFilter::deleted);
                    world.model().setSelection(world.id(10));
                }),
        library(QStringLiteral("library-search"),
                [](DemoWorld &world) { world.model().setQuery(QStringLiteral("tray")); }),
        undoBanner(),
        library(QStringLiteral("library-welcome-sheet"),
                [](DemoWorld &world) { world.model().setShowWelcome(true); }),
        statusMenu(),
        settings(QStringLiteral("settings-general"), SettingsView::Tab::general),
        settings(QStringLiteral("settings-alerts"), SettingsView::Tab::alerts),
        settings(QStringLiteral("settings-tray"), SettingsView::Tab::notch),
        settings(QStringLiteral("settings-tray-notch"), SettingsView::Tab::notch, true),
        settings(QStringLiteral("settings-shortcuts"), SettingsView::Tab::shortcuts),
        settings(QStringLiteral("settings-how-it-works"), SettingsView::Tab::howItWorks),
        welcome(QStringLiteral("welcome-intro"), 0),
        welcome(QStringLiteral("welcome-alerts"), 1),
        welcome(QStringLiteral("welcome-tray"), 2),
        welcome(QStringLiteral("welcome-tray-notch"), 2, true),
        tray(QStringLiteral("tray-resting"), false, [](DemoWorld &) { return TrayMode::resting(); }),
        tray(QStringLiteral("tray-resting-notch"), true, [](DemoWorld &) { return TrayMode::resting(); }),
        tray(QStringLiteral("tray-open"), false, [](DemoWorld &) { return TrayMode::open(); }),
        tray(QStringLiteral("tray-open-notch"), true, [](DemoWorld &) { return TrayMode::open(); }),
        tray(QStringLiteral("tray-banner"), false, chaiRings),
        tray(QStringLiteral("tray-banner-notch"), true, chaiRings),
    };
    return list;
}

QString schemeName(Scheme scheme)
{
    return scheme == Scheme::dark ? QStringLiteral("dark") : QStringLiteral("light");
}

QImage renderWidget(QWidget *widget)
{
    QImage image(widget->size() * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return image;
}

// The windows as they lie on the screen, on the desk, with a margin around them all.
QImage compose(const QList<QWidget *> &windows, Scheme scheme)
{
    QRect area;
    for (const QWidget *window : windows)
        area = area.united(window->frameGeometry());
    const QRect canvas = area.marginsAdded(QMargins(margin, margin, margin, margin));
    QImage image(canvas.size() * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Theme::desk.resolved(scheme));
    QPainter painter(&image);
    for (QWidget *window : windows)
        painter.drawImage(window->geometry().topLeft() - canvas.topLeft(), renderWidget(window));
    return image;
}

// Fades and slides that the windows started end at once, so a picture never catches one half-way.
void finishAnimations(const QList<QWidget *> &windows)
{
    for (const QWidget *window : windows) {
        for (QAbstractAnimation *animation : window->findChildren<QAbstractAnimation *>()) {
            if (animation->state() == QAbstractAnimation::Running)
                animation->setCurrentTime(animation->totalDuration());
        }
    }
}

// Drawn into a picture of two pixels per point, a widget under an opacity effect lands at twice its
// offset, out of its parent: the note's footer lost its deadline and add-timer buttons. At full
// strength the effect changes nothing, so the picture is drawn without it.
void dropFullOpacityEffects(const QList<QWidget *> &windows)
{
    for (const QWidget *window : windows) {
        for (auto *effect : window->findChildren<QGraphicsOpacityEffect *>())
            if (effect->opacity() >= 1)
                effect->setEnabled(false);
    }
}

QSet<QWidget *> visibleWindows()
{
    QSet<QWidget *> windows;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible())
            windows.insert(window);
    return windows;
}

// The shot's window in one appearance, with whatever it opened.
QImage picture(const Shot &shot, const QString &worldRoot, Scheme scheme)
{
    DemoWorld world(worldRoot);
    const QSet<QWidget *> before = visibleWindows();
    std::unique_ptr<QWidget> window = shot.make(world);
    window->setAttribute(Qt::WA_DontShowOnScreen);
    window->move(200, 120);
    Appearance::force(window.get(), scheme);
    window->show();
    if (shot.stage)
        shot.stage(window.get());
    QApplication::processEvents();

    QList<QWidget *> windows{window.get()};
    for (QWidget *opened : visibleWindows() - before)
        if (opened != window.get())
            windows.append(opened);
    finishAnimations(windows);
    dropFullOpacityEffects(windows);
    // Nested layouts settle one level per pass.
    for (int pass = 0; pass < 4; ++pass)
        QApplication::processEvents();
    const QImage image = compose(windows, scheme);
    for (QWidget *opened : windows)
        opened->close();
    // Whatever the windows delete from the event loop goes before the world's model does.
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return image;
}

} // namespace

namespace Snapshotter {

QList<Scheme> schemes(const std::optional<QString> &only)
{
    if (only == QStringLiteral("light"))
        return {Scheme::light};
    if (only == QStringLiteral("dark"))
        return {Scheme::dark};
    return {Scheme::light, Scheme::dark};
}

std::optional<QStringList> render(const QString &dir, const QList<Scheme> &schemes)
{
    QTemporaryDir world;
    if (!world.isValid() || !QDir().mkpath(dir))
        return std::nullopt;
    QStringList written;
    int number = 0;
    for (const Shot &shot : shots()) {
        ++number;
        for (const Scheme scheme : schemes) {
            const QString name = QStringLiteral("%1-%2-%3.png")
                                     .arg(number, 2, 10, QChar(u'0'))
                                     .arg(shot.name, schemeName(scheme));
            const QString path = QDir(dir).filePath(name);
            if (!picture(shot, world.path(), scheme).save(path))
                return std::nullopt;
            written.append(path);
        }
    }
    return written;
}

int execute(const QString &dir)
{
    const std::optional<QString> only = qEnvironmentVariableIsSet("BRINDLEWICK_SNAPSHOT_ONLY")
                                            ? std::optional(qEnvironmentVariable("BRINDLEWICK_SNAPSHOT_ONLY"))
                                            : std::nullopt;
    return render(dir, schemes(only)) ? 0 : 1;
}

void run(const QString &dir)
{
    QTimer::singleShot(0, qApp, [dir] { QCoreApplication::exit(execute(dir)); });
}

} // namespace Snapshotter
