// The slider's built-in pictures and cursors, which live in the program's
// resources, and the drawing of a picture region with one colour left out.
#pragma once

#include "framework/bitmap.h"
#include "framework/canvas.h"

#include <QImage>
#include <QString>

#include <optional>

// Image indexes: the thumb and the ruler of each orientation.
enum TSliderImageIndex { siHThumb = 0, siHRuler = 1, siVThumb = 2, siVRuler = 3 };
constexpr int SliderImageCount = 4;

// Cursor numbers the slider module adds to the screen's cursor table: a hand
// pointing up (shown over the thumb) and a grasping hand.
constexpr int crSliderHand = 14000;
constexpr int crSliderDrag = 14001;

// "HTHUMB", "HRULER", "VTHUMB", "VRULER"; empty for another index.
QString BuiltInImageName(int index);
// The built-in picture of an index; a null image for another index.
QImage BuiltInImage(int index);

// Makes the module's resources available; any number of calls, the first
// one counts. The slider does it itself when it is constructed.
void InitSliderResources();
// Adds cursors 14000 and 14001 to the cursor table. Needs the application.
void RegisterSliderCursors();
// What the program calls once at start: resources and cursors.
void InitSliderModule();

// Copies the source rectangle of the bitmap unscaled with its top-left at
// (x, y); with a transparent colour, the pixels of that colour are left out.
void DrawImageRegion(TCanvas& canvas, int x, int y, const TBitmap& bitmap, const TRect& source,
                     std::optional<TColor> transparent);
