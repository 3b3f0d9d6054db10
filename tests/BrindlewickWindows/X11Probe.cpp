#include "X11Probe.h"

#include "Patience.h"
#include "Platform/X11.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace X11Probe {

QPoint position(const QWidget *window)
{
    xcb_connection_t *c = X11::connection();
    const std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> reply(
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, xcb_window_t(window->winId()), X11::rootWindow(c), 0, 0),
                                        nullptr),
        &std::free);
    return reply ? QPoint(reply->dst_x, reply->dst_y) : QPoint(-1, -1);
}

bool isViewable(const QWidget *window)
{
    xcb_connection_t *c = X11::connection();
    const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> reply(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, xcb_window_t(window->winId())), nullptr),
        &std::free);
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

QList<WId> stacking()
{
    QList<WId> windows;
    const QString text = xprop(0, QStringLiteral("_NET_CLIENT_LIST_STACKING"));
    static const QRegularExpression id(QStringLiteral("0x[0-9a-fA-F]+"));
    for (auto it = id.globalMatch(text); it.hasNext();)
        windows.append(it.next().captured().toULongLong(nullptr, 16));
    return windows;
}

bool isAbove(WId upper, WId lower)
{
    const QList<WId> order = stacking();
    return order.contains(upper) && order.contains(lower) && order.indexOf(upper) > order.indexOf(lower);
}

QString xprop(WId window, const QString &property)
{
    QProcess process;
    const QStringList target = window ? QStringList{QStringLiteral("-id"), QString::number(window)}
                                      : QStringList{QStringLiteral("-root")};
    process.start(QStringLiteral("xprop"), target + QStringList{property});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

bool xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    const bool finished = QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, patienceMs);
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace X11Probe
