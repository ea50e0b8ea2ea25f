#include "picker/x11picker.h"

#include "picker/magnifierkeys.h"
#include "picker/magnifierlayout.h"
#include "picker/x11magnifier.h"

#include <QChar>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

#include <xcb/xcb.h>

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

// The key symbols of the pick that are not Latin-1, whose symbols are their
// characters.
enum : std::uint32_t {
    XK_Escape = 0xFF1B,
    XK_Return = 0xFF0D,
    XK_KP_Enter = 0xFF8D,
    XK_Left = 0xFF51,
    XK_Up = 0xFF52,
    XK_Right = 0xFF53,
    XK_Down = 0xFF54,
    XK_KP_Add = 0xFFAB,
    XK_KP_Subtract = 0xFFAD,
};

// A key symbol as Qt names the key: a Latin-1 character is its own key,
// letters by their upper case.
int QtKeyOf(std::uint32_t keysym)
{
    switch (keysym) {
    case XK_Escape:
        return Qt::Key_Escape;
    case XK_Return:
        return Qt::Key_Return;
    case XK_KP_Enter:
        return Qt::Key_Enter;
    case XK_Left:
        return Qt::Key_Left;
    case XK_Up:
        return Qt::Key_Up;
    case XK_Right:
        return Qt::Key_Right;
    case XK_Down:
        return Qt::Key_Down;
    case XK_KP_Add:
        return Qt::Key_Plus;
    case XK_KP_Subtract:
        return Qt::Key_Minus;
    default:
        return keysym < 0x100 ? QChar(char16_t(keysym)).toUpper().unicode() : 0;
    }
}

// The crosshair of the standard cursor font and its mask.
constexpr std::uint16_t CrosshairGlyph = 34;
constexpr std::uint8_t LeftButton = 1;
constexpr std::uint8_t RightButton = 3;
constexpr std::uint8_t WheelUp = 4;
constexpr std::uint8_t WheelDown = 5;
// The status of a grab that got no reply at all.
constexpr std::uint8_t NoGrabReply = XCB_GRAB_STATUS_NOT_VIEWABLE;

xcb_connection_t* X11Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
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

// The root's pixels as the server hands them out; invalid for a screen with
// a colour map (8 bits or fewer), which is not read.
TPixelFormat RootFormat(const xcb_setup_t* setup, const xcb_screen_t* screen)
{
    TPixelFormat format;
    const xcb_visualtype_t* visual = FindVisual(setup, screen->root_visual);
    const int bits = BitsPerPixel(setup, screen->root_depth);
    if (!visual || (visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR && visual->_class != XCB_VISUAL_CLASS_DIRECT_COLOR) ||
        bits % 8 != 0)
        return format;
    format.RedMask = visual->red_mask;
    format.GreenMask = visual->green_mask;
    format.BlueMask = visual->blue_mask;
    format.BytesPerPixel = bits / 8;
    format.MostSignificantFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    format.ScanlinePadBits = setup->bitmap_format_scanline_pad;
    return format;
}

const xcb_screen_t* ScreenOf(const xcb_setup_t* setup, xcb_window_t root)
{
    for (auto screen = xcb_setup_roots_iterator(setup); screen.rem; xcb_screen_next(&screen))
        if (screen.data->root == root)
            return screen.data;
    return nullptr;
}

// Qt may hand over events queued before a pick began, the letting go of the
// pick before included: the server numbers events by the last request it had
// done, which for those is earlier than the request that began the watch.
bool IsBefore(std::uint32_t eventSequence, std::uint32_t request)
{
    return static_cast<std::int32_t>(eventSequence - request) < 0;
}

// A crossing or focus event on the grab window that says our grab is gone.
bool IsGrabLost(std::uint8_t type, std::uint8_t leaving, std::uint8_t mode)
{
    return mode == XCB_NOTIFY_MODE_UNGRAB || (mode == XCB_NOTIFY_MODE_GRAB && type == leaving);
}

QString GrabError(std::uint8_t status, bool keyboard)
{
    if (status == XCB_GRAB_STATUS_ALREADY_GRABBED)
        return keyboard ? QStringLiteral("клавиатура захвачена другой программой")
                        : QStringLiteral("мышь захвачена другой программой");
    return keyboard ? QStringLiteral("клавиатура сейчас недоступна") : QStringLiteral("мышь сейчас недоступна");
}

} // namespace

TX11ColorPicker::TX11ColorPicker(QObject* parent) : TColorPicker(parent), Zoom_(MagnifierDefaultZoom)
{
    Retry = new QTimer(this);
    Retry->setSingleShot(true);
    Retry->setInterval(TX11Magnifier::SettleMs);
    connect(Retry, &QTimer::timeout, this, [this] {
        if (TakePending)
            Take();
        else
            Refresh();
    });
}

