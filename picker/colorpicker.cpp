#include "picker/colorpicker.h"

#include "picker/portalpicker.h"
#ifdef HUEBOX_PICKER_X11
#include "picker/x11picker.h"
#endif

namespace {

TColorPicker* NewX11Picker([[maybe_unused]] QObject* parent)
{
#ifdef HUEBOX_PICKER_X11
    if (TX11ColorPicker::IsAvailable())
        return new TX11ColorPicker(parent);
#endif
    return nullptr;
}

// Either variable alone names a Wayland session. An X server inside one shows
// only its own clients on its root window: a pixel read there is black over
// every other window.
bool InWaylandSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
}

} // namespace

QString ScreenPickUnavailableText()
{
    if (InWaylandSession())
        return ScreenPickUnavailableMessage + QStringLiteral(": в сеансе Wayland нет портала рабочего стола");
    return ScreenPickUnavailableMessage;
}

QString ScreenPickFailure(const QString& reason)
{
    return QStringLiteral("Не удалось взять цвет с экрана: ") + reason;
}

TColorPicker* CreateColorPicker(QObject* parent)
{
    if (!InWaylandSession())
        if (TColorPicker* x11 = NewX11Picker(parent))
            return x11;
    if (TPortalColorPicker::IsAvailable())
        return new TPortalColorPicker(parent);
    return nullptr;
}
