#include "picker/pixelformat.h"

#include "framework/pixel.h"

#include <bit>

namespace {

// A channel under its mask, scaled to 0..255.
int Channel(std::uint32_t pixel, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const std::uint64_t max = mask >> shift;
    const std::uint64_t value = (pixel & mask) >> shift;
    return static_cast<int>((value * 255 + max / 2) / max);
}

// A channel of 0..255 placed under its mask.
std::uint32_t Place(int channel, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const std::uint64_t max = mask >> shift;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(channel) * max + 127) / 255) << shift & mask;
}

} // namespace

bool TPixelFormat::IsValid() const
{
    return BytesPerPixel >= 1 && BytesPerPixel <= 4 && ScanlinePadBits >= 8 && ScanlinePadBits % 8 == 0 &&
           (RedMask | GreenMask | BlueMask) != 0;
}

int TPixelFormat::Stride(int width) const
{
    if (!IsValid() || width <= 0)
        return 0;
    const int pad = ScanlinePadBits / 8;
    return (width * BytesPerPixel + pad - 1) / pad * pad;
}

TColor TPixelFormat::Decode(const std::uint8_t* bytes) const
{
    std::uint32_t pixel = 0;
    for (int i = 0; i < BytesPerPixel; ++i)
        pixel = (pixel << 8) | bytes[MostSignificantFirst ? i : BytesPerPixel - 1 - i];
    return RGB(Channel(pixel, RedMask), Channel(pixel, GreenMask), Channel(pixel, BlueMask));
}

void TPixelFormat::Encode(QRgb rgb, std::uint8_t* bytes) const
{
    const std::uint32_t pixel = Place(qRed(rgb), RedMask) | Place(qGreen(rgb), GreenMask) | Place(qBlue(rgb), BlueMask);
    for (int i = 0; i < BytesPerPixel; ++i) {
        const int shift = 8 * (MostSignificantFirst ? BytesPerPixel - 1 - i : i);
        bytes[i] = static_cast<std::uint8_t>(pixel >> shift);
    }
}

std::optional<QImage> DecodeImage(const TPixelFormat& format, const std::uint8_t* data, int length, QSize size)
{
    const int stride = format.Stride(size.width());
    if (stride == 0 || size.height() <= 0 || !data || length < 0 ||
        static_cast<qint64>(stride) * size.height() > length)
        return std::nullopt;
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        const std::uint8_t* in = data + static_cast<qsizetype>(y) * stride;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x, in += format.BytesPerPixel) {
            out[x] = ColorToPixel(format.Decode(in));
        }
    }
    return image;
}

void EncodeRow(const TPixelFormat& format, const QImage& image, int row, std::uint8_t* out)
{
    if (!format.IsValid() || row < 0 || row >= image.height())
        return;
    const QImage rgb = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(row));
    for (int x = 0; x < rgb.width(); ++x, out += format.BytesPerPixel)
        format.Encode(in[x], out);
}
