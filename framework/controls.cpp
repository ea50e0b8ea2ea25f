#include "framework/controls.h"

#include <algorithm>

void TControl::SetColor(TColor color)
{
    color_ = color;
    parentColor_ = false;
    QPalette p = self_->palette();
    p.setColor(colorRole_, ToQColor(color));
    self_->setPalette(p);
    self_->setAutoFillBackground(true);
}

void TControl::SetParentColor(bool value)
{
    if (value == parentColor_)
        return;
    parentColor_ = value;
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
    fontColor_ = color;
    fontColorSet_ = true;
    QPalette p = self_->palette();
    ApplyFontColor(p, ToQColor(color));
    self_->setPalette(p);
}

void TControl::ApplyFontColor(QPalette& palette, const QColor& color)
{
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
}

void TControl::SetAlign(TAlign align)
{
    if (align == align_)
        return;
    align_ = align;
    if (!InState(csReading) && self_->parentWidget())
        AlignControls(self_->parentWidget());
}

void TControl::SetTabStop(bool value)
{
    Qt::FocusPolicy policy = self_->focusPolicy();
    policy = value ? Qt::FocusPolicy(policy | Qt::TabFocus) : Qt::FocusPolicy(policy & ~Qt::TabFocus);
    self_->setFocusPolicy(policy);
}

void TControl::SetCursor(int id)
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

}  // namespace

void AlignControls(QWidget* parent)
{
    std::vector<TControl*> top, bottom, left, right, client;
    for (QObject* child : parent->children()) {
        TControl* c = controlOf(child);
        if (!c || c->Widget()->isHidden())
            continue;
        switch (c->Align()) {
        case alTop:
            top.push_back(c);
            break;
        case alBottom:
            bottom.push_back(c);
            break;
        case alLeft:
            left.push_back(c);
            break;
        case alRight:
            right.push_back(c);
            break;
        case alClient:
            client.push_back(c);
            break;
        case alNone:
            break;
        }
    }
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

namespace {

void collectFocusChain(QWidget* w, QList<QWidget*>& chain)
{
    std::vector<QWidget*> children;
    for (QObject* o : w->children())
        if (auto* child = qobject_cast<QWidget*>(o); child && !child->isWindow())
            children.push_back(child);
    std::stable_sort(children.begin(), children.end(), [](QWidget* a, QWidget* b) {
        const TControl* ca = dynamic_cast<TControl*>(a);
        const TControl* cb = dynamic_cast<TControl*>(b);
        return (ca ? ca->TabOrder() : 0) < (cb ? cb->TabOrder() : 0);
    });
    // The part a control hands its focus to comes before the rest of it: a
    // page control's tabs before the controls of its pages.
    if (const auto proxy = std::find(children.begin(), children.end(), w->focusProxy()); proxy != children.end())
        std::rotate(children.begin(), proxy, proxy + 1);
    for (QWidget* child : children) {
        // A widget that hands its focus to a proxy (a page control to its
        // tab bar) is reached through the proxy among its children.
        if ((child->focusPolicy() & Qt::TabFocus) && !child->focusProxy())
            chain << child;
        collectFocusChain(child, chain);
    }
}

}  // namespace

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
        return TFormValue::FromIdent(QStringLiteral("crDefault"));
    case crArrow:
        return TFormValue::FromIdent(QStringLiteral("crArrow"));
    case crIBeam:
        return TFormValue::FromIdent(QStringLiteral("crIBeam"));
    case crHandPoint:
        return TFormValue::FromIdent(QStringLiteral("crHandPoint"));
    default:
        return TFormValue::FromInteger(id);
    }
}

int FormValueToCursor(const TFormValue& v)
{
    if (v.Kind == TFormValue::vaInteger)
        return static_cast<int>(std::clamp<qint64>(v.Integer, INT_MIN, INT_MAX));
    static const std::pair<const char*, int> names[] = {
        {"crDefault", crDefault}, {"crArrow", crArrow}, {"crCross", crCross},
        {"crIBeam", crIBeam},     {"crSizeWE", crSizeWE}, {"crHandPoint", crHandPoint}};
    const QString ident = ToIdent(v);
    for (const auto& [name, id] : names)
        if (ident.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return id;
    throw Exception(QStringLiteral("Unknown cursor '%1'").arg(ident));
}
