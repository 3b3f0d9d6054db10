#include "Desktop.h"
#include "Patience.h"

#include <QProcess>

namespace Desktop {

QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(patienceMs);
    return process.readAllStandardOutput();
}

QString output(const QString &program, const QStringList &arguments)
{
    return QString::fromUtf8(run(program, arguments)).trimmed();
}

QString xdotool(const QStringList &arguments)
{
    return output("xdotool", arguments);
}

QString window(const QString &title)
{
    return xdotool({"search", "--name", "^" + title + "$"}).section('\n', 0, 0);
}

QString visibleWindow(const QString &title)
{
    return xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"}).section('\n', 0, 0);
}

QStringList visibleWindows(const QString &className)
{
    return xdotool({"search", "--onlyvisible", "--classname", className}).split('\n', Qt::SkipEmptyParts);
}

QPoint position(const QString &window)
{
    const QString geometry = xdotool({"getwindowgeometry", window});
    const QString at = geometry.section("Position: ", 1).section(' ', 0, 0);
    return QPoint(at.section(',', 0, 0).toInt(), at.section(',', 1, 1).toInt());
}

QSize size(const QString &window)
{
    const QString geometry = xdotool({"getwindowgeometry", window});
    const QString dimensions = geometry.section("Geometry: ", 1).trimmed();
    return QSize(dimensions.section('x', 0, 0).toInt(), dimensions.section('x', 1, 1).toInt());
}

QSize screenSize()
{
    const QStringList extent = xdotool({"getdisplaygeometry"}).split(' ');
    return extent.size() == 2 ? QSize(extent[0].toInt(), extent[1].toInt()) : QSize();
}

QImage screenshot(const QString &window)
{
    return QImage::fromData(run("import", {"-window", window, "png:-"}), "PNG")
        .convertToFormat(QImage::Format_RGB32);
}

void drag(QPoint from, QPoint to)
{
    QStringList steps{"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown", "1"};
    for (int i = 1; i <= 4; ++i) {
        const QPoint at = from + (to - from) * i / 4;
        steps += {"sleep", "0.05", "mousemove", QString::number(at.x()), QString::number(at.y())};
    }
    steps += {"sleep", "0.1", "mouseup", "1"};
    xdotool(steps);
}

} // namespace Desktop
