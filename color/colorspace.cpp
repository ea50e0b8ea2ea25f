#include "color/colorspace.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr double Degree = std::numbers::pi / 180;

double Wrapped(double hue)
{
    const double h = std::fmod(hue, 360.0);
    return h < 0 ? h + 360 : h;
}

// The sRGB transfer curve, extended to negative values by symmetry so that
// colours outside the gamut convert both ways.
double Linear(double encoded)
{
    const double a = std::abs(encoded);
    const double l = a <= 0.04045 ? a / 12.92 : std::pow((a + 0.055) / 1.055, 2.4);
    return std::copysign(l, encoded);
}
double Encoded(double linear)
{
    const double a = std::abs(linear);
    const double e = a <= 0.0031308 ? a * 12.92 : 1.055 * std::pow(a, 1 / 2.4) - 0.055;
    return std::copysign(e, linear);
}

// Linear values of the 256 bytes: every conversion from a byte colour
// starts here.
const std::array<double, 256>& LinearOfByte()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[i] = Linear(i / 255.0);
        return t;
    }();
    return table;
}

TOklab OklabOfLinear(double r, double g, double b)
{
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

TOklab OklabOfEncoded(const TRgbFractions& c)
{
    return OklabOfLinear(Linear(c.R), Linear(c.G), Linear(c.B));
}

TRgbFractions EncodedOfOklab(const TOklab& lab)
{
    const double l = std::pow(lab.L + 0.3963377774 * lab.A + 0.2158037573 * lab.B, 3);
    const double m = std::pow(lab.L - 0.1055613458 * lab.A - 0.0638541728 * lab.B, 3);
    const double s = std::pow(lab.L - 0.0894841775 * lab.A - 1.2914855480 * lab.B, 3);
    return {Encoded(+4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s),
            Encoded(-1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s),
            Encoded(-0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s)};
}

bool InGamut(const TRgbFractions& c)
{
    return c.R >= 0 && c.R <= 1 && c.G >= 0 && c.G <= 1 && c.B >= 0 && c.B <= 1;
}

TRgbFractions Clipped(const TRgbFractions& c)
{
    return {std::clamp(c.R, 0.0, 1.0), std::clamp(c.G, 0.0, 1.0), std::clamp(c.B, 0.0, 1.0)};
}

double DeltaEOk(const TOklab& x, const TOklab& y)
{
    return std::hypot(x.L - y.L, x.A - y.A, x.B - y.B);
}

double LabCurve(double t)
{
    constexpr double e = 216.0 / 24389.0, k = 24389.0 / 27.0;
    return t > e ? std::cbrt(t) : (k * t + 16) / 116;
}

double Pow7(double x)
{
    const double x2 = x * x;
    return x2 * x2 * x2 * x;
}

// Hue angle in degrees [0, 360); 0 for no chroma.
double HueOf(double b, double a)
{
    if (a == 0 && b == 0)
        return 0;
    const double h = std::atan2(b, a) / Degree;
    return h < 0 ? h + 360 : h;
}

} // namespace

double LinearOfChannel(std::uint8_t channel)
{
    return LinearOfByte()[channel];
}

std::uint8_t ChannelOfLinear(double linear)
{
    return ToBytes({Encoded(linear), 0, 0}).R;
}

RgbTriple ToBytes(const TRgbFractions& c)
{
    const auto byte = [](double v) {
        if (!(v > 0)) // NaN too
            return std::uint8_t(0);
        return std::uint8_t(std::min(255.0, std::floor(v * 255 + 0.5)));
    };
    return {byte(c.R), byte(c.G), byte(c.B)};
}

THsl HslOf(const RgbTriple& c)
{
    const double r = c.R / 255.0, g = c.G / 255.0, b = c.B / 255.0;
    const double max = std::max({r, g, b}), min = std::min({r, g, b});
    const double d = max - min;
    THsl hsl;
    hsl.L = (max + min) / 2;
    if (d == 0)
        return hsl;
    hsl.S = d / (1 - std::abs(2 * hsl.L - 1));
    double h = 0;
    if (c.R >= c.G && c.R >= c.B)
        h = (g - b) / d;
    else if (c.G >= c.B)
        h = (b - r) / d + 2;
    else
        h = (r - g) / d + 4;
    hsl.H = Wrapped(60 * h);
    return hsl;
}

TRgbFractions FromHsl(double hue, double saturation, double lightness)
{
    const double h = Wrapped(hue);
    const double a = saturation * std::min(lightness, 1 - lightness);
    const auto f = [&](double n) {
        const double k = std::fmod(n + h / 30, 12);
        return lightness - a * std::clamp(std::min(k - 3, 9 - k), -1.0, 1.0);
    };
    return {f(0), f(8), f(4)};
}

TRgbFractions FromHwb(double hue, double whiteness, double blackness)
{
    if (whiteness + blackness >= 1) {
        const double grey = whiteness / (whiteness + blackness);
        return {grey, grey, grey};
    }
    const TRgbFractions pure = FromHsl(hue, 1, 0.5);
    const double scale = 1 - whiteness - blackness;
    return {pure.R * scale + whiteness, pure.G * scale + whiteness, pure.B * scale + whiteness};
}

