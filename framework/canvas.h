// Drawing with the pixel rules the controls are written against: rectangles
// leave out their right and bottom edges, a line leaves out its end point, a
// focus frame is an inverted dotted frame. Lines, rectangles, fills and copies
// are rasterised here, pixel-exact; only text goes through QPainter.
// On a picture whose device pixel ratio is a whole number n, coordinates are
// logical: every logical pixel is an n × n block, so a drawing is the ratio-1
// drawing enlarged without blur, while text is drawn at the full resolution.
// Between whole ratios above 1 (1.25, 1.5 ...) coordinates are logical too,
// laid on the device pixels by TDeviceGrid: edges rounded once, every
// one-pixel line and frame edge equally thick, bitmaps copied without blur
// at a whole device pixel. Ratios up to 1 count as 1.
#pragma once

#include "framework/pixel.h"
#include "framework/types.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRgb>
#include <QSize>
#include <QString>

class QPainter;
class TBitmap;

enum class TBrushStyle { bsSolid, bsClear };

// The device pixel ratio of what a painter really draws on (the window's
// backing store, a grabbed pixmap, an image), which a widget's own ratio
// does not tell when it is drawn elsewhere.
qreal PaintDeviceRatio(const QPainter& painter);

class TCanvas {
public:
    // Draws on an image that the caller owns and keeps alive. The canvas works
    // in RGB32: an image in another format is converted in place before the
    // first drawing. A null pointer or a null image gives a canvas that draws
    // nothing.
    explicit TCanvas(QImage* image);
    // Draws on the bitmap's image and tells the bitmap after each drawing that
    // changed a pixel.
    explicit TCanvas(TBitmap* bitmap);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TColor PenColor = clBlack;
    TColor BrushColor = clWhite;
    TBrushStyle BrushStyle = TBrushStyle::bsSolid;
    QFont Font;
    TColor FontColor = clBlack;
    TPoint PenPos;

    // Every operation is clipped to the image; an empty or inverted rectangle
    // draws nothing. A bitmap's canvas raises the bitmap's OnChange after an
    // operation that reached at least one pixel.

    // Fills with the brush colour; a clear brush fills nothing.
    void FillRect(const TRect& rect);
    // A part of a frame drawn piece by piece (a bevel's edge, the face within
    // it): an area whose edges lie on frame's edges or one pixel inside them,
    // in the brush colour. Between whole ratios the frame's lines come out
    // equally thick on every side; otherwise the same as FillRect(area).
    void FillFramePart(const TRect& frame, const TRect& area);
    // A one-pixel frame in the pen colour on the outermost pixels of the
    // rectangle, the inside in the brush colour unless the brush is clear.
    void Rectangle(const TRect& rect);
    void MoveTo(int x, int y);
    // A one-pixel line from PenPos up to, but not including, (x, y); then
    // PenPos is (x, y). Each step along the longer axis takes the nearest
    // pixel on the shorter one, a tie going away from the start.
    void LineTo(int x, int y);
    // Outside the image: reads clBlack, writes nothing.
    TColor GetPixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);
    // Inverts every second pixel ((x + y) even, in logical coordinates) of
    // the rectangle's outermost frame, so drawing it twice restores the image.
    // Between whole ratios the dots and the gaps along each edge are one
    // line thick long, counted from the frame's corner.
    void DrawFocusRect(const TRect& rect);
    // Copies the part srcRect of src unscaled, its top-left corner at (x, y).
    void Draw(int x, int y, const TBitmap& src, const TRect& srcRect);
    // The same, leaving out the pixels of exactly the transparent colour.
    void DrawTransparent(int x, int y, const TBitmap& src, const TRect& srcRect, TColor transparent);

    // Text with its top-left corner at (x, y), in Font and FontColor, on the
    // brush colour unless the brush is clear.
    void TextOut(int x, int y, const QString& text);
    // Text laid out in the rectangle by Qt alignment and text flags, clipped
    // to it; the brush fills the text's bounding box unless it is clear.
    void DrawText(const TRect& rect, const QString& text, int flags);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    QSize TextExtent(const QString& text) const;

private:
    const QImage* Surface() const;
    // The image to write to, in RGB32, or null when there is nothing to draw on.
    QImage* WritableSurface();
    TRect Bounds() const;
    QFontMetrics Metrics() const;
    void Changed();
    void Copy(int x, int y, const QImage& source, const TRect& srcRect, bool transparent, QRgb key);

    QImage* image_ = nullptr;
    TBitmap* bitmap_ = nullptr;
};
