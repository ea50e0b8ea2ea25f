// The published properties that controls share, defined once over the
// control base: each class that publishes one gets a copy of its definitions.
#include "framework/controls.h"
#include "framework/menus.h"

#include <array>

namespace {

using T = TControl;

void Publish(TClassBuilder<T>& b, TControlPublished p)
{
    switch (p) {
    case cpTag:
        b.Int(QStringLiteral("Tag"), &T::Tag, &T::SetTag);
        break;
    case cpPlacement:
        b.Int(
             QStringLiteral("Left"), [](T* o) { return o->Widget()->x(); },
             [](T* o, int v) { o->Widget()->move(v, o->Widget()->y()); })
            .Int(
                QStringLiteral("Top"), [](T* o) { return o->Widget()->y(); },
                [](T* o, int v) { o->Widget()->move(o->Widget()->x(), v); })
            .Int(
                QStringLiteral("Width"), [](T* o) { return o->Widget()->width(); },
                [](T* o, int v) { o->Widget()->resize(std::max(v, 0), o->Widget()->height()); })
            .Int(
                QStringLiteral("Height"), [](T* o) { return o->Widget()->height(); },
                [](T* o, int v) { o->Widget()->resize(o->Widget()->width(), std::max(v, 0)); })
            .Value(
                QStringLiteral("Cursor"), [](T* o) { return CursorToFormValue(o->Cursor()); },
                [](T* o, const TFormValue& v) { o->SetCursorId(FormValueToCursor(v)); });
        break;
    case cpHint:
        b.Str(QStringLiteral("Hint"), &T::Hint, &T::SetHint);
        break;
    case cpAlign:
        b.Enum<TAlign>(QStringLiteral("Align"), &T::Align, &T::SetAlign);
        break;
    case cpAnchors:
        b.SetOf<TAnchorKind>(QStringLiteral("Anchors"), &T::Anchors, &T::SetAnchors);
        break;
    case cpColor:
        b.Color(QStringLiteral("Color"), &T::Color, &T::SetColor);
        break;
    case cpConstraints:
        b.Int(
             QStringLiteral("Constraints.MaxHeight"), [](T* o) { return o->Constraints().MaxHeight; }, &T::SetMaxHeight)
            .Int(
                QStringLiteral("Constraints.MaxWidth"), [](T* o) { return o->Constraints().MaxWidth; }, &T::SetMaxWidth)
            .Int(
                QStringLiteral("Constraints.MinHeight"), [](T* o) { return o->Constraints().MinHeight; },
                &T::SetMinHeight)
            .Int(
                QStringLiteral("Constraints.MinWidth"), [](T* o) { return o->Constraints().MinWidth; },
                &T::SetMinWidth);
        break;
    case cpEnabled:
        b.Bool(QStringLiteral("Enabled"), &T::Enabled, [](T* o, bool v) { o->Widget()->setEnabled(v); });
        break;
    case cpFont:
        b.Color(QStringLiteral("Font.Color"), &T::FontColor, &T::SetFontColor)
            .Int(QStringLiteral("Font.Height"), &T::FontHeight, &T::SetFontHeight)
            .Str(QStringLiteral("Font.Name"), &T::FontName, &T::SetFontName)
            .template SetOf<TFontStyle>(QStringLiteral("Font.Style"), &T::FontStyle, &T::SetFontStyle);
        break;
    case cpParentColor:
        b.Bool(QStringLiteral("ParentColor"), &T::ParentColor, &T::SetParentColor);
        break;
    case cpParentFont:
        b.Bool(QStringLiteral("ParentFont"), &T::ParentFont, &T::SetParentFont);
        break;
    case cpParentShowHint:
        b.Bool(QStringLiteral("ParentShowHint"), &T::ParentShowHint, &T::SetParentShowHint);
        break;
    case cpPopupMenu:
        b.Reference<TPopupMenu>(QStringLiteral("PopupMenu"), &T::PopupMenu, &T::SetPopupMenu);
        break;
    case cpShowHint:
        // Stored only while the control has a setting of its own.
        b.Value(
            QStringLiteral("ShowHint"),
            [](T* o) -> std::optional<TFormValue> {
                if (o->ParentShowHint())
                    return std::nullopt;
                return TFormIdent{o->ShowHint() ? QStringLiteral("True") : QStringLiteral("False")};
            },
            [](T* o, const TFormValue& v) { o->SetShowHint(ToBool(v)); });
        break;
    case cpTabOrder:
        b.Int(QStringLiteral("TabOrder"), &T::TabOrder, &T::SetTabOrder);
        break;
    case cpTabStop:
        b.Bool(QStringLiteral("TabStop"), &T::TabStop, &T::SetTabStop);
        break;
    case cpVisible:
        b.Bool(
            QStringLiteral("Visible"), [](T* o) { return !o->Widget()->isHidden(); },
            [](T* o, bool v) { o->Widget()->setVisible(v); });
        break;
    case cpOnClick:
        b.Event(QStringLiteral("OnClick"), &T::OnClick);
        break;
    case cpOnDblClick:
        b.Event(QStringLiteral("OnDblClick"), &T::OnDblClick);
        break;
    case cpOnEnter:
        b.Event(QStringLiteral("OnEnter"), &T::OnEnter);
        break;
    case cpOnExit:
        b.Event(QStringLiteral("OnExit"), &T::OnExit);
        break;
    case cpOnMouseDown:
        b.Event(QStringLiteral("OnMouseDown"), &T::OnMouseDown);
        break;
    case cpOnMouseMove:
        b.Event(QStringLiteral("OnMouseMove"), &T::OnMouseMove);
        break;
    case cpOnMouseUp:
        b.Event(QStringLiteral("OnMouseUp"), &T::OnMouseUp);
        break;
    case cpOnKeyDown:
        b.Event(QStringLiteral("OnKeyDown"), &T::OnKeyDown);
        break;
    case cpOnKeyUp:
        b.Event(QStringLiteral("OnKeyUp"), &T::OnKeyUp);
        break;
    case cpOnKeyPress:
        b.Event(QStringLiteral("OnKeyPress"), &T::OnKeyPress);
        break;
    case cpOnContextPopup:
        b.Event(QStringLiteral("OnContextPopup"), &T::OnContextPopup);
        break;
    }
}

} // namespace

const std::vector<TPropertyInfo>& ControlProperties(TControlPublished published)
{
    static const auto table = [] {
        std::array<std::vector<TPropertyInfo>, cpOnContextPopup + 1> properties;
        for (int p = 0; p < int(properties.size()); ++p) {
            TClassBuilder<T> b(QString{});
            Publish(b, TControlPublished(p));
            properties[p] = std::move(b.Info().Properties);
        }
        return properties;
    }();
    return table.at(published);
}