TOklab OklabOf(const RgbTriple& c)
{
    const auto& linear = LinearOfByte();
    return OklabOfLinear(linear[c.R], linear[c.G], linear[c.B]);
}

TOklch OklchOf(const RgbTriple& c)
{
    const TOklab lab = OklabOf(c);
    return {lab.L, std::hypot(lab.A, lab.B), HueOf(lab.B, lab.A)};
}

TOklab OklabFromOklch(double lightness, double chroma, double hue)
{
    const double h = Wrapped(hue) * Degree;
    return {lightness, chroma * std::cos(h), chroma * std::sin(h)};
}

RgbTriple SrgbFromOklab(const TOklab& lab)
{
    if (lab.L >= 1)
        return {255, 255, 255};
    if (!(lab.L > 0)) // NaN too
        return {0, 0, 0};
    const TRgbFractions direct = EncodedOfOklab(lab);
    if (InGamut(direct))
        return ToBytes(direct);

    // Chroma is halved towards the largest value whose clipped colour is
    // still within a just noticeable difference of it.
    constexpr double Jnd = 0.02, Epsilon = 0.0001;
    TRgbFractions clipped = Clipped(direct);
    if (DeltaEOk(OklabOfEncoded(clipped), lab) < Jnd)
        return ToBytes(clipped);
    const double hue = std::atan2(lab.B, lab.A);
    double min = 0, max = std::hypot(lab.A, lab.B);
    bool minInGamut = true;
    while (max - min > Epsilon) {
        const double chroma = (min + max) / 2;
        const TOklab current{lab.L, chroma * std::cos(hue), chroma * std::sin(hue)};
        const TRgbFractions rgb = EncodedOfOklab(current);
        if (minInGamut && InGamut(rgb)) {
            min = chroma;
            continue;
        }
        clipped = Clipped(rgb);
        const double e = DeltaEOk(OklabOfEncoded(clipped), current);
        if (e < Jnd) {
            if (Jnd - e < Epsilon)
                break;
            minInGamut = false;
            min = chroma;
        } else {
            max = chroma;
        }
    }
    return ToBytes(clipped);
}

TLab LabOf(const RgbTriple& c)
{
    const auto& linear = LinearOfByte();
    const double r = linear[c.R], g = linear[c.G], b = linear[c.B];
    const double x = LabCurve((0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047);
    const double y = LabCurve(0.2126729 * r + 0.7151522 * g + 0.0721750 * b);
    const double z = LabCurve((0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883);
    return {116 * y - 16, 500 * (x - y), 200 * (y - z)};
}

double LabLightnessOf(double luminance)
{
    return 116 * LabCurve(luminance) - 16;
}

// The weight of a lightness difference at the mean lightness.
double LightnessWeight(double lMean)
{
    const double l50 = (lMean - 50) * (lMean - 50);
    return 1 + 0.015 * l50 / std::sqrt(20 + l50);
}

double DeltaE2000LowerBound(const TLab& x, const TLab& y)
{
    return std::abs(y.L - x.L) / LightnessWeight((x.L + y.L) / 2);
}

double DeltaE2000(const TLab& x, const TLab& y)
{
    const auto norm = [](double a, double b) { return std::sqrt(a * a + b * b); };
    constexpr double Pow7Of25 = 6103515625.0;
    const double cBar = (norm(x.A, x.B) + norm(y.A, y.B)) / 2;
    const double g = 0.5 * (1 - std::sqrt(Pow7(cBar) / (Pow7(cBar) + Pow7Of25)));
    const double a1 = (1 + g) * x.A, a2 = (1 + g) * y.A;
    const double c1 = norm(a1, x.B), c2 = norm(a2, y.B);
    const double h1 = HueOf(x.B, a1), h2 = HueOf(y.B, a2);

    const double dL = y.L - x.L, dC = c2 - c1;
    double dh = 0;
    if (c1 * c2 != 0) {
        dh = h2 - h1;
        if (dh > 180)
            dh -= 360;
        else if (dh < -180)
            dh += 360;
    }
    const double dH = 2 * std::sqrt(c1 * c2) * std::sin(dh * Degree / 2);

    const double lMean = (x.L + y.L) / 2, cMean = (c1 + c2) / 2;
    double hMean = h1 + h2;
    if (c1 * c2 != 0) {
        if (std::abs(h1 - h2) <= 180)
            hMean /= 2;
        else
            hMean = hMean < 360 ? (hMean + 360) / 2 : (hMean - 360) / 2;
    }
    const double t = 1 - 0.17 * std::cos((hMean - 30) * Degree) + 0.24 * std::cos(2 * hMean * Degree) +
                     0.32 * std::cos((3 * hMean + 6) * Degree) - 0.20 * std::cos((4 * hMean - 63) * Degree);
    const double q = (hMean - 275) / 25;
    const double theta = 30 * std::exp(-q * q);
    const double rc = 2 * std::sqrt(Pow7(cMean) / (Pow7(cMean) + Pow7Of25));
    const double sl = LightnessWeight(lMean);
    const double sc = 1 + 0.045 * cMean;
    const double sh = 1 + 0.015 * cMean * t;
    const double rt = -std::sin(2 * theta * Degree) * rc;
    const double l = dL / sl, c = dC / sc, h = dH / sh;
    return std::sqrt(l * l + c * c + h * h + rt * c * h);
}
