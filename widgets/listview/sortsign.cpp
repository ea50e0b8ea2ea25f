#include "widgets/listview/sortsign.h"

std::optional<TPoint> SortSignOrigin(int itemLeft, int itemWidth, int textWidth, int textHeight, TAlignment alignment)
{
    const int x = alignment == taRightJustify ? itemLeft + itemWidth - textWidth - 23 : itemLeft + textWidth + 15;
    if (x < itemLeft + 3 || x + 8 > itemLeft + itemWidth - 3)
        return std::nullopt;
    return TPoint{x, (textHeight - 7) / 2 + 1};
}

namespace {

void line(TCanvas& canvas, TColor color, int x1, int y1, int x2, int y2)
{
    canvas.PenColor = color;
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

} // namespace

void DrawSortSign(TCanvas& canvas, int x, int y, bool descending)
{
    if (descending) {
        ++y;
        line(canvas, clBtnShadow, x + 1, y, x + 7, y);
        line(canvas, clBtnShadow, x + 1, y, x + 4, y + 7);
        line(canvas, clBtnHighlight, x + 8, y, x + 4, y + 7);
    } else {
        line(canvas, clBtnHighlight, x + 1, y + 7, x + 8, y + 7);
        line(canvas, clBtnHighlight, x + 4, y, x + 8, y + 7);
        line(canvas, clBtnShadow, x, y + 6, x + 4, y - 1);
    }
}
