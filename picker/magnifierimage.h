// The magnifier's picture: screen pixels magnified without smoothing, a grid
// between them, the centre pixel framed in black or white, and under them the
// centre's literal and screen coordinates. Drawn at the device pixel ratio of
// the screen it is shown on; no display needed.
#pragma once

#include "framework/types.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>

struct TMagnifierView {
    QImage Pixels;    // an odd number of screen pixels across and down; the hotspot's in the middle
    QRegion OnScreen; // the part of Pixels that lies on a screen, in Pixels' coordinates
    int Zoom = 10;
    qreal Ratio = 1; // device pixels to a logical pixel of the screen shown on
    QString Literal;
    QPoint Hotspot;
    int Average = 1; // the side of the square of pixels whose mean is taken
};

// Sizes in device pixels, from the zoom, the ratio and the text to show.
struct TMagnifierGeometry {
    int Cell = 0;    // a screen pixel, magnified
    int Line = 0;    // a grid line's width
    int Outline = 0; // the centre frame's width
    int Border = 0;
    QRect View;   // the magnified area within the picture
    QRect Centre; // the centre pixel within the picture
    QRect Sample; // the pixels whose mean is taken, framed; the centre alone for one
    QRect Text;   // the literal and the coordinates
    QSize Size;   // the whole picture
};
TMagnifierGeometry MagnifierGeometry(const TMagnifierView& view);

// Black or white, whichever contrasts more with the colour.
TColor MagnifierOutlineColor(TColor centre);
// A grid line over a magnified pixel of this colour: half way to mid grey,
// seen on black and on white alike.
QRgb MagnifierGridShade(QRgb pixel);
// The pattern that stands for what lies beyond the screen's edge, at a
// device pixel of the view (relative to its top left) for a grid line's width.
QRgb MagnifierBeyondEdge(QPoint inView, int line);

QImage DrawMagnifier(const TMagnifierView& view);
