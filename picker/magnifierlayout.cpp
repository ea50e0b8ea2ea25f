#include "picker/magnifierlayout.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int ZoomSteps[] = {4, 5, 6, 8, 10, 12, 15, 20};
static_assert(ZoomSteps[0] == MagnifierMinZoom && std::size(ZoomSteps) > 0 &&
              ZoomSteps[std::size(ZoomSteps) - 1] == MagnifierMaxZoom);

// One axis: after the area, else before it, else as far in as the screen allows.
int PlaceAlong(int areaStart, int areaEnd, int length, int screenStart, int screenEnd)
{
    const int after = areaEnd + MagnifierGap;
    if (after + length <= screenEnd)
        return after;
    const int before = areaStart - MagnifierGap - length;
    if (before >= screenStart)
        return before;
    return std::max(screenStart, std::min(after, screenEnd - length));
}

} // namespace

int StepMagnifierZoom(int zoom, int steps)
{
    const int count = static_cast<int>(std::size(ZoomSteps));
    const int at =
        static_cast<int>(std::lower_bound(std::begin(ZoomSteps), std::end(ZoomSteps), zoom) - std::begin(ZoomSteps));
    // A zoom between two steps counts as the one above it.
    const int current = std::min(at, count - 1);
    return ZoomSteps[std::clamp(current + steps, 0, count - 1)];
}

int MagnifierCells(int zoom)
{
    const int z = std::clamp(zoom, MagnifierMinZoom, MagnifierMaxZoom);
    const int cells = (MagnifierViewSide + z - 1) / z;
    return cells % 2 ? cells : cells + 1;
}

QRect MagnifierArea(QPoint hotspot, int cells)
{
    const int half = std::max(cells, 1) / 2;
    return {hotspot - QPoint(half, half), QSize(2 * half + 1, 2 * half + 1)};
}

QPoint PlaceMagnifier(const QRect& area, QSize window, const QRect& screen)
{
    return {PlaceAlong(area.left(), area.left() + area.width(), window.width(), screen.left(),
                       screen.left() + screen.width()),
            PlaceAlong(area.top(), area.top() + area.height(), window.height(), screen.top(),
                       screen.top() + screen.height())};
}
