#include "framework/menus.h"

#include "framework/application.h"
#include "framework/classes.h"

#include <QAction>
#include <QMenu>

#include <iterator>

QKeySequence ShortCutToKeySequence(int shortCut)
{
    static const std::pair<int, Qt::Key> named[] = {
        {0x08, Qt::Key_Backspace}, {0x09, Qt::Key_Tab},    {0x0D, Qt::Key_Return},   {0x1B, Qt::Key_Escape},
        {0x20, Qt::Key_Space},     {0x21, Qt::Key_PageUp}, {0x22, Qt::Key_PageDown}, {0x23, Qt::Key_End},
        {0x24, Qt::Key_Home},      {0x25, Qt::Key_Left},   {0x26, Qt::Key_Up},       {0x27, Qt::Key_Right},
        {0x28, Qt::Key_Down},      {0x2D, Qt::Key_Insert}, {0x2E, Qt::Key_Delete},
    };
    const int code = shortCut & 0xFF;
    int key = 0;
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
        key = code; // Qt's codes of digits and letters are their characters
    else if (code >= 0x70 && code <= 0x87)
        key = Qt::Key_F1 + (code - 0x70);
    for (const auto& [vk, qt] : named)
        if (vk == code)
            key = qt;
    if (key == 0)
        return {};
    int modifiers = 0;
    if (shortCut & 0x2000)
        modifiers |= Qt::SHIFT;
    if (shortCut & 0x4000)
        modifiers |= Qt::CTRL;
    if (shortCut & 0x8000)
        modifiers |= Qt::ALT;
    return QKeySequence(key | modifiers);
}

namespace {

// The components are never shown themselves, also when their parent is.
void MakeInvisible(QWidget* w)
{
    w->hide();
    w->setFocusPolicy(Qt::NoFocus);
}

QList<TMenuItem*> ItemsOf(const QWidget* parent)
{
    QList<TMenuItem*> items;
    for (QObject* child : parent->children())
        if (auto* item = dynamic_cast<TMenuItem*>(child))
            items << item;
    return items;
}

void CollectActions(const QList<TMenuItem*>& items, QList<QAction*>& actions)
{
    for (TMenuItem* item : items) {
        actions << item->Action();
        CollectActions(item->Items(), actions);
    }
}

} // namespace

// --- items -------------------------------------------------------------------

TMenuItem::TMenuItem() : action_(new QAction(this))
{
    MakeInvisible(this);
    action_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(action_, &QAction::triggered, this, [this] { Guard([this] { Click(); }); });
}

void TMenuItem::SetCaption(const QString& caption)
{
    caption_ = caption;
    action_->setText(caption);
    action_->setSeparator(caption == QLatin1String("-"));
}

void TMenuItem::SetEnabledInMenus(bool value)
{
    enabled_ = value;
    action_->setEnabled(value);
}

void TMenuItem::SetShownInMenus(bool value)
{
    visible_ = value;
    action_->setVisible(value);
}

void TMenuItem::SetShortCut(int shortCut)
{
    shortCut_ = shortCut;
    action_->setShortcut(ShortCutToKeySequence(shortCut));
}

QList<TMenuItem*> TMenuItem::Items() const
{
    return ItemsOf(this);
}

void TMenuItem::Click()
{
    if (OnClick)
        OnClick(this);
}

void TMenuItem::AddTo(QMenu* menu)
{
    const QList<TMenuItem*> items = Items();
    if (items.isEmpty()) {
        menu->addAction(action_);
        return;
    }
    if (!submenu_)
        submenu_ = new QMenu(this);
    submenu_->clear();
    submenu_->setTitle(caption_);
    submenu_->setEnabled(enabled_);
    for (TMenuItem* item : items)
        item->AddTo(submenu_);
    menu->addMenu(submenu_)->setVisible(visible_);
}

// --- popup menu ----------------------------------------------------------------

TPopupMenu::TPopupMenu() : menu_(new QMenu(this))
{
    MakeInvisible(this);
}

QList<TMenuItem*> TPopupMenu::Items() const
{
    return ItemsOf(this);
}

void TPopupMenu::Popup(int x, int y, QWidget* component)
{
    component_ = component;
    // Built each time, so that it shows the items as they are now.
    menu_->clear();
    for (TMenuItem* item : Items())
        item->AddTo(menu_);
    menu_->popup(QPoint(x, y));
}

void TPopupMenu::AttachShortCuts(QWidget* widget)
{
    QList<QAction*> actions;
    CollectActions(Items(), actions);
    widget->addActions(actions);
}

void TPopupMenu::DetachShortCuts(QWidget* widget)
{
    QList<QAction*> actions;
    CollectActions(Items(), actions);
    for (QAction* a : actions)
        widget->removeAction(a);
}
