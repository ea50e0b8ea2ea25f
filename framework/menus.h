// Popup menus as stored layouts describe them: a TPopupMenu component with
// TMenuItem children (items with items of their own open a submenu). Both
// are components without a look of their own; a control names the popup
// menu in its PopupMenu property and shows it on a context request.
#pragma once

#include "framework/component.h"
#include "framework/types.h"

#include <QKeySequence>
#include <QList>
#include <QPointer>
#include <QWidget>

class QAction;
class QMenu;

// A shortcut as layouts store it: a virtual-key code in the low byte, plus
// 0x2000 for Shift, 0x4000 for Ctrl and 0x8000 for Alt. Letters, digits,
// F1 to F24 and the editing and arrow keys are known; another code gives no
// shortcut.
QKeySequence ShortCutToKeySequence(int shortCut);

class TMenuItem : public QWidget, public TComponent {
public:
    TMenuItem();

    // "-" makes the item a separator line; "&" marks the access key.
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // Whether menus offer the item and show it: its action's state, not the
    // item widget's, which is never shown.
    bool EnabledInMenus() const { return enabled_; }
    void SetEnabledInMenus(bool value);
    bool ShownInMenus() const { return visible_; }
    void SetShownInMenus(bool value);
    int ShortCut() const { return shortCut_; }
    void SetShortCut(int shortCut);

    // The items of its submenu, in order.
    QList<TMenuItem*> Items() const;
    // What menus show for the item; choosing it raises OnClick.
    QAction* Action() const { return action_; }
    void Click();

    TNotifyEvent OnClick;

private:
    friend class TPopupMenu;
    // The item's entry in menu, with its submenu filled.
    void AddTo(QMenu* menu);

    QString caption_;
    bool enabled_ = true;
    bool visible_ = true;
    int shortCut_ = 0;
    QAction* action_;
    QMenu* submenu_ = nullptr;
};

class TPopupMenu : public QWidget, public TComponent {
public:
    TPopupMenu();

    QList<TMenuItem*> Items() const;
    // Shows the menu at a screen point for the control that asked; it
    // closes when an item is chosen (and its OnClick has run) or the user
    // clicks elsewhere.
    void Popup(int x, int y, QWidget* component = nullptr);
    // The control the menu was last shown for.
    QWidget* PopupComponent() const { return component_; }
    // The menu as it is shown.
    QMenu* Menu() const { return menu_; }

    // The items' shortcuts act while the focus is in the widget.
    void AttachShortCuts(QWidget* widget);
    void DetachShortCuts(QWidget* widget);

private:
    QMenu* menu_;
    QPointer<QWidget> component_;
};

// Adds TPopupMenu and TMenuItem to the stored-form class registry.
void RegisterMenuClasses();
