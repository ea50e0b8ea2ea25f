// The colour nearest to a given one whose contrast against another colour
// reaches a level: what to change the text or the background to so that the
// pair can be read, losing as little of the chosen colour as possible.
#pragma once

#include "framework/types.h"

#include <optional>

struct TPassingColor {
    RgbTriple Color;
    double DeltaE = 0; // DeltaE2000(LabOf(colour given), LabOf(Color))
};

// Of all 16 777 216 byte colours c with ContrastRatioOfLuminances(
// RelativeLuminance(c), RelativeLuminance(other)) >= level, the one of least
// DeltaE2000(LabOf(color), LabOf(c)); of equally near ones, the one nearest
// in relative luminance to `color`, then the one of the smallest #RRGGBB.
// `color` itself, at 0, when it passes; none when no colour does (7:1
// against #777777). Exact: the same colour a search of every colour finds.
std::optional<TPassingColor> NearestPassingColor(const RgbTriple& color, const RgbTriple& other, double level);
