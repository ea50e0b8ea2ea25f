#include "framework/bitmap.h"

#include "framework/exception.h"

#include <QBuffer>

#include <algorithm>
#include <optional>

namespace {

// The picture with one bit per pixel, its two colours in the table; none
// when it holds more than two colours.
std::optional<QImage> OneBitImage(const QImage& image)
{
    QList<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (colours.contains(row[x]))
                continue;
            if (colours.size() == 2)
                return std::nullopt;
            colours << row[x];
        }
    }
    if (colours.size() < 2)
        colours << (colours.value(0) == qRgb(0, 0, 0) ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return image.convertToFormat(QImage::Format_Mono, colours);
}

} // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height)
{
    SetSize(width, height);
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == 0 || height == 0) {
        if (Empty())
            return;
        image_ = QImage();
        Changed();
        return;
    }
    if (width == Width() && height == Height())
        return;
    QImage resized(width, height, QImage::Format_RGB32);
    // QImage gives a null image when the size is too large to allocate.
    if (resized.isNull())
        throw Exception(QStringLiteral("Not enough memory for a %1 x %2 bitmap").arg(width).arg(height));
    resized.fill(ColorToPixel(clWhite));
    if (!Empty()) {
        TCanvas canvas(&resized);
        canvas.Draw(0, 0, *this, TRect{0, 0, Width(), Height()});
    }
    image_ = std::move(resized);
    Changed();
}

void TBitmap::Assign(const TBitmap& source)
{
    if (&source == this)
        return;
    transparentMode_ = source.transparentMode_;
    transparentColor_ = source.transparentColor_;
    SetImage(source.image_, source.monochrome_);
}

void TBitmap::Assign(const QImage& source)
{
    transparentMode_ = tmAuto;
    SetImage(source, source.depth() == 1);
}

void TBitmap::SetImage(const QImage& source, bool monochrome)
{
    monochrome_ = monochrome;
    image_ = source.isNull() ? QImage() : source.convertToFormat(QImage::Format_RGB32);
    // A bitmap is plain pixels: its canvas would otherwise take a picture made
    // for a denser screen in logical pixels, and its size would not match.
    image_.setDevicePixelRatio(1);
    Changed();
}

TColor TBitmap::TransparentColor() const
{
    if (transparentMode_ == tmFixed)
        return transparentColor_;
    return monochrome_ ? clWhite : Pixel(0, Height() - 1);
}

void TBitmap::SetTransparentColor(TColor color)
{
    if (transparentMode_ == tmFixed && color == transparentColor_)
        return;
    transparentMode_ = tmFixed;
    transparentColor_ = color;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode)
{
    if (mode == tmFixed)
        SetTransparentColor(TransparentColor());
    else if (transparentMode_ != tmAuto) {
        transparentMode_ = tmAuto;
        Changed();
    }
}

QByteArray TBitmap::SaveToPng() const
{
    QByteArray data;
    if (Empty())
        return data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    const std::optional<QImage> oneBit = monochrome_ ? OneBitImage(image_) : std::nullopt;
    (oneBit ? *oneBit : image_).save(&buffer, "PNG");
    return data;
}

bool TBitmap::LoadFromPng(const QByteArray& data)
{
    if (data.isEmpty()) {
        SetSize(0, 0);
        return true;
    }
    QImage loaded;
    if (!loaded.loadFromData(data, "PNG"))
        return false;
    Assign(loaded);
    return true;
}

void TBitmap::Changed()
{
    if (OnChange)
        OnChange(this);
}
