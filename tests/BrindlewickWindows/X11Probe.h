#pragma once

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>

// What the X server and the window manager make of a window, asked the way a user's tools ask:
// the server for positions and mapping, xprop for window manager hints, xdotool for the pointer.
namespace X11Probe {

// The window's top left corner on the screen, as the server has it now.
QPoint position(const QWidget *window);
// Mapped and visible on the current desktop.
bool isViewable(const QWidget *window);
// Managed windows, bottom to top (_NET_CLIENT_LIST_STACKING).
QList<WId> stacking();
// Whether `upper` lies above `lower` in the window manager's stacking.
bool isAbove(WId upper, WId lower);
// xprop's text for one property of a window, or of the root window when `window` is 0.
QString xprop(WId window, const QString &property);
// Runs xdotool with the arguments while this process goes on handling its events.
bool xdotool(const QStringList &arguments);

} // namespace X11Probe
