// An off-screen picture in RGB32 with its own canvas. The owner hears of
// every change of content or size through OnChange.
#pragma once

#include "framework/canvas.h"
#include "framework/types.h"

#include <QByteArray>
#include <QImage>

#include <functional>

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

    void Assign(const TBitmap& source);
    // Converted to RGB32; alpha is dropped. A null image empties the bitmap.
    void Assign(const QImage& source);

    // Outside the bitmap: clBlack.
    TColor Pixel(int x, int y) const { return canvas_.GetPixel(x, y); }
    // The colour of the bottom-left pixel; clBlack for an empty bitmap.
    TColor TransparentColor() const { return Pixel(0, Height() - 1); }

    // An empty bitmap is stored as no bytes, and no bytes load as an empty
    // bitmap. Data that is not a PNG leaves the bitmap as it was and gives false.
    QByteArray SaveToPng() const;
    bool LoadFromPng(const QByteArray& data);

    std::function<void(TBitmap*)> OnChange;
    void Changed();

private:
    QImage image_;
    TCanvas canvas_{this};
};
