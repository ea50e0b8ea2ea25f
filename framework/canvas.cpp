#include "framework/canvas.h"

#include "framework/bitmap.h"
#include "framework/devicegrid.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr QRgb RgbMask = 0x00FFFFFFu;

QRgb* Row(QImage& image, int y)
{
    return reinterpret_cast<QRgb*>(image.scanLine(y));
}

// How many image pixels make one logical pixel across: the device pixel
// ratio when it is a whole number, so that every logical pixel is a block of
// one colour; any other ratio counts as 1.
int Scale(const QImage& image)
{
    const qreal ratio = image.devicePixelRatio();
    const int whole = int(ratio);
    return whole >= 2 && whole <= 64 && whole == ratio ? whole : 1;
}

// A length in image pixels as logical pixels, a part of one left out; no
// division in the usual case.
int Logical(int pixels, int scale)
{
    return scale == 1 ? pixels : pixels / scale;
}

// The grid of a picture whose ratio lies between whole numbers (above 1);
// none for the whole ratios that Scale covers.
std::optional<TDeviceGrid> Fractional(const QImage& image)
{
    const qreal ratio = image.devicePixelRatio();
    if (!IsFractionalRatio(ratio))
        return std::nullopt;
    return TDeviceGrid(ratio);
}

// Fills an area of device pixels, clipped to the image; tells whether it
// covered any pixel.
bool FillDevice(QImage& image, const TRect& device, QRgb pixel)
{
    const TRect area = device.Intersected(TRect{0, 0, image.width(), image.height()});
    if (area.IsEmpty())
        return false;
    for (int y = area.Top; y < area.Bottom; ++y) {
        QRgb* row = Row(image, y);
        std::fill(row + area.Left, row + area.Right, pixel);
    }
    return true;
}

// Fills a logical area already clipped to the image; tells whether it
// covered any pixel.
bool Fill(QImage& image, const TRect& area, QRgb pixel)
{
    if (area.IsEmpty())
        return false;
    if (const std::optional<TDeviceGrid> grid = Fractional(image))
        return FillDevice(image, grid->Area(area), pixel);
    const int s = Scale(image);
    for (int y = area.Top * s; y < area.Bottom * s; ++y) {
        QRgb* row = Row(image, y);
        std::fill(row + area.Left * s, row + area.Right * s, pixel);
    }
    return true;
}

// Inverts the logical pixels with an even x + y in a logical area already
// clipped to the image.
bool InvertDotted(QImage& image, const TRect& area)
{
    if (area.IsEmpty())
        return false;
    const int s = Scale(image);
    for (int y = area.Top * s; y < area.Bottom * s; ++y) {
        QRgb* row = Row(image, y);
        const int first = area.Left + ((area.Left + Logical(y, s)) & 1);
        if (s == 1) {
            for (int x = first; x < area.Right; x += 2)
                row[x] ^= RgbMask;
            continue;
        }
        for (int x = first; x < area.Right; x += 2)
            std::for_each(row + x * s, row + (x + 1) * s, [](QRgb& pixel) { pixel ^= RgbMask; });
    }
    return true;
}

// The outermost one-pixel frame of a non-empty rectangle as up to four
// areas that do not overlap, so no pixel is visited twice, each clipped to
// bounds; tells whether any call reached a pixel.
template <class F> bool ForEachFrameEdge(const TRect& r, const TRect& bounds, F&& edge)
{
    bool drawn = edge(TRect{r.Left, r.Top, r.Right, r.Top + 1}.Intersected(bounds));
    if (r.Bottom - 1 > r.Top)
        drawn |= edge(TRect{r.Left, r.Bottom - 1, r.Right, r.Bottom}.Intersected(bounds));
    drawn |= edge(TRect{r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}.Intersected(bounds));
    if (r.Right - 1 > r.Left)
        drawn |= edge(TRect{r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}.Intersected(bounds));
    return drawn;
}

