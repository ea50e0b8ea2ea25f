// The picker tests' pattern: black and white pixels by turns, with one odd
// pixel in the middle, so that a pixel out of place shows.
#pragma once

#include "framework/types.h"

#include <QImage>

constexpr TColor Odd = RGB(0x33, 0x66, 0xCC);

inline QImage Checkerboard(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000);
    image.setPixel(side / 2, side / 2, qRgb(GetRValue(Odd), GetGValue(Odd), GetBValue(Odd)));
    return image;
}
