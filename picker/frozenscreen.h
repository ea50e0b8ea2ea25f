// A pick over a screenshot of the whole desktop: on every screen a
// frameless full-screen window shows that screen's part of it, frozen, at
// the screen's own device pixels, and the screen that holds the hotspot draws
// the magnifier beside it. The hotspot is our own, drawn as a crosshair: it
// follows the pointer, and the arrow keys move it by a device pixel (with
// Shift by ten) across the screens' edges. Enter, Space or a left click take
// the colour under it; Escape or a right click give up; the wheel, + and -
// zoom; A and the digits 1, 3, 5, 9 choose the square averaged.
#pragma once

#include "framework/types.h"
#include "picker/frozenlayout.h"

#include <QImage>
#include <QObject>
#include <QRect>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QScreen;
class TFrozenWindow;

class TFrozenScreen : public QObject {
    Q_OBJECT
public:
    using TFormatter = std::function<QString(TColor)>;
    // The desktop's image is cut into the screens' parts and not kept. The
    // hotspot starts at the centre of start (the first screen without one).
    TFrozenScreen(const QImage& desktop, QScreen* start, int average, TFormatter formatter, QObject* parent = nullptr);
    ~TFrozenScreen() override;

    void Show();
    void Hide();

    THotspot Hotspot() const { return Hotspot_; }
    int Zoom() const { return Zoom_; }
    int Average() const { return Average_; }
    // The window of a screen, by its index in QGuiApplication::screens().
    QWindow* Window(int screen) const;
    // The colour the hotspot would take.
    std::optional<TColor> Current() const { return Color; }

signals:
    void Hovered(TColor color);
    void Picked(TColor color);
    void Cancelled();

private:
    friend class TFrozenWindow;
    void PointerAt(int screen, QPointF logical);
    void Press(Qt::MouseButton button);
    void Release(Qt::MouseButton button);
    void Key(int key, Qt::KeyboardModifiers modifiers);
    void ZoomBy(int steps);
    void SetAverage(int side);
    void MoveTo(THotspot hotspot);
    // Reads and draws the magnifier for the hotspot and repaints what changed.
    void Refresh();
    void Take();

    std::vector<TScreenPlace> Places;
    std::vector<QRect> InImage; // each screen's part of the desktop's image
    std::vector<std::unique_ptr<TFrozenWindow>> Windows;
    THotspot Hotspot_;
    int Zoom_;
    int Average_;
    TFormatter Formatter;
    std::optional<TColor> Color;
    std::optional<TColor> LastHovered;
    Qt::MouseButton Held = Qt::NoButton;
    std::optional<TColor> PressedColor;
};
