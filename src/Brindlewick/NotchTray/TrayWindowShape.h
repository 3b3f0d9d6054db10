#pragma once

#include <QRegion>
#include <optional>

class QWindow;

// What the tray panel asks of the X server beyond Qt: input and visible shapes (the SHAPE
// extension). Without an X11 connection nothing is changed: every region takes input and shows.
namespace TrayWindowShape {
// The pointer and clicks reach the window only inside `region`, in the window's own coordinates;
// everywhere else they go to whatever lies beneath.
void setInput(QWindow *window, const QRegion &region);
// Only `region` of the window shows; none shows all of it.
void setVisible(QWindow *window, const std::optional<QRegion> &region);

} // namespace TrayWindowShape
