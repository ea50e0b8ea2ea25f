// The 16 basic colours of the colour combo box, by item index.
#pragma once

#include "framework/types.h"

#include <optional>

inline constexpr RgbTriple BasicPalette[16] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128},   {128, 128, 128}, {192, 192, 192}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};

// The colour of an item index; none outside 0..15 (-1: no selection).
inline std::optional<RgbTriple> BasicPaletteColor(int index)
{
    if (index < 0 || index >= 16)
        return std::nullopt;
    return BasicPalette[index];
}
