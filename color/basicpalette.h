// The 16 basic colours of the colour combo box, by item index.
#pragma once

#include "framework/types.h"

#include <optional>

inline constexpr TColor BasicPalette[16] = {
    clBlack,  clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clGray,
    clSilver, clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite,
};

// The colour of an item index; none outside 0..15 (-1: no selection).
inline std::optional<RgbTriple> BasicPaletteColor(int index)
{
    if (index < 0 || index >= 16)
        return std::nullopt;
    return ChannelsOf(BasicPalette[index]);
}
