#include "Snapshotter.h"

#include "DemoWorld.h"

#include "NoteView/NoteView.h"
#include "Theme/Theme.h"

#include "NotePlacement.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

// Image pixels per point, whatever the screen.
constexpr qreal pixelRatio = 2;
// The desk shown around every window, in points.
constexpr int margin = 12;

struct Shot {
    const char *name;
    // Makes the shot's window on a fresh world.
    std::function<std::unique_ptr<QWidget>(DemoWorld &)> make;
    // Runs once the window shows in its appearance: opens what the shot is about.
    std::function<void(QWidget *)> stage = {};
};

QSize noteSize(const StickyNote &note)
{
    return (note.frame ? note.frame->rect().size() : NotePlacement::defaultSize).toSize();
}

Shot note(const char *name, int number, bool peeking = false, bool controls = false)
{
    return {name, [=](DemoWorld &world) -> std::unique_ptr<QWidget> {
                auto view = std::make_unique<NoteView>(world.model(), world.id(number), peeking, controls);
                view->setAttribute(Qt::WA_TranslucentBackground);
                view->resize(noteSize(world.note(number)));
                return view;
            }};
}

Shot notePopover(const char *name, int number, PopoverRequest::Kind kind)
{
    Shot shot = note(name, number, false, true);
    shot.stage = [kind](QWidget *view) { static_cast<NoteView *>(view)->openPopover(kind); };
    return shot;
}

const QList<Shot> &shots()
{
    static const QList<Shot> list{
        note("note-pinned-deadline", 1),
        note("note-controls", 1, false, true),
        note("note-running-timer", 3),
        note("note-plain", 4),
        note("note-overdue-ringing", 5),
        note("note-deadline-days-ahead", 6),
        note("peek-running-timer", 2, true),
        note("peek-paused-timer", 7, true),
        note("peek-graphite", 8, true),
        notePopover("timer-picker", 3, PopoverRequest::Kind::timer),
        notePopover("deadline-picker", 1, PopoverRequest::Kind::deadline),
        notePopover("colour-picker", 4, PopoverRequest::Kind::color),
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
    const QImage image = compose(windows, scheme);
    for (QWidget *opened : windows)
        opened->close();
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
                                     .arg(QString::fromUtf8(shot.name), schemeName(scheme));
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
