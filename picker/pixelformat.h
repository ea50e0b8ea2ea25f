// Pixels of a true-colour X11 screen as the server hands them out and takes
// them in: channel masks, bytes a pixel and their order. No display needed.
#pragma once

#include "framework/types.h"

#include <QImage>
#include <QRect>

#include <cstdint>
#include <optional>

struct TPixelFormat {
    std::uint32_t RedMask = 0;
    std::uint32_t GreenMask = 0;
    std::uint32_t BlueMask = 0;
    int BytesPerPixel = 0; // 1 to 4
    bool MostSignificantFirst = false;
    int ScanlinePadBits = 32;

    bool IsValid() const;
    // Bytes of one row of width pixels, padded as the server pads them.
    int Stride(int width) const;
    // The pixel at bytes[0..BytesPerPixel) as a colour, each channel scaled
    // to 0..255 and rounded.
    TColor Decode(const std::uint8_t* bytes) const;
    // The colour as a pixel written to bytes[0..BytesPerPixel).
    void Encode(QRgb rgb, std::uint8_t* bytes) const;
};

// Image data of width × height pixels into an RGB32 image; nothing when the
// format is unusable or the data is shorter than the rows it should hold.
std::optional<QImage> DecodeImage(const TPixelFormat& format, const std::uint8_t* data, int length, QSize size);
// One row of an image (any format) in the format's layout, into out, which
// holds at least Stride(image.width()) bytes.
void EncodeRow(const TPixelFormat& format, const QImage& image, int row, std::uint8_t* out);
