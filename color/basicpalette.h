// The 16 basic colours of the colour combo box, by item index.
#pragma once

#include "framework/types.h"

#include <iterator>
#include <optional>

// The colour of an item index; none outside 0..15 (-1: no selection).
inline std::optional<RgbTriple> BasicPaletteColor(int index)
{
    if (index < 0 || index >= int(std::size(StandardColorIdents)))
        return std::nullopt;
    return ChannelsOf(StandardColorIdents[index].Value);
}
