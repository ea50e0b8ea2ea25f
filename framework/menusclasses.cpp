// The menus as the classes a stored layout names.
#include "framework/classes.h"
#include "framework/menus.h"

void RegisterMenuClasses()
{
    TClassBuilder<TPopupMenu>(QStringLiteral("TPopupMenu")).Register();
    using T = TMenuItem;
    TClassBuilder<T>(QStringLiteral("TMenuItem"))
        .Str(QStringLiteral("Caption"), &T::Caption, &T::SetCaption)
        .Bool(QStringLiteral("Enabled"), &T::EnabledInMenus, &T::SetEnabledInMenus)
        .Int(QStringLiteral("ShortCut"), &T::ShortCut, &T::SetShortCut)
        .Bool(QStringLiteral("Visible"), &T::ShownInMenus, &T::SetShownInMenus)
        .Event(QStringLiteral("OnClick"), &T::OnClick)
        .Register();
}
