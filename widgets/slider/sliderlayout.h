// The geometry of the image slider as plain values: how the ruler image is
// tiled to a length, where thumb, ruler and tick marks go, and the mapping
// between values and thumb positions. No widget is needed to use or test it.
#pragma once

#include "framework/types.h"

#include <QObject>
#include <QtGlobal>

#include <cstdint>
#include <optional>
#include <vector>

// Stored layouts name these values by their declared identifiers.
namespace SliderLayoutEnums {
Q_NAMESPACE
enum class TSliderOrientation { soHorizontal, soVertical };
Q_ENUM_NS(TSliderOrientation)
} // namespace SliderLayoutEnums
using SliderLayoutEnums::TSliderOrientation;

// How a step of the value is asked for: by a key or a press on the ruler.
enum TSliderStep : std::uint8_t { skNone, skToMin, skToMax, skUp, skDown };

// Every control adds this inset between its inner rectangle and the ruler.
constexpr int SliderMargin = 6;

// One piece of the ruler image copied along the axis: Length pixels from
// Source in the ruler image to Dest in the laid-out ruler.
struct TRulerStrip {
    int Dest = 0;
    int Source = 0;
    int Length = 0;
    friend bool operator==(const TRulerStrip&, const TRulerStrip&) = default;
};

// Lays a ruler image of sourceLength pixels along the axis out to length
// pixels: its leading edge, the middle repeated, and its trailing edge ending
// exactly at length. An edge that leaves no middle (or is negative) is taken
// as the largest one that leaves a middle of one pixel (or as 0). Every strip
// lies inside both the source and the destination.
std::vector<TRulerStrip> RulerStrips(int length, int sourceLength, int edge);

// The ruler length along the axis for an inner rectangle; never negative.
int RulerLength(TSliderOrientation orientation, const TRect& inner);

struct TSliderLayout {
    TRect ThumbRect; // the thumb at the start of its travel
    TPoint RulerOrigin;
    TPoint PointsOrigin;  // where the tick marks start
    int Origin = 0;       // first position of the thumb's leading edge
    int TravelLength = 0; // may be 0 or less for a control too short for its thumb
    friend bool operator==(const TSliderLayout&, const TSliderLayout&) = default;
};

// thumbWidth/thumbHeight: one thumb state; rulerWidth/rulerHeight: the
// laid-out ruler.
TSliderLayout LayoutSlider(TSliderOrientation orientation, const TRect& inner, int thumbWidth, int thumbHeight,
                           int rulerWidth, int rulerHeight);

// Value <-> position of the thumb's leading edge (left edge, or top edge of a
// vertical slider, whose values grow upward). A travel of 0 or less, or a
// range that is empty or inverted, keeps the thumb at Origin and maps every
// position to MinValue.
struct TSliderScale {
    TSliderOrientation Orientation = TSliderOrientation::soHorizontal;
    int Origin = 0;
    int TravelLength = 0;
    int MinValue = 0;
    int MaxValue = 100;
    int Increment = 1;
    bool Smooth = true; // otherwise values snap to multiples of Increment counted from MinValue

    int ValueToPos(qint64 value) const;
    int PosToValue(int pos) const;
    // The position clamped to the travel and snapped to the nearest value's.
    int SnapPos(int pos) const;
    // The last position of the thumb's leading edge.
    int End() const;
};

// Tick marks every Multiplier-th step, Count of them with the last one at
// the range's end; the smallest multiplier that leaves at least 4 pixels
// between ticks.
struct TTickSpacing {
    qint64 Multiplier = 1;
    qint64 Count = 0;
    friend bool operator==(const TTickSpacing&, const TTickSpacing&) = default;
};
TTickSpacing TickSpacing(qint64 span, int step, int length);

// The value a step leads to, clamped to the range; none for skNone. Up and
// down first round the value to a multiple of increment (counted from 0,
// ties to even).
std::optional<int> StepTarget(TSliderStep step, int value, int minValue, int maxValue, int increment);
