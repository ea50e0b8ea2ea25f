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
        name, [index](T* o) { return o->IsUserImage(index); }, [index](T* o) { return o->Image(index)->SaveToPng(); },
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
    // What every control publishes but the font, with the slider's own
    // properties among them in its published order.
    AddControlProperties(b, {cpFont});
    PublishControl(b.InsertBefore(QStringLiteral("Left")), {cpTag});
    PublishControl(b.InsertBefore(QStringLiteral("Align")), {cpHint});
    b.InsertBefore(QStringLiteral("Color"))
        .Enum<TBevelCut>(QStringLiteral("BevelStyle"), &T::BevelStyle, &T::SetBevelStyle);
    b.InsertBefore(QStringLiteral("ParentColor"));
    AddImage(b, QStringLiteral("ImageHThumb.Data"), siHThumb);
    AddImage(b, QStringLiteral("ImageHRuler.Data"), siHRuler);
    AddImage(b, QStringLiteral("ImageVThumb.Data"), siVThumb);
    AddImage(b, QStringLiteral("ImageVRuler.Data"), siVRuler);
    b.Int(QStringLiteral("Increment"), &T::Increment, &T::SetIncrement)
        .Int(QStringLiteral("MinValue"), &T::MinValue, &T::SetMinValue)
        .Int(QStringLiteral("MaxValue"), &T::MaxValue, &T::SetMaxValue)
        .Int(QStringLiteral("NumThumbStates"), &T::NumThumbStates, &T::SetNumThumbStates)
        .Enum<TSliderOrientation>(QStringLiteral("Orientation"), &T::Orientation, &T::SetOrientation)
        .Int(QStringLiteral("EdgeSize"), &T::EdgeSize, &T::SetEdgeSize)
        .SetOf<TSliderOption>(
            QStringLiteral("Options"), [](T* o) { return o->Options().Bits(); },
            [](T* o, unsigned bits) { o->SetOptions(TSliderOptions::FromBits(bits)); });
    PublishControl(b.InsertBefore(QStringLiteral("TabOrder")), {cpParentShowHint, cpPopupMenu, cpShowHint});
    b.InsertBefore(QStringLiteral("Visible")).Int(QStringLiteral("Value"), &T::Value, &T::SetValue);
    PublishControl(b.InsertBefore(QStringLiteral("OnEnter")), {cpAnchors, cpConstraints})
        .Event(QStringLiteral("OnChange"), &T::OnChange)
        .Event(QStringLiteral("OnChanged"), &T::OnChanged)
        .Event(QStringLiteral("OnDrawPoints"), &T::OnDrawPoints);
    PublishControl(b, {cpOnClick, cpOnDblClick});
    PublishControl(b.InsertAtEnd(),
                   {cpOnMouseMove, cpOnMouseDown, cpOnMouseUp, cpOnKeyDown, cpOnKeyUp, cpOnKeyPress, cpOnContextPopup})
        .Stream(
            QStringLiteral("UserImages"), [](T* o, T* ancestor) { return o->ShouldWriteUserImages(ancestor); },
            [](T* o) { return o->WriteUserImages(); },
            [](T* o, const QByteArray& data) {
                if (data.size() != 1)
                    throw Exception(QStringLiteral("UserImages must hold exactly one byte"));
                o->ReadUserImages(data);
            })
        .Register();
}
