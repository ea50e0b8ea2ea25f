#include "widgets/slider/slideraccessible.h"

#include "widgets/slider/imageslider.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

namespace {

class TSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TSliderAccessible(TCustomImageSlider* slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return QString::number(Slider()->Value());
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return Slider()->Value(); }
    void setCurrentValue(const QVariant& value) override { Slider()->SetValue(value.toInt()); }
    QVariant maximumValue() const override { return Slider()->MaxValue(); }
    QVariant minimumValue() const override { return Slider()->MinValue(); }
    QVariant minimumStepSize() const override { return Slider()->Increment(); }

private:
    TCustomImageSlider* Slider() const { return static_cast<TCustomImageSlider*>(widget()); }
};

QAccessibleInterface* SliderFactory(const QString&, QObject* object)
{
    if (auto* slider = qobject_cast<TCustomImageSlider*>(object))
        return new TSliderAccessible(slider);
    return nullptr;
}

} // namespace

void InstallSliderAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(SliderFactory);
        return true;
    }();
    (void)installed;
}
