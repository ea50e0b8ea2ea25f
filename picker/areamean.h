// The colour a pick takes: one pixel, or the mean of a square of pixels
// around it, averaged as light adds up (in linear light) and not as the
// encoded bytes do, so that black and white in equal parts give the grey they
// look like from afar.
#pragma once

#include "framework/types.h"

#include <QImage>
#include <QPoint>
#include <QRegion>

#include <optional>

// The sides of the squares offered, smallest first; 1 is the pixel alone.
constexpr int AverageSides[] = {1, 3, 5, 9};
bool IsAverageSide(int side);
// The next side offered after side, back to 1 after the largest.
int NextAverageSide(int side);

// The mean of the pixels of image in the side × side square centred on
// centre that lie in shown (the part of image that some screen shows);
// nothing when none does. A side that is not offered counts as 1.
std::optional<TColor> AreaMean(const QImage& image, QPoint centre, int side, const QRegion& shown);
