// What every framework control shares on top of its Qt widget: position,
// font, colour, alignment in its parent, tab order, cursor, enter/exit, and
// their published properties.
#pragma once

#include "framework/application.h"
#include "framework/classes.h"
#include "framework/component.h"
#include "framework/palette.h"

#include <QPalette>
#include <QWidget>

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TControl : public TComponent {
public:
    explicit TControl(QWidget* self, QPalette::ColorRole colorRole = QPalette::Window)
        : self_(self), colorRole_(colorRole)
    {
    }

    QWidget* Widget() const { return self_; }

    TColor Color() const { return color_; }
    void SetColor(TColor color);
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

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int order) { tabOrder_ = order; }
    bool TabStop() const { return self_->focusPolicy() & Qt::TabFocus; }
    void SetTabStop(bool value);

    int Cursor() const { return cursor_; }
    void SetCursor(int id);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // Subclasses call these from their focus events.
    void DoEnter() { Guard([this] { if (OnEnter) OnEnter(self_); }); }
    void DoExit() { Guard([this] { if (OnExit) OnExit(self_); }); }

protected:
    virtual void ApplyFontColor(QPalette& palette, const QColor& color);

private:
    QWidget* self_;
    QPalette::ColorRole colorRole_;
    TColor color_ = clBtnFace;
    TColor fontColor_ = clWindowText;
    QString fontName_;  // empty: the family comes from the parent
    bool parentColor_ = true;
    bool fontColorSet_ = false;
    TAlign align_ = alNone;
    int tabOrder_ = -1;
    int cursor_ = crDefault;
};

// Places the children with an Align other than alNone: top and bottom ones
// stacked from the edges in order of their position, then left and right,
// then the client one fills what is left. Containers call it when resized.
void AlignControls(QWidget* parent);

// Chains the keyboard focus through the whole tree: each container's
// children in the order of their TabOrder, depth first.
void ApplyTabOrder(QWidget* root);

// The cursor identifiers a description may use (crHandPoint), or a number.
TFormValue CursorToFormValue(int id);
int FormValueToCursor(const TFormValue& v);

// Where a control sits: Left, Top, Width, Height, Cursor and Align, the
// first properties of every control's published list.
template <class T>
TClassBuilder<T>& AddPlacementProperties(TClassBuilder<T>& b)
{
    b.Int(QStringLiteral("Left"), [](T* o) { return o->x(); }, [](T* o, int v) { o->move(v, o->y()); })
        .Int(QStringLiteral("Top"), [](T* o) { return o->y(); }, [](T* o, int v) { o->move(o->x(), v); })
        .Int(QStringLiteral("Width"), [](T* o) { return o->width(); }, [](T* o, int v) { o->resize(std::max(v, 0), o->height()); })
        .Int(QStringLiteral("Height"), [](T* o) { return o->height(); }, [](T* o, int v) { o->resize(o->width(), std::max(v, 0)); });
    TPropertyInfo cursor;
    cursor.Name = QStringLiteral("Cursor");
    cursor.Get = [](QWidget* w) -> std::optional<TFormValue> { return CursorToFormValue(static_cast<T*>(w)->Cursor()); };
    cursor.Set = [](QWidget* w, const TFormValue& v) { static_cast<T*>(w)->SetCursor(FormValueToCursor(v)); };
    b.Info().Properties.push_back(cursor);
    return b.template Enum<TAlign>(QStringLiteral("Align"),
                                   {QStringLiteral("alNone"), QStringLiteral("alTop"), QStringLiteral("alBottom"),
                                    QStringLiteral("alLeft"), QStringLiteral("alRight"), QStringLiteral("alClient")},
                                   [](T* o) { return o->Align(); }, [](T* o, TAlign a) { o->SetAlign(a); });
}

// The published properties every control has, added to a class builder.
template <class T>
TClassBuilder<T>& AddControlProperties(TClassBuilder<T>& b)
{
    AddPlacementProperties(b)
        .Color(QStringLiteral("Color"), [](T* o) { return o->Color(); }, [](T* o, TColor c) { o->SetColor(c); })
        .Bool(QStringLiteral("Enabled"), [](T* o) { return o->isEnabled(); }, [](T* o, bool v) { o->setEnabled(v); })
        .Color(QStringLiteral("Font.Color"), [](T* o) { return o->FontColor(); }, [](T* o, TColor c) { o->SetFontColor(c); })
        .Int(QStringLiteral("Font.Height"), [](T* o) { return o->FontHeight(); }, [](T* o, int h) { o->SetFontHeight(h); })
        .Str(QStringLiteral("Font.Name"), [](T* o) { return o->FontName(); }, [](T* o, const QString& n) { o->SetFontName(n); })
        .SetOf(QStringLiteral("Font.Style"),
               {QStringLiteral("fsBold"), QStringLiteral("fsItalic"), QStringLiteral("fsUnderline"), QStringLiteral("fsStrikeOut")},
               [](T* o) { return o->FontStyle(); }, [](T* o, unsigned s) { o->SetFontStyle(s); })
        .Bool(QStringLiteral("ParentColor"), [](T* o) { return o->ParentColor(); }, [](T* o, bool v) { o->SetParentColor(v); })
        .Int(QStringLiteral("TabOrder"), [](T* o) { return o->TabOrder(); }, [](T* o, int v) { o->SetTabOrder(v); })
        .Bool(QStringLiteral("TabStop"), [](T* o) { return o->TabStop(); }, [](T* o, bool v) { o->SetTabStop(v); })
        .Bool(QStringLiteral("Visible"), [](T* o) { return !o->isHidden(); }, [](T* o, bool v) { o->setVisible(v); })
        .template Event<TNotifyEvent>(QStringLiteral("OnEnter"), [](T* o, TNotifyEvent e) { o->OnEnter = std::move(e); })
        .template Event<TNotifyEvent>(QStringLiteral("OnExit"), [](T* o, TNotifyEvent e) { o->OnExit = std::move(e); });
    return b;
}