TX11ColorPicker::~TX11ColorPicker()
{
    Release();
}

bool TX11ColorPicker::IsAvailable()
{
    return QGuiApplication::platformName() == QLatin1String("xcb") && X11Connection();
}

std::uint32_t TX11ColorPicker::MagnifierWindow() const
{
    return Magnifier ? Magnifier->Window() : 0;
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
    const xcb_screen_t* screen = pointer ? ScreenOf(setup, pointer->root) : nullptr;
    if (!screen) {
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
    // window, so no window of ours (the magnifier neither) reacts to the
    // clicks of the pick.
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
    // Only now: our own grabs' crossings are over.
    WatchForUngrab(true);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    if (const auto map = Ask<xcb_get_keyboard_mapping_reply_t>(
            c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), xcb_get_keyboard_mapping_reply)) {
        const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(map.get());
        Keysyms.assign(keysyms, keysyms + xcb_get_keyboard_mapping_keysyms_length(map.get()));
        KeysymsPerKeycode = map->keysyms_per_keycode;
        MinKeycode = setup->min_keycode;
    }
    Format = RootFormat(setup, screen);
    // Made only now: a program that never picks never pays for it.
    Magnifier = std::make_unique<TX11Magnifier>(c, root, QSize(screen->width_in_pixels, screen->height_in_pixels),
                                                Format, screen->root_depth, screen->root_visual);
    QCoreApplication::instance()->installNativeEventFilter(this);
    Hotspot = QPoint(pointer->root_x, pointer->root_y);
    emit Started();
    if (IsActive())
        Refresh();
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
    // Once the application is gone its connection is closed, and the grabs
    // and the magnifier with it.
    if (QCoreApplication::instance()) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
        Magnifier.reset();
        // First, so that our own letting go is not heard as a grab lost.
        WatchForUngrab(false);
        xcb_ungrab_pointer(Connection, XCB_CURRENT_TIME);
        xcb_ungrab_keyboard(Connection, XCB_CURRENT_TIME);
        xcb_free_cursor(Connection, Cursor);
        xcb_flush(Connection);
    } else {
        (void)Magnifier.release();
    }
    Connection = nullptr;
    Retry->stop();
    RefreshQueued = false;
    TakePending = false;
    HeldButton = 0;
    PressedColor.reset();
    LastHovered.reset();
}

std::optional<TColor> TX11ColorPicker::Refresh()
{
    RefreshQueued = false;
    if (!IsActive() || !Magnifier)
        return std::nullopt;
    const TX11Magnifier::TShown shown = Magnifier->ShowAt(Hotspot, Zoom_, Average, Formatter);
    if (!shown.Settled)
        Retry->start();
    // While a button is held the preview keeps the colour it was pressed on.
    if (HeldButton == 0 && shown.Color && shown.Color != LastHovered) {
        LastHovered = shown.Color;
        emit Hovered(*shown.Color);
    }
    // The hotspot's colour comes only from a pixel that is trusted.
    return shown.Color;
}

void TX11ColorPicker::QueueRefresh()
{
    if (RefreshQueued)
        return;
    RefreshQueued = true;
    // Motions that arrive before it runs only move the hotspot: one read and
    // one picture for all of them.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (RefreshQueued)
                Refresh();
        },
        Qt::QueuedConnection);
}

void TX11ColorPicker::Take()
{
    TakePending = false;
    if (const std::optional<TColor> color = Refresh()) {
        Release();
        emit Picked(*color);
    } else if (Retry->isActive()) {
        TakePending = true; // the pixel is read again in a moment
    } else {
        Fail(QStringLiteral("точку экрана не удалось прочитать"));
    }
}

void TX11ColorPicker::SetSample(int side)
{
    if (side == Average)
        return;
    SetAverage(side);
    QueueRefresh();
}

void TX11ColorPicker::ZoomBy(int steps)
{
    const int zoom = StepMagnifierZoom(Zoom_, steps);
    if (zoom == Zoom_)
        return;
    Zoom_ = zoom;
    QueueRefresh();
}

