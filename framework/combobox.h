// The framework combo box: items with a text and a colour, the selected
// index, the field text, the style, owner-drawn items, and the life cycle of
// its native part (the item list and the field), which is made the first
// time it is needed and re-made with its items and selection kept.
#pragma once

#include "framework/canvas.h"
#include "framework/controls.h"
#include "framework/types.h"

#include <QComboBox>
#include <QFont>
#include <QPointer>

#include <vector>

class QAbstractItemView;
class QLineEdit;
class QListView;
class TComboItemDelegate;

// Stored layouts name these values by their declared identifiers.
namespace ComboBoxEnums {
Q_NAMESPACE
enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed };
Q_ENUM_NS(TComboBoxStyle)
} // namespace ComboBoxEnums
using ComboBoxEnums::TComboBoxStyle;

// The state an owner-drawn item is drawn in.
enum TOwnerDrawStateFlag : unsigned {
    odSelected = 0x0001,
    odGrayed = 0x0002,
    odDisabled = 0x0004,
    odChecked = 0x0008,
    odFocused = 0x0010,
    // The item is the selection field of the closed combo box.
    odComboBoxEdit = 0x1000,
};
using TOwnerDrawState = unsigned;

// Style bits of the native part, as the creation parameters compose them.
// Only the kind (the low two bits) and OwnerDrawFixed change the widget; the
// other bits are kept as composed and change nothing.
namespace ComboStyle {
constexpr unsigned Simple = 0x0001;       // editable field, list always shown
constexpr unsigned DropDown = 0x0002;     // editable field, drop-down list
constexpr unsigned DropDownList = 0x0003; // fixed field, drop-down list
constexpr unsigned KindMask = 0x0003;
constexpr unsigned OwnerDrawFixed = 0x0010;
constexpr unsigned AutoHScroll = 0x0040;
constexpr unsigned HasStrings = 0x0200;
constexpr unsigned VScroll = 0x00200000;
constexpr unsigned TabStop = 0x00010000;
constexpr unsigned Visible = 0x10000000;
constexpr unsigned ClipSiblings = 0x04000000;
constexpr unsigned Child = 0x40000000;
} // namespace ComboStyle

struct TCreateParams {
    unsigned Style = 0;
};

class TCustomComboBox : public QComboBox, public TControl {
    Q_OBJECT
    friend class TComboItemDelegate;
    friend class TComboStyle;

public:
    // 145 x 25, a tab stop, no parent colour, item height 16, eight items in
    // the open list, nothing selected, no native part yet.
    explicit TCustomComboBox(QWidget* parent = nullptr);

    // --- native part -------------------------------------------------------
    bool HandleAllocated() const { return handleAllocated_; }
    // Makes the native part if it does not exist yet.
    void HandleNeeded();
    // Saves the items, the selection and the field text, then takes the
    // native part down; the next HandleNeeded() rebuilds it from them.
    void DestroyHandle();
    // Takes the native part down and, if the control is on screen, makes it
    // again at once; the keyboard focus stays where it was. Nothing happens
    // while there is no native part.
    virtual void RecreateWnd();
    // The style bits the native part was last made with; 0 before that.
    unsigned NativeStyle() const { return nativeStyle_; }

    // --- items (each of these needs the native part) ---------------------
    int ItemCount();
    // Both raise "List index out of bounds (i)" for an index the list does
    // not hold.
    QString ItemText(int index);
    TColor ItemData(int index);
    // Appends at the end; raises "Unable to insert a line" when the list
    // refuses the item.
    void AddItem(const QString& text, TColor data);
    // Empties the field's text, then the list; nothing is selected after.
    void ClearItems();
    // The first item whose whole text equals text, ignoring case; -1 if none.
    int FindItemExact(const QString& text);

    // -1 when nothing is selected. Setting an index outside the list clears
    // the selection; setting the current index does nothing.
    int ItemIndex();
    void SetItemIndex(int index);

    // The field's text: in the editable styles what the edit holds, in the
    // fixed-field style the selected item's text.
    QString Text();
    void SetText(const QString& text);

    // Re-makes the native part in the new style. The control's height is
    // free in csSimple and follows the field in the other styles.
    void SetBoxStyle(TComboBoxStyle style);

