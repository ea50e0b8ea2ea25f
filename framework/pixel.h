// A colour as a pixel of an RGB32 image and back: for the framework's canvas
// and for the picker, which reads the screen but draws no control.
#pragma once

#include "framework/types.h"

#include <QRgb>

// System colours are resolved first.
constexpr QRgb ColorToPixel(TColor color)
{
    const TColor c = ColorToRGB(color);
    return 0xFF000000u | (QRgb(GetRValue(c)) << 16) | (QRgb(GetGValue(c)) << 8) | QRgb(GetBValue(c));
}
constexpr TColor PixelToColor(QRgb pixel)
{
    return RGB(int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF));
}
