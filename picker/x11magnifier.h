// The magnifier of an X11 pick: an override-redirect window of our own,
// never focused, above all others, that shows the screen around the hotspot.
// Sizes and places are screen (device) pixels throughout, so Qt's scaling
// plays no part in which pixels it reads or where it goes.
#pragma once

#include "framework/types.h"
#include "picker/pixelformat.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

struct xcb_connection_t;

class TX11Magnifier {
public:
    using TFormatter = std::function<QString(TColor)>;
    // A window on the root of the given size and format; nothing is shown yet.
    TX11Magnifier(xcb_connection_t* connection, std::uint32_t root, QSize rootSize, const TPixelFormat& format,
                  std::uint8_t depth, std::uint32_t visual);
    ~TX11Magnifier();
    TX11Magnifier(const TX11Magnifier&) = delete;
    TX11Magnifier& operator=(const TX11Magnifier&) = delete;

    struct TShown {
        std::optional<TColor> Color; // the hotspot's pixel, when it could be read
        // False while part of the area lay under this window a moment ago:
        // the windows there may not be drawn again yet, so that part is not
        // trusted and a later call shows it.
        bool Settled = true;
    };
    // Reads the area around the hotspot, draws it, moves the window beside
    // it and shows it; the colour is the mean of the average × average
    // pixels around the hotspot that a screen shows.
    TShown ShowAt(QPoint hotspot, int zoom, int average, const TFormatter& literal);
    // How long a place the window left stays untrusted.
    static constexpr int SettleMs = 50;
    // Puts the last picture up again, after the server lost it.
    void Repaint();
    std::uint32_t Window() const { return Window_; }
    // Where the window is, in screen pixels; empty until first shown.
    QRect Geometry() const { return Geometry_; }

private:
    struct TMonitor {
        QRect Rect; // screen pixels
        qreal Ratio;
    };
    std::vector<TMonitor> Monitors() const;
    void MoveTo(const QRect& geometry);

    struct TLeft {
        QRect Rect;
        qint64 At;
    };

    xcb_connection_t* Connection;
    std::uint32_t Root;
    QRect RootRect;
    TPixelFormat Format;
    std::uint8_t Depth;
    std::uint32_t Window_ = 0;
    std::uint32_t Gc = 0;
    QRect Geometry_;
    QImage Picture;
    QElapsedTimer Clock;
    std::vector<TLeft> Left;          // places the window left within SettleMs
    std::vector<std::uint8_t> Buffer; // kept between pictures: no allocation per motion
};
