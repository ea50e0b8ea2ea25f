#include "picker/x11picker.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <bit>
#include <cstdlib>
#include <memory>

namespace {

struct TFree {
    void operator()(void* p) const { std::free(p); }
};
template <class T> using TReply = std::unique_ptr<T, TFree>;

// Waits for a reply; an X error yields nothing instead of reaching Qt's
// error log.
template <class T, class Cookie, class Fetch> TReply<T> Ask(xcb_connection_t* c, Cookie cookie, Fetch fetch)
{
    xcb_generic_error_t* error = nullptr;
    TReply<T> reply(fetch(c, cookie, &error));
    std::free(error);
    return reply;
}

constexpr std::uint32_t XK_Escape = 0xFF1B;
// The crosshair of the standard cursor font and its mask.
constexpr std::uint16_t CrosshairGlyph = 34;
constexpr std::uint8_t LeftButton = 1;
constexpr std::uint8_t RightButton = 3;
// The status of a grab that got no reply at all.
constexpr std::uint8_t NoGrabReply = XCB_GRAB_STATUS_NOT_VIEWABLE;

xcb_connection_t* X11Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// A channel under its mask, scaled to 0..255.
int Channel(std::uint32_t pixel, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const std::uint64_t max = mask >> shift;
    const std::uint64_t value = (pixel & mask) >> shift;
    return static_cast<int>((value * 255 + max / 2) / max);
}

const xcb_visualtype_t* FindVisual(const xcb_setup_t* setup, xcb_visualid_t id)
{
    for (auto screen = xcb_setup_roots_iterator(setup); screen.rem; xcb_screen_next(&screen))
        for (auto depth = xcb_screen_allowed_depths_iterator(screen.data); depth.rem; xcb_depth_next(&depth))
            for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem; xcb_visualtype_next(&visual))
                if (visual.data->visual_id == id)
                    return visual.data;
    return nullptr;
}

int BitsPerPixel(const xcb_setup_t* setup, std::uint8_t depth)
{
    for (auto format = xcb_setup_pixmap_formats_iterator(setup); format.rem; xcb_format_next(&format))
        if (format.data->depth == depth)
            return format.data->bits_per_pixel;
    return 0;
}

std::uint8_t KeycodeOf(xcb_connection_t* c, std::uint32_t keysym)
{
    const xcb_setup_t* setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto map = Ask<xcb_get_keyboard_mapping_reply_t>(c, xcb_get_keyboard_mapping(c, setup->min_keycode, count),
                                                           xcb_get_keyboard_mapping_reply);
    if (!map || map->keysyms_per_keycode == 0)
        return 0;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int length = xcb_get_keyboard_mapping_keysyms_length(map.get());
    for (int i = 0; i < length; ++i)
        if (keysyms[i] == keysym)
            return static_cast<std::uint8_t>(setup->min_keycode + i / map->keysyms_per_keycode);
    return 0;
}

QString GrabError(std::uint8_t status, bool keyboard)
{
    if (status == XCB_GRAB_STATUS_ALREADY_GRABBED)
        return keyboard ? QStringLiteral("клавиатура захвачена другой программой")
                        : QStringLiteral("мышь захвачена другой программой");
    return keyboard ? QStringLiteral("клавиатура сейчас недоступна") : QStringLiteral("мышь сейчас недоступна");
}

} // namespace

TX11ColorPicker::~TX11ColorPicker()
{
    Release();
}

bool TX11ColorPicker::IsAvailable()
{
    return QGuiApplication::platformName() == QLatin1String("xcb") && X11Connection();
}