    // Redraws once at the end instead of after every change in between.
    void BeginUpdate();
    void EndUpdate();

    // The open list, made ready the first time it is asked for: its rows
    // are drawn and measured by this box and its keys handled by it. Qt
    // makes the list only when it is first needed; ask here rather than
    // view() before it has been shown.
    QAbstractItemView* ListView();

    // --- drawing -------------------------------------------------------------
    // Prepares a draw request on target and runs it: the canvas gets the
    // control's font and colour, a selected item gets the selection colours,
    // index -1 only fills, and a focused item gets a focus rectangle over all
    // of rect. The list items and the closed field are both drawn this way.
    void PaintItem(QImage& target, int index, const TRect& rect, TOwnerDrawState state);
    // The canvas of the draw request under way; null outside one.
    TCanvas* Canvas() const { return canvas_; }
    bool OwnerDrawn() const { return (nativeStyle_ & ComboStyle::OwnerDrawFixed) != 0; }

    // The height the native part gives the closed field (which = -1) or the
    // list items (which = 0). The field keeps what it measured when the
    // native part was made.
    int NativeItemHeight(int which) const { return which < 0 ? native_.Field : native_.ListItem; }
    // Where the closed field's item is drawn, in control coordinates.
    TRect FieldRect() const;
    // The control and its open list together: list item height times the
    // number of rows shown (1 to the drop-down count) + control height + 2.
    int DroppedHeight();

    TNotifyEvent OnDropDown;

protected:
    // The framework's own change event, raised by Change(); controls built on
    // this one decide whether to offer it.
    TNotifyEvent OnBoxChange;

    // Repaints the open list's rows, if the list has been made.
    void UpdateList();

    // Stores any positive height and asks for the native part to be re-made.
    void SetItemHeight(int height);
    // Sets the height of the field (which = -1) or of the list items (0) in
    // the native part that exists now.
    void SetNativeItemHeight(int which, int height);

    // Hooks of the native part's life: the bits it is made with, what
    // happens when it is made (saved items come back here) and taken down.
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void DestroyWnd();

    // Draws one item on Canvas(); the default fills rect and writes the text.
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);

    // A choice in the list: the field takes the item's text, then Click()
    // and Change() run. A user edit of the field runs Change() only.
    virtual void Click();
    virtual void Change();
    // The control's font really changed (also one taken from the parent).
    virtual void FontChanged();

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A box of fixed height keeps the height of its field.
    void ConstraintsChanged() override;

public:
    void showPopup() override;

private:
    struct TSavedItem {
        QString Text;
        TColor Data;
    };

    void ApplyNativeStyle(unsigned bits);
    void ApplyFieldGeometry();
    void SelChange();
    void EditChange();
    // A key moving the selection of the open list by step rows: a choice at
    // once, as a click on that row would be, with the list left open.
    void MoveInOpenList(int step);
    void CheckIndex(int index);
    int RowsShown();
    bool IsSimple() const { return (nativeStyle_ & ComboStyle::KindMask) == ComboStyle::Simple; }
    void LayOutSimple();

    bool handleAllocated_ = false;
    // The list has this box's delegate and key handling.
    bool listReady_ = false;
    // The box is taking its style as it is made.
    bool settingStyle_ = false;
    unsigned nativeStyle_ = 0;
    TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
    int itemHeight_ = 16;
    // The heights the native control has: of its edit field and of a row of
    // its list.
    struct {
        int Field = 16;
        int ListItem = 16;
    } native_;
    // Rows the open list shows at most.
    static constexpr int DropDownCount = 8;
    int updateCount_ = 0;
    TCanvas* canvas_ = nullptr;
    TComboItemDelegate* delegate_ = nullptr;
    QPointer<QLineEdit> connectedEdit_;
    // The list that csSimple shows below its field all the time.
    QListView* simpleList_ = nullptr;
    // Starts as the dialog font: a new control reports a font change only
    // when it is given another font (by name, height or style), so placing
    // it on a window in that font changes nothing.
    QFont reportedFont_;

    bool hasSaved_ = false;
    std::vector<TSavedItem> savedItems_;
    int savedIndex_ = -1;
    QString savedText_;
};
