#include "color/passingcolor.h"

#include "color/colorspace.h"
#include "color/contrast.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <queue>
#include <vector>

// A best-first search over cubes of the RGB cube, each split in eight until
// it is small enough to judge colour by colour. A cube waits in the queue
// with a bound that no colour in it that passes can come nearer than; the
// search ends when the nearest bound left is farther than the best colour
// found. The bounds are exact lower bounds of the CIEDE2000 formula, so no
// colour that could win or tie is ever left out.
namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();
// Cubes of at most this side are judged colour by colour.
constexpr int LeafSide = 4;
// The luminance of L* and the one of the ratio differ in their coefficients
// by less than this in sum, so by less than this for any colour.
constexpr double LabLuminanceSlack = 0.00015;
// Rounding in the bound's arithmetic is far below this.
constexpr double BoundMargin = 1e-9;

constexpr double Pow7(double x)
{
    const double x2 = x * x;
    return x2 * x2 * x2 * x;
}
constexpr double Pow7Of25 = 6103515625.0;

// The largest T of CIEDE2000 (1.5725 at its peak), and the largest for a mean
// hue within 0°..180° (1.3882).
constexpr double MaxT = 1.58, MaxTUpperHalf = 1.40;

// G of CIEDE2000 at a mean chroma.
double AScale(double meanChroma)
{
    return 0.5 * (1 - std::sqrt(Pow7(meanChroma) / (Pow7(meanChroma) + Pow7Of25)));
}
// The rotation term's angle is 30° e^-((h - 275°) / 25°)² at a mean hue h:
// the sine of twice it is at most sin 60°. When both colours lie in the half
// of b* >= 0 (red, yellow, green) the mean hue is within 0°..180°, at least
// 80° from 275° even with rounding, and the sine below this.
constexpr double WorstRotationSine = 0.8660254037844387;
constexpr double UpperHalfRotationSine = 3.7e-5;

// The largest |RT| at a mean chroma C' of at most the one given: RC there
// times the largest sine of twice the rotation angle.
double MaxRotation(double primeMean, double sine)
{
    return 2 * std::sqrt(Pow7(primeMean) / (Pow7(primeMean) + Pow7Of25)) * sine;
}

constexpr double Degree = 3.14159265358979323846 / 180;

// An angle in degrees brought into (-180°, 180°].
double Wrapped180(double angle)
{
    const double a = std::fmod(angle, 360.0);
    return a > 180 ? a - 360 : a <= -180 ? a + 360 : a;
}

// The directions of the points of a box that does not hold the origin: an
// arc of less than 180° around the direction of its centre, in degrees.
struct TArc {
    double Centre, Low, High; // Low <= 0 <= High, relative to Centre
};
std::optional<TArc> ArcOf(double aLow, double aHigh, double bLow, double bHigh)
{
    if (aLow <= 0 && aHigh >= 0 && bLow <= 0 && bHigh >= 0)
        return std::nullopt;
    TArc arc{std::atan2((bLow + bHigh) / 2, (aLow + aHigh) / 2) / Degree, 0, 0};
    for (const double a : {aLow, aHigh}) {
        for (const double b : {bLow, bHigh}) {
            const double d = Wrapped180(std::atan2(b, a) / Degree - arc.Centre);
            arc.Low = std::min(arc.Low, d);
            arc.High = std::max(arc.High, d);
        }
    }
    return arc;
}

// The largest sine of twice the rotation angle for a mean hue of a colour
// whose a'b' lies in the first box and one whose a'b' lies in the second.
// When the two arcs of directions lie within less than 180°, every pair's
// shorter arc does, and its middle, the mean hue of the formula, lies
// between the middles of the arcs' ends.
double RotationSine(const TArc& first, const std::optional<TArc>& second)
{
    if (!second)
        return WorstRotationSine;
    const double shift = Wrapped180(second->Centre - first.Centre);
    const double low = std::min(first.Low, shift + second->Low), high = std::max(first.High, shift + second->High);
    if (high - low >= 170)
        return WorstRotationSine;
    const double meanLow = (first.Low + shift + second->Low) / 2, meanHigh = (first.High + shift + second->High) / 2;
    const double blue = Wrapped180(275 - first.Centre);
    if (blue >= meanLow && blue <= meanHigh)
        return WorstRotationSine;
    // Less a hundredth of a degree for the rounding of the arcs.
    const double away =
        std::max(0.0, std::min(std::abs(Wrapped180(blue - meanLow)), std::abs(Wrapped180(blue - meanHigh))) - 0.01);
    const double angle = 30 * std::exp(-(away / 25) * (away / 25));
    return std::min(WorstRotationSine, std::sin(2 * angle * Degree) + 1e-9);
}

// std::hypot takes care over overflow that values of this size never need, at
// many times the cost.
double Norm(double a, double b)
{
    return std::sqrt(a * a + b * b);
}

// The distance from v to the interval [low, high].
double Outside(double v, double low, double high)
{
    return v < low ? low - v : v > high ? v - high : 0;
}

