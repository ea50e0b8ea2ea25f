#include "widgets/listview/ordolistview.h"

#include "widgets/listview/cellcompare.h"
#include "widgets/listview/sortsign.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

TLVItemCompare ItemCompareProc = &CompareListItems;
TCellCompare CellCompareProc = &CompareCellTexts;

std::intptr_t MakeSortParam(int column, TSortDirection direction)
{
    const std::uint32_t low = static_cast<std::uint16_t>(column);
    const std::uint32_t high = direction == sdDescending ? 0xFFFFu : 0x0001u;
    return static_cast<std::intptr_t>(static_cast<std::int32_t>((high << 16) | low));
}

int CompareListItems(TListItem* Item1, TListItem* Item2, std::intptr_t SortParam)
{
    if (!Item1 || !Item2)
        return 0;
    if (const std::optional<int> compare = TCustomListView::EventCompare(Item1, Item2, SortParam))
        return *compare;
    const int column = SortParamColumn(SortParam);
    const int r = CellCompareProc ? CellCompareProc(Item1->ColumnText(column), Item2->ColumnText(column)) : 0;
    // Only the sign counts, so reversing it cannot overflow.
    const int sign = (r > 0) - (r < 0);
    return SortParamDirection(SortParam) < 0 ? -sign : sign;
}

TOrdoListView::TOrdoListView(QWidget* parent) : TCustomListView(parent) {}

void TOrdoListView::SetSortColumn(int column)
{
    column = std::clamp(column, 0, 0xFFFF);
    if (!InState(csReading)) {
        const int count = Columns().Count();
        column = count == 0 ? 0 : std::min(column, count - 1);
    }
    if (StoreChanged(sortColumn_, column))
        SortStateChanged();
}

void TOrdoListView::SetSortDirection(TSortDirection direction)
{
    if (StoreChanged(sortDirection_, direction))
        SortStateChanged();
}

void TOrdoListView::SortStateChanged()
{
    InvalidateHeader();
    if (SortType() != stNone)
        AlphaSort();
}

void TOrdoListView::SetShowSortSign(bool value)
{
    if (StoreChanged(showSortSign_, value))
        InvalidateHeader();
}

void TOrdoListView::SetSortType(TSortType type)
{
    if (type == SortType())
        return;
    TCustomListView::SetSortType(type);
    InvalidateHeader();
}

std::intptr_t TOrdoListView::SortParam() const
{
    return MakeSortParam(ViewStyle() == vsReport ? sortColumn_ : 0, sortDirection_);
}

void TOrdoListView::Loaded()
{
    const int count = Columns().Count();
    sortColumn_ = count == 0 ? 0 : std::min(sortColumn_, count - 1);
    TCustomListView::Loaded();
}

void TOrdoListView::SortItems(TLVItemCompare compare, std::intptr_t param)
{
    if (ItemCompareProc) {
        compare = ItemCompareProc;
        param = SortParam();
    }
    TCustomListView::SortItems(compare, param);
}

void TOrdoListView::ColumnClick(TListColumn* column)
{
    if (column) {
        if (column->Index() == sortColumn_)
            SetSortDirection(sortDirection_ == sdAscending ? sdDescending : sdAscending);
        else
            SetSortColumn(column->Index());
    }
    TCustomListView::ColumnClick(column);
}

void TOrdoListView::HeaderPainted(QPainter& painter)
{
    if (ViewStyle() != vsReport || SortType() == stNone || !showSortSign_ || sortColumn_ >= Columns().Count())
        return;
    const TListHeader* header = Header();
    int left = 0;
    for (int i = 0; i < sortColumn_; ++i)
        left += header->sectionSize(i);
    const int width = header->sectionSize(sortColumn_);
    const TListColumn* column = Columns().Items(sortColumn_);

    // The sign is drawn on its own small picture, the rest of which is left
    // out when it is laid over the header.
    constexpr int margin = 2;
    constexpr QRgb key = 0xFFFF00FF;
    QImage picture(9 + 2 * margin, 9 + 2 * margin, QImage::Format_RGB32);
    picture.fill(key);
    TCanvas canvas(&picture);
    canvas.Font = font();
    const std::optional<TPoint> origin = SortSignOrigin(left, width, canvas.TextWidth(column->Caption()),
                                                        canvas.TextHeight(column->Caption()), column->Alignment());
    if (!origin)
        return;
    TPoint at = *origin;
    if (headerButtonDown_ && !dividerDrag_) {
        // An item is held down: its caption moves a pixel, and so does the
        // sign; on another item there is no sign.
        if (pressedHeaderItem_ != sortColumn_)
            return;
        ++at.X;
        ++at.Y;
    }
    DrawSortSign(canvas, margin, margin, sortDirection_ == sdDescending);
    QImage overlay = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < overlay.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(overlay.scanLine(y));
        for (int x = 0; x < overlay.width(); ++x)
            if (line[x] == key)
                line[x] = 0;
    }
    painter.drawImage(QPoint(at.X - margin - header->offset(), at.Y - margin), overlay);
}

void TOrdoListView::HeaderMousePressed(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    const int x = e->position().toPoint().x();
    headerButtonDown_ = true;
    pressedHeaderItem_ = Header()->logicalIndexAt(x);
    dividerDrag_ = Header()->OnDivider(x);
    InvalidateHeader();
}

void TOrdoListView::HeaderMouseReleased(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    headerButtonDown_ = false;
    dividerDrag_ = false;
    // The sign goes back to its place even when the press ended off its item.
    InvalidateHeader();
}
