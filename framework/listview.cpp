#include "framework/listview.h"

#include <QAbstractTableModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

[[noreturn]] void outOfBounds(int index)
{
    throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
}

} // namespace

// --- model -------------------------------------------------------------------

// The rows as a flat table for the Qt view. It owns the items.
class TListViewModel : public QAbstractTableModel {
public:
    explicit TListViewModel(TCustomListView* list) : QAbstractTableModel(list), list_(list) {}

    std::vector<std::unique_ptr<TListItem>> Rows;

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(Rows.size());
    }

    // Outside report view, and in a report without columns, one column still
    // shows the captions.
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : std::max(1, list_->columns_.Count());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        const TListItem* item = ItemAt(index);
        if (!item)
            return {};
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return item->ColumnText(index.column());
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(toQt(ColumnAlignment(index.column())) | Qt::AlignVCenter);
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= list_->columns_.Count())
            return {};
        const TListColumn* column = list_->columns_.columns_[static_cast<size_t>(section)].get();
        if (role == Qt::DisplayRole)
            return column->Caption();
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(toQt(column->Alignment()) | Qt::AlignVCenter);
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        if (!ItemAt(index))
            return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
        if (!list_->readOnly_ && index.column() == 0)
            f |= Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        TListItem* item = ItemAt(index);
        if (!item || role != Qt::EditRole || index.column() != 0 || list_->readOnly_)
            return false;
        return Guard([&] { item->SetCaption(value.toString()); });
    }

    TListItem* ItemAt(const QModelIndex& index) const
    {
        if (!index.isValid() || index.row() < 0 || index.row() >= rowCount())
            return nullptr;
        return Rows[static_cast<size_t>(index.row())].get();
    }

    TAlignment ColumnAlignment(int column) const
    {
        if (column < 0 || column >= list_->columns_.Count())
            return taLeftJustify;
        return list_->columns_.columns_[static_cast<size_t>(column)]->Alignment();
    }

    void RowChanged(int row)
    {
        if (row >= 0 && row < rowCount())
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }

    void HeaderChanged(int section) { emit headerDataChanged(Qt::Horizontal, section, section); }

    void ColumnChanged(int column)
    {
        HeaderChanged(column);
        if (!Rows.empty() && column >= 0 && column < columnCount())
            emit dataChanged(index(0, column), index(rowCount() - 1, column));
    }

    void Renumber(size_t from)
    {
        for (size_t i = from; i < Rows.size(); ++i)
            Rows[i]->index_ = static_cast<int>(i);
    }

    void Insert(size_t row, std::unique_ptr<TListItem> item)
    {
        beginInsertRows({}, static_cast<int>(row), static_cast<int>(row));
        Rows.insert(Rows.begin() + static_cast<std::ptrdiff_t>(row), std::move(item));
        Renumber(row);
        endInsertRows();
    }

    void Remove(size_t row)
    {
        beginRemoveRows({}, static_cast<int>(row), static_cast<int>(row));
        std::unique_ptr<TListItem> gone = std::move(Rows[row]);
        Rows.erase(Rows.begin() + static_cast<std::ptrdiff_t>(row));
        Renumber(row);
        endRemoveRows();
    }

    void Replace(std::vector<std::unique_ptr<TListItem>> rows)
    {
        beginResetModel();
        std::vector<std::unique_ptr<TListItem>> gone = std::move(Rows);
        Rows = std::move(rows);
        Renumber(0);
        endResetModel();
    }

    void BeginColumnChange() { beginResetModel(); }
    void EndColumnChange() { endResetModel(); }

    // Puts the rows in the given order (every row exactly once); the view's
    // selection and current row follow their items.
    void Reorder(const std::vector<TListItem*>& order)
    {
        bool same = true;
        for (size_t i = 0; i < order.size() && same; ++i)
            same = order[i]->index_ == static_cast<int>(i);
        if (same)
            return;
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        std::vector<int> newRow(Rows.size());
        std::vector<std::unique_ptr<TListItem>> rows(Rows.size());
        for (size_t i = 0; i < order.size(); ++i) {
            const auto old = static_cast<size_t>(order[i]->index_);
            newRow[old] = static_cast<int>(i);
            rows[i] = std::move(Rows[old]);
        }
        Rows = std::move(rows);
        Renumber(0);
        const QModelIndexList from = persistentIndexList();
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& i : from)
            to << (i.isValid() && i.row() < static_cast<int>(newRow.size())
                       ? index(newRow[static_cast<size_t>(i.row())], i.column())
                       : QModelIndex());
        changePersistentIndexList(from, to);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

