#include "framework/combobox.h"

#include "framework/application.h"
#include "framework/devicegrid.h"
#include "framework/exception.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QProxyStyle>
#include <QScopedValueRollback>
#include <QStyleFactory>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QStylePainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>

namespace {

// An item's picture for the device the painter really draws on (the window's
// backing store, a grabbed pixmap, a printed image): one image pixel per
// device pixel, so that its text is sharp and its lines and fills need no
// scaling. The canvas draws on it in logical pixels.
QImage ItemImage(const QPainter& painter, const QSize& size)
{
    const qreal device = PaintDeviceRatio(painter);
    const qreal ratio = IsFractionalRatio(device) ? device : std::max<qreal>(1, std::ceil(device));
    const TDeviceGrid grid(ratio);
    QImage image(grid.Length(size.width()), grid.Length(size.height()), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

// Draws an item's picture at its logical size, without smoothing, which
// would blur its edges where the picture's ratio is not the device's.
void DrawItemImage(QPainter& painter, const QPoint& at, const QImage& image)
{
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(at, image);
    painter.restore();
}

} // namespace

// The list rows of an owner-drawn combo box go through the control's own
// draw request; a plain combo box keeps the standard look.
class TComboItemDelegate : public QStyledItemDelegate {
public:
    explicit TComboItemDelegate(TCustomComboBox* combo) : QStyledItemDelegate(combo), combo_(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!combo_->OwnerDrawn()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        Guard([&] {
            const QRect r = option.rect;
            if (r.isEmpty())
                return;
            QImage image = ItemImage(*painter, r.size());
            TOwnerDrawState state = 0;
            if (option.state & QStyle::State_Selected)
                state |= odSelected;
            if (option.state & QStyle::State_HasFocus)
                state |= odFocused;
            if (!(option.state & QStyle::State_Enabled))
                state |= odDisabled;
            combo_->PaintItem(image, index.row(), Rect(0, 0, r.width(), r.height()), state);
            DrawItemImage(*painter, r.topLeft(), image);
        });
    }

    // The measure request: every row is as high as the list's item height.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!combo_->OwnerDrawn())
            return QStyledItemDelegate::sizeHint(option, index);
        return {combo_->width(), std::max(combo_->native_.ListItem, 1)};
    }

private:
    TCustomComboBox* combo_;
};

// The open list is a plain list with a scroll bar below the control, not a
// menu laid over it with scroll arrows.
class TComboStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == QStyle::SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    // A box that shows its list all the time has only the field on top,
    // without an arrow.
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override
    {
        const auto* combo = qobject_cast<const TCustomComboBox*>(widget);
        if (control == QStyle::CC_ComboBox && combo && combo->IsSimple()) {
            const int field = combo->NativeItemHeight(-1);
            switch (sub) {
            case QStyle::SC_ComboBoxEditField:
                return {3, 3, std::max(option->rect.width() - 6, 0), field};
            case QStyle::SC_ComboBoxFrame:
                return {0, 0, option->rect.width(), field + 6};
            case QStyle::SC_ComboBoxArrow:
                return {};
            default:
                break;
            }
        }
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }
};

