// Picking on an X11 display: the pointer and keyboard are grabbed on the root
// window with a crosshair cursor, and the pixel under the pointer is read from
// the screen. A left click takes the colour, Escape or a right click gives up.
#pragma once

#include "picker/colorpicker.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <optional>

struct xcb_connection_t;

class TX11ColorPicker final : public TColorPicker, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    using TColorPicker::TColorPicker;
    ~TX11ColorPicker() override;

    void Start(QWindow* parent = nullptr) override;
    void Cancel() override;
    bool IsActive() const override { return Connection != nullptr; }

    // Whether the application runs on an X11 display.
    static bool IsAvailable();

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    // Gives the grabs and the cursor back, without a signal.
    void Release();
    void Fail(const QString& reason);
    std::optional<TColor> ColorAt(std::uint32_t root, int x, int y) const;
    // Reports a colour under the pointer when it differs from the last one.
    void Hover(std::optional<TColor> color);

    xcb_connection_t* Connection = nullptr; // set while a pick is under way
    std::uint32_t Root = 0;                 // the window holding the grabs
    std::uint32_t Cursor = 0;
    std::uint8_t EscapeKey = 0;
    // The button pressed during the pick; the pick ends when it is released.
    std::uint8_t HeldButton = 0;
    std::optional<TColor> PressedColor;
    std::optional<TColor> LastHovered;
};
