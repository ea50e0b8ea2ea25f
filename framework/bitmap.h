// An off-screen picture in RGB32 with its own canvas. The owner hears of
// every change of content or size through OnChange.
#pragma once

#include "framework/canvas.h"
#include "framework/types.h"

#include <QByteArray>
#include <QImage>

#include <functional>

// How a bitmap's transparent colour is chosen: from its pixels, or the one set.
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap {
public:
    TBitmap();
    // New pixels are white.
    TBitmap(int width, int height);
    // The canvas points at this bitmap: copy with Assign instead.
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    bool Empty() const { return image_.isNull(); }
    // A negative size counts as 0; either side 0 empties the bitmap. The
    // pixels both sizes share are kept, new pixels are white.
    void SetSize(int width, int height);

    // Whoever writes to the image directly keeps it RGB32 and calls Changed().
    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }
    TCanvas& Canvas() { return canvas_; }

    // The pixels, Monochrome and the transparent colour.
    void Assign(const TBitmap& source);
    // The bitmap becomes that picture: converted to RGB32, alpha dropped,
    // monochrome when it has one bit per pixel, its transparent colour chosen
    // from its pixels again. A null image empties the bitmap.
    void Assign(const QImage& source);

    // The bitmap was given a picture of one bit per pixel; its pixels are
    // that picture's two colours.
    bool Monochrome() const { return monochrome_; }

    // Outside the bitmap: clBlack.
    TColor Pixel(int x, int y) const { return canvas_.GetPixel(x, y); }
    // The colour set, with tmFixed; otherwise white for a monochrome bitmap
    // and the colour of the bottom-left pixel for any other (clBlack when
    // empty).
    TColor TransparentColor() const;
    // Fixes the transparent colour: tmFixed.
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    // tmFixed keeps the colour in use now; tmAuto forgets the one set.
    void SetTransparentMode(TTransparentMode mode);

    // An empty bitmap is stored as no bytes, and no bytes load as an empty
    // bitmap. Data that is not a PNG leaves the bitmap as it was and gives false.
    // A monochrome bitmap is stored with one bit per pixel, so it loads as
    // one again; once drawn on in a third colour it is stored in colour,
    // losing no pixel.
    QByteArray SaveToPng() const;
    bool LoadFromPng(const QByteArray& data);

    std::function<void(TBitmap*)> OnChange;
    void Changed();

private:
    void SetImage(const QImage& source, bool monochrome);

    QImage image_;
    TCanvas canvas_{this};
    bool monochrome_ = false;
    TTransparentMode transparentMode_ = tmAuto;
    TColor transparentColor_ = clBlack; // with tmFixed
};
