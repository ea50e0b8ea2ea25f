// The contrast of text on a background as the web accessibility guidelines
// measure it, and how the preview box reports it.
#pragma once

#include "framework/types.h"

#include <QString>

// Relative luminance of an RGB colour, 0 (black) to 1 (white).
double RelativeLuminance(TColor color);
// (lighter + 0.05) / (darker + 0.05): 1 to 21, the same either way round.
// System colours are resolved first.
double ContrastRatio(TColor text, TColor background);

// Thresholds for normal-size text.
constexpr double ContrastAA = 4.5;
constexpr double ContrastAAA = 7.0;

// "Контраст 21,00:1 — AA, AAA", "Контраст 5,00:1 — AA" or, below AA,
// "Контраст 4,48:1 — ниже AA". The levels are judged on the exact ratio,
// not on the two decimals shown.
QString ContrastText(double ratio);
