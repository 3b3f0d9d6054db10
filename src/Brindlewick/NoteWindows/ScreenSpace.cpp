#include "ScreenSpace.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

// Without a screen the bottom left corner is Qt's origin.
QRect primaryGeometry()
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry() : QRect();
}

} // namespace

namespace ScreenSpace {

QPoint origin()
{
    const QRect primary = primaryGeometry();
    return QPoint(primary.x(), primary.y() + primary.height());
}

QRect toQt(const QRectF &yUp)
{
    const QRectF r = yUp.normalized();
    const QPoint corner = origin();
    return QRect(qRound(corner.x() + r.x()), qRound(corner.y() - r.y() - r.height()), qRound(r.width()),
                 qRound(r.height()));
}

QRectF fromQt(const QRect &yDown)
{
    const QPoint corner = origin();
    return QRectF(yDown.x() - corner.x(), corner.y() - yDown.y() - yDown.height(), yDown.width(), yDown.height());
}

QRectF moved(const QRectF &yUp, QPoint from, QPoint to)
{
    return yUp.translated(from.x() - to.x(), to.y() - from.y());
}

QList<QRectF> visibleFrames()
{
    QList<QRectF> frames;
    for (const QScreen *screen : QGuiApplication::screens())
        frames.append(fromQt(screen->availableGeometry()));
    return frames;
}

std::optional<QRectF> mainVisibleFrame()
{
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        return fromQt(primary->availableGeometry());
    return std::nullopt;
}

std::optional<QRectF> mainFrame()
{
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        return fromQt(primary->geometry());
    return std::nullopt;
}

} // namespace ScreenSpace

void ScreenSpace::followChanges(QObject *context, const std::function<void()> &changed)
{
    const auto follow = [context, changed](QScreen *screen) {
        QObject::connect(screen, &QScreen::geometryChanged, context, changed);
        QObject::connect(screen, &QScreen::availableGeometryChanged, context, changed);
    };
    for (QScreen *screen : QGuiApplication::screens())
        follow(screen);
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, context, [follow, changed](QScreen *screen) {
        follow(screen);
        changed();
    });
    QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, context, changed);
    QObject::connect(qGuiApp, &QGuiApplication::primaryScreenChanged, context, changed);
}
