// The sort sign: a small raised triangle beside the caption of the column
// the list is sorted by, pointing up for ascending and down for descending.
#pragma once

#include "framework/canvas.h"
#include "framework/stdctrls.h"
#include "framework/types.h"

#include <optional>

// Where the sign goes in a header item that starts at itemLeft and is
// itemWidth wide, for a caption of textWidth x textHeight: beside the caption,
// at its right for a left-aligned or centred caption and at its left for a
// right-aligned one. Nothing when the sign would come closer than 3 pixels to
// either edge of the item.
std::optional<TPoint> SortSignOrigin(int itemLeft, int itemWidth, int textWidth, int textHeight, TAlignment alignment);

// Draws the sign's three lines with (x, y) as its origin, lit from the top
// left: it covers x .. x+8 and y .. y+8.
void DrawSortSign(TCanvas& canvas, int x, int y, bool descending);