struct TCandidate {
    RgbTriple Color;
    double DeltaE = Infinity;
    double LuminanceGap = Infinity;

    int Packed() const { return Color.R << 16 | Color.G << 8 | Color.B; }
    bool Before(const TCandidate& o) const
    {
        if (DeltaE != o.DeltaE)
            return DeltaE < o.DeltaE;
        if (LuminanceGap != o.LuminanceGap)
            return LuminanceGap < o.LuminanceGap;
        return Packed() < o.Packed();
    }
};

struct TCube {
    double Bound;
    double RotationSine; // for every colour of the cube
    std::uint8_t R, G, B;
    int Side;
    bool operator>(const TCube& o) const { return Bound > o.Bound; }
};

class TSearch {
public:
    TSearch(const RgbTriple& color, const RgbTriple& other, double level)
        : lab_(LabOf(color)), level_(level), chroma_(Norm(lab_.A, lab_.B))
    {
        for (int i = 0; i < 256; ++i)
            linear_[i] = LinearOfChannel(std::uint8_t(i));
        luminance_ = RelativeLuminance(color);
        other_ = RelativeLuminance(other);
        // Where the passing luminances begin on either side, widened for the
        // rounding of the ratio and then for L*'s own luminance.
        const double dark = (other_ + 0.05) / level - 0.05 + BoundMargin + LabLuminanceSlack;
        const double light = level * (other_ + 0.05) - 0.05 - BoundMargin - LabLuminanceSlack;
        darkL_ = dark < 0 ? -Infinity : LabLightnessOf(std::min(dark, 1.0));
        lightL_ = light > 1 ? Infinity : LabLightnessOf(std::max(light, 0.0));
    }

    bool Passes(double y) const { return ContrastRatioOfLuminances(y, other_) >= level_; }
    double Luminance(int r, int g, int b) const { return LuminanceOfLinear(linear_[r], linear_[g], linear_[b]); }
    double OwnLuminance() const { return luminance_; }

