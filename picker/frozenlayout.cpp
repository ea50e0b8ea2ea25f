#include "picker/frozenlayout.h"

#include <algorithm>
#include <cmath>

namespace {

QPoint Clamped(QPoint p, QSize size)
{
    return {std::clamp(p.x(), 0, std::max(size.width() - 1, 0)), std::clamp(p.y(), 0, std::max(size.height() - 1, 0))};
}

bool Holds(const QRect& r, double x, double y)
{
    return x >= r.left() && x < r.left() + r.width() && y >= r.top() && y < r.top() + r.height();
}

qreal SaneRatio(qreal ratio)
{
    return std::isfinite(ratio) && ratio > 0 ? ratio : 1.0;
}

} // namespace

QSize DeviceSize(const TScreenPlace& screen)
{
    const qreal ratio = SaneRatio(screen.Ratio);
    return {qRound(screen.Logical.width() * ratio), qRound(screen.Logical.height() * ratio)};
}

std::vector<QRect> ScreensInImage(const std::vector<TScreenPlace>& screens, QSize image)
{
    QRect box;
    for (const TScreenPlace& s : screens)
        box |= s.Logical;
    std::vector<QRect> parts(screens.size());
    if (box.isEmpty() || image.isEmpty())
        return parts;
    const double sx = double(image.width()) / box.width(), sy = double(image.height()) / box.height();
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const QRect& l = screens[i].Logical;
        const int left = qRound((l.left() - box.left()) * sx), top = qRound((l.top() - box.top()) * sy);
        const int right = qRound((l.left() + l.width() - box.left()) * sx);
        const int bottom = qRound((l.top() + l.height() - box.top()) * sy);
        parts[i] = QRect(left, top, right - left, bottom - top) & QRect(QPoint(), image);
    }
    return parts;
}

QPoint ImagePixel(const QRect& inImage, QSize device, QPoint point)
{
    if (inImage.isEmpty() || device.isEmpty())
        return inImage.topLeft();
    const QPoint p = Clamped(point, device);
    // Whole image pixels per device pixel where the scales agree; the first
    // of a block where the image has more.
    return inImage.topLeft() + QPoint(int(qint64(p.x()) * inImage.width() / device.width()),
                                      int(qint64(p.y()) * inImage.height() / device.height()));
}

THotspot MoveHotspot(const std::vector<TScreenPlace>& screens, THotspot hotspot, QPoint delta)
{
    if (hotspot.Screen < 0 || hotspot.Screen >= int(screens.size()))
        return hotspot;
    const TScreenPlace& from = screens[hotspot.Screen];
    const QSize size = DeviceSize(from);
    const QPoint to = hotspot.Device + delta;
    if (QRect(QPoint(), size).contains(to))
        return {hotspot.Screen, to};
    // The logical point it lands on, and the screen that shows it.
    const qreal ratio = SaneRatio(from.Ratio);
    const double x = from.Logical.left() + to.x() / ratio, y = from.Logical.top() + to.y() / ratio;
    for (int i = 0; i < int(screens.size()); ++i) {
        const TScreenPlace& s = screens[i];
        if (i == hotspot.Screen || !Holds(s.Logical, x, y))
            continue;
        const qreal r = SaneRatio(s.Ratio);
        const QPoint device(int(std::floor((x - s.Logical.left()) * r)), int(std::floor((y - s.Logical.top()) * r)));
        return {i, Clamped(device, DeviceSize(s))};
    }
    return {hotspot.Screen, Clamped(to, size)};
}