private:
    TCustomListView* list_;
};

// Cells drawn as the list's options ask: without row select only the caption
// shows the selection; grid lines along the right and bottom edges.
class TListItemDelegate : public QStyledItemDelegate {
public:
    explicit TListItemDelegate(TCustomListView* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt(option);
        if (!list_->rowSelect_ && index.column() > 0)
            opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        if (index.column() == 0) {
            const bool hot = index.row() == list_->hotRow_;
            const TListHotTrackStyles styles = list_->hotTrackStyles_;
            if ((hot && (styles & htUnderlineHot)) || (!hot && (styles & htUnderlineCold)))
                opt.font.setUnderline(true);
        }
        QStyledItemDelegate::paint(painter, opt, index);
        if (list_->gridLines_) {
            const QRect r = option.rect;
            painter->save();
            painter->setPen(ToQColor(clBtnFace));
            painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
            painter->drawLine(r.right(), r.top(), r.right(), r.bottom());
            painter->restore();
        }
    }

private:
    TCustomListView* list_;
};

// --- columns -------------------------------------------------------------------

int TListColumn::Clamped(int width) const
{
    width = std::max(width, 0);
    if (maxWidth_ > 0 && width > maxWidth_)
        width = maxWidth_;
    return std::max(width, minWidth_);
}

void TListColumn::SetCaption(const QString& caption)
{
    if (StoreChanged(caption_, caption))
        owner_->model_->HeaderChanged(index_);
}

void TListColumn::SetAlignment(TAlignment alignment)
{
    if (StoreChanged(alignment_, alignment))
        owner_->model_->ColumnChanged(index_);
}

void TListColumn::SetWidth(int width)
{
    width = Clamped(width);
    if (StoreChanged(width_, width))
        owner_->ApplyWidth(this);
}

void TListColumn::SetMinWidth(int width)
{
    minWidth_ = std::max(width, 0);
    SetWidth(width_);
}

void TListColumn::SetMaxWidth(int width)
{
    maxWidth_ = std::max(width, 0);
    SetWidth(width_);
}

TListColumn* TListColumns::Items(int index) const
{
    if (index < 0 || index >= Count())
        outOfBounds(index);
    return columns_[static_cast<size_t>(index)].get();
}

TListColumn* TListColumns::Add()
{
    TListColumn* column = nullptr;
    owner_->ChangeColumns([&] {
        columns_.push_back(std::unique_ptr<TListColumn>(new TListColumn(owner_)));
        column = columns_.back().get();
        Renumber();
    });
    return column;
}

void TListColumns::Delete(int index)
{
    if (index < 0 || index >= Count())
        outOfBounds(index);
    owner_->ChangeColumns([&] {
        columns_.erase(columns_.begin() + index);
        Renumber();
    });
}

void TListColumns::Clear()
{
    if (columns_.empty())
        return;
    owner_->ChangeColumns([&] { columns_.clear(); });
}

void TListColumns::Renumber()
{
    for (size_t i = 0; i < columns_.size(); ++i)
        columns_[i]->index_ = static_cast<int>(i);
}

// --- items -----------------------------------------------------------------------

void TListItem::Changed()
{
    owner_->model_->RowChanged(index_);
}

void TListItem::SetCaption(const QString& caption)
{
    if (!StoreChanged(caption_, caption))
        return;
    Changed();
    owner_->SortOnChange(true);
}

