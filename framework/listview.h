// The framework list view: rows with a caption and sub-items, shown as a
// report with columns and a header over a Qt item view. Every sort of the
// rows goes through one request, SortItems(), which subclasses may take over.
#pragma once

#include "framework/controls.h"
#include "framework/stdctrls.h"

#include <QHeaderView>
#include <QStringList>
#include <QTreeView>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class TCustomListView;
class TListHeader;
class TListItem;
class TListViewModel;

// Stored layouts name these values by their declared identifiers.
namespace ListViewEnums {
Q_NAMESPACE
enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
Q_ENUM_NS(TViewStyle)
// stNone keeps the rows where they are; stText sorts when a caption changes,
// stData when an item's data changes, stBoth on either.
enum TSortType { stNone, stData, stText, stBoth };
Q_ENUM_NS(TSortType)
enum TListHotTrackStyle : unsigned { htHandPoint = 1, htUnderlineCold = 2, htUnderlineHot = 4 };
Q_ENUM_NS(TListHotTrackStyle)
} // namespace ListViewEnums
using ListViewEnums::TViewStyle;
using enum ListViewEnums::TViewStyle;
using ListViewEnums::TSortType;
using enum ListViewEnums::TSortType;
using ListViewEnums::TListHotTrackStyle;
using enum ListViewEnums::TListHotTrackStyle;
using TListHotTrackStyles = unsigned;

// An item comparison for a sort: negative when Item1 goes first. Param is
// the value the sort request carries.
using TLVItemCompare = int (*)(TListItem* Item1, TListItem* Item2, std::intptr_t Param);

class TListColumn;
using TLVColumnClickEvent = std::function<void(QObject* Sender, TListColumn* Column)>;
// The handler sets Compare (it starts at 0); Data is the sort request's value.
using TLVCompareEvent =
    std::function<void(QObject* Sender, TListItem* Item1, TListItem* Item2, std::intptr_t Data, int& Compare)>;

class TListColumn {
public:
    TCustomListView* Owner() const { return owner_; }
    int Index() const { return index_; }

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    // The width is always held between MinWidth and MaxWidth (0: no limit),
    // whether set here or dragged by the user.
    int Width() const { return width_; }
    void SetWidth(int width);
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int width);
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int width);

private:
    friend class TListColumns;
    friend class TCustomListView;
    explicit TListColumn(TCustomListView* owner) : owner_(owner) {}
    int Clamped(int width) const;

    TCustomListView* owner_;
    int index_ = 0;
    QString caption_;
    TAlignment alignment_ = taLeftJustify;
    int width_ = 50;
    int minWidth_ = 0;
    int maxWidth_ = 0;
};

class TListColumns {
public:
    int Count() const { return static_cast<int>(columns_.size()); }
    // Raises "List index out of bounds (i)" for an index not in the list.
    TListColumn* Items(int index) const;
    TListColumn* Add();
    void Delete(int index);
    void Clear();

private:
    friend class TCustomListView;
    friend class TListViewModel;
    explicit TListColumns(TCustomListView* owner) : owner_(owner) {}
    void Renumber();

    TCustomListView* owner_;
    std::vector<std::unique_ptr<TListColumn>> columns_;
};

class TListItem {
public:
    TCustomListView* Owner() const { return owner_; }
    // The row the item is shown in.
    int Index() const { return index_; }

    QString Caption() const { return caption_; }
    // Sorts the list when its SortType is stText or stBoth.
    void SetCaption(const QString& caption);
    std::intptr_t Data() const { return data_; }
    // Sorts the list when its SortType is stData or stBoth.
    void SetData(std::intptr_t data);

    const QStringList& SubItems() const { return subItems_; }
    int SubItemCount() const { return static_cast<int>(subItems_.size()); }
    // The empty text for an index the item does not hold.
    QString SubItem(int index) const { return subItems_.value(index); }
    // Setting a sub-item past the end adds empty ones before it.
    void SetSubItem(int index, const QString& text);
    // Column 0 shows the caption, column k sub-item k-1.
    QString ColumnText(int column) const { return column <= 0 ? caption_ : subItems_.value(column - 1); }