namespace {

// One style object for every combo box, owned by the application so that it
// outlives them all.
QStyle* SharedComboStyle()
{
    static QPointer<TComboStyle> style;
    if (!style) {
        style = new TComboStyle(QStyleFactory::create(QApplication::style()->name()));
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

// What a layout can set of a font: its name, height and style. Other
// rendering hints do not change the text metrics; two names drawn in the
// same face are the same.
bool SameFont(const QFont& a, const QFont& b)
{
    return FontFace(a.family()) == FontFace(b.family()) && a.pixelSize() == b.pixelSize() &&
           a.pointSizeF() == b.pointSizeF() && a.weight() == b.weight() && a.italic() == b.italic() &&
           a.underline() == b.underline() && a.strikeOut() == b.strikeOut();
}

} // namespace

TCustomComboBox::TCustomComboBox(QWidget* parent)
    : QComboBox(parent), TControl(this, QPalette::Base), reportedFont_(DialogFont())
{
    {
        // Qt would make the open list on this style change; it is made when
        // first needed instead, in this style all the same.
        const QScopedValueRollback styling(settingStyle_, true);
        setStyle(SharedComboStyle());
    }
    resize(145, 25);
    SetTabStop(true);
    SetColor(clWindow);
    setMaxVisibleItems(DropDownCount);
    delegate_ = new TComboItemDelegate(this);
    connect(this, &QComboBox::activated, this, [this](int) { Guard([this] { SelChange(); }); });
}

QAbstractItemView* TCustomComboBox::ListView()
{
    if (!listReady_) {
        listReady_ = true;
        setItemDelegate(delegate_);
        view()->installEventFilter(this);
    }
    return view();
}

void TCustomComboBox::UpdateList()
{
    if (listReady_)
        view()->viewport()->update();
}

// --- native part -------------------------------------------------------------

void TCustomComboBox::HandleNeeded()
{
    if (!handleAllocated_)
        CreateWnd();
}

void TCustomComboBox::CreateParams(TCreateParams& params)
{
    params.Style = ComboStyle::Child | ComboStyle::ClipSiblings;
    if (TabStop())
        params.Style |= ComboStyle::TabStop;
    if (!isHidden())
        params.Style |= ComboStyle::Visible;
    params.Style |= ComboStyle::VScroll | ComboStyle::HasStrings | ComboStyle::AutoHScroll;
    switch (style_) {
    case TComboBoxStyle::csDropDown:
        params.Style |= ComboStyle::DropDown;
        break;
    case TComboBoxStyle::csSimple:
        params.Style |= ComboStyle::Simple;
        break;
    case TComboBoxStyle::csDropDownList:
        params.Style |= ComboStyle::DropDownList;
        break;
    case TComboBoxStyle::csOwnerDrawFixed:
        params.Style |= ComboStyle::DropDownList | ComboStyle::OwnerDrawFixed;
        break;
    }
}

void TCustomComboBox::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    ApplyNativeStyle(params.Style);
    handleAllocated_ = true;

    // The measure requests of a new native part: the field and the list
    // rows take the item height of this moment.
    int field = itemHeight_;
    int list = itemHeight_;
    if (!OwnerDrawn())
        field = list = fontMetrics().height() + 2;
    native_.Field = std::max(field, 1);
    native_.ListItem = std::max(list, 1);
    ApplyFieldGeometry();

    if (hasSaved_) {
        hasSaved_ = false;
        const std::vector<TSavedItem> items = std::move(savedItems_);
        savedItems_.clear();
        BeginUpdate();
        try {
            for (const TSavedItem& item : items)
                AddItem(item.Text, item.Data);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        SetItemIndex(savedIndex_);
        if (savedIndex_ < 0 && isEditable())
            SetText(savedText_);
    }
}

void TCustomComboBox::ApplyNativeStyle(unsigned bits)
{
    nativeStyle_ = bits;
    const unsigned kind = bits & ComboStyle::KindMask;
    const bool editable = kind == ComboStyle::Simple || kind == ComboStyle::DropDown;
    if (isEditable() != editable)
        setEditable(editable);
    if (editable) {
        // The field takes exactly what is typed: no completion, and Return
        // does not add the text to the list.
        setCompleter(nullptr);
        setInsertPolicy(QComboBox::NoInsert);
        QLineEdit* edit = lineEdit();
        if (edit && edit != connectedEdit_) {
            connectedEdit_ = edit;
            connect(edit, &QLineEdit::textEdited, this, [this](const QString&) { Guard([this] { EditChange(); }); });
        }
    }

    if (kind == ComboStyle::Simple && !simpleList_) {
        simpleList_ = new QListView(this);
        simpleList_->setModel(model());
        simpleList_->setItemDelegate(delegate_);
        simpleList_->setFocusPolicy(Qt::NoFocus);
        simpleList_->setSelectionMode(QAbstractItemView::SingleSelection);
        simpleList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        connect(this, &QComboBox::currentIndexChanged, simpleList_, [this](int index) {
            simpleList_->selectionModel()->setCurrentIndex(model()->index(index, 0),
                                                           QItemSelectionModel::ClearAndSelect);
        });
        // A click in the list is a choice like one in a dropped list.
        connect(simpleList_, &QListView::doubleClicked, this, [this](const QModelIndex&) { DoDblClick(); });
        connect(simpleList_, &QListView::clicked, this, [this](const QModelIndex& index) {
            Guard([&] {
                if (index.row() != currentIndex())
                    setCurrentIndex(index.row());
                SelChange();
            });
        });
        simpleList_->show();
    } else if (kind != ComboStyle::Simple && simpleList_) {
        delete simpleList_;
        simpleList_ = nullptr;
    }
}

void TCustomComboBox::LayOutSimple()
{
    if (!simpleList_)
        return;
    const int fieldBox = native_.Field + 6;
    if (QLineEdit* edit = lineEdit()) {
        QStyleOptionComboBox option;
        initStyleOption(&option);
        edit->setGeometry(style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this));
    }
    simpleList_->setGeometry(0, fieldBox, width(), std::max(height() - fieldBox, 0));
}

void TCustomComboBox::ApplyFieldGeometry()
{
    // The field and a three-pixel frame around it make the control's height,
    // except in csSimple, where the list below the field takes the rest.
    if (IsSimple()) {
        setMinimumHeight(Constraints().MinHeight);
        setMaximumHeight(Constraints().MaxHeight > 0 ? Constraints().MaxHeight : QWIDGETSIZE_MAX);
        LayOutSimple();
    } else {
        setFixedHeight(native_.Field + 6);
    }
}

void TCustomComboBox::DestroyWnd()
{
    savedItems_.clear();
    const int n = count();
    savedItems_.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        savedItems_.push_back({itemText(i), static_cast<TColor>(itemData(i).toInt())});
    savedIndex_ = currentIndex();
    savedText_ = Text();
    hasSaved_ = true;
    clear();
}

void TCustomComboBox::DestroyHandle()
{
    if (!handleAllocated_)
        return;
    DestroyWnd();
    handleAllocated_ = false;
}

void TCustomComboBox::RecreateWnd()
{
    if (!handleAllocated_)
        return;
    const bool focused = hasFocus();
    DestroyHandle();
    if (isVisible())
        HandleNeeded();
    if (focused && !hasFocus())
        setFocus();
}

// --- items -------------------------------------------------------------------

void TCustomComboBox::CheckIndex(int index)
{
    if (index < 0 || index >= count())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
}

int TCustomComboBox::ItemCount()
{
    HandleNeeded();
    return count();
}

QString TCustomComboBox::ItemText(int index)
{
    HandleNeeded();
    CheckIndex(index);
    return itemText(index);
}

TColor TCustomComboBox::ItemData(int index)
{
    HandleNeeded();
    CheckIndex(index);
    return static_cast<TColor>(itemData(index).toInt());
}

void TCustomComboBox::AddItem(const QString& text, TColor data)
{
    HandleNeeded();
    const int before = count();
    const QString field = lineEdit() ? lineEdit()->text() : QString();
    addItem(text, QVariant(static_cast<int>(data)));
    if (count() != before + 1)
        throw Exception(QStringLiteral("Unable to insert a line"));
    // Appending selects nothing and leaves the field alone, also when the
    // list was empty (the widget would select its first item).
    if (before == 0 && currentIndex() != -1) {
        setCurrentIndex(-1);
        if (lineEdit())
            lineEdit()->setText(field);
    }
}

void TCustomComboBox::ClearItems()
{
    HandleNeeded();
    SetText(QString());
    clear();
}

int TCustomComboBox::FindItemExact(const QString& text)
{
    HandleNeeded();
    const int n = count();
    for (int i = 0; i < n; ++i)
        if (itemText(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TCustomComboBox::ItemIndex()
{
    HandleNeeded();
    return currentIndex();
}

void TCustomComboBox::SetItemIndex(int index)
{
    HandleNeeded();
    if (index < -1 || index >= count())
        index = -1;
    if (index == currentIndex())
        return;
    setCurrentIndex(index);
}

QString TCustomComboBox::Text()
{
    HandleNeeded();
    if (isEditable() && lineEdit())
        return lineEdit()->text();
    return currentText();
}

void TCustomComboBox::SetText(const QString& text)
{
    HandleNeeded();
    if (isEditable() && lineEdit()) {
        // A field that no longer shows the selected item has no selection.
        const int i = currentIndex();
        if (i >= 0 && itemText(i) != text)
            setCurrentIndex(-1);
        lineEdit()->setText(text);
        return;
    }
    // A fixed field can only show an item of the list.
    const int i = FindItemExact(text);
    if (i >= 0 || text.isEmpty())
        SetItemIndex(i);
}

void TCustomComboBox::SetBoxStyle(TComboBoxStyle style)
{
    if (StoreChanged(style_, style))
        RecreateWnd();
}

void TCustomComboBox::SetItemHeight(int height)
{
    if (height <= 0)
        return;
    itemHeight_ = height;
    RecreateWnd();
}

void TCustomComboBox::SetNativeItemHeight(int which, int height)
{
    if (!handleAllocated_ || height <= 0)
        return;
    if (which < 0) {
        native_.Field = height;
        ApplyFieldGeometry();
        update();
    } else {
        native_.ListItem = height;
        // A list made later measures its rows then.
        if (listReady_)
            view()->doItemsLayout();
    }
}

void TCustomComboBox::BeginUpdate()
{
    if (updateCount_++ == 0)
        setUpdatesEnabled(false);
}

void TCustomComboBox::EndUpdate()
{
    if (updateCount_ <= 0)
        return;
    if (--updateCount_ == 0) {
        setUpdatesEnabled(true);
        update();
    }
}

// --- drawing -----------------------------------------------------------------

void TCustomComboBox::PaintItem(QImage& target, int index, const TRect& rect, TOwnerDrawState state)
{
    TCanvas canvas(&target);
    canvas.Font = font();
    canvas.FontColor = FontColor();
    canvas.BrushColor = Color();
    canvas.BrushStyle = TBrushStyle::bsSolid;

    const QScopedValueRollback drawingOn(canvas_, &canvas);

    // An index the list does not hold is drawn as the empty field.
    const bool isItem = handleAllocated_ && index >= 0 && index < count();
    if (isItem && (state & odSelected)) {
        canvas.BrushColor = clHighlight;
        canvas.FontColor = clHighlightText;
    }
    if (isItem)
        DrawItem(index, rect, state);
    else
        canvas.FillRect(rect);
    if (state & odFocused)
        canvas.DrawFocusRect(rect);
}

void TCustomComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState)
{
    if (!canvas_)
        return;
    canvas_->FillRect(rect);
    if (index >= 0)
        canvas_->TextOut(rect.Left + 2, rect.Top, ItemText(index));
}

TRect TCustomComboBox::FieldRect() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect arrow = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    int left = 3;
    int right = width() - 3;
    if (arrow.isValid()) {
        if (arrow.center().x() >= width() / 2)
            right = std::min(right, arrow.left() - 1);
        else
            left = std::max(left, arrow.right() + 2);
    }
    const int top = 3;
    const int bottom = std::min(top + native_.Field, height() - 3);
    return {left, top, std::max(right, left), std::max(bottom, top)};
}

int TCustomComboBox::RowsShown()
{
    HandleNeeded();
    return std::clamp(count(), 1, DropDownCount);
}

int TCustomComboBox::DroppedHeight()
{
    return native_.ListItem * RowsShown() + height() + 2;
}

void TCustomComboBox::paintEvent(QPaintEvent* event)
{
    if (handleAllocated_ && simpleList_) {
        // Only the field has a frame; the list below draws itself.
        Guard([&] {
            QPainter painter(this);
            QStyleOptionFrame option;
            option.initFrom(this);
            option.rect = QRect(0, 0, width(), native_.Field + 6);
            option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
            option.midLineWidth = 0;
            option.state |= QStyle::State_Sunken;
            style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
        });
        return;
    }
    // The editable styles show a real edit; the fixed field of an
    // owner-drawn box is drawn like a list item.
    if (!handleAllocated_ || !OwnerDrawn() || isEditable()) {
        QComboBox::paintEvent(event);
        return;
    }
    Guard([&] {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        option.currentIcon = QIcon();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);

        const TRect field = FieldRect();
        if (field.IsEmpty())
            return;
        QImage image = ItemImage(painter, QSize(field.Width(), field.Height()));
        TOwnerDrawState state = odComboBoxEdit;
        if (hasFocus() && !(listReady_ && view()->isVisible()))
            state |= odSelected | odFocused;
        if (!isEnabled())
            state |= odDisabled;
        PaintItem(image, currentIndex(), Rect(0, 0, field.Width(), field.Height()), state);
        DrawItemImage(painter, QPoint(field.Left, field.Top), image);
    });
}

void TCustomComboBox::showPopup()
{
    Guard([this] {
        HandleNeeded();
        if (simpleList_)
            return; // its list is always shown
        if (OnDropDown)
            OnDropDown(this);
        ListView();
        QComboBox::showPopup();
        if (!OwnerDrawn())
            return;
        // The list opens below the control, as wide as it, showing
        // RowsShown() rows of the list's item height inside a one-pixel frame.
        QWidget* container = view()->parentWidget();
        if (!container || !container->isVisible())
            return;
        const QPoint below = mapToGlobal(QPoint(0, height()));
        container->setGeometry(below.x(), below.y(), width(), DroppedHeight() - height());
        view()->scrollTo(view()->currentIndex());
    });
}

// --- notifications -----------------------------------------------------------

void TCustomComboBox::SelChange()
{
    // The widget has already put the chosen item's text into the field.
    Click();
    Change();
}

bool TCustomComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (listReady_ && watched == view() && event->type() == QEvent::KeyPress && !simpleList_) {
        const auto* key = static_cast<QKeyEvent*>(event);
        int step = 0;
        if (!(key->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) {
            const int page = std::max(RowsShown() - 1, 1);
            switch (key->key()) {
            case Qt::Key_Up:
                step = -1;
                break;
            case Qt::Key_Down:
                step = 1;
                break;
            case Qt::Key_PageUp:
                step = -page;
                break;
            case Qt::Key_PageDown:
                step = page;
                break;
            case Qt::Key_Home:
                step = -count();
                break;
            case Qt::Key_End:
                step = count();
                break;
            default:
                break;
            }
        }
        if (step != 0) {
            Guard([&] { MoveInOpenList(step); });
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void TCustomComboBox::MoveInOpenList(int step)
{
    const int n = count();
    if (n == 0)
        return;
    // The open list may have moved its highlight with the mouse; the keys go
    // on from there.
    const QModelIndex highlighted = view()->currentIndex();
    const int row = highlighted.isValid() ? std::clamp(highlighted.row() + step, 0, n - 1) : 0;
    view()->selectionModel()->setCurrentIndex(model()->index(row, modelColumn()), QItemSelectionModel::ClearAndSelect);
    if (row == currentIndex())
        return;
    setCurrentIndex(row);
    SelChange();
}

void TCustomComboBox::EditChange()
{
    QLineEdit* edit = lineEdit();
    if (!edit)
        return;
    const int i = currentIndex();
    if (i >= 0 && itemText(i) != edit->text()) {
        // Typing leaves the chosen item: the field keeps the typed text.
        const QString text = edit->text();
        const int cursor = edit->cursorPosition();
        setCurrentIndex(-1);
        edit->setText(text);
        edit->setCursorPosition(cursor);
    }
    Change();
}

void TCustomComboBox::Click()
{
    if (OnClick)
        OnClick(this);
}

void TCustomComboBox::ConstraintsChanged()
{
    TControl::ConstraintsChanged();
    if (handleAllocated_)
        ApplyFieldGeometry();
}

void TCustomComboBox::keyPressEvent(QKeyEvent* event)
{
    if (KeyPressed(event, event->key()))
        QComboBox::keyPressEvent(event);
}

void TCustomComboBox::keyReleaseEvent(QKeyEvent* event)
{
    if (KeyReleased(event))
        QComboBox::keyReleaseEvent(event);
}

void TCustomComboBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    DoDblClick();
    QComboBox::mouseDoubleClickEvent(event);
}

void TCustomComboBox::Change()
{
    if (OnBoxChange)
        OnBoxChange(this);
}

void TCustomComboBox::FontChanged() {}

void TCustomComboBox::changeEvent(QEvent* event)
{
    if (settingStyle_ && event->type() == QEvent::StyleChange) {
        // A new box has neither a list nor a field editor to restyle.
        QWidget::changeEvent(event);
        return;
    }
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::FontChange && !SameFont(font(), reportedFont_)) {
        reportedFont_ = font();
        Guard([this] { FontChanged(); });
    }
}

void TCustomComboBox::showEvent(QShowEvent* event)
{
    QComboBox::showEvent(event);
    Guard([this] {
        HandleNeeded();
        LayOutSimple();
    });
}

void TCustomComboBox::resizeEvent(QResizeEvent* event)
{
    QComboBox::resizeEvent(event);
    LayOutSimple();
}
