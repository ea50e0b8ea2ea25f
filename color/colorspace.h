// Colour spaces the program writes and reads beside plain sRGB bytes: HSL
// and HWB (sRGB reshaped), OKLab and its polar form OKLCh, and CIE Lab for
// colour differences. All sRGB values here are gamma-encoded fractions 0..1
// unless a name says linear.
#pragma once

#include "framework/types.h"

struct TRgbFractions {
    double R = 0, G = 0, B = 0;
};

// One channel's byte on the sRGB curve, as linear light 0..1.
double LinearOfChannel(std::uint8_t channel);
// Linear light back on the sRGB curve, as the nearest byte (clamped).
std::uint8_t ChannelOfLinear(double linear);

// A byte per channel, each fraction rounded to the nearest of 0..255 and
// clamped (values just outside 0..1 come from rounding in the conversions).
RgbTriple ToBytes(const TRgbFractions& c);

// HSL: hue in degrees [0, 360), saturation and lightness 0..1. A grey has
// hue and saturation 0.
struct THsl {
    double H = 0, S = 0, L = 0;
};
THsl HslOf(const RgbTriple& c);
// Any hue (wrapped); saturation and lightness 0..1.
TRgbFractions FromHsl(double hue, double saturation, double lightness);
// Whiteness and blackness 0..1; a sum of 1 or more is a grey.
TRgbFractions FromHwb(double hue, double whiteness, double blackness);

struct TOklab {
    double L = 0, A = 0, B = 0;
};
// OKLCh: lightness 0..1, chroma >= 0, hue in degrees [0, 360).
struct TOklch {
    double L = 0, C = 0, H = 0;
};
TOklab OklabOf(const RgbTriple& c);
TOklch OklchOf(const RgbTriple& c);
TOklab OklabFromOklch(double lightness, double chroma, double hue);
// The sRGB colour of an OKLab value, brought into the sRGB gamut as CSS maps
// colours for display: lightness at or past the ends gives white or black,
// and a colour outside loses chroma at constant lightness and hue until
// clipping it moves it less than a just noticeable difference.
RgbTriple SrgbFromOklab(const TOklab& lab);

// CIE L*a*b* for the D65 white point.
struct TLab {
    double L = 0, A = 0, B = 0;
};
TLab LabOf(const RgbTriple& c);
// L* of a luminance 0..1 (the Y that LabOf uses), increasing with it.
double LabLightnessOf(double luminance);
// The CIEDE2000 colour difference, with the parametric factors all 1.
double DeltaE2000(const TLab& x, const TLab& y);
// A bound DeltaE2000 never falls below, at a fraction of its cost: the
// lightness term alone (the rotation term can cancel at most the chroma and
// hue terms' cross product, never the lightness term).
double DeltaE2000LowerBound(const TLab& x, const TLab& y);
