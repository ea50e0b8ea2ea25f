// Where the magnifier of a pick goes and how much of the screen it shows:
// plain geometry in screen pixels, no display needed.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// The magnified area's side in the magnifier's own (logical) pixels.
constexpr int MagnifierViewSide = 150;
constexpr int MagnifierMinZoom = 4;
constexpr int MagnifierMaxZoom = 20;
constexpr int MagnifierDefaultZoom = 10;
// Screen pixels kept free between the area read and the magnifier.
constexpr int MagnifierGap = 8;

// The zoom steps away from zoom (positive: larger), within the steps offered.
int StepMagnifierZoom(int zoom, int steps);
// The odd number of screen pixels across that fills the view at zoom, so
// that one pixel is the centre.
int MagnifierCells(int zoom);
// The screen pixels shown around the hotspot, cells on each side.
QRect MagnifierArea(QPoint hotspot, int cells);
// The magnifier's top left corner: below and to the right of the area, on
// the other side where the screen ends, and inside the screen. It stays
// clear of the area whenever the screen has room for it on either side.
QPoint PlaceMagnifier(const QRect& area, QSize window, const QRect& screen);