    bool Selected() const;
    void SetSelected(bool selected);

private:
    friend class TListItems;
    friend class TListViewModel;
    explicit TListItem(TCustomListView* owner) : owner_(owner) {}
    void Changed();

    TCustomListView* owner_;
    int index_ = 0;
    QString caption_;
    QStringList subItems_;
    std::intptr_t data_ = 0;
};

class TListItems {
public:
    int Count() const;
    // Raises "List index out of bounds (i)" for an index not in the list.
    TListItem* Item(int index) const;
    // A new empty item at the end.
    TListItem* Add();
    // A new item with its texts, placed by one sort when the list sorts by text.
    TListItem* Add(const QString& caption, const QStringList& subItems);
    // index may be Count() (the end).
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    // Replaces every row: each entry is a caption followed by the
    // sub-items. Sorts once afterwards when the list sorts by text.
    void Assign(const QList<QStringList>& rows);

private:
    friend class TCustomListView;
    explicit TListItems(TCustomListView* owner) : owner_(owner) {}
    TCustomListView* owner_;
};

// The column header. It tells its list after it has painted itself and after
// it has handled a mouse press, move or release.
class TListHeader : public QHeaderView {
public:
    explicit TListHeader(TCustomListView* list);

    // Whether a press at x (viewport coordinates) lands on a divider between
    // two items and so starts resizing a column rather than clicking one.
    bool OnDivider(int x) const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    TCustomListView* list_;
};

class TCustomListView : public QTreeView, public TControl {
    friend class TListColumn;
    friend class TListColumns;
    friend class TListItem;
    friend class TListItems;
    friend class TListHeader;
    friend class TListViewModel;
    friend class TListItemDelegate;

public:
    explicit TCustomListView(QWidget* parent = nullptr);
    ~TCustomListView() override;

    TListColumns& Columns() { return columns_; }
    const TListColumns& Columns() const { return columns_; }
    TListItems& Items() { return items_; }
    const TListItems& Items() const { return items_; }

    // vsReport shows the columns under a header; the other styles show the
    // captions alone in one column.
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle style);

    TSortType SortType() const { return sortType_; }
    // Sorts when the new type is stText or stBoth, or stData while OnCompare
    // is set.
    virtual void SetSortType(TSortType type);

    bool GridLines() const { return gridLines_; }
    void SetGridLines(bool value);
    // The whole row is highlighted, not only the caption.
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool value);
    // Captions cannot be edited in place.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // htHandPoint: the pointer is a hand over a row. htUnderlineHot and
    // htUnderlineCold underline the caption of the row under the pointer and
    // of the other rows.
    TListHotTrackStyles HotTrackStyles() const { return hotTrackStyles_; }
    void SetHotTrackStyles(TListHotTrackStyles styles);

    // The selected row; null or -1 when none is.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int ItemIndex() const;
    // An index outside the rows clears the selection.
    void SetItemIndex(int index);

    // The list's own sort by its default comparison: OnCompare when set,
    // otherwise the captions in the locale's order.
    void AlphaSort();
    // A sort request with a caller's comparison (null: the default one).
    // Nothing is sorted while the list is being read; returns whether the
    // request was made.
    bool CustomSort(TLVItemCompare compare, std::intptr_t param);
    static int DefaultCompare(TListItem* Item1, TListItem* Item2, std::intptr_t Param);
    // What the first item's list says of the pair through OnCompare; none
    // when it has no such handler.
    static std::optional<int> EventCompare(TListItem* Item1, TListItem* Item2, std::intptr_t Param);

    TListHeader* Header() const { return header_; }

    void Loaded() override;
    // A list nobody sees yet is laid out when it is first shown: measuring
    // its rows loads its font, which start-up need not wait for.
    void doItemsLayout() override;
    // Typing finds a row by the start of its caption, whichever cell of the
    // current row was clicked last.
    void keyboardSearch(const QString& search) override;

    TLVColumnClickEvent OnColumnClick;
    TLVCompareEvent OnCompare;