void TListItem::SetData(std::intptr_t data)
{
    if (StoreChanged(data_, data))
        owner_->SortOnChange(false);
}

void TListItem::SetSubItem(int index, const QString& text)
{
    if (index < 0)
        outOfBounds(index);
    while (subItems_.size() <= index)
        subItems_.append(QString());
    subItems_[index] = text;
    Changed();
}

bool TListItem::Selected() const
{
    return owner_->selectionModel()->isSelected(owner_->model_->index(index_, 0));
}

void TListItem::SetSelected(bool selected)
{
    if (selected)
        owner_->SetSelected(this);
    else if (Selected())
        owner_->selectionModel()->select(owner_->model_->index(index_, 0),
                                         QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
}

int TListItems::Count() const
{
    return static_cast<int>(owner_->model_->Rows.size());
}

TListItem* TListItems::Item(int index) const
{
    if (index < 0 || index >= Count())
        outOfBounds(index);
    return owner_->model_->Rows[static_cast<size_t>(index)].get();
}

TListItem* TListItems::Add()
{
    return Insert(Count());
}

TListItem* TListItems::Add(const QString& caption, const QStringList& subItems)
{
    owner_->CheckNotSorting();
    std::unique_ptr<TListItem> item(new TListItem(owner_));
    item->caption_ = caption;
    item->subItems_ = subItems;
    TListItem* added = item.get();
    owner_->model_->Insert(owner_->model_->Rows.size(), std::move(item));
    owner_->SortOnChange(true);
    return added;
}

TListItem* TListItems::Insert(int index)
{
    owner_->CheckNotSorting();
    if (index < 0 || index > Count())
        outOfBounds(index);
    std::unique_ptr<TListItem> item(new TListItem(owner_));
    TListItem* added = item.get();
    owner_->model_->Insert(static_cast<size_t>(index), std::move(item));
    return added;
}

void TListItems::Delete(int index)
{
    owner_->CheckNotSorting();
    if (index < 0 || index >= Count())
        outOfBounds(index);
    owner_->hotRow_ = -1;
    owner_->model_->Remove(static_cast<size_t>(index));
}

void TListItems::Clear()
{
    Assign({});
}

void TListItems::Assign(const QList<QStringList>& rows)
{
    owner_->CheckNotSorting();
    std::vector<std::unique_ptr<TListItem>> items;
    items.reserve(static_cast<size_t>(rows.size()));
    for (const QStringList& row : rows) {
        std::unique_ptr<TListItem> item(new TListItem(owner_));
        item->caption_ = row.value(0);
        item->subItems_ = row.mid(1);
        items.push_back(std::move(item));
    }
    owner_->hotRow_ = -1;
    owner_->model_->Replace(std::move(items));
    if (!rows.isEmpty())
        owner_->SortOnChange(true);
}

// --- header ---------------------------------------------------------------------

TListHeader::TListHeader(TCustomListView* list) : QHeaderView(Qt::Horizontal, list), list_(list)
{
    setSectionsClickable(true);
    setSectionsMovable(false);
    setHighlightSections(false);
    setStretchLastSection(false);
    setSortIndicatorShown(false);
    // Each column holds its own limits.
    setMinimumSectionSize(0);
    setDefaultSectionSize(50);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

bool TListHeader::OnDivider(int x) const
{
    const int visual = visualIndexAt(x);
    if (visual < 0)
        return false;
    const int logical = logicalIndex(visual);
    const int start = sectionViewportPosition(logical);
    // The same margin the header itself uses to start a resize.
    const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
    int resized = -1;
    if (x < start + grip) {
        for (int v = visual - 1; v >= 0 && resized < 0; --v)
            if (!isSectionHidden(logicalIndex(v)))
                resized = logicalIndex(v);
    } else if (x > start + sectionSize(logical) - grip) {
        resized = logical;
    }
    return resized >= 0 && sectionResizeMode(resized) == QHeaderView::Interactive;
}

void TListHeader::paintEvent(QPaintEvent* e)
{
    QHeaderView::paintEvent(e);
    Guard([this] {
        QPainter painter(viewport());
        list_->HeaderPainted(painter);
    });
}

void TListHeader::mousePressEvent(QMouseEvent* e)
{
    QHeaderView::mousePressEvent(e);
    Guard([this, e] { list_->HeaderMousePressed(e); });
}

void TListHeader::mouseMoveEvent(QMouseEvent* e)
{
    QHeaderView::mouseMoveEvent(e);
    Guard([this, e] { list_->HeaderMouseMoved(e); });
}

void TListHeader::mouseReleaseEvent(QMouseEvent* e)
{
    QHeaderView::mouseReleaseEvent(e);
    Guard([this, e] { list_->HeaderMouseReleased(e); });
}

// --- list view --------------------------------------------------------------------

TCustomListView::TCustomListView(QWidget* parent) : QTreeView(parent), TControl(this, QPalette::Base)
{
    model_ = new TListViewModel(this);
    header_ = new TListHeader(this);
    setHeader(header_);
    setModel(model_);
    // Taking the header turned its clicks off along with the view's own sorting.
    header_->setSectionsClickable(true);
    setItemDelegate(new TListItemDelegate(this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    SetColor(clWindow);
    ApplyColumnVisibility();

    connect(header_, &QHeaderView::sectionResized, this, [this](int logical, int oldSize, int newSize) {
        Guard([&] { SectionResized(logical, oldSize, newSize); });
    });
    connect(header_, &QHeaderView::sectionClicked, this, [this](int logical) {
        Guard([&] {
            if (logical >= 0 && logical < columns_.Count())
                ColumnClick(columns_.Items(logical));
        });
    });
}

TCustomListView::~TCustomListView()
{
    IncludeState(csDestroying);
    // The model reads the columns, which go before the Qt view does.
    setModel(nullptr);
    delete model_;
}

void TCustomListView::SetViewStyle(TViewStyle style)
{
    if (StoreChanged(viewStyle_, style))
        ApplyColumnVisibility();
}

void TCustomListView::SetSortType(TSortType type)
{
    if (!StoreChanged(sortType_, type))
        return;
    if (type == stText || type == stBoth || (type == stData && OnCompare))
        AlphaSort();
}

void TCustomListView::SetGridLines(bool value)
{
    if (StoreChanged(gridLines_, value))
        viewport()->update();
}

void TCustomListView::SetRowSelect(bool value)
{
    if (!StoreChanged(rowSelect_, value))
        return;
    setAllColumnsShowFocus(value);
    viewport()->update();
}

void TCustomListView::SetReadOnly(bool value)
{
    readOnly_ = value;
}

void TCustomListView::SetHotTrackStyles(TListHotTrackStyles styles)
{
    if (!StoreChanged(hotTrackStyles_, styles))
        return;
    SetHotRow(-1);
    viewport()->update();
}

TListItem* TCustomListView::Selected() const
{
    int row = -1;
    for (const QModelIndex& i : selectionModel()->selectedIndexes())
        if (i.isValid() && (row < 0 || i.row() < row))
            row = i.row();
    return row >= 0 && row < items_.Count() ? model_->Rows[static_cast<size_t>(row)].get() : nullptr;
}

void TCustomListView::SetSelected(TListItem* item)
{
    if (!item || item->Owner() != this) {
        selectionModel()->clearSelection();
        return;
    }
    selectionModel()->setCurrentIndex(model_->index(item->Index(), 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int TCustomListView::ItemIndex() const
{
    const TListItem* item = Selected();
    return item ? item->Index() : -1;
}

void TCustomListView::SetItemIndex(int index)
{
    SetSelected(index >= 0 && index < items_.Count() ? model_->Rows[static_cast<size_t>(index)].get() : nullptr);
}

void TCustomListView::AlphaSort()
{
    CustomSort(nullptr, 0);
}

bool TCustomListView::CustomSort(TLVItemCompare compare, std::intptr_t param)
{
    // While the stored layout is read the rows are not complete yet.
    if (InState(csReading | csDestroying))
        return false;
    SortItems(compare ? compare : &DefaultCompare, param);
    return true;
}

std::optional<int> TCustomListView::EventCompare(TListItem* Item1, TListItem* Item2, std::intptr_t Param)
{
    TCustomListView* list = Item1->Owner();
    if (!list || !list->OnCompare)
        return std::nullopt;
    int compare = 0;
    list->OnCompare(list, Item1, Item2, Param, compare);
    return compare;
}

int TCustomListView::DefaultCompare(TListItem* Item1, TListItem* Item2, std::intptr_t Param)
{
    if (!Item1 || !Item2)
        return 0;
    if (const std::optional<int> compare = EventCompare(Item1, Item2, Param))
        return *compare;
    return QString::localeAwareCompare(Item1->Caption(), Item2->Caption());
}

namespace {

// Bottom-up merge sort. Unlike std::stable_sort it asks nothing of less: each
// step takes one element from one of two runs, so any answers leave a
// permutation, and ties take the earlier run's element first.
template <class T, class Less> void StableMergeSort(std::vector<T>& items, Less less)
{
    const std::size_t n = items.size();
    std::vector<T> merged(n);
    for (std::size_t width = 1; width < n; width *= 2) {
        for (std::size_t low = 0; low < n; low += 2 * width) {
            const std::size_t middle = std::min(low + width, n), high = std::min(low + 2 * width, n);
            std::size_t a = low, b = middle, out = low;
            while (a < middle && b < high)
                merged[out++] = less(items[b], items[a]) ? items[b++] : items[a++];
            out = std::copy(items.begin() + a, items.begin() + middle, merged.begin() + out) - merged.begin();
            std::copy(items.begin() + b, items.begin() + high, merged.begin() + out);
        }
        items.swap(merged);
    }
}

} // namespace

void TCustomListView::SortItems(TLVItemCompare compare, std::intptr_t param)
{
    // A comparison that asks for another sort gets none: the rows are
    // already being put in order.
    if (sorting_ || !compare || model_->Rows.size() < 2)
        return;
    std::vector<TListItem*> order;
    order.reserve(model_->Rows.size());
    for (const auto& row : model_->Rows)
        order.push_back(row.get());
    sorting_ = true;
    try {
        // A copy is sorted, so a comparison that raises leaves the rows as
        // they were.
        StableMergeSort(order, [compare, param](TListItem* a, TListItem* b) { return compare(a, b, param) < 0; });
    } catch (...) {
        sorting_ = false;
        throw;
    }
    sorting_ = false;
    model_->Reorder(order);
}

void TCustomListView::ColumnClick(TListColumn* column)
{
    if (OnColumnClick)
        OnColumnClick(this, column);
}

void TCustomListView::HeaderPainted(QPainter&) {}
void TCustomListView::HeaderMousePressed(QMouseEvent*) {}
void TCustomListView::HeaderMouseMoved(QMouseEvent*) {}
void TCustomListView::HeaderMouseReleased(QMouseEvent*) {}

void TCustomListView::InvalidateHeader()
{
    if (header_->isVisible())
        header_->viewport()->update();
}

void TCustomListView::Loaded()
{
    TControl::Loaded();
    if (sortType_ == stText || sortType_ == stBoth)
        AlphaSort();
}

void TCustomListView::SortOnChange(bool caption)
{
    const bool sorts =
        caption ? (sortType_ == stText || sortType_ == stBoth) : (sortType_ == stData || sortType_ == stBoth);
    if (sorts)
        AlphaSort();
}

void TCustomListView::CheckNotSorting() const
{
    if (sorting_)
        throw Exception(QStringLiteral("The list cannot change its rows while it is being sorted"));
}

void TCustomListView::ChangeColumns(const std::function<void()>& change)
{
    TListItem* selected = Selected();
    const QModelIndex current = currentIndex();
    TListItem* currentItem = model_->ItemAt(current);
    hotRow_ = -1;
    model_->BeginColumnChange();
    change();
    model_->EndColumnChange();
    ApplyColumnVisibility();
    if (currentItem)
        selectionModel()->setCurrentIndex(model_->index(currentItem->Index(), 0), QItemSelectionModel::NoUpdate);
    if (selected)
        selectionModel()->select(model_->index(selected->Index(), 0),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TCustomListView::ApplyColumnVisibility()
{
    const bool report = viewStyle_ == vsReport;
    applyingWidth_ = true;
    // The list places its header itself (updateGeometries): showing it need
    // not first size it to its hint, which measures it in the bold face of
    // the font even on a page nobody has opened yet.
    header_->setAttribute(Qt::WA_Resized);
    setHeaderHidden(!report);
    const int count = model_->columnCount();
    for (int c = 0; c < count; ++c)
        setColumnHidden(c, report ? columns_.Count() == 0 : c > 0);
    applyingWidth_ = false;
    for (const auto& column : columns_.columns_)
        ApplyWidth(column.get());
}

void TCustomListView::ApplyWidth(TListColumn* column)
{
    applyingWidth_ = true;
    header_->resizeSection(column->Index(), column->Width());
    applyingWidth_ = false;
}

void TCustomListView::SectionResized(int logical, int, int newSize)
{
    if (applyingWidth_ || logical < 0 || logical >= columns_.Count() || header_->isSectionHidden(logical))
        return;
    TListColumn* column = columns_.Items(logical);
    const int width = column->Clamped(newSize);
    column->width_ = width;
    if (width != newSize)
        ApplyWidth(column);
}

void TCustomListView::SetHotRow(int row)
{
    const bool hand = (hotTrackStyles_ & htHandPoint) && row >= 0;
    if (hand)
        viewport()->setCursor(Screen::Cursor(crHandPoint));
    else
        viewport()->unsetCursor();
    if (row == hotRow_)
        return;
    const int old = hotRow_;
    hotRow_ = row;
    if (hotTrackStyles_ & (htUnderlineHot | htUnderlineCold)) {
        model_->RowChanged(old);
        model_->RowChanged(row);
    }
}

void TCustomListView::mouseMoveEvent(QMouseEvent* e)
{
    QTreeView::mouseMoveEvent(e);
    Guard([this, e] {
        const QModelIndex index = indexAt(e->position().toPoint());
        SetHotRow(hotTrackStyles_ && index.isValid() ? index.row() : -1);
    });
}

void TCustomListView::mouseReleaseEvent(QMouseEvent* e)
{
    QTreeView::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton)
        DoClick();
}

void TCustomListView::keyReleaseEvent(QKeyEvent* e)
{
    if (KeyReleased(e))
        QTreeView::keyReleaseEvent(e);
}

bool TCustomListView::viewportEvent(QEvent* e)
{
    if (e->type() == QEvent::Leave)
        Guard([this] { SetHotRow(-1); });
    return QTreeView::viewportEvent(e);
}

// --- stored form -------------------------------------------------------------------

namespace {

const TEnumNames& alignmentNames()
{
    static const TEnumNames names(QMetaEnum::fromType<TAlignment>());
    return names;
}

// Entries 0..count-1 as a list; an empty list is not stored at all.
template <class Entry> std::optional<TFormValue> storedList(int count, Entry entry)
{
    if (count == 0)
        return std::nullopt;
    TFormList entries;
    for (int i = 0; i < count; ++i)
        entries.push_back(entry(i));
    return entries;
}

} // namespace

std::optional<TFormValue> ListColumnsToFormValue(const TCustomListView* list)
{
    return storedList(list->Columns().Count(), [list](int i) {
        const TListColumn* c = list->Columns().Items(i);
        return TFormList{c->Caption(), TFormIdent{alignmentNames().Name(c->Alignment())}, qint64{c->Width()},
                         qint64{c->MinWidth()}, qint64{c->MaxWidth()}};
    });
}

void ListColumnsFromFormValue(TCustomListView* list, const TFormValue& value)
{
    struct Column {
        QString Caption;
        TAlignment Alignment = taLeftJustify;
        int Width = 50, MinWidth = 0, MaxWidth = 0;
    };
    const TFormList* entries = value.If<TFormList>();
    if (!entries)
        throw Exception(QStringLiteral("A list of columns expected"));
    // Everything is checked before the list changes.
    std::vector<Column> columns;
    for (size_t i = 0; i < entries->size(); ++i) {
        const TFormList* entry = (*entries)[i].If<TFormList>();
        const QString where = QStringLiteral("Column %1: ").arg(i);
        if (!entry || entry->empty() || entry->size() > 5)
            throw Exception(where + QStringLiteral("(caption alignment width minwidth maxwidth) expected"));
        Column c;
        try {
            c.Caption = ToText((*entry)[0]);
            if (entry->size() > 1) {
                const QString alignment = ToIdent((*entry)[1]);
                const std::optional<int> a = alignmentNames().Find(alignment);
                if (!a)
                    throw Exception(QStringLiteral("Invalid alignment '%1'").arg(alignment));
                c.Alignment = static_cast<TAlignment>(*a);
            }
            int* const sizes[] = {&c.Width, &c.MinWidth, &c.MaxWidth};
            for (size_t k = 2; k < entry->size(); ++k) {
                const qint64 v = ToInteger((*entry)[k]);
                if (v < 0 || v > 0xFFFF)
                    throw Exception(QStringLiteral("Width out of range"));
                *sizes[k - 2] = static_cast<int>(v);
            }
        } catch (const Exception& e) {
            throw Exception(where + e.Message());
        }
        columns.push_back(c);
    }
    list->Columns().Clear();
    for (const Column& c : columns) {
        TListColumn* column = list->Columns().Add();
        column->SetCaption(c.Caption);
        column->SetAlignment(c.Alignment);
        column->SetMinWidth(c.MinWidth);
        column->SetMaxWidth(c.MaxWidth);
        column->SetWidth(c.Width);
    }
}

std::optional<TFormValue> ListItemsToFormValue(const TCustomListView* list)
{
    return storedList(list->Items().Count(), [list](int i) {
        const TListItem* item = list->Items().Item(i);
        TFormList texts{item->Caption()};
        for (const QString& s : item->SubItems())
            texts.push_back(s);
        return texts;
    });
}

void ListItemsFromFormValue(TCustomListView* list, const TFormValue& value)
{
    const TFormList* entries = value.If<TFormList>();
    if (!entries)
        throw Exception(QStringLiteral("A list of rows expected"));
    QList<QStringList> rows;
    rows.reserve(static_cast<qsizetype>(entries->size()));
    for (size_t i = 0; i < entries->size(); ++i) {
        const TFormList* entry = (*entries)[i].If<TFormList>();
        if (!entry || entry->empty())
            throw Exception(QStringLiteral("Row %1: (caption subitem ...) expected").arg(i));
        QStringList texts;
        texts.reserve(static_cast<qsizetype>(entry->size()));
        for (const TFormValue& text : *entry) {
            const QString* s = text.If<QString>();
            if (!s)
                throw Exception(QStringLiteral("Row %1: texts must be strings").arg(i));
            texts << *s;
        }
        rows << texts;
    }
    list->Items().Assign(rows);
}

void TCustomListView::doItemsLayout()
{
    if (!isVisible()) {
        layoutPending_ = true;
        return;
    }
    layoutPending_ = false;
    QTreeView::doItemsLayout();
}

void TCustomListView::updateGeometries()
{
    if (!isVisible()) {
        layoutPending_ = true;
        return;
    }
    QTreeView::updateGeometries();
}

void TCustomListView::showEvent(QShowEvent* e)
{
    QTreeView::showEvent(e);
    if (layoutPending_)
        doItemsLayout();
}

void TCustomListView::keyboardSearch(const QString& search)
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.column() != 0)
        selectionModel()->setCurrentIndex(current.siblingAtColumn(0), QItemSelectionModel::NoUpdate);
    QTreeView::keyboardSearch(search);
}
