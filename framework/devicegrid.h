// Where logical pixels fall on a picture whose device pixel ratio is not a
// whole number (1.25, 1.5, 1.75 ...). A logical pixel there covers one or two
// device pixels, so a picture enlarged as a whole gets one-pixel lines of
// alternating widths. Instead, every edge is its logical coordinate times the
// ratio, rounded once, and every one-pixel line is the ratio rounded (at
// least 1) thick: equal lines stay equal wherever they lie, and equal logical
// distances differ on the device by at most one pixel.
#pragma once

#include "framework/types.h"

#include <algorithm>
#include <cmath>
#include <limits>

// Whether a device pixel ratio lies between whole numbers (above 1, up to
// 64): where a drawing needs the grid instead of whole-pixel enlargement.
inline bool IsFractionalRatio(double ratio)
{
    return ratio > 1 && ratio <= 64 && ratio != std::floor(ratio);
}

class TDeviceGrid {
public:
    // A ratio that is not positive counts as 1.
    explicit TDeviceGrid(double ratio) : ratio_(ratio > 0 && std::isfinite(ratio) ? ratio : 1) {}

    double Ratio() const { return ratio_; }

    // The device coordinate of a logical one, halves rounded up, so that the
    // device distance of two edges a whole number of device pixels apart
    // never depends on where they lie.
    int Edge(int logical) const { return Clamped(std::floor(double(logical) * ratio_ + 0.5)); }
    // The device thickness of a one-pixel line.
    int Line() const { return std::max(1, Edge(1)); }
    // The device length of n logical pixels of a picture, the same wherever
    // the picture is placed.
    int Length(int n) const { return n > 0 ? std::max(1, Edge(n)) : 0; }
    // The logical length that a device length stands for.
    int Logical(int device) const { return Clamped(std::floor(double(device) / ratio_ + 0.5)); }

    // A logical area with its edges rounded: areas side by side stay side by
    // side, with no device pixel between or under both.
    TRect Area(const TRect& r) const { return {Edge(r.Left), Edge(r.Top), Edge(r.Right), Edge(r.Bottom)}; }

    // A part of a frame: an area whose edges lie on the frame's edges or one
    // pixel inside them (one of its lines, or what they enclose). The frame's
    // lines are Line() thick on every side, measured from its rounded edges.
    TRect InFrame(const TRect& area, const TRect& frame) const
    {
        return {Across(area.Left, frame.Left, frame.Right), Across(area.Top, frame.Top, frame.Bottom),
                Across(area.Right, frame.Left, frame.Right), Across(area.Bottom, frame.Top, frame.Bottom)};
    }

private:
    static int Clamped(double v)
    {
        return int(std::clamp(v, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max())));
    }

    // One coordinate of a frame's part, the frame spanning [low, high).
    int Across(int c, int low, int high) const
    {
        const long long offset = static_cast<long long>(c) - low;
        const long long fromHigh = static_cast<long long>(high) - c;
        if (offset == 1 && fromHigh > 0)
            return Clamped(double(std::min<long long>(static_cast<long long>(Edge(low)) + Line(), Edge(high))));
        if (fromHigh == 1 && offset > 0)
            return Clamped(double(std::max<long long>(static_cast<long long>(Edge(high)) - Line(), Edge(low))));
        return Edge(c);
    }

    double ratio_;
};
