#include "framework/controls.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRadioButton>
#include <QToolTip>

#include <algorithm>
#include <array>
#include <cmath>

// The requests every control answers the same way, whatever its class: its
// hint, a context request, its focus entering and leaving, and keeping its
// anchored edges when its parent is resized.
class TControlHooks : public QObject {
public:
    explicit TControlHooks(TControl* control) : QObject(control->Widget()), control_(control) {}
    bool eventFilter(QObject* watched, QEvent* event) override { return control_->HookEvent(watched, event); }

private:
    TControl* control_;
};

TControl::TControl(QWidget* self, QPalette::ColorRole colorRole) : self_(self), colorRole_(colorRole)
{
    hooks_ = new TControlHooks(this);
    self_->installEventFilter(hooks_);
}

TControl::~TControl()
{
    // The widget outlives this part of it for a while; it must not call in.
    self_->removeEventFilter(hooks_);
    if (watchedParent_)
        watchedParent_->removeEventFilter(hooks_);
    delete hooks_;
}

void TControl::SetColor(TColor color)
{
    SetColors(color, std::nullopt);
}

void TControl::ApplyColor()
{
    QPalette p = self_->palette();
    p.setColor(colorRole_, ToQColor(color_));
    self_->setPalette(p);
    self_->setAutoFillBackground(true);
}

void TControl::SetColors(std::optional<TColor> color, std::optional<TColor> fontColor)
{
    // A colour set again repaints nothing: the palette already holds it.
    if (color && *color == color_ && !parentColor_ && self_->autoFillBackground())
        color.reset();
    if (!color && !fontColor)
        return;
    // Both colours in one palette change: each change is sent to every child.
    QPalette p = self_->palette();
    if (color) {
        color_ = *color;
        parentColor_ = false;
        p.setColor(colorRole_, ToQColor(*color));
    }
    if (fontColor) {
        fontColor_ = *fontColor;
        fontColorSet_ = true;
        ApplyFontColor(p, ToQColor(*fontColor));
    }
    self_->setPalette(p);
    if (color)
        self_->setAutoFillBackground(true);
}

void TControl::SetParentColor(bool value)
{
    if (!StoreChanged(parentColor_, value))
        return;
    if (value) {
        // Drop our own colour so the parent's shows through again; an
        // explicit font colour stays.
        self_->setPalette(QPalette());
        if (fontColorSet_)
            SetFontColor(fontColor_);
        self_->setAutoFillBackground(false);
    } else {
        SetColor(color_);
    }
}

QString TControl::FontName() const
{
    for (const QWidget* w = self_; w; w = w->parentWidget())
        if (const auto* c = dynamic_cast<const TControl*>(w); c && !c->fontName_.isEmpty())
            return c->fontName_;
    return LayoutFamily(self_->font().family());
}

void TControl::SetFontName(const QString& name)
{
    fontName_ = name;
    QFont f = self_->font();
    f.setFamily(FontFace(name));
    self_->setFont(f);
}

void TControl::SetFontHeight(int height)
{
    if (height == 0)
        return;
    QFont f = self_->font();
    f.setPixelSize(std::abs(height));
    self_->setFont(f);
}

unsigned TControl::FontStyle() const
{
    const QFont f = self_->font();
    return (f.bold() ? fsBold : 0u) | (f.italic() ? fsItalic : 0u) | (f.underline() ? fsUnderline : 0u) |
           (f.strikeOut() ? fsStrikeOut : 0u);
}

void TControl::SetFontStyle(unsigned style)
{
    QFont f = self_->font();
    f.setBold(style & fsBold);
    f.setItalic(style & fsItalic);
    f.setUnderline(style & fsUnderline);
    f.setStrikeOut(style & fsStrikeOut);
    self_->setFont(f);
}

void TControl::SetFontColor(TColor color)
{
    SetColors(std::nullopt, color);
}

