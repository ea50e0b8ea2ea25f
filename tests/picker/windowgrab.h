// What a window of the X server shows, in screen (device) pixels, read
// through a connection of its own.
#pragma once

#include <QImage>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>

inline QImage Grab(std::uint32_t window)
{
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    const auto geometry = xcb_get_geometry_reply(x, xcb_get_geometry(x, window), nullptr);
    QImage image;
    if (geometry) {
        auto* reply = xcb_get_image_reply(
            x, xcb_get_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, geometry->width, geometry->height, ~0u),
            nullptr);
        if (reply && xcb_get_image_data_length(reply) >= geometry->width * geometry->height * 4)
            image = QImage(xcb_get_image_data(reply), geometry->width, geometry->height, QImage::Format_RGB32).copy();
        std::free(reply);
    }
    std::free(geometry);
    xcb_disconnect(x);
    return image;
}
