// Where the screens lie in a screenshot of the whole desktop, and the
// hotspot that moves over them by device pixels: plain geometry, no display
// needed. A desktop's screenshot lays every screen out as the compositor
// does, at the largest scale of them all, so a screen of a smaller scale
// covers more image pixels than it has device pixels.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

struct TScreenPlace {
    QRect Logical;   // the screen's geometry in the desktop's logical pixels
    qreal Ratio = 1; // device pixels to a logical pixel
};

// The screen's size in device pixels.
QSize DeviceSize(const TScreenPlace& screen);

// Each screen's part of an image of the whole desktop: the screens' bounding
// box scaled to the image. Empty rectangles where nothing can be mapped.
std::vector<QRect> ScreensInImage(const std::vector<TScreenPlace>& screens, QSize image);

struct THotspot {
    int Screen = 0; // an index into the screens
    QPoint Device;  // device pixels from the screen's top left
    friend bool operator==(const THotspot&, const THotspot&) = default;
};

// A screen's device point as its pixel of the screen's part of the image.
QPoint ImagePixel(const QRect& inImage, QSize device, QPoint point);

// The hotspot moved by delta device pixels: across a screen's edge into the
// screen beyond it, else stopped at the edge.
THotspot MoveHotspot(const std::vector<TScreenPlace>& screens, THotspot hotspot, QPoint delta);
