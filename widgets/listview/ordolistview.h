// A report list that keeps its rows sorted by one column in one direction,
// turns a click on a column header into a sort by that column (or, on the
// column already sorted by, a reversal), and marks the sort column in the
// header with a sort sign.
#pragma once

#include "framework/listview.h"

#include <QObject>
#include <QString>

#include <cstdint>

// Stored layouts name these values by their declared identifiers.
namespace OrdoListViewEnums {
Q_NAMESPACE
enum TSortDirection { sdAscending, sdDescending };
Q_ENUM_NS(TSortDirection)
} // namespace OrdoListViewEnums
using OrdoListViewEnums::TSortDirection;
using enum OrdoListViewEnums::TSortDirection;

// The value a sort carries to the item comparison: the column in the low 16
// bits, the direction as a signed 16-bit +1 or -1 in the high 16 bits.
std::intptr_t MakeSortParam(int column, TSortDirection direction);
inline int SortParamColumn(std::intptr_t param)
{
    return static_cast<int>(static_cast<std::uint32_t>(param) & 0xFFFFu);
}
inline int SortParamDirection(std::intptr_t param)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(param) >> 16));
}

using TCellCompare = int (*)(const QString& A, const QString& B);

// The item comparison every sort of a TOrdoListView uses (with the list's
// own sort value, whoever asked for the sort); when empty, sort requests keep
// their own comparison. Set at start, before any list exists.
extern TLVItemCompare ItemCompareProc;
// The cell comparison CompareListItems uses: CompareCellTexts at start.
extern TCellCompare CellCompareProc;

// The list's OnCompare when it has one (its Compare as it stands, whatever
// the direction); otherwise the cell texts of the sort column compared with
// CellCompareProc, reversed for a descending sort. A row without the column
// compares as the empty text.
int CompareListItems(TListItem* Item1, TListItem* Item2, std::intptr_t SortParam);

class TOrdoListView : public TCustomListView {
public:
    explicit TOrdoListView(QWidget* parent = nullptr);

    // Held below the number of columns (0 without columns); while the
    // stored layout is read the columns may come later, so the value is
    // held at the end of loading instead.
    int SortColumn() const { return sortColumn_; }
    void SetSortColumn(int column);
    TSortDirection SortDirection() const { return sortDirection_; }
    void SetSortDirection(TSortDirection direction);
    bool ShowSortSign() const { return showSortSign_; }
    void SetShowSortSign(bool value);
    // Every type but stNone keeps the rows in order.
    void SetSortType(TSortType type) override;

    // The sort value of the current state: outside report view the rows are
    // ordered by their captions.
    std::intptr_t SortParam() const;

    void Loaded() override;

protected:
    void SortItems(TLVItemCompare compare, std::intptr_t param) override;
    void ColumnClick(TListColumn* column) override;
    void HeaderPainted(QPainter& painter) override;
    void HeaderMousePressed(QMouseEvent* e) override;
    void HeaderMouseReleased(QMouseEvent* e) override;

private:
    // The sort sign shows the new state, and a sorted list is sorted again.
    void SortStateChanged();
    int sortColumn_ = 0;
    TSortDirection sortDirection_ = sdAscending;
    bool showSortSign_ = true;
    // The left button went down on the header and has not come up; on a
    // divider it resizes a column rather than pressing an item.
    bool headerButtonDown_ = false;
    bool dividerDrag_ = false;
    int pressedHeaderItem_ = -1;
};