void TControl::ApplyFontColor(QPalette& palette, const QColor& color)
{
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
}

void TControl::SetAlign(TAlign align)
{
    if (!StoreChanged(align_, align))
        return;
    if (!InState(csReading) && self_->parentWidget())
        AlignControls(self_->parentWidget());
}

void TControl::SetTabStop(bool value)
{
    Qt::FocusPolicy policy = self_->focusPolicy();
    policy = value ? Qt::FocusPolicy(policy | Qt::TabFocus) : Qt::FocusPolicy(policy & ~Qt::TabFocus);
    self_->setFocusPolicy(policy);
}

void TControl::SetCursorId(int id)
{
    cursor_ = id;
    if (id == crDefault)
        self_->unsetCursor();
    else
        self_->setCursor(Screen::Cursor(id));
}

namespace {

TControl* controlOf(QObject* o)
{
    auto* w = qobject_cast<QWidget*>(o);
    return w ? dynamic_cast<TControl*>(w) : nullptr;
}

} // namespace

// Focus that goes to another window (another program, a popup such as a
// dropped-down list or a menu) or comes back from one leaves the control the
// focused one of its window.
bool MovesBetweenControls(const QWidget* control, const QFocusEvent* event)
{
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return false;
    // A control that takes the focus while a popup of its own is open (a
    // combo box under its list) is still where the focus was.
    if (event->gotFocus() && QApplication::activePopupWidget())
        return false;
    const QWidget* now = QApplication::focusWidget();
    return !now || now->window() == control->window();
}

void AlignControls(QWidget* parent)
{
    std::array<std::vector<TControl*>, alClient + 1> byAlign;
    for (QObject* child : parent->children()) {
        TControl* c = controlOf(child);
        if (c && !c->Widget()->isHidden() && c->Align() >= alNone && c->Align() <= alClient)
            byAlign[c->Align()].push_back(c);
    }
    auto& [none, top, bottom, left, right, client] = byAlign;
    const auto byTop = [](TControl* a, TControl* b) { return a->Widget()->y() < b->Widget()->y(); };
    const auto byLeft = [](TControl* a, TControl* b) { return a->Widget()->x() < b->Widget()->x(); };
    std::stable_sort(top.begin(), top.end(), byTop);
    std::stable_sort(bottom.begin(), bottom.end(), [&](TControl* a, TControl* b) { return byTop(b, a); });
    std::stable_sort(left.begin(), left.end(), byLeft);
    std::stable_sort(right.begin(), right.end(), [&](TControl* a, TControl* b) { return byLeft(b, a); });

    QRect r = parent->contentsRect();
    for (TControl* c : top) {
        QWidget* w = c->Widget();
        w->setGeometry(r.left(), r.top(), r.width(), w->height());
        r.setTop(r.top() + w->height());
    }
    for (TControl* c : bottom) {
        QWidget* w = c->Widget();
        w->setGeometry(r.left(), r.bottom() + 1 - w->height(), r.width(), w->height());
        r.setBottom(r.bottom() - w->height());
    }
    for (TControl* c : left) {
        QWidget* w = c->Widget();
        w->setGeometry(r.left(), r.top(), w->width(), std::max(r.height(), 0));
        r.setLeft(r.left() + w->width());
    }
    for (TControl* c : right) {
        QWidget* w = c->Widget();
        w->setGeometry(r.right() + 1 - w->width(), r.top(), w->width(), std::max(r.height(), 0));
        r.setRight(r.right() - w->width());
    }
    for (TControl* c : client)
        c->Widget()->setGeometry(r.left(), r.top(), std::max(r.width(), 0), std::max(r.height(), 0));
}

