#include "color/recentcolors.h"

void TRecentColors::Add(const RgbTriple& color)
{
    colors_.removeOne(color);
    colors_.prepend(color);
    if (colors_.size() > Capacity)
        colors_.removeLast();
}
