// What every framework control shares on top of its Qt widget: position,
// font, colour, alignment in its parent, tab order, cursor, enter/exit, and
// their published properties.
//
// OnEnter and OnExit run when the focus moves to or from another control of
// the window; not when the window loses or regains activation, nor when a
// popup (a dropped-down list, a menu) takes the focus or hands it back.
#pragma once

#include "framework/application.h"
#include "framework/classes.h"
#include "framework/component.h"
#include "framework/menus.h"
#include "framework/palette.h"

#include <QPalette>
#include <QPointer>
#include <QWidget>

#include <initializer_list>
#include <optional>
#include <vector>

class QFocusEvent;
class QKeyEvent;
class QMouseEvent;
class TControlHooks;

// Stored layouts name these values by their declared identifiers.
namespace ControlEnums {
Q_NAMESPACE
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
Q_ENUM_NS(TAlign)
enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
Q_ENUM_NS(TFontStyle)
// The edges of the parent whose distance a control keeps when the parent is
// resized; with neither edge of a direction, the control keeps its centre at
// the same share of the parent's size.
enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
Q_ENUM_NS(TAnchorKind)
} // namespace ControlEnums
using ControlEnums::TAlign;
using enum ControlEnums::TAlign;
using ControlEnums::TFontStyle;
using enum ControlEnums::TFontStyle;
using ControlEnums::TAnchorKind;
using enum ControlEnums::TAnchorKind;
using TAnchors = unsigned;

// The smallest and largest size a control may take; 0 sets no limit.
struct TSizeConstraints {
    int MaxHeight = 0;
    int MaxWidth = 0;
    int MinHeight = 0;
    int MinWidth = 0;
};

// Key is the Qt key code; a handler that sets it to 0 takes the key.
using TKeyEvent = std::function<void(QObject* Sender, int& Key, Qt::KeyboardModifiers Shift)>;
// Key is the character typed; a handler that sets it to the null character takes it.
using TKeyPressEvent = std::function<void(QObject* Sender, QChar& Key)>;
using TMouseEvent =
    std::function<void(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;
using TMouseMoveEvent =
    std::function<void(QObject* Sender, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y)>;
// MousePos is in client coordinates, (-1, -1) for a request from the
// keyboard. A handler that sets Handled keeps the popup menu from showing.
using TContextPopupEvent = std::function<void(QObject* Sender, TPoint MousePos, bool& Handled)>;

class TControl : public TComponent {
    friend class TControlHooks;

public:
    explicit TControl(QWidget* self, QPalette::ColorRole colorRole = QPalette::Window);
    ~TControl() override;

    QWidget* Widget() const { return self_; }

    // The published Enabled: the control's own flag, which stays true inside
    // a disabled parent.
    bool Enabled() const { return !self_->testAttribute(Qt::WA_ForceDisabled); }
    TColor Color() const { return color_; }
    // Virtual: a control that paints its face itself repaints on its own terms.
    virtual void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);

    // The family the layout names, here or on a parent; the control shows
    // the face that stands in for it (FontFace).
    QString FontName() const;
    void SetFontName(const QString& name);
    // Negative: the character height in pixels, as the layouts give it.
    int FontHeight() const { return -self_->font().pixelSize(); }
    void SetFontHeight(int height);
    unsigned FontStyle() const;
    void SetFontStyle(unsigned style);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor color);
    // The face and the font colour at once, either left out.
    void SetColors(std::optional<TColor> color, std::optional<TColor> fontColor);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int order) { tabOrder_ = order; }
    bool TabStop() const { return self_->focusPolicy() & Qt::TabFocus; }
    void SetTabStop(bool value);

    int Cursor() const { return cursor_; }
    void SetCursorId(int id);

    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    // Shown as a tooltip while ShowHint holds; only the part before a "|"
    // is shown. A control without a hint leaves the request to its parent.
    QString Hint() const { return hint_; }
    void SetHint(const QString& hint) { hint_ = hint; }
    // With ParentShowHint the nearest parent control's ShowHint holds (false
    // without one); setting ShowHint ends that.
    bool ShowHint() const;
    void SetShowHint(bool value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value) { parentShowHint_ = value; }

    // The control shows its parent's font; setting any part of the font
    // ends that, and setting ParentFont takes the parent's font again.
    bool ParentFont() const;
    void SetParentFont(bool value);

    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors anchors);

    const TSizeConstraints& Constraints() const { return constraints_; }
    // Negative values count as 0. A maximum below the minimum lowers the
    // minimum to it, a minimum above the maximum raises the maximum.
    void SetMaxHeight(int value);
    void SetMaxWidth(int value);
    void SetMinHeight(int value);
    void SetMinWidth(int value);

    // Shown, after OnContextPopup, for a context request on the control: a
    // right click or the menu key. Its items' shortcuts work while the
    // focus is in the control.
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TContextPopupEvent OnContextPopup;

    // OnClick through the guard, for whatever the control counts as a click.
    void DoClick() { Notify(OnClick); }
    // OnDblClick through the guard, for a double click the control does not
    // pass to MousePressed().
    void DoDblClick() { Notify(OnDblClick); }

    // The framework's own handling of the mouse and the keys, which a control
    // runs from its Qt event handlers. A press raises OnMouseDown (the second
    // press of a double click OnDblClick first); a release of the left button
    // that went down on the control raises OnClick when it is still over the
    // control, then OnMouseUp.
    void MousePressed(const QMouseEvent* event);
    void MouseMoved(const QMouseEvent* event);
    void MouseReleased(const QMouseEvent* event);
    // OnKeyDown with key (0 for a key the control took already), then
    // OnKeyPress for a key that types a character. False when a handler took
    // the key or the character.
    bool KeyPressed(const QKeyEvent* event, int key);
    // OnKeyUp, once for a key held down; false when the handler took the key.
    bool KeyReleased(const QKeyEvent* event);
    // OnContextPopup, then the popup menu at the screen point global; true
    // when either handled the request.
    bool ContextPopup(const QPoint& pos, const QPoint& global, bool fromKeyboard);

