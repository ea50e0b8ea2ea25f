// The standard controls as the classes a stored layout names.
#include "framework/stdctrls.h"

void RegisterStandardClasses()
{
    {
        using T = TLabel;
        ControlClass<T>(QStringLiteral("TLabel"))
            .Enum<TAlignment>(QStringLiteral("Alignment"), &T::Alignment, &T::SetAlignment)
            .Bool(QStringLiteral("AutoSize"), &T::AutoSize, &T::SetAutoSize)
            .Str(QStringLiteral("Caption"), &T::Caption, &T::SetCaption)
            .Bool(QStringLiteral("Transparent"), &T::Transparent, &T::SetTransparent)
            .Bool(QStringLiteral("WordWrap"), &T::wordWrap, &T::setWordWrap)
            .Event(QStringLiteral("OnClick"), &T::OnClick)
            .Register();
    }
    {
        using T = TButton;
        ControlClass<T>(QStringLiteral("TButton"))
            .Str(QStringLiteral("Caption"), &T::text, &T::setText)
            .Event(QStringLiteral("OnClick"), &T::OnClick)
            .Register();
    }
    {
        using T = TRadioButton;
        ControlClass<T>(QStringLiteral("TRadioButton"))
            .Str(QStringLiteral("Caption"), &T::text, &T::setText)
            .Bool(QStringLiteral("Checked"), &T::isChecked, &T::setChecked)
            .Event(QStringLiteral("OnClick"), &T::OnClick)
            .Register();
    }
    {
        using T = TGroupBox;
        ControlClass<T>(QStringLiteral("TGroupBox")).Str(QStringLiteral("Caption"), &T::title, &T::setTitle).Register();
    }
    {
        using T = TMemo;
        ControlClass<T>(QStringLiteral("TMemo"))
            .Enum<TAlignment>(QStringLiteral("Alignment"), &T::Alignment, &T::SetAlignment)
            .Strings(
                QStringLiteral("Lines.Strings"), [](T* o) { return o->Text().split(QLatin1Char('\n')); },
                [](T* o, const QStringList& l) { o->SetText(l.join(QLatin1Char('\n'))); })
            .Bool(QStringLiteral("ReadOnly"), &T::ReadOnly, &T::SetReadOnly)
            .Register();
    }
    {
        using T = TPanel;
        ControlClass<T>(QStringLiteral("TPanel"))
            .Enum<TBevelCut>(QStringLiteral("BevelInner"), &T::BevelInner, &T::SetBevelInner)
            .Enum<TBevelCut>(QStringLiteral("BevelOuter"), &T::BevelOuter, &T::SetBevelOuter)
            .Register();
    }
    {
        using T = TImage;
        ControlClass<T>(QStringLiteral("TImage"))
            .Binary(
                QStringLiteral("Picture.Data"), [](T* o) { return !o->PictureData().isEmpty(); }, &T::PictureData,
                &T::SetPictureData)
            .Bool(QStringLiteral("Stretch"), &T::Stretch, &T::SetStretch)
            .Register();
    }
    {
        using T = TTabSheet;
        ControlClass<T>(QStringLiteral("TTabSheet"))
            .Str(QStringLiteral("Caption"), &T::Caption, &T::SetCaption)
            .Register();
    }
    {
        using T = TPageControl;
        TClassBuilder<T> b(QStringLiteral("TPageControl"));
        AddControlProperties(b).Value(
            QStringLiteral("ActivePage"),
            [](T* o) -> std::optional<TFormValue> {
                const QString name = o->ActivePageName();
                if (name.isEmpty())
                    return std::nullopt;
                return TFormIdent{name};
            },
            [](T* o, const TFormValue& v) { o->SetActivePageName(ToIdent(v)); });
        b.Info().InsertChild = [](QWidget* parent, QWidget* child) {
            auto* pages = static_cast<TPageControl*>(parent);
            if (auto* sheet = dynamic_cast<TTabSheet*>(child))
                pages->AddPage(sheet);
            else
                throw Exception(QStringLiteral("A page control holds only tab sheets"));
        };
        b.Info().Children = [](QWidget* w) {
            auto* pages = static_cast<TPageControl*>(w);
            QList<QWidget*> out;
            for (int i = 0; i < pages->count(); ++i)
                out << pages->widget(i);
            return out;
        };
        b.Register();
    }
}
