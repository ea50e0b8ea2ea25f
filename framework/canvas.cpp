#include "framework/canvas.h"

#include "framework/bitmap.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace {

constexpr QRgb RgbMask = 0x00FFFFFFu;

QRgb* Row(QImage& image, int y)
{
    return reinterpret_cast<QRgb*>(image.scanLine(y));
}

// Fills an area already clipped to the image; tells whether it covered any pixel.
bool Fill(QImage& image, const TRect& area, QRgb pixel)
{
    if (area.IsEmpty())
        return false;
    for (int y = area.Top; y < area.Bottom; ++y) {
        QRgb* row = Row(image, y);
        std::fill(row + area.Left, row + area.Right, pixel);
    }
    return true;
}

// Inverts the pixels with an even x + y in an area already clipped to the image.
bool InvertDotted(QImage& image, const TRect& area)
{
    if (area.IsEmpty())
        return false;
    for (int y = area.Top; y < area.Bottom; ++y) {
        QRgb* row = Row(image, y);
        for (int x = area.Left + ((area.Left + y) & 1); x < area.Right; x += 2)
            row[x] ^= RgbMask;
    }
    return true;
}

// The outermost one-pixel frame of a non-empty rectangle as up to four
// areas that do not overlap, so no pixel is visited twice.
template <class F> void ForEachFrameEdge(const TRect& r, F&& edge)
{
    edge(TRect{r.Left, r.Top, r.Right, r.Top + 1});
    if (r.Bottom - 1 > r.Top)
        edge(TRect{r.Left, r.Bottom - 1, r.Right, r.Bottom});
    edge(TRect{r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1});
    if (r.Right - 1 > r.Left)
        edge(TRect{r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1});
}

int ClampToInt(qint64 v)
{
    return int(std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

TCanvas::TCanvas(QImage* image) : image_(image) {}

TCanvas::TCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}

const QImage* TCanvas::Surface() const
{
    const QImage* image = bitmap_ ? &std::as_const(*bitmap_).Image() : image_;
    return image && !image->isNull() ? image : nullptr;
}

QImage* TCanvas::WritableSurface()
{
    QImage* image = bitmap_ ? &bitmap_->Image() : image_;
    if (!image || image->isNull())
        return nullptr;
    if (image->format() != QImage::Format_RGB32)
        image->convertTo(QImage::Format_RGB32);
    return image;
}

TRect TCanvas::Bounds() const
{
    const QImage* image = Surface();
    return image ? TRect{0, 0, image->width(), image->height()} : TRect{};
}

void TCanvas::Changed()
{
    if (bitmap_)
        bitmap_->Changed();
}

void TCanvas::FillRect(const TRect& rect)
{
    QImage* image = WritableSurface();
    if (image && BrushStyle == bsSolid && Fill(*image, rect.Intersected(Bounds()), ColorToPixel(BrushColor)))
        Changed();
}

void TCanvas::Rectangle(const TRect& rect)
{
    QImage* image = WritableSurface();
    if (!image || rect.IsEmpty())
        return;
    const TRect bounds = Bounds();
    bool drawn = false;
    if (BrushStyle == bsSolid)
        drawn = Fill(*image, rect.Inflated(-1, -1).Intersected(bounds), ColorToPixel(BrushColor));
    const QRgb pen = ColorToPixel(PenColor);
    ForEachFrameEdge(rect, [&](const TRect& edge) { drawn |= Fill(*image, edge.Intersected(bounds), pen); });
    if (drawn)
        Changed();
}

void TCanvas::MoveTo(int x, int y)
{
    PenPos = {x, y};
}

void TCanvas::LineTo(int x, int y)
{
    const TPoint from = PenPos;
    PenPos = {x, y};
    QImage* image = WritableSurface();
    if (!image)
        return;

    // Step i (0 <= i < major) lies at major offset i and minor offset
    // round(i * minor / major), a tie rounding up. Differences of two ints fit
    // in 33 bits, so i * minor fits in 64 unsigned bits.
    const qint64 dx = qint64(x) - from.X;
    const qint64 dy = qint64(y) - from.Y;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const qint64 dMajor = xMajor ? dx : dy;
    const qint64 dMinor = xMajor ? dy : dx;
    const quint64 major = quint64(std::abs(dMajor));
    const quint64 minor = quint64(std::abs(dMinor));
    if (major == 0)
        return;
    const qint64 majorSign = dMajor < 0 ? -1 : 1;
    const qint64 minorSign = dMinor < 0 ? -1 : 1;
    const qint64 majorStart = xMajor ? from.X : from.Y;
    const qint64 minorStart = xMajor ? from.Y : from.X;
    const qint64 majorLimit = xMajor ? image->width() : image->height();
    const qint64 minorLimit = xMajor ? image->height() : image->width();

    // Only the steps whose major coordinate lies inside the image are walked.
    const qint64 last = qint64(major) - 1;
    const qint64 firstIn =
        majorSign > 0 ? std::max<qint64>(0, -majorStart) : std::max<qint64>(0, majorStart - (majorLimit - 1));
    const qint64 lastIn = majorSign > 0 ? std::min(last, majorLimit - 1 - majorStart) : std::min(last, majorStart);
    if (firstIn > lastIn)
        return;

    const QRgb pen = ColorToPixel(PenColor);
    quint64 quotient = quint64(firstIn) * minor / major;
    quint64 remainder = quint64(firstIn) * minor % major;
    bool drawn = false;
    for (qint64 i = firstIn; i <= lastIn; ++i) {
        const qint64 m = qint64(quotient) + (2 * remainder >= major ? 1 : 0);
        const qint64 a = majorStart + majorSign * i;
        const qint64 b = minorStart + minorSign * m;
        if (b >= 0 && b < minorLimit) {
            const int px = int(xMajor ? a : b);
            const int py = int(xMajor ? b : a);
            Row(*image, py)[px] = pen;
            drawn = true;
        }
        remainder += minor;
        if (remainder >= major) {
            remainder -= major;
            ++quotient;
        }
    }
    if (drawn)
        Changed();
}

TColor TCanvas::GetPixel(int x, int y) const
{
    const QImage* image = Surface();
    return image && image->valid(x, y) ? PixelToColor(image->pixel(x, y)) : clBlack;
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    QImage* image = WritableSurface();
    if (!image || !image->valid(x, y))
        return;
    Row(*image, y)[x] = ColorToPixel(color);
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect)
{
    QImage* image = WritableSurface();
    if (!image || rect.IsEmpty())
        return;
    const TRect bounds = Bounds();
    bool drawn = false;
    ForEachFrameEdge(rect, [&](const TRect& edge) { drawn |= InvertDotted(*image, edge.Intersected(bounds)); });
    if (drawn)
        Changed();
}

void TCanvas::Draw(int x, int y, const TBitmap& src, const TRect& srcRect)
{
    Copy(x, y, src.Image(), srcRect, false, 0);
}

void TCanvas::DrawTransparent(int x, int y, const TBitmap& src, const TRect& srcRect, TColor transparent)
{
    Copy(x, y, src.Image(), srcRect, true, ColorToPixel(transparent) & RgbMask);
}

void TCanvas::Copy(int x, int y, const QImage& source, const TRect& srcRect, bool transparent, QRgb key)
{
    // A shallow copy taken before anything is written: when a bitmap is drawn
    // onto itself, the first write detaches the destination and the source
    // pixels stay as they were.
    const QImage src = source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    QImage* image = WritableSurface();
    if (!image || src.isNull())
        return;
    const TRect from = srcRect.Intersected(TRect{0, 0, src.width(), src.height()});
    if (from.IsEmpty())
        return;
    // The offset from source to destination may not fit in an int.
    const qint64 ox = qint64(x) - srcRect.Left;
    const qint64 oy = qint64(y) - srcRect.Top;
    const qint64 left = std::max<qint64>(from.Left + ox, 0);
    const qint64 top = std::max<qint64>(from.Top + oy, 0);
    const qint64 right = std::min<qint64>(from.Right + ox, image->width());
    const qint64 bottom = std::min<qint64>(from.Bottom + oy, image->height());
    if (left >= right || top >= bottom)
        return;
    const qint64 count = right - left;
    for (qint64 dy = top; dy < bottom; ++dy) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(int(dy - oy))) + (left - ox);
        QRgb* out = Row(*image, int(dy)) + left;
        if (!transparent) {
            std::memcpy(out, in, size_t(count) * sizeof(QRgb));
            continue;
        }
        for (qint64 i = 0; i < count; ++i) {
            if (((in[i] ^ key) & RgbMask) != 0)
                out[i] = in[i];
        }
    }
    Changed();
}