std::vector<QWidget*> ChildrenInTabOrder(QWidget* parent)
{
    std::vector<QWidget*> children;
    for (QObject* o : parent->children())
        if (auto* child = qobject_cast<QWidget*>(o); child && !child->isWindow())
            children.push_back(child);
    std::stable_sort(children.begin(), children.end(), [](QWidget* a, QWidget* b) {
        const TControl* ca = dynamic_cast<TControl*>(a);
        const TControl* cb = dynamic_cast<TControl*>(b);
        return (ca ? ca->TabOrder() : 0) < (cb ? cb->TabOrder() : 0);
    });
    return children;
}

namespace {

// A radio button in a group is chained even while it is not the group's
// Tab stop: it becomes the stop when it is checked.
bool inFocusChain(const QWidget* w)
{
    if (w->focusProxy())
        return false;
    if (const auto* radio = qobject_cast<const QRadioButton*>(w); radio && radio->group())
        return true;
    return w->focusPolicy() & Qt::TabFocus;
}

void collectFocusChain(QWidget* w, QList<QWidget*>& chain)
{
    std::vector<QWidget*> children = ChildrenInTabOrder(w);
    // The part a control hands its focus to comes before the rest of it: a
    // page control's tabs before the controls of its pages.
    if (const auto proxy = std::find(children.begin(), children.end(), w->focusProxy()); proxy != children.end())
        std::rotate(children.begin(), proxy, proxy + 1);
    for (QWidget* child : children) {
        // A widget that hands its focus to a proxy (a page control to its
        // tab bar) is reached through the proxy among its children.
        if (inFocusChain(child))
            chain << child;
        collectFocusChain(child, chain);
    }
}

} // namespace

