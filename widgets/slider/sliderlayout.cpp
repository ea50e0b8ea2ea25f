#include "widgets/slider/sliderlayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int ClampToInt(qint64 v)
{
    return int(std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Round (ties to even) for results that may exceed int: a value's offset
// from MinValue spans up to 2^32.
qint64 RoundWide(double x)
{
    constexpr double limit = 4611686018427387904.0; // 2^62
    if (std::isnan(x))
        return 0;
    x = std::clamp(x, -limit, limit);
    double r = std::floor(x);
    const double diff = x - r;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0.0))
        r += 1.0;
    return qint64(r);
}

} // namespace

std::vector<TRulerStrip> RulerStrips(int length, int sourceLength, int edge)
{
    std::vector<TRulerStrip> strips;
    if (length <= 0 || sourceLength <= 0)
        return strips;
    const int e = std::clamp(edge, 0, (sourceLength - 1) / 2);
    const int middle = sourceLength - 2 * e; // at least 1
    const int a = length - 2 * e;
    // Truncating division: a short ruler still gets its first strip, cut at
    // the length, as long as a > -middle.
    const int n = a / middle;
    const int rem = a % middle;
    if (n < 0)
        return strips;
    const auto add = [&](int dest, int source, int count) {
        count = std::min(count, length - dest);
        if (count > 0)
            strips.push_back({dest, source, count});
    };
    add(0, 0, sourceLength - e);
    for (int i = 1; i < n; ++i)
        add(e + i * middle, e, middle);
    if (n > 0)
        add(e + n * middle, e + middle - rem, e + rem);
    return strips;
}

int RulerLength(TSliderOrientation orientation, const TRect& inner)
{
    const qint64 extent = orientation == TSliderOrientation::soHorizontal ? qint64(inner.Right) - inner.Left
                                                                          : qint64(inner.Bottom) - inner.Top;
    return ClampToInt(std::max<qint64>(extent - 2 * SliderMargin, 0));
}

TSliderLayout LayoutSlider(TSliderOrientation orientation, const TRect& inner, int thumbWidth, int thumbHeight,
                           int rulerWidth, int rulerHeight)
{
    TSliderLayout l;
    const int left = inner.Left + SliderMargin;
    const int top = inner.Top + SliderMargin;
    const int tw = thumbWidth;
    const int th = thumbHeight;
    if (orientation == TSliderOrientation::soHorizontal) {
        if (th > rulerHeight) {
            l.ThumbRect = Bounds(left, top, tw, th);
            l.RulerOrigin = {left, top + (th - rulerHeight) / 2};
            l.PointsOrigin = {left, inner.Top + SliderMargin + 1 + th};
        } else {
            l.ThumbRect = Bounds(left, top + (rulerHeight - th) / 2, tw, th);
            l.RulerOrigin = {left, top};
            l.PointsOrigin = {left, inner.Top + SliderMargin + 1 + rulerHeight};
        }
        l.Origin = left;
        l.TravelLength = rulerWidth - tw;
    } else {
        if (tw > rulerWidth) {
            l.ThumbRect = Bounds(left, top, tw, th);
            l.RulerOrigin = {left + (tw - rulerWidth) / 2, top};
            l.PointsOrigin = {inner.Left + SliderMargin + 1 + tw, top};
        } else {
            l.ThumbRect = Bounds(left + (rulerWidth - tw) / 2, top, tw, th);
            l.RulerOrigin = {left, top};
            l.PointsOrigin = {inner.Left + SliderMargin + 1 + rulerWidth, top};
        }
        l.Origin = top;
        l.TravelLength = rulerHeight - th;
    }
    return l;
}

int TSliderScale::End() const
{
    return ClampToInt(qint64(Origin) + std::max(TravelLength, 0));
}

int TSliderScale::ValueToPos(qint64 value) const
{
    const int travel = std::max(TravelLength, 0);
    const qint64 span = qint64(MaxValue) - MinValue;
    qint64 k = 0;
    if (span > 0 && travel > 0)
        k = Round(travel * (double(value - MinValue) / double(span)));
    const qint64 pos =
        Orientation == TSliderOrientation::soHorizontal ? qint64(Origin) + k : qint64(Origin) + travel - k;
    return ClampToInt(std::max<qint64>(pos, Origin));
}

int TSliderScale::PosToValue(int pos) const
{
    const qint64 span = qint64(MaxValue) - MinValue;
    if (TravelLength <= 0 || span <= 0)
        return MinValue;
    const qint64 offset =
        Orientation == TSliderOrientation::soHorizontal ? qint64(pos) - Origin : qint64(Origin) + TravelLength - pos;
    const double x = double(offset) * double(span) / double(TravelLength);
    qint64 n = RoundWide(x);
    if (!Smooth) {
        const qint64 step = std::max(Increment, 1);
        n = RoundWide(double(n) / double(step)) * step;
    }
    return ClampToInt(std::min(std::max<qint64>(n, 0) + MinValue, qint64(MaxValue)));
}

int TSliderScale::SnapPos(int pos) const
{
    const int end = End();
    pos = std::clamp(pos, Origin, end);
    return std::min(ValueToPos(PosToValue(pos)), end);
}

TTickSpacing TickSpacing(qint64 span, int step, int length)
{
    const double s = std::max(step, 1);
    const auto count = [&](qint64 m) { return qint64(Round(double(span) / (double(m) * s))) + 1; };
    const auto wideEnough = [&](qint64 m) {
        const qint64 c = count(m);
        const qint64 gap = c > 1 ? length / (c - 1) : length;
        return gap >= 4 || gap >= length;
    };
    qint64 m = 1;
    if (!wideEnough(1)) {
        // The tick count falls as the multiplier grows, so the gap only
        // widens: search for the first multiplier that is wide enough instead
        // of trying them one by one (a huge range would take millions).
        qint64 low = 1;                                                      // not wide enough
        qint64 high = std::max<qint64>(2, 2 * qint64(double(span) / s) + 2); // a single tick: wide enough
        while (high - low > 1) {
            const qint64 mid = low + (high - low) / 2;
            (wideEnough(mid) ? high : low) = mid;
        }
        m = high;
    }
    qint64 c = std::max<qint64>(count(m), 0);
    // Without room to travel every tick would stand at the same place: the
    // two ends are enough.
    if (length <= 0)
        c = std::min<qint64>(c, 2);
    return {m, c};
}

std::optional<int> StepTarget(TSliderStep step, int value, int minValue, int maxValue, int increment)
{
    const qint64 inc = std::max(increment, 1);
    qint64 t = 0;
    switch (step) {
    case skToMin:
        t = minValue;
        break;
    case skToMax:
        t = maxValue;
        break;
    case skUp:
        t = qint64(Round(double(value) / double(inc))) * inc + inc;
        break;
    case skDown:
        t = qint64(Round(double(value) / double(inc))) * inc - inc;
        break;
    default:
        return std::nullopt;
    }
    if (t >= maxValue)
        t = maxValue;
    else if (t <= minValue)
        t = minValue;
    return int(t);
}
