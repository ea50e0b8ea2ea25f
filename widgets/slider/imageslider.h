// A custom-drawn track bar: an integer Value between MinValue and MaxValue,
// shown as a thumb image sliding along a ruler image, inside an optional
// bevel, on a face filled with the control's colour. The user drags the
// thumb, presses the ruler beside it (with auto-repeat) or uses the keys.
#pragma once

#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/controls.h"
#include "framework/stdctrls.h"
#include "widgets/slider/sliderimages.h"
#include "widgets/slider/sliderlayout.h"

#include <QBasicTimer>
#include <QByteArray>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>

class QWindow;

// Stored layouts name these values by their declared identifiers.
namespace SliderEnums {
Q_NAMESPACE
enum class TSliderOption : std::uint8_t { soShowFocus, soShowPoints, soSmooth, soRulerOpaque, soThumbOpaque };
Q_ENUM_NS(TSliderOption)
} // namespace SliderEnums
// Scoped, as the orientation is: an option never compares with an orientation.
using SliderEnums::TSliderOption;

// A set of TSliderOption held in one byte, bit n for option n.
class TSliderOptions {
public:
    constexpr TSliderOptions() = default;
    constexpr TSliderOptions(std::initializer_list<TSliderOption> options)
    {
        for (TSliderOption o : options)
            bits_ = std::uint8_t(bits_ | Bit(o));
    }
    // Bits of no option are dropped.
    static constexpr TSliderOptions FromBits(unsigned bits)
    {
        TSliderOptions s;
        s.bits_ = std::uint8_t(bits & AllBits);
        return s;
    }
    constexpr std::uint8_t Bits() const { return bits_; }
    constexpr bool Contains(TSliderOption o) const { return (bits_ & Bit(o)) != 0; }
    constexpr TSliderOptions With(TSliderOption o) const { return FromBits(bits_ | Bit(o)); }
    constexpr TSliderOptions Without(TSliderOption o) const { return FromBits(bits_ & ~unsigned(Bit(o))); }
    friend constexpr bool operator==(TSliderOptions, TSliderOptions) = default;

private:
    static constexpr unsigned AllBits = 0x1F;
    static constexpr std::uint8_t Bit(TSliderOption o) { return std::uint8_t(1u << unsigned(o)); }
    std::uint8_t bits_ = 0;
};

class TCustomImageSlider : public QWidget, public TControl {
    Q_OBJECT
public:
    explicit TCustomImageSlider(QWidget* parent = nullptr);
    ~TCustomImageSlider() override;

    // --- Value and range -------------------------------------------------
    int Value() const { return value_; }
    // Clamps to the range, re-places the thumb, raises OnChange on a change.
    void SetValue(int value);
    int MinValue() const { return minValue_; }
    void SetMinValue(int value);
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value);
    // An empty or inverted range is ignored, except while loading.
    void SetRange(int newMin, int newMax);
    int Increment() const { return increment_; }
    // Raises "Value must be between 1 and <span>" for a value outside that.
    void SetIncrement(int value);

    // --- Look ------------------------------------------------------------
    TBevelCut BevelStyle() const { return bevelStyle_; }
    void SetBevelStyle(TBevelCut value);
    int BevelWidth() const { return 1; }
    int EdgeSize() const { return edgeSize_; }
    // Accepted while twice the edge is shorter than the ruler image.
    void SetEdgeSize(int value);
    int NumThumbStates() const { return numThumbStates_; }
    // 1 or 2; other values are ignored.
    void SetNumThumbStates(int value);
    TSliderOrientation Orientation() const { return orientation_; }
    // Also swaps Width and Height, except while loading.
    void SetOrientation(TSliderOrientation value);
    TSliderOptions Options() const { return options_; }
    void SetOptions(TSliderOptions value);
    // The face colour: repaints, and skips an unchanged value.
    void SetColor(TColor color) override;
    // The colour the face is filled with (the parent's with ParentColor).
    TColor FaceColor() const;

    // --- Images ----------------------------------------------------------
    // The holder of an index itself (null for another index). Changing its
    // content in place re-lays the slider but does not mark a user image.
    TBitmap* Image(int index) const;
    TBitmap* ImageHThumb() const { return Image(siHThumb); }
    TBitmap* ImageHRuler() const { return Image(siHRuler); }
    TBitmap* ImageVThumb() const { return Image(siVThumb); }
    TBitmap* ImageVRuler() const { return Image(siVRuler); }
    // A picture is copied in and marked as a user image; null restores the
    // built-in image (and, outside loading, switches its opaque option off).
    void SetImage(int index, const TBitmap* picture);
    void SetImage(int index, const QImage& picture);
    void SetImageHThumb(const TBitmap* picture) { SetImage(siHThumb, picture); }
    void SetImageHRuler(const TBitmap* picture) { SetImage(siHRuler, picture); }
    void SetImageVThumb(const TBitmap* picture) { SetImage(siVThumb, picture); }
    void SetImageVRuler(const TBitmap* picture) { SetImage(siVRuler, picture); }
    // Bit i set while image i holds a user picture.
    std::uint8_t UserImageMask() const { return userImageMask_; }
    // An image property is stored only while its bit is set.
    bool IsUserImage(int index) const;

    // --- Stored form hooks -------------------------------------------------
    // The stream property UserImages: one byte, the mask. Written when it
    // differs from the ancestor's mask, or, without one, when not empty.
    bool ShouldWriteUserImages(const TCustomImageSlider* ancestor) const;
    QByteArray WriteUserImages() const;
    void ReadUserImages(const QByteArray& data);
    // Re-applies the user images read and lays the slider out again.
    void Loaded() override;

    // --- Layout and mapping ------------------------------------------------
    virtual TRect GetInnerRect() const;
    const TRect& ThumbRect() const { return thumbRect_; }
    const TPoint& RulerOrigin() const { return layout_.RulerOrigin; }
    const TPoint& PointsOrigin() const { return layout_.PointsOrigin; }
    // The ruler image laid out to the current length.
    const TBitmap& Ruler() const { return *ruler_; }
    int TravelLength() const { return layout_.TravelLength; }
    TSliderScale Scale() const;
    int ValueToPos(int value) const { return Scale().ValueToPos(value); }
    int PosToValue(int pos) const { return Scale().PosToValue(pos); }
    // The snapped position along the axis and the thumb's new top-left point.
    TPoint SnapThumbPos(int& pos) const;
    void MoveThumb(int pos);
    void InvalidateThumb();
    virtual void RebuildLayout();

    // --- Input ---------------------------------------------------------
    void StepValue(TSliderStep step);
    TSliderStep StepAt(int x, int y) const;
    // As the framework's focus-change notification last said; Qt's
    // hasFocus() is hidden below so that the two are not mixed up.
    bool HasFocus() const { return hasFocus_; }
    bool Sliding() const { return sliding_; }
    bool ThumbDown() const { return thumbDown_; }
    bool Tracking() const { return tracking_; }
    bool TimerRunning() const { return timer_.isActive(); }
    // The ruler press zone: the laid-out ruler widened by 3 pixels on both
    // sides across the axis.
    bool InRulerZone(int x, int y) const;
    static constexpr int RepeatInterval = 400; // ms between ruler-press steps

    // --- Painting --------------------------------------------------------
    // Draws the whole control into the off-screen buffer: one pixel a logical
    // pixel, or, after a paint request on a device whose pixel ratio lies
    // between whole numbers, one pixel a device pixel at that ratio.
    void Paint();
    const QImage& Buffer() const { return buffer_; }
    // The canvas of the buffer; OnDrawPoints handlers draw on it.
    TCanvas& Canvas() { return canvas_; }
    // Standard tick marks for every step (or every m-th, at least 4 pixels
    // apart) and one at MaxValue; the end ticks get the end length.
    virtual void DrawStandardPoints(int step, int tickLength, int endTickLength);
    // The control as it shows its value, for drawing it elsewhere: the thumb
    // at the value's position, pressed only when disabled.
    QImage PaintCopy();

    TNotifyEvent OnChange;     // after every change of Value
    TNotifyEvent OnChanged;    // at the end of each user gesture
    TNotifyEvent OnDrawPoints; // instead of the standard tick marks

