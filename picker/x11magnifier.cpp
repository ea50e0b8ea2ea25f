#include "picker/x11magnifier.h"

#include "color/colormodel.h"
#include "framework/pixel.h"
#include "picker/areamean.h"
#include "picker/magnifierimage.h"
#include "picker/magnifierlayout.h"

#include <QGuiApplication>
#include <QScreen>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

TX11Magnifier::TX11Magnifier(xcb_connection_t* connection, std::uint32_t root, QSize rootSize,
                             const TPixelFormat& format, std::uint8_t depth, std::uint32_t visual)
    : Connection(connection), Root(root), RootRect(QPoint(), rootSize), Format(format), Depth(depth)
{
    Window_ = xcb_generate_id(Connection);
    // No background: the server paints nothing of its own before our picture.
    const std::uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 1, XCB_EVENT_MASK_EXPOSURE};
    xcb_create_window(Connection, Depth, Window_, Root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, visual,
                      XCB_CW_BACK_PIXMAP | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    Gc = xcb_generate_id(Connection);
    xcb_create_gc(Connection, Gc, Window_, 0, nullptr);
}

TX11Magnifier::~TX11Magnifier()
{
    xcb_free_gc(Connection, Gc);
    xcb_destroy_window(Connection, Window_);
    xcb_flush(Connection);
}

std::vector<TX11Magnifier::TMonitor> TX11Magnifier::Monitors() const
{
    // Qt keeps a screen's top left in screen pixels and divides only its size
    // by the screen's ratio.
    std::vector<TMonitor> monitors;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect logical = screen->geometry();
        const qreal ratio = screen->devicePixelRatio() > 0 ? screen->devicePixelRatio() : 1.0;
        const QRect rect(logical.topLeft(), QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio)));
        if (rect.intersects(RootRect))
            monitors.push_back({rect & RootRect, ratio});
    }
    if (monitors.empty())
        monitors.push_back({RootRect, 1.0});
    return monitors;
}

void TX11Magnifier::MoveTo(const QRect& geometry)
{
    if (geometry == Geometry_)
        return;
    const std::uint32_t values[] = {static_cast<std::uint32_t>(geometry.x()), static_cast<std::uint32_t>(geometry.y()),
                                    static_cast<std::uint32_t>(geometry.width()),
                                    static_cast<std::uint32_t>(geometry.height()), XCB_STACK_MODE_ABOVE};
    xcb_configure_window(Connection, Window_,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT | XCB_CONFIG_WINDOW_STACK_MODE,
                         values);
    if (Geometry_.isEmpty()) {
        xcb_map_window(Connection, Window_);
        Clock.start();
    } else {
        Left.push_back({Geometry_, Clock.elapsed()});
    }
    Geometry_ = geometry;
}

TX11Magnifier::TShown TX11Magnifier::ShowAt(QPoint hotspot, int zoom, int average, const TFormatter& literal)
{
    const int cells = MagnifierCells(zoom);
    const QRect area = MagnifierArea(hotspot, cells);
    const std::vector<TMonitor> monitors = Monitors();
    const auto under =
        std::find_if(monitors.begin(), monitors.end(), [&](const TMonitor& m) { return m.Rect.contains(hotspot); });
    const TMonitor& monitor = under != monitors.end() ? *under : monitors.front();
    // Out of the way before reading: the server reads what is on the screen,
    // this window included.
    if (Geometry_.intersects(area))
        MoveTo(QRect(PlaceMagnifier(area, Geometry_.size(), monitor.Rect), Geometry_.size()));
    QRegion untrusted;
    if (!Left.empty()) {
        const qint64 now = Clock.elapsed();
        std::erase_if(Left, [now](const TLeft& left) { return now - left.At >= SettleMs; });
        for (const TLeft& left : Left)
            untrusted += left.Rect & area;
    }

    TMagnifierView view;
    view.Zoom = zoom;
    view.Ratio = monitor.Ratio;
    view.Hotspot = hotspot;
    view.Average = average;
    view.Pixels = QImage(cells, cells, QImage::Format_RGB32);
    view.Pixels.fill(0xFF000000);
    // Only the part on the root is read, and only that part of it that some
    // monitor shows counts as screen.
    const QRect readable = area & RootRect;
    if (!readable.isEmpty()) {
        xcb_generic_error_t* error = nullptr;
        const std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
            xcb_get_image_reply(
                Connection,
                xcb_get_image(Connection, XCB_IMAGE_FORMAT_Z_PIXMAP, Root, static_cast<std::int16_t>(readable.x()),
                              static_cast<std::int16_t>(readable.y()), static_cast<std::uint16_t>(readable.width()),
                              static_cast<std::uint16_t>(readable.height()), ~0u),
                &error),
            &std::free);
        std::free(error);
        const std::optional<QImage> read = reply ? DecodeImage(Format, xcb_get_image_data(reply.get()),
                                                               xcb_get_image_data_length(reply.get()), readable.size())
                                                 : std::nullopt;
        if (read) {
            for (int y = 0; y < read->height(); ++y)
                std::copy_n(reinterpret_cast<const QRgb*>(read->constScanLine(y)), read->width(),
                            reinterpret_cast<QRgb*>(view.Pixels.scanLine(readable.y() - area.y() + y)) +
                                (readable.x() - area.x()));
            for (const TMonitor& m : monitors)
                view.OnScreen += (m.Rect & readable).translated(-area.topLeft());
            view.OnScreen -= untrusted.translated(-area.topLeft());
        }
    }
    const QPoint centre(cells / 2, cells / 2);
    TShown shown;
    shown.Settled = untrusted.isEmpty();
    // Only from trusted pixels: none of the square may be one just left.
    if (view.OnScreen.contains(centre) && !untrusted.intersects(MagnifierArea(hotspot, average)))
        shown.Color = AreaMean(view.Pixels, centre, average, view.OnScreen);
    if (shown.Color) {
        view.Literal = literal ? literal(*shown.Color)
                               : HtmlOf(GetRValue(*shown.Color), GetGValue(*shown.Color), GetBValue(*shown.Color));
    }

    Picture = DrawMagnifier(view);
    MoveTo(QRect(PlaceMagnifier(area, Picture.size(), monitor.Rect), Picture.size()));
    Repaint();
    return shown;
}

void TX11Magnifier::Repaint()
{
    if (Picture.isNull() || !Format.IsValid())
        return;
    const int stride = Format.Stride(Picture.width());
    // Strips that each fit in one request, whatever the server's limit.
    const std::uint64_t limit = std::uint64_t(xcb_get_maximum_request_length(Connection)) * 4;
    const std::uint64_t room = limit > 1024 ? limit - 1024 : 0;
    const int rows = std::clamp(static_cast<int>(room / std::uint64_t(std::max(stride, 1))), 1, Picture.height());
    Buffer.resize(static_cast<std::size_t>(stride) * rows);
    for (int top = 0; top < Picture.height(); top += rows) {
        const int count = std::min(rows, Picture.height() - top);
        for (int y = 0; y < count; ++y)
            EncodeRow(Format, Picture, top + y, Buffer.data() + static_cast<std::size_t>(y) * stride);
        xcb_put_image(Connection, XCB_IMAGE_FORMAT_Z_PIXMAP, Window_, Gc, static_cast<std::uint16_t>(Picture.width()),
                      static_cast<std::uint16_t>(count), 0, static_cast<std::int16_t>(top), 0, Depth,
                      static_cast<std::uint32_t>(stride) * count, Buffer.data());
    }
    xcb_flush(Connection);
}