void TX11ColorPicker::Start(QWindow*)
{
    if (IsActive())
        return;
    xcb_connection_t* c = X11Connection();
    if (!c) {
        emit Failed(ScreenPickFailure(QStringLiteral("нет связи с X-сервером")));
        return;
    }
    // Grab on the screen the pointer is on, where the pick begins.
    const xcb_setup_t* setup = xcb_get_setup(c);
    const auto pointer = Ask<xcb_query_pointer_reply_t>(
        c, xcb_query_pointer(c, xcb_setup_roots_iterator(setup).data->root), xcb_query_pointer_reply);
    if (!pointer) {
        emit Failed(ScreenPickFailure(GrabError(NoGrabReply, false)));
        return;
    }
    const xcb_window_t root = pointer->root;

    const xcb_font_t font = xcb_generate_id(c);
    xcb_open_font(c, font, 6, "cursor");
    const xcb_cursor_t cursor = xcb_generate_id(c);
    xcb_create_glyph_cursor(c, cursor, font, font, CrosshairGlyph, CrosshairGlyph + 1, 0, 0, 0, 0xFFFF, 0xFFFF, 0xFFFF);
    xcb_close_font(c, font);

    // Without owner events every pointer and key event comes to the root
    // window, so no window of ours reacts to the clicks of the pick.
    const auto grab = Ask<xcb_grab_pointer_reply_t>(
        c,
        xcb_grab_pointer(c, 0, root,
                         XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION,
                         XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, cursor, XCB_CURRENT_TIME),
        xcb_grab_pointer_reply);
    if (!grab || grab->status != XCB_GRAB_STATUS_SUCCESS) {
        xcb_free_cursor(c, cursor);
        xcb_flush(c);
        emit Failed(ScreenPickFailure(GrabError(grab ? grab->status : NoGrabReply, false)));
        return;
    }
    Connection = c;
    Root = root;
    Cursor = cursor;
    const auto keys = Ask<xcb_grab_keyboard_reply_t>(
        c, xcb_grab_keyboard(c, 0, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        xcb_grab_keyboard_reply);
    if (!keys || keys->status != XCB_GRAB_STATUS_SUCCESS) {
        Fail(GrabError(keys ? keys->status : NoGrabReply, true));
        return;
    }
    EscapeKey = KeycodeOf(c, XK_Escape);
    QCoreApplication::instance()->installNativeEventFilter(this);
    emit Started();
    if (IsActive())
        Hover(ColorAt(root, pointer->root_x, pointer->root_y));
}

void TX11ColorPicker::Cancel()
{
    if (!IsActive())
        return;
    Release();
    emit Cancelled();
}

void TX11ColorPicker::Fail(const QString& reason)
{
    Release();
    emit Failed(ScreenPickFailure(reason));
}

void TX11ColorPicker::Release()
{
    if (!IsActive())
        return;
    // Once the application is gone its connection is closed, and the grabs with it.
    if (QCoreApplication::instance()) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
        xcb_ungrab_pointer(Connection, XCB_CURRENT_TIME);
        xcb_ungrab_keyboard(Connection, XCB_CURRENT_TIME);
        xcb_free_cursor(Connection, Cursor);
        xcb_flush(Connection);
    }
    Connection = nullptr;
    HeldButton = 0;
    PressedColor.reset();
    LastHovered.reset();
}

bool TX11ColorPicker::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (!IsActive() || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7F) {
    case XCB_MOTION_NOTIFY: {
        const auto* motion = reinterpret_cast<const xcb_motion_notify_event_t*>(event);
        if (motion->event != Root)
            return false;
        if (HeldButton == 0)
            Hover(ColorAt(motion->root, motion->root_x, motion->root_y));
        return true;
    }
    case XCB_BUTTON_PRESS: {
        const auto* press = reinterpret_cast<const xcb_button_press_event_t*>(event);
        if (press->event != Root)
            return false;
        // The pick ends on the release, so the release does not reach
        // whatever window lies under the pointer.
        if (HeldButton == 0 && (press->detail == LeftButton || press->detail == RightButton)) {
            HeldButton = press->detail;
            if (HeldButton == LeftButton)
                PressedColor = ColorAt(press->root, press->root_x, press->root_y);
        }
        return true;
    }
    case XCB_BUTTON_RELEASE: {
        const auto* release = reinterpret_cast<const xcb_button_release_event_t*>(event);
        if (release->event != Root)
            return false;
        // A button held down before the pick began is let go without effect.
        if (HeldButton == 0 || release->detail != HeldButton)
            return true;
        if (HeldButton == RightButton) {
            Cancel();
        } else if (const std::optional<TColor> color = PressedColor) {
            Release();
            emit Picked(*color);
        } else {
            Fail(QStringLiteral("точку экрана не удалось прочитать"));
        }
        return true;
    }
    case XCB_KEY_PRESS:
    case XCB_KEY_RELEASE: {
        const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
        if (key->event != Root)
            return false;
        if ((event->response_type & 0x7F) == XCB_KEY_PRESS && EscapeKey != 0 && key->detail == EscapeKey)
            Cancel();
        return true;
    }
    default:
        return false;
    }
}

std::optional<TColor> TX11ColorPicker::ColorAt(std::uint32_t root, int x, int y) const
{
    xcb_connection_t* c = Connection;
    const auto image =
        Ask<xcb_get_image_reply_t>(c,
                                   xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, static_cast<std::int16_t>(x),
                                                 static_cast<std::int16_t>(y), 1, 1, ~0u),
                                   xcb_get_image_reply);
    if (!image)
        return std::nullopt;
    const xcb_setup_t* setup = xcb_get_setup(c);
    const xcb_visualtype_t* visual = FindVisual(setup, image->visual);
    const int bits = BitsPerPixel(setup, image->depth);
    const int bytes = bits / 8;
    // Screens with a colour map (8 bits or fewer) are not read.
    if (!visual || (visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR && visual->_class != XCB_VISUAL_CLASS_DIRECT_COLOR) ||
        bits % 8 != 0 || bytes < 1 || bytes > 4 || xcb_get_image_data_length(image.get()) < bytes)
        return std::nullopt;
    const std::uint8_t* data = xcb_get_image_data(image.get());
    std::uint32_t pixel = 0;
    for (int i = 0; i < bytes; ++i) {
        const int at = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST ? bytes - 1 - i : i;
        pixel = (pixel << 8) | data[at];
    }
    return RGB(Channel(pixel, visual->red_mask), Channel(pixel, visual->green_mask), Channel(pixel, visual->blue_mask));
}

void TX11ColorPicker::Hover(std::optional<TColor> color)
{
    if (!color || color == LastHovered)
        return;
    LastHovered = color;
    emit Hovered(*color);
}