void TX11ColorPicker::OnKey(std::uint8_t keycode, bool shift)
{
    std::uint32_t keysym = 0;
    const std::size_t at = static_cast<std::size_t>(keycode - MinKeycode) * KeysymsPerKeycode;
    if (keycode >= MinKeycode && KeysymsPerKeycode > 0 && at + KeysymsPerKeycode <= Keysyms.size()) {
        // The shifted symbol where the key has one, as the keyboard would type it.
        keysym = Keysyms[at];
        if (shift && KeysymsPerKeycode > 1 && Keysyms[at + 1] != 0)
            keysym = Keysyms[at + 1];
    }
    using A = TMagnifierKey::TAction;
    const TMagnifierKey k = MagnifierKeyOf(QtKeyOf(keysym), shift, Average);
    switch (k.Action) {
    case A::Cancel:
        Cancel();
        return;
    case A::Take:
        if (HeldButton == 0)
            Take();
        return;
    case A::Zoom:
        ZoomBy(k.ZoomSteps);
        return;
    case A::Average:
        SetSample(k.Average);
        return;
    case A::Move:
        break;
    case A::None:
        return;
    }
    const QPoint move = k.Move;
    // A relative warp: the server keeps the pointer on the screen, and the
    // motion it causes moves the hotspot.
    xcb_warp_pointer(Connection, XCB_NONE, XCB_NONE, 0, 0, 0, 0, static_cast<std::int16_t>(move.x()),
                     static_cast<std::int16_t>(move.y()));
    xcb_flush(Connection);
}

// A grab taken over or ended by anyone else (another part of this program
// grabbing, the server breaking it) shows on the root as the pointer or the
// focus leaving it with mode Grab, or moving with mode Ungrab. The root's
// events are selected per connection, so Qt's own selection is kept and put
// back.
void TX11ColorPicker::WatchForUngrab(bool watch)
{
    constexpr std::uint32_t crossings =
        XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW | XCB_EVENT_MASK_FOCUS_CHANGE;
    if (watch) {
        const auto attributes = Ask<xcb_get_window_attributes_reply_t>(
            Connection, xcb_get_window_attributes(Connection, Root), xcb_get_window_attributes_reply);
        RootEventMask = attributes ? attributes->your_event_mask : 0;
    }
    const std::uint32_t mask = watch ? RootEventMask | crossings : RootEventMask;
    const xcb_void_cookie_t change = xcb_change_window_attributes(Connection, Root, XCB_CW_EVENT_MASK, &mask);
    if (watch)
        WatchedFrom = change.sequence;
}

bool TX11ColorPicker::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (!IsActive() || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7F) {
    case XCB_EXPOSE: {
        const auto* expose = reinterpret_cast<const xcb_expose_event_t*>(event);
        if (expose->window != MagnifierWindow())
            return false;
        if (expose->count == 0)
            Magnifier->Repaint();
        return true;
    }
    case XCB_ENTER_NOTIFY:
    case XCB_LEAVE_NOTIFY: {
        const auto* crossing = reinterpret_cast<const xcb_enter_notify_event_t*>(event);
        if (crossing->event != Root || IsBefore(event->full_sequence, WatchedFrom))
            return false;
        if (IsGrabLost(crossing->response_type & 0x7F, XCB_LEAVE_NOTIFY, crossing->mode))
            Cancel();
        return true;
    }
    case XCB_FOCUS_IN:
    case XCB_FOCUS_OUT: {
        const auto* focus = reinterpret_cast<const xcb_focus_in_event_t*>(event);
        if (focus->event != Root || IsBefore(event->full_sequence, WatchedFrom))
            return false;
        if (IsGrabLost(focus->response_type & 0x7F, XCB_FOCUS_OUT, focus->mode))
            Cancel();
        return true;
    }
    case XCB_MOTION_NOTIFY: {
        const auto* motion = reinterpret_cast<const xcb_motion_notify_event_t*>(event);
        if (motion->event != Root)
            return false;
        Hotspot = QPoint(motion->root_x, motion->root_y);
        QueueRefresh();
        return true;
    }
    case XCB_BUTTON_PRESS: {
        const auto* press = reinterpret_cast<const xcb_button_press_event_t*>(event);
        if (press->event != Root)
            return false;
        if (press->detail == WheelUp || press->detail == WheelDown) {
            ZoomBy(press->detail == WheelUp ? 1 : -1);
            return true;
        }
        // The pick ends on the release, so the release does not reach
        // whatever window lies under the pointer.
        if (HeldButton == 0 && (press->detail == LeftButton || press->detail == RightButton)) {
            HeldButton = press->detail;
            if (HeldButton == LeftButton) {
                Hotspot = QPoint(press->root_x, press->root_y);
                PressedColor = Refresh();
            }
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
            // Pressed where the magnifier had just stood: read once it is redrawn.
            HeldButton = 0;
            Take();
        }
        return true;
    }
    case XCB_KEY_PRESS:
    case XCB_KEY_RELEASE: {
        const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
        if (key->event != Root)
            return false;
        if ((event->response_type & 0x7F) == XCB_KEY_PRESS)
            OnKey(key->detail, key->state & XCB_MOD_MASK_SHIFT);
        return true;
    }
    default:
        return false;
    }
}
