// Picking on an X11 display: the pointer and keyboard are grabbed on the root
// window with a crosshair cursor, a magnifier beside the pointer shows the
// pixels around it, and the pixel under the pointer is read from the screen.
// A left click, Enter or Space takes the colour; the arrow keys move the
// pointer by a pixel (with Shift by ten); the wheel, + and - zoom; A, or the
// digits 1, 3, 5 and 9, switch between the pixel and the mean of a square
// around it; Escape or a right click gives up.
#pragma once

#include "picker/colorpicker.h"
#include "picker/pixelformat.h"

#include <QAbstractNativeEventFilter>
#include <QPoint>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct xcb_connection_t;
class TX11Magnifier;
class QTimer;

class TX11ColorPicker final : public TColorPicker, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit TX11ColorPicker(QObject* parent = nullptr);
    ~TX11ColorPicker() override;

    void Start(QWindow* parent = nullptr) override;
    void Cancel() override;
    bool IsActive() const override { return Connection != nullptr; }

    // Whether the application runs on an X11 display.
    static bool IsAvailable();

    // The magnifier's window while a pick is under way, 0 otherwise.
    std::uint32_t MagnifierWindow() const;
    int Zoom() const { return Zoom_; }

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    // Gives the grabs and the cursor back and takes the magnifier down, without a signal.
    void Release();
    void Fail(const QString& reason);
    // Selects on the root, or stops, the events that tell a grab was ended.
    void WatchForUngrab(bool watch);
    // Reads and shows the screen around the hotspot: the hotspot's colour,
    // nothing while the pixel was just under the magnifier and is not
    // redrawn yet, or could not be read.
    std::optional<TColor> Refresh();
    // A refresh on the next turn of the event loop, for all motions until then.
    void QueueRefresh();
    void OnKey(std::uint8_t keycode, bool shift);
    // Takes the colour under the hotspot, once it can be read.
    void Take();
    void ZoomBy(int steps);
    // Takes the mean of side × side pixels from now on.
    void SetSample(int side);

    xcb_connection_t* Connection = nullptr; // set while a pick is under way
    std::uint32_t Root = 0;                 // the window holding the grabs
    std::uint32_t Cursor = 0;
    std::uint32_t RootEventMask = 0; // what the root had selected for us before the pick
    std::uint32_t WatchedFrom = 0;   // the request after which a lost grab is heard
    TPixelFormat Format;
    std::unique_ptr<TX11Magnifier> Magnifier;
    std::vector<std::uint32_t> Keysyms; // keysyms_per_keycode a keycode, from MinKeycode
    int KeysymsPerKeycode = 0;
    std::uint8_t MinKeycode = 0;
    QPoint Hotspot;
    int Zoom_;
    bool RefreshQueued = false;
    QTimer* Retry = nullptr;
    bool TakePending = false;
    // The button pressed during the pick; the pick ends when it is released.
    std::uint8_t HeldButton = 0;
    std::optional<TColor> PressedColor;
    std::optional<TColor> LastHovered;
};
