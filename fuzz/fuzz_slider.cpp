// The image slider driven by a stream of property writes, images, sizes and
// input events. After every step the value model and the thumb placement
// must hold: MinValue < MaxValue, the value inside the range, the increment
// inside 1..span, and the thumb on its travel (at the origin without one)
// and inside a control that is big enough for it. ASan watches every pixel
// the painting and the ruler layout touch.
#include "framework/application.h"
#include "framework/exception.h"
#include "framework/stdctrls.h"
#include "widgets/slider/imageslider.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimerEvent>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>

namespace {

TApplication* app = nullptr;
QWidget* window = nullptr;

// The repeat timer's step runs after a wait of 400 ms; the fuzzer does not
// wait, it takes the step itself while the button is held.
class TFuzzSlider : public TImageSlider {
public:
    using TImageSlider::TImageSlider;
    void RepeatStep() { RulerRepeat(); }
};

class TInput {
public:
    TInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool AtEnd() const { return pos_ >= size_; }
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    // Big-endian; one byte after the other, as the operands of | are unsequenced.
    std::uint32_t Bytes(int count)
    {
        std::uint32_t v = 0;
        for (int i = 0; i < count; ++i)
            v = v << 8 | Byte();
        return v;
    }
    int Short() { return std::int16_t(std::uint16_t(Bytes(2))); }
    int Word() { return int(Bytes(4)); }
    // Any int, the extremes and small values more often than not.
    int Int()
    {
        constexpr int Lowest = std::numeric_limits<int>::min(), Highest = std::numeric_limits<int>::max();
        static constexpr int Special[] = {0, 1, -1, 2, Lowest, Highest, Lowest + 1, Highest - 1};
        switch (Byte() & 3) {
        case 0:
            return std::int8_t(Byte());
        case 1:
            return Special[Byte() % std::size(Special)];
        case 2:
            return Short();
        default:
            return Word();
        }
    }
    // A side of a control: mostly small, up to 2000 pixels.
    int Side()
    {
        const int v = Byte();
        return v & 0x80 ? (((v & 0x7F) << 8 | Byte()) % 2001) : v & 0x7F;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

const char* currentStep = "";

[[noreturn]] void Fail(const TCustomImageSlider& s, const char* what)
{
    const TRect& t = s.ThumbRect();
    std::fprintf(stderr,
                 "image slider after %s: %s\n"
                 "  range %d..%d, value %d, increment %d, size %dx%d, orientation %d, bevel %d, states %d,"
                 " edge %d, options 0x%x, visible %d\n"
                 "  thumb (%d, %d)-(%d, %d), origin %d, travel %d\n",
                 currentStep, what, s.MinValue(), s.MaxValue(), s.Value(), s.Increment(), s.width(), s.height(),
                 int(s.Orientation()), int(s.BevelStyle()), s.NumThumbStates(), s.EdgeSize(),
                 unsigned(s.Options().Bits()), int(s.isVisible()), t.Left, t.Top, t.Right, t.Bottom, s.Scale().Origin,
                 s.TravelLength());
    std::abort();
}

void CheckInvariants(const TCustomImageSlider& s)
{
    const qint64 min = s.MinValue(), max = s.MaxValue();
    if (min >= max)
        Fail(s, "MinValue is not below MaxValue");
    if (s.Value() < min || s.Value() > max)
        Fail(s, "Value outside MinValue..MaxValue");
    if (s.Increment() < 1 || s.Increment() > max - min)
        Fail(s, "Increment outside 1..MaxValue - MinValue");

    const bool horizontal = s.Orientation() == TSliderOrientation::soHorizontal;
    const TSliderScale scale = s.Scale();
    const TRect& t = s.ThumbRect();
    const int leading = horizontal ? t.Left : t.Top;
    if (scale.TravelLength <= 0) {
        if (leading != scale.Origin)
            Fail(s, "without travel the thumb left the origin");
    } else if (leading < scale.Origin || qint64(leading) > qint64(scale.Origin) + scale.TravelLength) {
        Fail(s, "the thumb left its travel");
    }

    // A hidden control hears of a new size only when it is shown again.
    if (!s.isVisible())
        return;
    const TRect inner = s.GetInnerRect();
    const TBitmap& thumb = *(horizontal ? s.ImageHThumb() : s.ImageVThumb());
    const TBitmap& ruler = *(horizontal ? s.ImageHRuler() : s.ImageVRuler());
    const int thumbWidth = thumb.Width() / s.NumThumbStates();
    const int thumbHeight = thumb.Height();
    if (t.Width() != thumbWidth || t.Height() != thumbHeight)
        Fail(s, "the thumb rectangle is not the size of one thumb state");
    const int along = horizontal ? inner.Width() : inner.Height();
    const int across = horizontal ? inner.Height() : inner.Width();
    const int thumbAlong = horizontal ? thumbWidth : thumbHeight;
    const int rulerLength = std::max(along - 2 * SliderMargin, 0);
    if (scale.Origin != (horizontal ? inner.Left : inner.Top) + SliderMargin ||
        scale.TravelLength != rulerLength - thumbAlong)
        Fail(s, "the layout does not follow the current size and images");

    // Big enough: the thumb, and across the axis the ruler too, fit between
    // the margins.
    const int thumbAcross = horizontal ? thumbHeight : thumbWidth;
    const int rulerAcross = horizontal ? ruler.Height() : ruler.Width();
    const bool bigEnough =
        along >= 2 * SliderMargin + thumbAlong && across >= 2 * SliderMargin + std::max(thumbAcross, rulerAcross);
    if (bigEnough && (t.Left < 0 || t.Top < 0 || t.Right > s.width() || t.Bottom > s.height()))
        Fail(s, "the thumb lies outside a control big enough for it");
}

QImage ImageFrom(TInput& in)
{
    static constexpr QRgb Colours[8] = {qRgb(255, 0, 255),   qRgb(0, 0, 0),   qRgb(255, 255, 255), qRgb(128, 128, 128),
                                        qRgb(192, 192, 192), qRgb(255, 0, 0), qRgb(0, 255, 0),     qRgb(0, 0, 255)};
    static constexpr QImage::Format Formats[] = {QImage::Format_RGB32,      QImage::Format_ARGB32,
                                                 QImage::Format_Indexed8,   QImage::Format_Mono,
                                                 QImage::Format_Grayscale8, QImage::Format_RGB888};
    const int w = in.Byte() % 65;
    const int h = in.Byte() % 65;
    const QImage::Format format = Formats[in.Byte() % std::size(Formats)];
    if (w == 0 || h == 0)
        return {};
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, Colours[in.Byte() & 7]);
    return format == QImage::Format_RGB32 ? image : image.convertToFormat(format);
}

// A point from the input: anywhere, or near the thumb or the ruler, where a
// random point seldom falls.
QPoint PointFrom(TInput& in, const TCustomImageSlider& s)
{
    const int mode = in.Byte() % 3;
    if (mode == 0)
        return {in.Short(), in.Short()};
    const int dx = std::int8_t(in.Byte()), dy = std::int8_t(in.Byte());
    if (mode == 1) {
        const TRect& t = s.ThumbRect();
        return {(t.Left + t.Right) / 2 + dx, (t.Top + t.Bottom) / 2 + dy};
    }
    return {s.RulerOrigin().X + dx, s.RulerOrigin().Y + dy};
}

Qt::KeyboardModifiers ModifiersFrom(std::uint8_t bits)
{
    Qt::KeyboardModifiers m;
    m.setFlag(Qt::ShiftModifier, bits & 1);
    m.setFlag(Qt::ControlModifier, bits & 2);
    m.setFlag(Qt::AltModifier, bits & 4);
    m.setFlag(Qt::KeypadModifier, bits & 8);
    return m;
}

void SendMouse(TFuzzSlider& s, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers)
{
    QMouseEvent event(type, QPointF(p), s.mapToGlobal(QPointF(p)), button, held, modifiers);
    QCoreApplication::sendEvent(&s, &event);
}

// The repeat timer's own event, as the event loop would deliver it.
void SendTimerEvents(TFuzzSlider& s)
{
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        for (const QAbstractEventDispatcher::TimerInfo& timer : dispatcher->registeredTimers(&s)) {
            QTimerEvent event(timer.timerId);
            QCoreApplication::sendEvent(&s, &event);
        }
}

void Step(TFuzzSlider& s, TInput& in, Qt::MouseButtons& held)
{
    static constexpr Qt::MouseButton Buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    static constexpr int Keys[] = {Qt::Key_Home, Qt::Key_End,    Qt::Key_Left,     Qt::Key_Right, Qt::Key_Up,
                                   Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Tab,   Qt::Key_A};
    static constexpr Qt::FocusReason Reasons[] = {
        Qt::MouseFocusReason, Qt::TabFocusReason,      Qt::BacktabFocusReason, Qt::ActiveWindowFocusReason,
        Qt::PopupFocusReason, Qt::ShortcutFocusReason, Qt::MenuBarFocusReason, Qt::OtherFocusReason};
    switch (in.Byte() % 27) {
    case 0: {
        currentStep = "SetRange";
        const int oldMin = s.MinValue(), oldMax = s.MaxValue(), oldValue = s.Value();
        const int newMin = in.Int(), newMax = in.Int();
        s.SetRange(newMin, newMax);
        const bool taken = newMax > newMin;
        if (s.MinValue() != (taken ? newMin : oldMin) || s.MaxValue() != (taken ? newMax : oldMax))
            Fail(s, "the range is not the one written, or an empty or inverted one was taken");
        // While the thumb is held, the value follows the thumb's snapped position.
        if (!s.Sliding() && s.Value() != std::clamp(oldValue, s.MinValue(), s.MaxValue()))
            Fail(s, "the value is not the old one clamped to the range");
        break;
    }
    case 1:
        currentStep = "SetMinValue";
        s.SetMinValue(in.Int());
        break;
    case 2:
        currentStep = "SetMaxValue";
        s.SetMaxValue(in.Int());
        break;
    case 3: {
        currentStep = "SetIncrement";
        const int old = s.Increment();
        const int value = in.Int();
        const bool valid = value >= 1 && value <= qint64(s.MaxValue()) - s.MinValue();
        try {
            s.SetIncrement(value);
            if (!valid || s.Increment() != value)
                Fail(s, "an increment outside 1..span was taken, or a valid one was not");
        } catch (const Exception&) {
            if (valid || s.Increment() != old)
                Fail(s, "a valid increment raised an error, or an error changed the increment");
        }
        break;
    }
    case 4: {
        currentStep = "SetValue";
        const int value = in.Int();
        s.SetValue(value);
        if (!s.Sliding() && s.Value() != std::clamp(value, s.MinValue(), s.MaxValue()))
            Fail(s, "SetValue does not clamp the value to the range");
        break;
    }
    case 5:
        currentStep = "SetEdgeSize";
        s.SetEdgeSize(in.Int());
        break;
    case 6:
        currentStep = "SetOrientation";
        s.SetOrientation(in.Byte() & 1 ? TSliderOrientation::soVertical : TSliderOrientation::soHorizontal);
        break;
    case 7:
        currentStep = "SetOptions";
        s.SetOptions(TSliderOptions::FromBits(in.Byte()));
        break;
    case 8:
        currentStep = "SetNumThumbStates";
        s.SetNumThumbStates(in.Byte() % 4);
        break;
    case 9:
        currentStep = "SetBevelStyle";
        s.SetBevelStyle(TBevelCut(in.Byte() % 4));
        break;
    case 10: {
        currentStep = "resize";
        const int w = in.Side();
        s.resize(w, in.Side());
        break;
    }
    case 11: {
        currentStep = "SetImage";
        const int index = int(in.Byte() % 6) - 1; // -1 and 4 name no image
        s.SetImage(index, ImageFrom(in));
        break;
    }
    case 12:
        currentStep = "SetImage(null)";
        s.SetImage(int(in.Byte() % 6) - 1, static_cast<const TBitmap*>(nullptr));
        break;
    case 13:
        // The holder changed in place re-lays the slider.
        currentStep = "image SetSize in place";
        if (TBitmap* image = s.Image(in.Byte() % 4)) {
            const int w = in.Byte() % 65;
            image->SetSize(w, in.Byte() % 65);
        }
        break;
    case 14: {
        currentStep = "mouse press";
        const Qt::MouseButton button = Buttons[in.Byte() % 3];
        const QPoint p = PointFrom(in, s);
        held |= button;
        SendMouse(s, QEvent::MouseButtonPress, p, button, held, ModifiersFrom(in.Byte()));
        break;
    }
    case 15: {
        currentStep = "mouse move";
        const QPoint p = PointFrom(in, s);
        const int value = s.Value();
        const bool noTravel = s.TravelLength() <= 0;
        SendMouse(s, QEvent::MouseMove, p, Qt::NoButton, held, ModifiersFrom(in.Byte()));
        if (noTravel && s.TravelLength() <= 0 && s.Value() != value)
            Fail(s, "a drag changed the value of a slider without travel");
        break;
    }
    case 16: {
        currentStep = "mouse release";
        const Qt::MouseButton button = Buttons[in.Byte() % 3];
        const QPoint p = PointFrom(in, s);
        held &= ~button;
        SendMouse(s, QEvent::MouseButtonRelease, p, button, held, ModifiersFrom(in.Byte()));
        // A disabled control is not told of the release.
        if (s.isEnabled()) {
            if (s.Tracking() || s.TimerRunning())
                Fail(s, "a release did not end the ruler press");
            if (button == Qt::LeftButton && (s.Sliding() || s.ThumbDown()))
                Fail(s, "a left release did not end the thumb drag");
        }
        break;
    }
    case 17: {
        currentStep = "double click";
        const Qt::MouseButton button = Buttons[in.Byte() % 3];
        const QPoint p = PointFrom(in, s);
        held |= button;
        SendMouse(s, QEvent::MouseButtonDblClick, p, button, held, ModifiersFrom(in.Byte()));
        break;
    }
    case 18: {
        currentStep = "key press";
        const int key = Keys[in.Byte() % std::size(Keys)];
        QKeyEvent event(QEvent::KeyPress, key, ModifiersFrom(in.Byte()));
        QCoreApplication::sendEvent(&s, &event);
        break;
    }
    case 19: {
        currentStep = "focus in";
        QFocusEvent event(QEvent::FocusIn, Reasons[in.Byte() % std::size(Reasons)]);
        QCoreApplication::sendEvent(&s, &event);
        if (!s.HasFocus())
            Fail(s, "focus in not tracked");
        break;
    }
    case 20: {
        currentStep = "focus out";
        const Qt::FocusReason reason = Reasons[in.Byte() % std::size(Reasons)];
        QFocusEvent event(QEvent::FocusOut, reason);
        QCoreApplication::sendEvent(&s, &event);
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && s.HasFocus())
            Fail(s, "focus out not tracked");
        break;
    }
    case 21:
        // What the repeat timer does: step while the left button is held,
        // end the press once it is up.
        currentStep = "repeat timer";
        if (s.TimerRunning()) {
            if (held & Qt::LeftButton)
                s.RepeatStep();
            else
                SendTimerEvents(s);
        }
        break;
    case 22: {
        currentStep = "Paint";
        s.Paint();
        const QSize expected = s.width() > 0 && s.height() > 0 ? s.size() : QSize(0, 0);
        if (s.Buffer().size() != expected)
            Fail(s, "the buffer is not the size of the control");
        break;
    }
    case 23: {
        currentStep = "PaintCopy";
        const QImage copy = s.PaintCopy();
        if (copy.size() != s.Buffer().size())
            Fail(s, "the copy is not the size of the buffer");
        break;
    }
    case 24:
        currentStep = "setEnabled";
        s.setEnabled(in.Byte() & 1);
        break;
    case 25:
        currentStep = "setVisible";
        s.setVisible(in.Byte() & 1);
        break;
    default:
        currentStep = "StepValue";
        s.StepValue(TSliderStep(in.Byte() % 5));
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = new TApplication(*argc, *argv);
    InitSliderModule();
    // No handler is set on the slider, so nothing may fail inside an event.
    TApplication::SetErrorReporter([](const QString& message) {
        std::fprintf(stderr, "error raised inside an event after %s: %s\n", currentStep, qPrintable(message));
        std::abort();
    });
    window = new QWidget;
    window->resize(400, 300);
    window->show();
    QApplication::setActiveWindow(window);
    QCoreApplication::processEvents();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TInput in(data, size);
    auto slider = std::make_unique<TFuzzSlider>(window);
    slider->show();
    Qt::MouseButtons held;
    currentStep = "construction";
    CheckInvariants(*slider);
    // Bounded, so that large sizes painted often stay quick.
    for (int steps = 0; steps < 256 && !in.AtEnd(); ++steps) {
        Step(*slider, in, held);
        CheckInvariants(*slider);
    }
    return 0;
}
