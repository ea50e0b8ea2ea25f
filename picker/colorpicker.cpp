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

// An X server inside a Wayland session shows only its own clients on its root
// window: a pixel read there is black over every other window.
bool InWaylandSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
}

} // namespace

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
    // Without the portal, the grab still reads the windows of that X server.
    return InWaylandSession() ? NewX11Picker(parent) : nullptr;
}