QFontMetrics TCanvas::Metrics() const
{
    // Measured on the image itself, so that sizes agree with what QPainter
    // draws there.
    const QImage* image = Surface();
    return image ? QFontMetrics(Font, image) : QFontMetrics(Font);
}

int TCanvas::TextWidth(const QString& text) const
{
    return Metrics().horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString&) const
{
    return Metrics().height();
}

QSize TCanvas::TextExtent(const QString& text) const
{
    const QFontMetrics metrics = Metrics();
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    QImage* image = WritableSurface();
    if (!image || text.isEmpty())
        return;
    const QFontMetrics metrics(Font, image);
    const TRect box =
        TRect{x, y, ClampToInt(qint64(x) + metrics.horizontalAdvance(text)), ClampToInt(qint64(y) + metrics.height())}
            .Intersected(Bounds());
    if (box.IsEmpty())
        return;
    if (BrushStyle == bsSolid)
        Fill(*image, box, ColorToPixel(BrushColor));
    QPainter painter(image);
    painter.setFont(Font);
    painter.setPen(QColor::fromRgb(ColorToPixel(FontColor)));
    painter.drawText(QPointF(x, qreal(y) + metrics.ascent()), text);
    painter.end();
    Changed();
}

void TCanvas::DrawText(const TRect& rect, const QString& text, int flags)
{
    QImage* image = WritableSurface();
    if (!image || text.isEmpty())
        return;
    const TRect clip = rect.Intersected(Bounds());
    if (clip.IsEmpty())
        return;
    // The layout rectangle keeps its full size, so alignment is the same
    // however much of it is visible; in qreal its width cannot overflow.
    const QRectF layout(rect.Left, rect.Top, qreal(qint64(rect.Right) - rect.Left),
                        qreal(qint64(rect.Bottom) - rect.Top));
    if (BrushStyle == bsSolid) {
        const QRectF box = QFontMetricsF(Font, image).boundingRect(layout, flags, text);
        const auto edge = [](qreal v, int low, int high) { return int(std::clamp<qreal>(v, low, high)); };
        Fill(*image,
             TRect{edge(std::floor(box.left()), clip.Left, clip.Right),
                   edge(std::floor(box.top()), clip.Top, clip.Bottom),
                   edge(std::ceil(box.right()), clip.Left, clip.Right),
                   edge(std::ceil(box.bottom()), clip.Top, clip.Bottom)},
             ColorToPixel(BrushColor));
    }
    QPainter painter(image);
    painter.setClipRect(QRect(clip.Left, clip.Top, clip.Width(), clip.Height()));
    painter.setFont(Font);
    painter.setPen(QColor::fromRgb(ColorToPixel(FontColor)));
    painter.drawText(layout, flags, text);
    painter.end();
    Changed();
}
