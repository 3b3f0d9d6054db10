#include "TrayGeometry.h"

#include "YUp.h"

#include <algorithm>

namespace {

double measuredMenuBar(const ScreenShape &screen)
{
    const double bar = YUp::maxY(screen.frame) - YUp::maxY(screen.visibleFrame);
    const double menuBar = bar > 4 ? bar : TrayGeometry::fallbackMenuBar;
    return std::max(menuBar, screen.safeTop);
}

bool hasHousing(const ScreenShape &screen)
{
    return screen.safeTop > 0 && screen.auxLeft && screen.auxRight && *screen.auxLeft > 0
        && *screen.auxRight > 0 && screen.frame.width() > *screen.auxLeft + *screen.auxRight;
}

QRectF housing(const ScreenShape &screen)
{
    const QRectF &frame = screen.frame;
    return QRectF(frame.x() + *screen.auxLeft, YUp::maxY(frame) - screen.safeTop,
                  frame.width() - *screen.auxLeft - *screen.auxRight, screen.safeTop);
}

QRectF strip(const QRectF &frame, double menuBarHeight)
{
    const double height = std::max(menuBarHeight - 4, 16.0);
    return QRectF(frame.center().x() - TrayGeometry::stripWidth / 2, YUp::maxY(frame) - height,
                  TrayGeometry::stripWidth, height);
}

} // namespace

TrayGeometry::TrayGeometry(const ScreenShape &screen)
    : hasNotch(hasHousing(screen)), menuBarHeight(measuredMenuBar(screen)), screenFrame(screen.frame)
{
    notch = hasNotch ? housing(screen) : strip(screen.frame, menuBarHeight);
}

QRectF TrayGeometry::resting(bool showingEars) const
{
    if (hasNotch && showingEars)
        return notch.adjusted(-ear, 0, ear, 0);
    return notch;
}

double TrayGeometry::header() const
{
    return hasNotch ? notch.height() : 30;
}

QSizeF TrayGeometry::openSize() const
{
    return QSizeF(std::max(640.0, notch.width() + 460), hasNotch ? notch.height() + 178 : 208);
}

QSizeF TrayGeometry::bannerSize() const
{
    return QSizeF(std::max(470.0, notch.width() + 300), hasNotch ? notch.height() + 60 : 90);
}

QRectF TrayGeometry::rect(QSizeF size) const
{
    const double width = std::min(screenFrame.width(), size.width());
    const double height = std::min(screenFrame.height(), size.height());
    const double centred = std::max(notch.center().x() - width / 2, screenFrame.x());
    const double x = std::min(centred, screenFrame.right() - width);
    return QRectF(x, YUp::maxY(screenFrame) - height, width, height);
}

QRectF TrayGeometry::hotZone(bool showingEars) const
{
    const QRectF r = resting(showingEars);
    return QRectF(r.x() - 12, r.y() - 8, r.width() + 24, r.height() + 8);
}