protected:
    // Every sort request ends here: the rows are ordered by compare with a
    // merge sort of our own, which keeps equal rows in their order and, for a
    // comparison that is not a strict weak order (a column that mixes kinds),
    // still ends with each row once, in some order. The selection stays with
    // its row. When compare raises, the rows keep their order.
    virtual void SortItems(TLVItemCompare compare, std::intptr_t param);
    // The user clicked a column header; raises OnColumnClick.
    virtual void ColumnClick(TListColumn* column);

    // The header calls these after its own handling.
    virtual void HeaderPainted(QPainter& painter);
    virtual void HeaderMousePressed(QMouseEvent* e);
    virtual void HeaderMouseMoved(QMouseEvent* e);
    virtual void HeaderMouseReleased(QMouseEvent* e);
    // Repaints the header when it is shown.
    void InvalidateHeader();

    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    // Deferred like doItemsLayout: the header's height is measured in the
    // bold face of the list's font.
    void updateGeometries() override;

private:
    // Runs a change of the column list; the selection stays with its row.
    void ChangeColumns(const std::function<void()>& change);
    // Rows cannot be added or removed while a comparison runs.
    void CheckNotSorting() const;
    void ApplyColumnVisibility();
    void ApplyWidth(TListColumn* column);
    void SectionResized(int logical, int oldSize, int newSize);
    void SortOnChange(bool caption);
    void SetHotRow(int row);

    TListViewModel* model_;
    TListHeader* header_;
    TListColumns columns_{this};
    TListItems items_{this};
    TViewStyle viewStyle_ = vsIcon;
    TSortType sortType_ = stNone;
    bool gridLines_ = false;
    bool rowSelect_ = false;
    bool layoutPending_ = false;
    bool readOnly_ = false;
    TListHotTrackStyles hotTrackStyles_ = 0;
    int hotRow_ = -1;
    bool applyingWidth_ = false;
    bool sorting_ = false;
};

// The framework list as stored layouts name it.
class TListView : public TCustomListView {
public:
    using TCustomListView::TCustomListView;
};

// The published properties of a list view, for a class builder: columns and
// rows as lists, e.g.
//   Columns = (('Name' taLeftJustify 150 130 170) ('Red' taRightJustify 60))
//   Items.Data = (('AliceBlue' '240' '248' '255') ('Aqua' '0' '255' '255'))
// A column is its caption, alignment, width and optionally its minimum and
// maximum width; a row is its caption followed by its sub-items. A list
// without columns or rows stores nothing of them.
std::optional<TFormValue> ListColumnsToFormValue(const TCustomListView* list);
void ListColumnsFromFormValue(TCustomListView* list, const TFormValue& value);
std::optional<TFormValue> ListItemsToFormValue(const TCustomListView* list);
void ListItemsFromFormValue(TCustomListView* list, const TFormValue& value);

template <class T> TClassBuilder<T>& AddListViewProperties(TClassBuilder<T>& b)
{
    AddControlProperties(b)
        .Value(QStringLiteral("Columns"), &ListColumnsToFormValue, &ListColumnsFromFormValue)
        .Bool(QStringLiteral("GridLines"), &T::GridLines, &T::SetGridLines)
        .template SetOf<TListHotTrackStyle>(QStringLiteral("HotTrackStyles"), &T::HotTrackStyles, &T::SetHotTrackStyles)
        .Value(QStringLiteral("Items.Data"), &ListItemsToFormValue, &ListItemsFromFormValue)
        .Bool(QStringLiteral("ReadOnly"), &T::ReadOnly, &T::SetReadOnly)
        .Bool(QStringLiteral("RowSelect"), &T::RowSelect, &T::SetRowSelect)
        .template Enum<TSortType>(QStringLiteral("SortType"), &T::SortType, &T::SetSortType)
        .template Enum<TViewStyle>(QStringLiteral("ViewStyle"), &T::ViewStyle, &T::SetViewStyle)
        .Event(QStringLiteral("OnClick"), &T::OnClick)
        .Event(QStringLiteral("OnColumnClick"), &T::OnColumnClick)
        .Event(QStringLiteral("OnCompare"), &T::OnCompare)
        .Event(QStringLiteral("OnKeyUp"), &T::OnKeyUp);
    return b;
}
