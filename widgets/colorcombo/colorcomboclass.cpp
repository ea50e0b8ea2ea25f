// The colour combo box as a class a stored layout names.
#include "framework/controls.h"
#include "widgets/colorcombo/colorcombobox.h"

void RegisterColorComboClasses()
{
    using T = TColorComboBox;
    TClassBuilder<T> b(QStringLiteral("TColorComboBox"));
    PublishControl(b, {cpTag, cpPlacement, cpHint, cpAlign})
        .Color(QStringLiteral("ColorValue"), &T::ColorValue, &T::SetColorValue)
        .Strings(
            QStringLiteral("ColorNames"), [](T* o) { return o->ColorNames().Items(); }, &T::SetColorNames)
        .Bool(QStringLiteral("DisplayNames"), &T::DisplayNames, &T::SetDisplayNames)
        .Enum<TOwnerDrawComboStyle>(
            QStringLiteral("Style"), &T::Style, &T::SetStyle,
            {TComboBoxStyle::csDropDown, TComboBoxStyle::csSimple, TComboBoxStyle::csDropDownList})
        .Event(QStringLiteral("OnChange"), &T::OnChange);
    PublishControl(b,
                   {cpColor, cpEnabled, cpFont, cpAnchors, cpConstraints, cpParentColor, cpParentFont, cpParentShowHint,
                    cpPopupMenu, cpShowHint, cpTabOrder, cpTabStop, cpVisible, cpOnClick, cpOnDblClick})
        .Event(QStringLiteral("OnDropDown"), &T::OnDropDown);
    PublishControl(b, {cpOnEnter, cpOnExit, cpOnKeyDown, cpOnKeyPress, cpOnKeyUp, cpOnContextPopup}).Register();
}
