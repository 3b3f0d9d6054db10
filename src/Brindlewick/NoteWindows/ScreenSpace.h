#pragma once

#include <QList>
#include <QRect>
#include <QRectF>
#include <functional>
#include <optional>

class QObject;

// The model keeps screen geometry in points with the origin at the bottom left of the primary
// screen and y growing upwards; Qt puts the origin at the top left and y grows downwards.
// Every conversion between the two happens here, against the primary screen's geometry.
namespace ScreenSpace {

// Where y up has its origin, the bottom left corner of the primary screen, in Qt's coordinates.
QPoint origin();
QRect toQt(const QRectF &yUp);
QRectF fromQt(const QRect &yDown);
// A rectangle kept y up from the origin `from`, y up from the origin `to`: the same place on screen.
QRectF moved(const QRectF &yUp, QPoint from, QPoint to);

// Every screen's usable area (without panels and docks), y up.
QList<QRectF> visibleFrames();
// The primary screen's usable area and whole area, y up; none without a screen.
std::optional<QRectF> mainVisibleFrame();
std::optional<QRectF> mainFrame();

// Calls `changed` whenever a screen comes, goes, moves, resizes or becomes primary, while `context` lives.
void followChanges(QObject *context, const std::function<void()> &changed);

} // namespace ScreenSpace