// The same four edges on a picture of a fractional ratio, in device pixels,
// each one frame line thick, clipped to the image. The callback also gets
// the whole frame in device pixels and whether the edge runs along x.
template <class F> bool ForEachDeviceFrameEdge(const TRect& r, const TDeviceGrid& grid, const QImage& image, F&& edge)
{
    const TRect bounds{0, 0, image.width(), image.height()};
    const TRect frame = grid.Area(r);
    const auto part = [&](const TRect& logical, bool horizontal) {
        return edge(grid.InFrame(logical, r).Intersected(bounds), frame, horizontal);
    };
    bool drawn = part(TRect{r.Left, r.Top, r.Right, r.Top + 1}, true);
    if (r.Bottom - 1 > r.Top)
        drawn |= part(TRect{r.Left, r.Bottom - 1, r.Right, r.Bottom}, true);
    drawn |= part(TRect{r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, false);
    if (r.Right - 1 > r.Left)
        drawn |= part(TRect{r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, false);
    return drawn;
}

// Inverts a dotted edge of a focus frame on a picture of a fractional ratio:
// dots and gaps one line thick along the edge, counted from the frame's
// corner, so the dots are as even as the lines.
bool InvertDeviceDotted(QImage& image, const TRect& area, const TRect& frame, bool horizontal, int line)
{
    if (area.IsEmpty())
        return false;
    // In 64 bits: a frame far outside the image is still counted from its corner.
    const qint64 period = 2 * qint64(line);
    const auto invert = [](QRgb& pixel) { pixel ^= RgbMask; };
    for (int y = area.Top; y < area.Bottom; ++y) {
        if (!horizontal && (qint64(y) - frame.Top) % period >= line)
            continue;
        QRgb* row = Row(image, y);
        if (!horizontal) {
            std::for_each(row + area.Left, row + area.Right, invert);
            continue;
        }
        // The dots along the row, from the first that reaches into the area.
        for (qint64 dot = frame.Left + (qint64(area.Left) - frame.Left) / period * period; dot < area.Right;
             dot += period)
            std::for_each(row + std::max<qint64>(dot, area.Left), row + std::min<qint64>(dot + line, area.Right),
                          invert);
    }
    return true;
}

int ClampToInt(qint64 v)
{
    return int(std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Copies the logical part `from` of a source whose logical pixels are
// `ss` image pixels wide onto a picture of a fractional ratio, its top-left
// corner at the logical point `to`. The copy starts on a whole device pixel
// and has the same device size wherever it goes, so a thumb looks the same
// at every place; each device pixel takes the one source pixel under its
// centre, so no source pixel is blended with another.
bool CopyToGrid(QImage& image, const TDeviceGrid& grid, const QImage& src, int ss, const TRect& from, TPoint to,
                bool transparent, QRgb key)
{
    const qint64 left = grid.Edge(to.X);
    const qint64 top = grid.Edge(to.Y);
    const qint64 width = grid.Length(from.Width());
    const qint64 height = grid.Length(from.Height());
    const qint64 x0 = std::max<qint64>(left, 0);
    const qint64 x1 = std::min<qint64>(left + width, image.width());
    const qint64 y0 = std::max<qint64>(top, 0);
    const qint64 y1 = std::min<qint64>(top + height, image.height());
    if (x0 >= x1 || y0 >= y1)
        return false;
    // The source pixel under the centre of device pixel d of n, of a source
    // length of m image pixels from `first`.
    const auto under = [](qint64 d, qint64 n, qint64 m, qint64 first) {
        return int(first + (2 * d + 1) * m / (2 * n));
    };
    std::vector<int> columns(size_t(x1 - x0));
    for (qint64 x = x0; x < x1; ++x)
        columns[size_t(x - x0)] = under(x - left, width, qint64(from.Width()) * ss, qint64(from.Left) * ss);
    for (qint64 y = y0; y < y1; ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(
            src.constScanLine(under(y - top, height, qint64(from.Height()) * ss, qint64(from.Top) * ss)));
        QRgb* out = Row(image, int(y));
        for (qint64 x = x0; x < x1; ++x) {
            const QRgb pixel = in[columns[size_t(x - x0)]];
            if (!transparent || ((pixel ^ key) & RgbMask) != 0)
                out[x] = pixel;
        }
    }
    return true;
}

} // namespace

qreal PaintDeviceRatio(const QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    const QPaintDevice* device = engine && engine->paintDevice() ? engine->paintDevice() : painter.device();
    return device ? device->devicePixelRatio() : 1;
}

// An image with a device pixel ratio of a whole number n is drawn on in
// logical pixels: each is an n x n block of one colour, except under text,
// which QPainter draws at the image's full resolution.
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
    if (!image)
        return {};
    if (const std::optional<TDeviceGrid> grid = Fractional(*image))
        return {0, 0, grid->Logical(image->width()), grid->Logical(image->height())};
    const int s = Scale(*image);
    return {0, 0, Logical(image->width(), s), Logical(image->height(), s)};
}

void TCanvas::Changed()
{
    if (bitmap_)
        bitmap_->Changed();
}

void TCanvas::FillRect(const TRect& rect)
{
    QImage* image = WritableSurface();
    if (image && BrushStyle == TBrushStyle::bsSolid &&
        Fill(*image, rect.Intersected(Bounds()), ColorToPixel(BrushColor)))
        Changed();
}

void TCanvas::FillFramePart(const TRect& frame, const TRect& area)
{
    QImage* image = WritableSurface();
    if (!image || BrushStyle != TBrushStyle::bsSolid || area.IsEmpty())
        return;
    const std::optional<TDeviceGrid> grid = Fractional(*image);
    if (!grid) {
        FillRect(area);
        return;
    }
    if (FillDevice(*image, grid->InFrame(area, frame), ColorToPixel(BrushColor)))
        Changed();
}

void TCanvas::Rectangle(const TRect& rect)
{
    QImage* image = WritableSurface();
    if (!image || rect.IsEmpty())
        return;
    if (const std::optional<TDeviceGrid> grid = Fractional(*image)) {
        const QRgb brush = ColorToPixel(BrushColor);
        const bool filled =
            BrushStyle == TBrushStyle::bsSolid && FillDevice(*image, grid->InFrame(rect.Inflated(-1, -1), rect), brush);
        const QRgb pen = ColorToPixel(PenColor);
        if (ForEachDeviceFrameEdge(
                rect, *grid, *image,
                [&](const TRect& edge, const TRect&, bool) { return FillDevice(*image, edge, pen); }) ||
            filled)
            Changed();
        return;
    }
    const TRect bounds = Bounds();
    const bool filled = BrushStyle == TBrushStyle::bsSolid &&
                        Fill(*image, rect.Inflated(-1, -1).Intersected(bounds), ColorToPixel(BrushColor));
    const QRgb pen = ColorToPixel(PenColor);
    if (ForEachFrameEdge(rect, bounds, [&](const TRect& edge) { return Fill(*image, edge, pen); }) || filled)
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
    const std::optional<TDeviceGrid> grid = Fractional(*image);
    const int scale = grid ? 1 : Scale(*image);
    const auto logical = [&](int pixels) { return grid ? grid->Logical(pixels) : Logical(pixels, scale); };
    const qint64 majorLimit = logical(xMajor ? image->width() : image->height());
    const qint64 minorLimit = logical(xMajor ? image->height() : image->width());

    // Only the steps whose major coordinate lies inside the image are walked.
    const qint64 last = qint64(major) - 1;
    const qint64 firstIn =
        majorSign > 0 ? std::max<qint64>(0, -majorStart) : std::max<qint64>(0, majorStart - (majorLimit - 1));
    const qint64 lastIn = majorSign > 0 ? std::min(last, majorLimit - 1 - majorStart) : std::min(last, majorStart);
    if (firstIn > lastIn)
        return;

    const QRgb pen = ColorToPixel(PenColor);
    bool drawn = false;
    // One walk per kind of pixel, its state held by value, so that the usual
    // one-pixel store keeps everything in registers.
    const auto walk = [=, &drawn](auto plot) {
        quint64 quotient = quint64(firstIn) * minor / major;
        quint64 remainder = quint64(firstIn) * minor % major;
        for (qint64 i = firstIn; i <= lastIn; ++i) {
            const qint64 m = qint64(quotient) + (2 * remainder >= major ? 1 : 0);
            const qint64 a = majorStart + majorSign * i;
            const qint64 b = minorStart + minorSign * m;
            if (b >= 0 && b < minorLimit) {
                plot(int(xMajor ? a : b), int(xMajor ? b : a));
                drawn = true;
            }
            remainder += minor;
            if (remainder >= major) {
                remainder -= major;
                ++quotient;
            }
        }
    };
    if (grid && minor == 0) {
        // A straight line (a tick) is one area: the same pixels as the steps
        // below, filled at once.
        if (minorStart >= 0 && minorStart < minorLimit) {
            const int first = int(majorSign > 0 ? majorStart + firstIn : majorStart - lastIn);
            const int last = int(majorSign > 0 ? majorStart + lastIn : majorStart - firstIn);
            const int t = grid->Line();
            const int low = grid->Edge(first);
            const int high = std::max(grid->Edge(last) + t, grid->Edge(last + 1));
            const int across = grid->Edge(int(minorStart));
            drawn = FillDevice(
                *image, xMajor ? TRect{low, across, high, across + t} : TRect{across, low, across + t, high}, pen);
        }
    } else if (grid) {
        // One line thick across, and along the line each pixel reaches the
        // next, so that no device row or column is left out.
        walk([image, pen, g = *grid, xMajor](int px, int py) {
            const int x = g.Edge(px);
            const int y = g.Edge(py);
            const int t = g.Line();
            FillDevice(*image,
                       xMajor ? TRect{x, y, std::max(x + t, g.Edge(px + 1)), y + t}
                              : TRect{x, y, x + t, std::max(y + t, g.Edge(py + 1))},
                       pen);
        });
    } else if (scale == 1)
        walk([image, pen](int px, int py) { Row(*image, py)[px] = pen; });
    else
        walk([image, pen](int px, int py) { Fill(*image, TRect{px, py, px + 1, py + 1}, pen); });
    if (drawn)
        Changed();
}

TColor TCanvas::GetPixel(int x, int y) const
{
    const QImage* image = Surface();
    if (!image || !Bounds().Contains({x, y}))
        return clBlack;
    if (const std::optional<TDeviceGrid> grid = Fractional(*image))
        return PixelToColor(
            image->pixel(std::min(grid->Edge(x), image->width() - 1), std::min(grid->Edge(y), image->height() - 1)));
    const int s = Scale(*image);
    return PixelToColor(image->pixel(x * s, y * s));
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    QImage* image = WritableSurface();
    if (!image || !Bounds().Contains({x, y}))
        return;
    Fill(*image, TRect{x, y, x + 1, y + 1}, ColorToPixel(color));
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect)
{
    QImage* image = WritableSurface();
    if (!image || rect.IsEmpty())
        return;
    if (const std::optional<TDeviceGrid> grid = Fractional(*image)) {
        if (ForEachDeviceFrameEdge(rect, *grid, *image, [&](const TRect& edge, const TRect& frame, bool horizontal) {
                return InvertDeviceDotted(*image, edge, frame, horizontal, grid->Line());
            }))
            Changed();
        return;
    }
    if (ForEachFrameEdge(rect, Bounds(), [&](const TRect& edge) { return InvertDotted(*image, edge); }))
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
    // Source and destination are both taken in logical pixels.
    const int ss = Scale(src);
    const int ds = Scale(*image);
    const TRect from = srcRect.Intersected(TRect{0, 0, Logical(src.width(), ss), Logical(src.height(), ss)});
    if (from.IsEmpty())
        return;
    // The offset from source to destination may not fit in an int.
    const qint64 ox = qint64(x) - srcRect.Left;
    const qint64 oy = qint64(y) - srcRect.Top;
    if (const std::optional<TDeviceGrid> grid = Fractional(*image)) {
        if (CopyToGrid(*image, *grid, src, ss, from, TPoint{ClampToInt(from.Left + ox), ClampToInt(from.Top + oy)},
                       transparent, key))
            Changed();
        return;
    }
    const TRect bounds = Bounds();
    const qint64 left = std::max<qint64>(from.Left + ox, 0);
    const qint64 top = std::max<qint64>(from.Top + oy, 0);
    const qint64 right = std::min<qint64>(from.Right + ox, bounds.Right);
    const qint64 bottom = std::min<qint64>(from.Bottom + oy, bounds.Bottom);
    if (left >= right || top >= bottom)
        return;
    // Each image pixel of the destination takes the source pixel at the same
    // place in the same logical pixel; at equal scales that is a plain copy.
    const auto sourceIndex = [&](qint64 d, qint64 offset) {
        return int(ss == ds ? d - offset * ds : (d / ds - offset) * ss + (d % ds) * ss / ds);
    };
    const qint64 count = (right - left) * ds;
    for (qint64 dy = top * ds; dy < bottom * ds; ++dy) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(sourceIndex(dy, oy)));
        QRgb* out = Row(*image, int(dy)) + left * ds;
        if (ss != ds) {
            for (qint64 i = 0; i < count; ++i) {
                const QRgb pixel = in[sourceIndex(left * ds + i, ox)];
                if (!transparent || ((pixel ^ key) & RgbMask) != 0)
                    out[i] = pixel;
            }
            continue;
        }
        in += sourceIndex(left * ds, ox);
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
    if (BrushStyle == TBrushStyle::bsSolid)
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
    if (BrushStyle == TBrushStyle::bsSolid) {
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
