#include "widgets/slider/sliderclass.h"

#include "framework/classes.h"
#include "widgets/slider/imageslider.h"

namespace {

using T = TImageSlider;

// An image property: stored only while the slider holds a user picture
// there, as the framework's bitmap data.
void AddImage(TClassBuilder<T>& b, const QString& name, int index)
{
    b.Binary(
        name, [index](T* o) { return o->IsUserImage(index); },
        [index](T* o) { return o->Image(index)->SaveToPng(); },
        [index, name](T* o, const QByteArray& data) {
            TBitmap picture;
            if (!picture.LoadFromPng(data))
                throw Exception(QStringLiteral("Invalid picture data for %1").arg(name));
            o->SetImage(index, &picture);
        });
}

} // namespace

void RegisterSliderClasses()
{
    TClassBuilder<T> b(QStringLiteral("TImageSlider"));
    AddPlacementProperties(b)
        .Enum<TBevelCut>(QStringLiteral("BevelStyle"), BevelCutNames(), &T::BevelStyle, &T::SetBevelStyle)
        .Color(QStringLiteral("Color"), [](T* o) { return o->Color(); }, [](T* o, TColor c) { o->SetColor(c); })
        .Bool(QStringLiteral("Enabled"), [](T* o) { return o->Enabled(); }, [](T* o, bool v) { o->setEnabled(v); });
    AddImage(b, QStringLiteral("ImageHThumb.Data"), siHThumb);
    AddImage(b, QStringLiteral("ImageHRuler.Data"), siHRuler);
    AddImage(b, QStringLiteral("ImageVThumb.Data"), siVThumb);
    AddImage(b, QStringLiteral("ImageVRuler.Data"), siVRuler);
    b.Int(QStringLiteral("Increment"), &T::Increment, &T::SetIncrement)
        .Int(QStringLiteral("MinValue"), &T::MinValue, &T::SetMinValue)
        .Int(QStringLiteral("MaxValue"), &T::MaxValue, &T::SetMaxValue)
        .Int(QStringLiteral("NumThumbStates"), &T::NumThumbStates, &T::SetNumThumbStates)
        .Enum<TSliderOrientation>(QStringLiteral("Orientation"), {QStringLiteral("soHorizontal"), QStringLiteral("soVertical")},
                                  &T::Orientation, &T::SetOrientation)
        .Int(QStringLiteral("EdgeSize"), &T::EdgeSize, &T::SetEdgeSize)
        .SetOf(QStringLiteral("Options"),
               {QStringLiteral("soShowFocus"), QStringLiteral("soShowPoints"), QStringLiteral("soSmooth"),
                QStringLiteral("soRulerOpaque"), QStringLiteral("soThumbOpaque")},
               [](T* o) { return o->Options().Bits(); },
               [](T* o, unsigned bits) { o->SetOptions(TSliderOptions::FromBits(bits)); })
        .Bool(QStringLiteral("ParentColor"), [](T* o) { return o->ParentColor(); }, [](T* o, bool v) { o->SetParentColor(v); })
        .Int(QStringLiteral("TabOrder"), [](T* o) { return o->TabOrder(); }, [](T* o, int v) { o->SetTabOrder(v); })
        .Bool(QStringLiteral("TabStop"), [](T* o) { return o->TabStop(); }, [](T* o, bool v) { o->SetTabStop(v); })
        .Int(QStringLiteral("Value"), &T::Value, &T::SetValue)
        .Bool(QStringLiteral("Visible"), [](T* o) { return !o->isHidden(); }, [](T* o, bool v) { o->setVisible(v); })
        .Event<TNotifyEvent>(QStringLiteral("OnChange"), [](T* o, TNotifyEvent e) { o->OnChange = std::move(e); })
        .Event<TNotifyEvent>(QStringLiteral("OnChanged"), [](T* o, TNotifyEvent e) { o->OnChanged = std::move(e); })
        .Event<TNotifyEvent>(QStringLiteral("OnDrawPoints"), [](T* o, TNotifyEvent e) { o->OnDrawPoints = std::move(e); })
        .Event<TNotifyEvent>(QStringLiteral("OnEnter"), [](T* o, TNotifyEvent e) { o->OnEnter = std::move(e); })
        .Event<TNotifyEvent>(QStringLiteral("OnExit"), [](T* o, TNotifyEvent e) { o->OnExit = std::move(e); })
        .Stream(
            QStringLiteral("UserImages"), [](T* o, T* ancestor) { return o->ShouldWriteUserImages(ancestor); },
            [](T* o) { return o->WriteUserImages(); }, [](T* o, const QByteArray& data) {
                if (data.size() != 1)
                    throw Exception(QStringLiteral("UserImages must hold exactly one byte"));
                o->ReadUserImages(data);
            })
        .Register();
}
