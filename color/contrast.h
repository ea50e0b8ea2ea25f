// The contrast of text on a background as the web accessibility guidelines
// measure it, and how the preview box reports it.
#pragma once

#include "framework/types.h"

#include <QString>

// Relative luminance of an RGB colour, 0 (black) to 1 (white).
double RelativeLuminance(TColor color);
double RelativeLuminance(const RgbTriple& c);
double ContrastRatio(const RgbTriple& text, const RgbTriple& background);
// The same from the channels' linear values. Inline, and the one expression
// every luminance comes from: a search that judges millions of colours gets
// exactly the ratio the window shows for each of them.
inline double LuminanceOfLinear(double r, double g, double b)
{
    return 0.2126 * r + 0.7152 * g + 0.0722 * b;
}
// (lighter + 0.05) / (darker + 0.05): 1 to 21, the same either way round.
// System colours are resolved first.
double ContrastRatio(TColor text, TColor background);
inline double ContrastRatioOfLuminances(double a, double b)
{
    return a > b ? (a + 0.05) / (b + 0.05) : (b + 0.05) / (a + 0.05);
}

// Thresholds for normal-size text.
constexpr double ContrastAA = 4.5;
constexpr double ContrastAAA = 7.0;

// "Контраст 3,54:1".
QString ContrastRatioCaption(double ratio);
// "Контраст 21,00:1 — AA, AAA", "Контраст 5,00:1 — AA" or, below AA,
// "Контраст 4,48:1 — ниже AA". The levels are judged on the exact ratio,
// not on the two decimals shown.
QString ContrastText(double ratio);
