#include "color/passingcolor.h"

#include "color/colorspace.h"
#include "color/contrast.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
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
// The largest |RT| at a mean chroma C' of at most the one given: RC there,
// times the sine of twice the rotation angle. That angle peaks at 30° for a
// mean hue of 275°, blue; when both colours lie in the half of b* >= 0
// (red, yellow, green) the mean hue is within 0°..180°, at least 80° from
// it even with rounding, and the angle is below 30° e^-(80/25)², 0.0011°.
double MaxRotation(double primeMean, bool upperHalf)
{
    const double sine = upperHalf ? 3.7e-5 : 0.8660254037844387; // sin 60°
    return 2 * std::sqrt(Pow7(primeMean) / (Pow7(primeMean) + Pow7Of25)) * sine;
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
        const double bound = Bound(r, g, b, side);
        if (bound != Infinity && bound <= best_.DeltaE)
            queue.push({bound, std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), side});
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
    double Bound(int r, int g, int b, int side) const
    {
        const int r1 = r + side - 1, g1 = g + side - 1, bl1 = b + side - 1;
        const double y0 = Luminance(r, g, b), y1 = Luminance(r1, g1, bl1);
        const bool dark = y0 < other_ && Passes(y0);
        const bool light = y1 > other_ && Passes(y1);
        if (!dark && !light)
            return Infinity;
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
            return Infinity;

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
        const double kept = 1 - MaxRotation(primeMeanMax, lab_.B >= 0 && bLow >= BoundMargin) / 2;
        const double daPrime = (1 + gMin) * da;
        const double bound = std::sqrt(lightness * lightness + kept * (daPrime * daPrime + db * db) / (sc * sc));
        return bound * (1 - BoundMargin) - BoundMargin;
    }

    // The bound for one colour, with its own G, C', SC and the chroma and
    // hue differences apart (the hue one over the largest SH): a few square
    // roots against the full formula's trigonometry.
    double PointBound(const TLab& lab) const
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
        const double bound = std::sqrt(lightness * lightness + (1 - MaxRotation(primeMean, upperHalf) / 2) *
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
                    if (PointBound(lab) > best_.DeltaE)
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
