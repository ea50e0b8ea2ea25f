#include "framework/bitmap.h"

#include "framework/exception.h"

#include <QBuffer>

#include <algorithm>

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
    if (&source != this)
        Assign(source.image_);
}

void TBitmap::Assign(const QImage& source)
{
    image_ = source.isNull() ? QImage() : source.convertToFormat(QImage::Format_RGB32);
    // A bitmap is plain pixels: its canvas would otherwise take a picture made
    // for a denser screen in logical pixels, and its size would not match.
    image_.setDevicePixelRatio(1);
    Changed();
}

QByteArray TBitmap::SaveToPng() const
{
    QByteArray data;
    if (Empty())
        return data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image_.save(&buffer, "PNG");
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
