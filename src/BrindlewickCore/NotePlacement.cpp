#include "NotePlacement.h"

#include "YUp.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double margin = 36;
constexpr double step = 28;
constexpr int spotsPerRow = 10;
constexpr int spotCount = 40;
// Two top-left corners closer than this in both directions are the same spot.
constexpr double sameSpot = 6;

QRectF spot(const QRectF &area, QSizeF size, int index)
{
    const int row = index / spotsPerRow;
    const int column = index % spotsPerRow;
    const double x0 = area.right() - size.width() - margin;
    const double y0 = YUp::maxY(area) - size.height() - margin;
    return QRectF(x0 - step * column - row * (size.width() + step), y0 - step * column, size.width(),
                  size.height());
}

bool isTaken(const QRectF &candidate, const QList<QRectF> &existing)
{
    return std::any_of(existing.begin(), existing.end(), [&](const QRectF &frame) {
        return std::abs(frame.x() - candidate.x()) < sameSpot
            && std::abs(YUp::maxY(frame) - YUp::maxY(candidate)) < sameSpot;
    });
}

} // namespace

namespace NotePlacement {

QRectF next(const QRectF &area, const QList<QRectF> &existing, QSizeF size)
{
    for (int index = 0; index < spotCount; ++index) {
        const QRectF candidate = clamp(spot(area, size, index), area);
        if (!isTaken(candidate, existing))
            return candidate;
    }
    return clamp(spot(area, size, 0), area);
}

QRectF clamp(const QRectF &rect, const QRectF &bounds)
{
    const double width = std::min(std::max(rect.width(), minimumSize.width()), bounds.width());
    const double height = std::min(std::max(rect.height(), minimumSize.height()), bounds.height());
    const double x = std::min(std::max(rect.x(), bounds.x()), bounds.right() - width);
    const double y = std::min(std::max(YUp::minY(rect), YUp::minY(bounds)), YUp::maxY(bounds) - height);
    return QRectF(x, y, width, height);
}

bool isVisible(const QRectF &frame, const QList<QRectF> &screens)
{
    return std::any_of(screens.begin(), screens.end(), [&](const QRectF &screen) {
        const QRectF overlap = frame.intersected(screen);
        return !overlap.isEmpty() && overlap.width() >= 60 && overlap.height() >= 40;
    });
}

QRectF reopen(const QRectF &saved, const QList<QRectF> &screens, const QRectF &area)
{
    QRectF reach;
    for (const QRectF &screen : screens)
        reach |= screen;
    const bool fits = !saved.isEmpty() && saved.width() <= reach.width() && saved.height() <= reach.height();
    return fits && isVisible(saved, screens) ? saved : clamp(saved, area);
}

} // namespace NotePlacement
