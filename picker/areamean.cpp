#include "picker/areamean.h"

#include "color/colorspace.h"

#include <algorithm>
#include <iterator>

bool IsAverageSide(int side)
{
    return std::find(std::begin(AverageSides), std::end(AverageSides), side) != std::end(AverageSides);
}

int NextAverageSide(int side)
{
    const auto* at = std::upper_bound(std::begin(AverageSides), std::end(AverageSides), side);
    return at == std::end(AverageSides) ? AverageSides[0] : *at;
}

std::optional<TColor> AreaMean(const QImage& image, QPoint centre, int side, const QRegion& shown)
{
    const int half = IsAverageSide(side) ? side / 2 : 0;
    const QRect square = QRect(centre - QPoint(half, half), QSize(2 * half + 1, 2 * half + 1)) & image.rect();
    double r = 0, g = 0, b = 0;
    int count = 0;
    for (int y = square.top(); y <= square.bottom(); ++y)
        for (int x = square.left(); x <= square.right(); ++x) {
            if (!shown.contains(QPoint(x, y)))
                continue;
            const QRgb p = image.pixel(x, y);
            r += LinearOfChannel(std::uint8_t(qRed(p)));
            g += LinearOfChannel(std::uint8_t(qGreen(p)));
            b += LinearOfChannel(std::uint8_t(qBlue(p)));
            ++count;
        }
    if (count == 0)
        return std::nullopt;
    return RGB(ChannelOfLinear(r / count), ChannelOfLinear(g / count), ChannelOfLinear(b / count));
}