void ApplyTabOrder(QWidget* root)
{
    QList<QWidget*> chain;
    collectFocusChain(root, chain);
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

TFormValue CursorToFormValue(int id)
{
    switch (id) {
    case crDefault:
        return TFormIdent{QStringLiteral("crDefault")};
    case crArrow:
        return TFormIdent{QStringLiteral("crArrow")};
    case crIBeam:
        return TFormIdent{QStringLiteral("crIBeam")};
    case crHandPoint:
        return TFormIdent{QStringLiteral("crHandPoint")};
    default:
        return qint64{id};
    }
}

int FormValueToCursor(const TFormValue& v)
{
    if (const qint64* i = v.If<qint64>())
        return static_cast<int>(std::clamp<qint64>(*i, INT_MIN, INT_MAX));
    static const std::pair<const char*, int> names[] = {{"crDefault", crDefault}, {"crArrow", crArrow},
                                                        {"crCross", crCross},     {"crIBeam", crIBeam},
                                                        {"crSizeWE", crSizeWE},   {"crHandPoint", crHandPoint}};
    const QString ident = ToIdent(v);
    for (const auto& [name, id] : names)
        if (ident.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return id;
    throw Exception(QStringLiteral("Unknown cursor '%1'").arg(ident));
}

// --- hints, fonts, anchors, constraints, popup menus -----------------------

namespace {

TControl* ParentControlOf(const QWidget* w)
{
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (auto* c = dynamic_cast<TControl*>(p))
            return c;
    return nullptr;
}

constexpr TAnchors DefaultAnchors = akLeft | akTop;

} // namespace

bool TControl::ShowHint() const
{
    if (!parentShowHint_)
        return showHint_;
    const TControl* parent = ParentControlOf(self_);
    return parent && parent->ShowHint();
}

void TControl::SetShowHint(bool value)
{
    showHint_ = value;
    parentShowHint_ = false;
}

bool TControl::ParentFont() const
{
    return !self_->testAttribute(Qt::WA_SetFont);
}

void TControl::SetParentFont(bool value)
{
    if (value == ParentFont())
        return;
    if (value) {
        self_->setFont(QFont());
    } else {
        // The font shown now becomes the control's own.
        QFont own = self_->font();
        own.setResolveMask(QFont::AllPropertiesResolved);
        self_->setFont(own);
    }
}

void TControl::SetAnchors(TAnchors anchors)
{
    anchors_ = anchors & (akLeft | akTop | akRight | akBottom);
    WatchParent();
}

void TControl::WatchParent()
{
    QWidget* parent = anchors_ != DefaultAnchors && !self_->isWindow() ? self_->parentWidget() : nullptr;
    if (parent != watchedParent_) {
        if (watchedParent_)
            watchedParent_->removeEventFilter(hooks_);
        watchedParent_ = parent;
        if (parent)
            parent->installEventFilter(hooks_);
    }
    CaptureAnchors();
}

void TControl::CaptureAnchors()
{
    if (!watchedParent_)
        return;
    anchorBase_ = self_->geometry();
    anchorParentSize_ = watchedParent_->size();
}

void TControl::ApplyAnchors()
{
    if (!watchedParent_ || align_ != alNone)
        return;
    const QSize now = watchedParent_->size();
    // One direction: both edges stretch the control, one edge keeps its
    // distance, none keeps the centre at the same share of the parent.
    const auto place = [](int pos, int size, int oldParent, int newParent, bool near, bool far) {
        if (near && far)
            return std::pair{pos, std::max(size + newParent - oldParent, 0)};
        if (far)
            return std::pair{pos + newParent - oldParent, size};
        if (near || oldParent <= 0)
            return std::pair{pos, size};
        const double centre = (pos + size / 2.0) * newParent / oldParent;
        return std::pair{static_cast<int>(std::lround(centre - size / 2.0)), size};
    };
    const auto [x, w] = place(anchorBase_.x(), anchorBase_.width(), anchorParentSize_.width(), now.width(),
                              anchors_ & akLeft, anchors_ & akRight);
    const auto [y, h] = place(anchorBase_.y(), anchorBase_.height(), anchorParentSize_.height(), now.height(),
                              anchors_ & akTop, anchors_ & akBottom);
    anchoring_ = true;
    self_->setGeometry(x, y, w, h);
    anchoring_ = false;
}

namespace {

int Limit(int value)
{
    return std::max(value, 0);
}

} // namespace

void TControl::SetMaxHeight(int value)
{
    constraints_.MaxHeight = Limit(value);
    if (constraints_.MaxHeight > 0 && constraints_.MinHeight > constraints_.MaxHeight)
        constraints_.MinHeight = constraints_.MaxHeight;
    ConstraintsChanged();
}

void TControl::SetMaxWidth(int value)
{
    constraints_.MaxWidth = Limit(value);
    if (constraints_.MaxWidth > 0 && constraints_.MinWidth > constraints_.MaxWidth)
        constraints_.MinWidth = constraints_.MaxWidth;
    ConstraintsChanged();
}

void TControl::SetMinHeight(int value)
{
    constraints_.MinHeight = Limit(value);
    if (constraints_.MaxHeight > 0 && constraints_.MaxHeight < constraints_.MinHeight)
        constraints_.MaxHeight = constraints_.MinHeight;
    ConstraintsChanged();
}

void TControl::SetMinWidth(int value)
{
    constraints_.MinWidth = Limit(value);
    if (constraints_.MaxWidth > 0 && constraints_.MaxWidth < constraints_.MinWidth)
        constraints_.MaxWidth = constraints_.MinWidth;
    ConstraintsChanged();
}

void TControl::ConstraintsChanged()
{
    const TSizeConstraints& c = constraints_;
    self_->setMinimumSize(c.MinWidth, c.MinHeight);
    self_->setMaximumSize(c.MaxWidth > 0 ? c.MaxWidth : QWIDGETSIZE_MAX,
                          c.MaxHeight > 0 ? c.MaxHeight : QWIDGETSIZE_MAX);
}

void TControl::SetPopupMenu(TPopupMenu* menu)
{
    if (menu == popupMenu_)
        return;
    if (popupMenu_)
        popupMenu_->DetachShortCuts(self_);
    popupMenu_ = menu;
    if (menu)
        menu->AttachShortCuts(self_);
}

// --- input -----------------------------------------------------------------

void TControl::MousePressed(const QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const bool second = event->type() == QEvent::MouseButtonDblClick;
    if (event->button() == Qt::LeftButton)
        clicked_ = !second;
    Guard([&] {
        if (second && OnDblClick)
            OnDblClick(self_);
        if (OnMouseDown)
            OnMouseDown(self_, event->button(), event->modifiers(), p.x(), p.y());
    });
}

void TControl::MouseMoved(const QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    Guard([&] {
        if (OnMouseMove)
            OnMouseMove(self_, event->buttons(), event->modifiers(), p.x(), p.y());
    });
}

void TControl::MouseReleased(const QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const bool click = event->button() == Qt::LeftButton && clicked_;
    if (event->button() == Qt::LeftButton)
        clicked_ = false;
    Guard([&] {
        if (click && self_->rect().contains(p) && OnClick)
            OnClick(self_);
        if (OnMouseUp)
            OnMouseUp(self_, event->button(), event->modifiers(), p.x(), p.y());
    });
}

bool TControl::KeyPressed(const QKeyEvent* event, int key)
{
    QChar typed = event->text().isEmpty() ? QChar() : event->text().front();
    Guard([&] {
        if (OnKeyDown)
            OnKeyDown(self_, key, event->modifiers());
        if (!typed.isNull() && OnKeyPress)
            OnKeyPress(self_, typed);
    });
    return key != 0 && (event->text().isEmpty() || !typed.isNull());
}

bool TControl::KeyReleased(const QKeyEvent* event)
{
    // A held key repeats its press, not its release.
    if (event->isAutoRepeat())
        return true;
    int key = event->key();
    Guard([&] {
        if (OnKeyUp)
            OnKeyUp(self_, key, event->modifiers());
    });
    return key != 0;
}

bool TControl::ContextPopup(const QPoint& pos, const QPoint& global, bool fromKeyboard)
{
    bool handled = false;
    Guard([&] {
        if (OnContextPopup)
            OnContextPopup(self_, fromKeyboard ? TPoint{-1, -1} : TPoint{pos.x(), pos.y()}, handled);
        if (!handled && popupMenu_) {
            popupMenu_->Popup(global.x(), global.y(), self_);
            handled = true;
        }
    });
    return handled;
}

bool TControl::HookEvent(QObject* watched, QEvent* event)
{
    if (watched == watchedParent_) {
        if (event->type() == QEvent::Resize)
            ApplyAnchors();
        return false;
    }
    switch (event->type()) {
    case QEvent::ToolTip: {
        if (watched != self_ || hint_.isEmpty())
            return false;
        const QString shown = hint_.section(QLatin1Char('|'), 0, 0);
        if (ShowHint() && !shown.isEmpty())
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), shown, self_);
        else
            QToolTip::hideText();
        return true;
    }
    case QEvent::ContextMenu: {
        auto* request = static_cast<QContextMenuEvent*>(event);
        const QPoint pos = self_->mapFromGlobal(request->globalPos());
        if (!ContextPopup(pos, request->globalPos(), request->reason() == QContextMenuEvent::Keyboard))
            return false;
        request->accept();
        return true;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        if (watched != self_ || !MovesBetweenControls(self_, static_cast<QFocusEvent*>(event)))
            return false;
        // The control takes the change first, so that a handler finds it in
        // its new state.
        static_cast<QObject*>(self_)->event(event);
        if (event->type() == QEvent::FocusIn)
            Notify(OnEnter);
        else
            Notify(OnExit);
        return true;
    case QEvent::ParentChange:
        if (watched == self_)
            WatchParent();
        return false;
    case QEvent::Move:
    case QEvent::Resize:
        if (watched == self_ && !anchoring_)
            CaptureAnchors();
        return false;
    default:
        return false;
    }
}