protected:
    // For a control that paints all of its face from Color() itself: the
    // colour is kept without touching the palette, which only its children
    // would read; ApplyColor() gives it to the palette when they need it.
    void KeepColor(TColor color)
    {
        color_ = color;
        parentColor_ = false;
    }
    void ApplyColor();

    virtual void ApplyFontColor(QPalette& palette, const QColor& color);
    // Applies Constraints() to the widget's size limits.
    virtual void ConstraintsChanged();

private:
    // A notification event through the guard, when it has a handler.
    void Notify(const TNotifyEvent& event)
    {
        Guard([&] {
            if (event)
                event(self_);
        });
    }
    bool HookEvent(QObject* watched, QEvent* event);
    void WatchParent();
    void CaptureAnchors();
    void ApplyAnchors();

    QWidget* self_;
    QPalette::ColorRole colorRole_;
    TColor color_ = clBtnFace;
    TColor fontColor_ = clWindowText;
    QString fontName_; // empty: the family comes from the parent
    bool parentColor_ = true;
    bool fontColorSet_ = false;
    TAlign align_ = alNone;
    int tabOrder_ = -1;
    int cursor_ = crDefault;
    int tag_ = 0;
    QString hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TSizeConstraints constraints_;
    QPointer<TPopupMenu> popupMenu_;
    TControlHooks* hooks_ = nullptr;
    // Anchors: the geometry and the parent's size they were taken at.
    TAnchors anchors_ = akLeft | akTop;
    QPointer<QWidget> watchedParent_;
    QRect anchorBase_;
    QSize anchorParentSize_;
    bool anchoring_ = false;
    bool clicked_ = false;
};

// Whether a focus event of the control moves the focus between controls of
// its window: the rule for OnEnter and OnExit.
bool MovesBetweenControls(const QWidget* control, const QFocusEvent* event);

// Places the children with an Align other than alNone: top and bottom ones
// stacked from the edges in order of their position, then left and right,
// then the client one fills what is left. Containers call it when resized.
void AlignControls(QWidget* parent);

// Chains the keyboard focus through the whole tree: each container's
// children in the order of their TabOrder, depth first. Radio buttons of a
// group are all chained, as the group's Tab stop moves with its check.
void ApplyTabOrder(QWidget* root);

// A container's child widgets in the order of their TabOrder (the order of
// creation among equals).
std::vector<QWidget*> ChildrenInTabOrder(QWidget* parent);

// The cursor identifiers a description may use (crHandPoint), or a number.
TFormValue CursorToFormValue(int id);
int FormValueToCursor(const TFormValue& v);

// The published properties and events that controls share. A class names
// the ones it publishes, in its own published order, e.g.
//   PublishControl(b, {cpTag, cpPlacement, cpHint});
enum TControlPublished {
    cpTag,
    cpPlacement, // Left, Top, Width, Height, Cursor
    cpHint,
    cpAlign,
    cpAnchors,
    cpColor,
    cpConstraints, // Constraints.MaxHeight, .MaxWidth, .MinHeight, .MinWidth
    cpEnabled,
    cpFont, // Font.Color, .Height, .Name, .Style
    cpParentColor,
    cpParentFont,
    cpParentShowHint,
    cpPopupMenu,
    cpShowHint,
    cpTabOrder,
    cpTabStop,
    cpVisible,
    cpOnClick,
    cpOnDblClick,
    cpOnEnter,
    cpOnExit,
    cpOnMouseDown,
    cpOnMouseMove,
    cpOnMouseUp,
    cpOnKeyDown,
    cpOnKeyUp,
    cpOnKeyPress,
    cpOnContextPopup,
};

// The definitions of one of them, made once for the control base and shared
// by every class that publishes it.
const std::vector<TPropertyInfo>& ControlProperties(TControlPublished published);

template <class T>
TClassBuilder<T>& PublishControl(TClassBuilder<T>& b, std::initializer_list<TControlPublished> published)
{
    static_assert(std::is_base_of_v<TControl, T>);
    for (const TControlPublished p : published)
        for (const TPropertyInfo& property : ControlProperties(p))
            b.AddProperty(property);
    return b;
}

// The published properties every control has, added to a class builder;
// a class that does not publish some of them names them in `without`.
template <class T>
TClassBuilder<T>& AddControlProperties(TClassBuilder<T>& b, std::initializer_list<TControlPublished> without = {})
{
    for (const TControlPublished p : {cpPlacement, cpAlign, cpColor, cpEnabled, cpFont, cpParentColor, cpTabOrder,
                                      cpTabStop, cpVisible, cpOnEnter, cpOnExit})
        if (std::find(without.begin(), without.end(), p) == without.end())
            PublishControl(b, {p});
    return b;
}

// A builder for a control class, the properties every control has added.
template <class T> TClassBuilder<T> ControlClass(const QString& name)
{
    TClassBuilder<T> b(name);
    AddControlProperties(b);
    return b;
}