protected:
    virtual bool CanChangeValue() const { return true; }
    virtual int GetDisplayValue() const { return value_; }
    virtual void AfterRangeChange() {}
    virtual void ThumbPressed(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    virtual void ThumbDragged(Qt::KeyboardModifiers shift, int x, int y);
    virtual void ThumbReleased(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    virtual void DoChange();
    virtual void DoChanged();
    void RulerRepeat();
    void EndRulerPress();

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void childEvent(QChildEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    using QWidget::hasFocus;
    bool Loading() const { return InState(csLoading | csReading); }
    // RebuildLayout, except while a description is read.
    void Relayout();
    TBitmap& Holder(int index);
    const TBitmap* ThumbImage() const;
    const TBitmap* RulerImage() const;
    void BuildRuler(const TRect& inner);
    void ImageChanged();
    void RestoreBuiltInImage(int index);
    void TakeFocus();
    void PressRuler(int x, int y);
    // Ends a ruler press without OnChanged, when a step failed.
    void AbortRulerPress();
    void RepeatGuarded();
    void UpdateCursor(int x, int y);
    void RepaintNow();
    void SetHasFocus(bool now);
    void WatchWindowFocus();

    int value_ = 0;
    int minValue_ = 0;
    int maxValue_ = 100;
    int increment_ = 10;
    int edgeSize_ = 2;
    int numThumbStates_ = 2;
    TBevelCut bevelStyle_ = bvNone;
    TSliderOrientation orientation_ = TSliderOrientation::soHorizontal;
    TSliderOptions options_{TSliderOption::soShowFocus, TSliderOption::soShowPoints, TSliderOption::soSmooth};

    std::array<std::unique_ptr<TBitmap>, SliderImageCount> images_;
    std::uint8_t userImageMask_ = 0;
    std::unique_ptr<TBitmap> ruler_;
    int rulerWidth_ = 0; // the laid-out ruler's size, also when it holds no pixels
    int rulerHeight_ = 0;

    TSliderLayout layout_;
    QSize laidOutSize_;
    TRect thumbRect_;

    bool creating_ = true;
    bool thumbDown_ = false;
    bool sliding_ = false;
    int hitOffset_ = 0;
    bool hasFocus_ = false;
    QPointer<QWindow> focusWindow_; // the window whose focused control is watched
    QMetaObject::Connection focusWatch_;
    bool tracking_ = false;
    QBasicTimer timer_;
    TPoint mousePos_;
    TSliderStep startStep_ = skNone;
    bool cursorOverThumb_ = false;
    bool paintingCopy_ = false;

    qreal bufferRatio_ = 1;
    QImage buffer_;
    TCanvas canvas_{&buffer_};
};

// The published form of the slider; adds nothing.
class TImageSlider : public TCustomImageSlider {
    Q_OBJECT
public:
    explicit TImageSlider(QWidget* parent = nullptr) : TCustomImageSlider(parent) {}
};