    std::optional<TPassingColor> Run()
    {
        std::priority_queue<TCube, std::vector<TCube>, std::greater<>> queue;
        Push(queue, 0, 0, 0, 256);
        while (!queue.empty()) {
            const TCube cube = queue.top();
            queue.pop();
            if (cube.Bound > best_.DeltaE)
                break;
            if (cube.Side <= LeafSide) {
                Judge(cube);
                continue;
            }
            const int half = cube.Side / 2;
            for (int i = 0; i < 8; ++i)
                Push(queue, cube.R + (i & 1) * half, cube.G + (i >> 1 & 1) * half, cube.B + (i >> 2) * half, half);
        }
        if (best_.DeltaE == Infinity)
            return std::nullopt;
        return TPassingColor{best_.Color, best_.DeltaE};
    }

private:
    template <class Queue> void Push(Queue& queue, int r, int g, int b, int side)
    {
        TCube cube{Infinity, WorstRotationSine, std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), side};
        Bound(cube);
        if (cube.Bound != Infinity && cube.Bound <= best_.DeltaE)
            queue.push(cube);
    }

    // No colour of the cube that passes is nearer than this; infinite when
    // none passes. Every piece of the formula is bounded on its own:
    // - lightness: the cube's L* range, cut to where colours can pass, at
    //   its point nearest to the colour's L* (the lightness term grows with
    //   the distance, whatever the lightness weight does);
    // - a*, b*: their ranges from those of the companded X, Y, Z; the
    //   chroma and hue terms together are at least the a'b' distance over
    //   the largest SC (SH never exceeds SC), and the a'b' distance is at
    //   least the a*b* one;
    // - rotation: it can take at most |RT| / 2 of the chroma and hue terms,
    //   RT bounded by the largest mean chroma, and next to nothing when
    //   both colours lie in the half of b* >= 0.
    void Bound(TCube& cube) const
    {
        const int r = cube.R, g = cube.G, b = cube.B, side = cube.Side;
        const int r1 = r + side - 1, g1 = g + side - 1, bl1 = b + side - 1;
        const double y0 = Luminance(r, g, b), y1 = Luminance(r1, g1, bl1);
        const bool dark = y0 < other_ && Passes(y0);
        const bool light = y1 > other_ && Passes(y1);
        if (!dark && !light)
            return;
        const TLab lo = LabOf({std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)});
        const TLab hi = LabOf({std::uint8_t(r1), std::uint8_t(g1), std::uint8_t(bl1)});
        double lightness = Infinity;
        const auto consider = [&](double low, double high) {
            if (low <= high)
                lightness = std::min(lightness, DeltaE2000LowerBound(lab_, {std::clamp(lab_.L, low, high), 0, 0}));
        };
        if (dark)
            consider(lo.L, std::min(hi.L, darkL_));
        if (light)
            consider(std::max(lo.L, lightL_), hi.L);
        if (lightness == Infinity)
            return;

        const double fy0 = (lo.L + 16) / 116, fy1 = (hi.L + 16) / 116;
        const double fx0 = fy0 + lo.A / 500, fx1 = fy1 + hi.A / 500;
        const double fz0 = fy0 - lo.B / 200, fz1 = fy1 - hi.B / 200;
        const double aLow = 500 * (fx0 - fy1), aHigh = 500 * (fx1 - fy0);
        const double bLow = 200 * (fy0 - fz1), bHigh = 200 * (fy1 - fz0);
        const double da = Outside(lab_.A, aLow, aHigh), db = Outside(lab_.B, bLow, bHigh);
        const double chromaMin = Norm(Outside(0, aLow, aHigh), Outside(0, bLow, bHigh));
        const double chromaMax = Norm(std::max(-aLow, aHigh), std::max(-bLow, bHigh));
        // a' = (1 + G) a, G falling from 0.5 as the mean chroma grows.
        const double gMax = AScale((chroma_ + chromaMin) / 2), gMin = AScale((chroma_ + chromaMax) / 2);
        const double primeMeanMax = (1 + gMax) * (chroma_ + chromaMax) / 2;
        const double sc = 1 + 0.045 * primeMeanMax;
        // The cube's b* range comes from rounded corners: kept clear of 0.
        if (lab_.B >= 0 && bLow >= BoundMargin) {
            cube.RotationSine = UpperHalfRotationSine;
        } else if (MaxRotation(primeMeanMax, WorstRotationSine) > 0.01) {
            // a' over the range of 1 + G, for both colours.
            const double sLow = 1 + gMin, sHigh = 1 + gMax;
            const auto low = [&](double a) { return std::min(sLow * a, sHigh * a); };
            const auto high = [&](double a) { return std::max(sLow * a, sHigh * a); };
            if (const std::optional<TArc> own = ArcOf(low(lab_.A), high(lab_.A), lab_.B, lab_.B))
                cube.RotationSine = RotationSine(*own, ArcOf(low(aLow), high(aHigh), bLow, bHigh));
        }
        const double kept = 1 - MaxRotation(primeMeanMax, cube.RotationSine) / 2;
        const double daPrime = (1 + gMin) * da;
        const double bound = std::sqrt(lightness * lightness + kept * (daPrime * daPrime + db * db) / (sc * sc));
        cube.Bound = bound * (1 - BoundMargin) - BoundMargin;
    }

    // The bound for one colour, with its own G, C', SC and the chroma and
    // hue differences apart (the hue one over the largest SH): a few square
    // roots against the full formula's trigonometry.
    double PointBound(const TLab& lab, double cubeRotationSine) const
    {
        const double g = AScale((chroma_ + Norm(lab.A, lab.B)) / 2);
        const double c1 = Norm((1 + g) * lab_.A, lab_.B), c2 = Norm((1 + g) * lab.A, lab.B);
        const double primeMean = (c1 + c2) / 2;
        const bool upperHalf = lab_.B >= 0 && lab.B >= 0;
        const double sc = 1 + 0.045 * primeMean;
        const double sh = 1 + 0.015 * primeMean * (upperHalf ? MaxTUpperHalf : MaxT);
        const double da = (1 + g) * (lab.A - lab_.A), db = lab.B - lab_.B;
        // ΔC'² + ΔH'² is the squared a'b' distance.
        const double dc = c2 - c1, dh2 = std::max(0.0, da * da + db * db - dc * dc);
        const double lightness = DeltaE2000LowerBound(lab_, lab);
        const double bound =
            std::sqrt(lightness * lightness +
                      (1 - MaxRotation(primeMean, upperHalf ? UpperHalfRotationSine : cubeRotationSine) / 2) *
                          (dc * dc / (sc * sc) + dh2 / (sh * sh)));
        return bound * (1 - BoundMargin) - BoundMargin;
    }

    void Judge(const TCube& cube)
    {
        for (int r = cube.R; r < cube.R + cube.Side; ++r) {
            for (int g = cube.G; g < cube.G + cube.Side; ++g) {
                for (int b = cube.B; b < cube.B + cube.Side; ++b) {
                    const double y = Luminance(r, g, b);
                    if (!Passes(y))
                        continue;
                    const RgbTriple c{std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)};
                    const TLab lab = LabOf(c);
                    if (PointBound(lab, cube.RotationSine) > best_.DeltaE)
                        continue;
                    const TCandidate candidate{c, DeltaE2000(lab_, lab), std::abs(y - luminance_)};
                    if (candidate.Before(best_))
                        best_ = candidate;
                }
            }
        }
    }

    TLab lab_;
    double level_;
    double chroma_;
    std::array<double, 256> linear_;
    double luminance_ = 0;
    double other_ = 0;
    double darkL_ = 0;
    double lightL_ = 0;
    TCandidate best_;
};

} // namespace

std::optional<TPassingColor> NearestPassingColor(const RgbTriple& color, const RgbTriple& other, double level)
{
    TSearch search(color, other, level);
    if (search.Passes(search.OwnLuminance()))
        return TPassingColor{color, 0};
    return search.Run();
}
