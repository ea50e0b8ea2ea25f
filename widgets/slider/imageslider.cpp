#include "widgets/slider/imageslider.h"

#include "framework/application.h"
#include "framework/devicegrid.h"
#include "framework/exception.h"
#include "framework/palette.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QWindow>
#include <QtMath>

#include <utility>

namespace {

QPoint EventPoint(const QPointF& p)
{
    return {qFloor(p.x()), qFloor(p.y())};
}

// Every edge of the rectangle counted as inside.
bool OnOrInside(const TRect& r, int x, int y)
{
    return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
}

} // namespace

TCustomImageSlider::TCustomImageSlider(QWidget* parent) : QWidget(parent), TControl(this)
{
    InitSliderResources();
    // The control paints every pixel of its area itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button pressed set the hand cursor over the thumb.
    setMouseTracking(true);
    // TabStop; a left press takes the focus itself, other buttons do not.
    setFocusPolicy(Qt::TabFocus);
    resize(150, 40);
    ruler_ = std::make_unique<TBitmap>();
    for (int i = 0; i < SliderImageCount; ++i)
        SetImage(i, nullptr);
    RebuildLayout();
    creating_ = false;
}

TCustomImageSlider::~TCustomImageSlider()
{
    // The window's focus may change while the widget is torn down; it must
    // not reach this half-destroyed control.
    disconnect(focusWatch_);
    timer_.stop();
}

// --- Value and range ------------------------------------------------------

void TCustomImageSlider::SetValue(int value)
{
    if (value > maxValue_)
        value = maxValue_;
    if (value < minValue_)
        value = minValue_;
    const bool changed = value != value_;
    value_ = value;
    MoveThumb(ValueToPos(value));
    if (changed)
        DoChange();
}

void TCustomImageSlider::SetMinValue(int value)
{
    if (value != minValue_)
        SetRange(value, maxValue_);
}

void TCustomImageSlider::SetMaxValue(int value)
{
    if (value != maxValue_)
        SetRange(minValue_, value);
}

void TCustomImageSlider::SetRange(int newMin, int newMax)
{
    // While loading, the ends arrive one at a time and may cross for a moment.
    if (newMax <= newMin && !Loading())
        return;
    minValue_ = newMin;
    maxValue_ = newMax;
    if (!Loading() && qint64(newMax) < qint64(newMin) + increment_)
        increment_ = newMax - newMin;
    if (options_.Contains(TSliderOption::soShowPoints))
        update();
    SetValue(value_);
    AfterRangeChange();
}

void TCustomImageSlider::SetIncrement(int value)
{
    const qint64 span = qint64(maxValue_) - minValue_;
    if (!Loading() && (value > span || value < 1))
        throw Exception(QStringLiteral("Value must be between %1 and %2").arg(1).arg(span));
    if (value > 0 && value != increment_) {
        increment_ = value;
        SetValue(value_);
        update();
    }
}

// --- Look -------------------------------------------------------------------

void TCustomImageSlider::SetBevelStyle(TBevelCut value)
{
    if (!StoreChanged(bevelStyle_, value))
        return;
    // Child controls are laid out inside the bevel.
    const int inset = value != bvNone ? BevelWidth() : 0;
    setContentsMargins(inset, inset, inset, inset);
    Relayout();
    RepaintNow();
}

void TCustomImageSlider::SetEdgeSize(int value)
{
    const TBitmap* ruler = RulerImage();
    const int length = orientation_ == TSliderOrientation::soHorizontal ? ruler->Width() : ruler->Height();
    if (2 * qint64(value) < length && value != edgeSize_) {
        edgeSize_ = value;
        Relayout();
    }
}

void TCustomImageSlider::SetNumThumbStates(int value)
{
    if (value < 1 || value > 2 || value == numThumbStates_)
        return;
    numThumbStates_ = value;
    Relayout();
}

void TCustomImageSlider::SetOrientation(TSliderOrientation value)
{
    if (!StoreChanged(orientation_, value))
        return;
    Relayout();
    if (!Loading()) {
        setGeometry(x(), y(), height(), width());
        // A hidden control hears of its new size only when it is shown.
        if (!isVisible())
            RebuildLayout();
    }
}

void TCustomImageSlider::SetOptions(TSliderOptions value)
{
    if (StoreChanged(options_, value))
        update();
}

void TCustomImageSlider::SetColor(TColor color)
{
    if (!ParentColor() && color == Color())
        return;
    // The face is painted from the colour itself; the palette matters only to
    // child controls, and is brought up to date when one is added.
    if (findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        TControl::SetColor(color);
    else
        KeepColor(color);
    update();
}

void TCustomImageSlider::childEvent(QChildEvent* event)
{
    if (event->added() && event->child()->isWidgetType() && !ParentColor())
        ApplyColor();
    QWidget::childEvent(event);
}

TColor TCustomImageSlider::FaceColor() const
{
    return ParentColor() ? FromQColor(palette().color(QPalette::Active, QPalette::Window)) : Color();
}

// --- Images -----------------------------------------------------------------

TBitmap* TCustomImageSlider::Image(int index) const
{
    return index >= 0 && index < SliderImageCount ? images_[size_t(index)].get() : nullptr;
}

TBitmap& TCustomImageSlider::Holder(int index)
{
    auto& holder = images_[size_t(index)];
    if (!holder) {
        holder = std::make_unique<TBitmap>();
        holder->OnChange = [this](TBitmap*) { ImageChanged(); };
    }
    return *holder;
}

void TCustomImageSlider::ImageChanged()
{
    if (!creating_)
        Relayout();
}

void TCustomImageSlider::Relayout()
{
    // While a description is read, the end of loading lays the control out
    // once with everything read.
    if (!Loading())
        RebuildLayout();
}

bool TCustomImageSlider::IsUserImage(int index) const
{
    return index >= 0 && index < SliderImageCount && (userImageMask_ & (1u << index)) != 0;
}

void TCustomImageSlider::SetImage(int index, const TBitmap* picture)
{
    if (index < 0 || index >= SliderImageCount)
        return;
    TBitmap& holder = Holder(index);
    if (!picture) {
        RestoreBuiltInImage(index);
        return;
    }
    // Copying a holder onto itself still counts as a change.
    if (picture == &holder)
        holder.Changed();
    else
        holder.Assign(*picture);
    userImageMask_ = std::uint8_t(userImageMask_ | (1u << index));
}

void TCustomImageSlider::SetImage(int index, const QImage& picture)
{
    TBitmap bitmap;
    bitmap.Assign(picture);
    SetImage(index, &bitmap);
}

void TCustomImageSlider::RestoreBuiltInImage(int index)
{
    Holder(index).Assign(BuiltInImage(index));
    userImageMask_ = std::uint8_t(userImageMask_ & ~(1u << index));
    if (!Loading()) {
        // The built-in images need their transparent background.
        options_ = options_.Without(index == siHThumb || index == siVThumb ? TSliderOption::soThumbOpaque
                                                                           : TSliderOption::soRulerOpaque);
        update();
    }
}

const TBitmap* TCustomImageSlider::ThumbImage() const
{
    return images_[orientation_ == TSliderOrientation::soHorizontal ? siHThumb : siVThumb].get();
}

const TBitmap* TCustomImageSlider::RulerImage() const
{
    return images_[orientation_ == TSliderOrientation::soHorizontal ? siHRuler : siVRuler].get();
}

// --- Stored form hooks --------------------------------------------------

bool TCustomImageSlider::ShouldWriteUserImages(const TCustomImageSlider* ancestor) const
{
    return ancestor ? userImageMask_ != ancestor->userImageMask_ : userImageMask_ != 0;
}

QByteArray TCustomImageSlider::WriteUserImages() const
{
    return QByteArray(1, char(userImageMask_));
}

void TCustomImageSlider::ReadUserImages(const QByteArray& data)
{
    if (!data.isEmpty())
        userImageMask_ = std::uint8_t(std::uint8_t(data.at(0)) & ((1u << SliderImageCount) - 1));
}

void TCustomImageSlider::Loaded()
{
    TControl::Loaded();
    // A description that names the ends of the range the wrong way round
    // gets them in order; the checks were skipped while reading.
    if (maxValue_ < minValue_)
        std::swap(minValue_, maxValue_);
    for (int i = 0; i < SliderImageCount; ++i)
        if (IsUserImage(i))
            SetImage(i, images_[size_t(i)].get());
    // The size was set while reading, without a layout.
    RebuildLayout();
}

// --- Layout and mapping ---------------------------------------------------

TRect TCustomImageSlider::GetInnerRect() const
{
    const TRect client{0, 0, width(), height()};
    return bevelStyle_ != bvNone ? client.Inflated(-BevelWidth(), -BevelWidth()) : client;
}

TSliderScale TCustomImageSlider::Scale() const
{
    TSliderScale s;
    s.Orientation = orientation_;
    s.Origin = layout_.Origin;
    s.TravelLength = layout_.TravelLength;
    s.MinValue = minValue_;
    s.MaxValue = maxValue_;
    s.Increment = increment_;
    s.Smooth = options_.Contains(TSliderOption::soSmooth);
    return s;
}

void TCustomImageSlider::BuildRuler(const TRect& inner)
{
    const TBitmap& source = *RulerImage();
    const int length = RulerLength(orientation_, inner);
    const bool horizontal = orientation_ == TSliderOrientation::soHorizontal;
    rulerWidth_ = horizontal ? length : source.Width();
    rulerHeight_ = horizontal ? source.Height() : length;
    auto ruler = std::make_unique<TBitmap>(rulerWidth_, rulerHeight_);
    const int sourceLength = horizontal ? source.Width() : source.Height();
    for (const TRulerStrip& s : RulerStrips(length, sourceLength, edgeSize_)) {
        if (horizontal)
            ruler->Canvas().Draw(s.Dest, 0, source, TRect{s.Source, 0, s.Source + s.Length, source.Height()});
        else
            ruler->Canvas().Draw(0, s.Dest, source, TRect{0, s.Source, source.Width(), s.Source + s.Length});
    }
    // The laid-out ruler leaves out what the ruler image leaves out, also
    // where that is not the colour of its bottom-left pixel.
    if (source.Monochrome() || source.TransparentMode() == tmFixed)
        ruler->SetTransparentColor(source.TransparentColor());
    ruler_ = std::move(ruler);
}

void TCustomImageSlider::RebuildLayout()
{
    const int value = value_;
    const TRect inner = GetInnerRect();
    BuildRuler(inner);
    const TBitmap& thumb = *ThumbImage();
    layout_ =
        LayoutSlider(orientation_, inner, thumb.Width() / numThumbStates_, thumb.Height(), rulerWidth_, rulerHeight_);
    laidOutSize_ = size();
    thumbRect_ = layout_.ThumbRect;
    SetValue(value);
    update();
}

TPoint TCustomImageSlider::SnapThumbPos(int& pos) const
{
    pos = Scale().SnapPos(pos);
    return orientation_ == TSliderOrientation::soHorizontal ? TPoint{pos, thumbRect_.Top}
                                                            : TPoint{thumbRect_.Left, pos};
}

void TCustomImageSlider::MoveThumb(int pos)
{
    const int old = value_;
    const TPoint point = SnapThumbPos(pos);
    InvalidateThumb();
    thumbRect_ = Bounds(point.X, point.Y, thumbRect_.Width(), thumbRect_.Height());
    InvalidateThumb();
    // A control too short for its thumb has no positions to choose a value from.
    if (sliding_ && layout_.TravelLength > 0) {
        value_ = PosToValue(pos);
        if (value_ != old)
            DoChange();
    }
}

void TCustomImageSlider::InvalidateThumb()
{
    update(QRect(thumbRect_.Left, thumbRect_.Top, thumbRect_.Width(), thumbRect_.Height()));
}

void TCustomImageSlider::RepaintNow()
{
    repaint();
}

// --- Events raised ----------------------------------------------------------

void TCustomImageSlider::DoChange()
{
    // Screen readers hear of the new value before any handler can fail.
    // Without one listening nothing is sent: asking for the interface would
    // load the accessibility plugins, which start-up cannot afford.
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, value_);
        QAccessible::updateAccessibility(&event);
    }
    if (OnChange)
        OnChange(this);
}

void TCustomImageSlider::DoChanged()
{
    if (OnChanged)
        OnChanged(this);
}

// --- Input ------------------------------------------------------------------

void TCustomImageSlider::StepValue(TSliderStep step)
{
    const std::optional<int> target = StepTarget(step, value_, minValue_, maxValue_, increment_);
    if (target && *target != value_)
        SetValue(*target);
}

TSliderStep TCustomImageSlider::StepAt(int x, int y) const
{
    if (orientation_ == TSliderOrientation::soHorizontal) {
        if (x < thumbRect_.Left)
            return skDown;
        if (x > thumbRect_.Right)
            return skUp;
    } else {
        if (y < thumbRect_.Top)
            return skUp;
        if (y > thumbRect_.Bottom)
            return skDown;
    }
    return skNone;
}

bool TCustomImageSlider::InRulerZone(int x, int y) const
{
    if (rulerWidth_ <= 0 || rulerHeight_ <= 0)
        return false;
    const TRect ruler = Bounds(layout_.RulerOrigin.X, layout_.RulerOrigin.Y, rulerWidth_, rulerHeight_);
    const TRect zone = orientation_ == TSliderOrientation::soHorizontal ? ruler.Inflated(0, 3) : ruler.Inflated(3, 0);
    return OnOrInside(zone, x, y);
}

void TCustomImageSlider::TakeFocus()
{
    if (isEnabled() && isVisible() && !hasFocus())
        setFocus(Qt::MouseFocusReason);
}

void TCustomImageSlider::ThumbPressed(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y)
{
    TakeFocus();
    if (button != Qt::LeftButton || !CanChangeValue())
        return;
    sliding_ = true;
    thumbDown_ = true;
    hitOffset_ = orientation_ == TSliderOrientation::soHorizontal ? x - thumbRect_.Left : y - thumbRect_.Top;
    InvalidateThumb();
    RepaintNow();
}

void TCustomImageSlider::ThumbDragged(Qt::KeyboardModifiers, int x, int y)
{
    if (CanChangeValue())
        MoveThumb((orientation_ == TSliderOrientation::soHorizontal ? x : y) - hitOffset_);
}

void TCustomImageSlider::ThumbReleased(Qt::MouseButton button, Qt::KeyboardModifiers, int, int)
{
    if (button != Qt::LeftButton)
        return;
    sliding_ = false;
    thumbDown_ = false;
    InvalidateThumb();
    RepaintNow();
    if (CanChangeValue())
        DoChanged();
}

void TCustomImageSlider::PressRuler(int x, int y)
{
    if (!InRulerZone(x, y) || !CanChangeValue())
        return;
    tracking_ = true;
    mousePos_ = {x, y};
    startStep_ = StepAt(x, y);
    RepeatGuarded();
}

void TCustomImageSlider::RulerRepeat()
{
    if (StepAt(mousePos_.X, mousePos_.Y) != startStep_)
        return;
    StepValue(startStep_);
    if (!timer_.isActive())
        timer_.start(RepeatInterval, Qt::PreciseTimer, this);
}

void TCustomImageSlider::RepeatGuarded()
{
    // A handler that fails during a step shows a message; the press must end
    // before that, or the timer would go on stepping (and failing) behind it.
    try {
        RulerRepeat();
    } catch (...) {
        AbortRulerPress();
        throw;
    }
}

void TCustomImageSlider::EndRulerPress()
{
    if (!tracking_)
        return;
    AbortRulerPress();
    DoChanged();
}

void TCustomImageSlider::AbortRulerPress()
{
    timer_.stop();
    tracking_ = false;
}

void TCustomImageSlider::UpdateCursor(int x, int y)
{
    // The same rule as a press: every edge of the thumb is on it.
    const bool over = OnOrInside(thumbRect_, x, y);
    if (!StoreChanged(cursorOverThumb_, over))
        return;
    if (over)
        setCursor(Screen::Cursor(crSliderHand));
    else
        TControl::SetCursorId(Cursor());
}

// --- Qt events ----------------------------------------------------------

void TCustomImageSlider::mousePressEvent(QMouseEvent* event)
{
    MousePressed(event);
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = EventPoint(event->position());
    Guard([&] {
        TakeFocus();
        if (OnOrInside(thumbRect_, p.x(), p.y()))
            ThumbPressed(event->button(), event->modifiers(), p.x(), p.y());
        else
            PressRuler(p.x(), p.y());
    });
}

void TCustomImageSlider::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click neither drags nor steps.
    MousePressed(event);
    event->accept();
}

void TCustomImageSlider::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint p = EventPoint(event->position());
    Guard([&] {
        if ((event->buttons() & Qt::LeftButton) && sliding_)
            ThumbDragged(event->modifiers(), p.x(), p.y());
        else if (tracking_)
            mousePos_ = {p.x(), p.y()};
        UpdateCursor(p.x(), p.y());
    });
    MouseMoved(event);
}

void TCustomImageSlider::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint p = EventPoint(event->position());
    Guard([&] {
        EndRulerPress();
        if (sliding_)
            ThumbReleased(event->button(), event->modifiers(), p.x(), p.y());
    });
    MouseReleased(event);
}

void TCustomImageSlider::keyPressEvent(QKeyEvent* event)
{
    TSliderStep step = skNone;
    if (!(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
        // The step of each key on a horizontal and on a vertical slider.
        struct TKeyStep {
            int Key;
            TSliderStep Horizontal, Vertical;
        };
        static constexpr TKeyStep steps[] = {
            {Qt::Key_Home, skToMin, skToMin}, {Qt::Key_End, skToMax, skToMax}, {Qt::Key_Left, skDown, skNone},
            {Qt::Key_Right, skUp, skNone},    {Qt::Key_Up, skNone, skUp},      {Qt::Key_Down, skNone, skDown},
        };
        for (const TKeyStep& s : steps)
            if (s.Key == event->key())
                step = orientation_ == TSliderOrientation::soHorizontal ? s.Horizontal : s.Vertical;
    }
    if (step == skNone || !CanChangeValue()) {
        if (KeyPressed(event, event->key()))
            QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    Guard([&] {
        StepValue(step);
        DoChanged();
    });
    KeyPressed(event, 0); // the key was taken
}

void TCustomImageSlider::keyReleaseEvent(QKeyEvent* event)
{
    if (KeyReleased(event))
        QWidget::keyReleaseEvent(event);
}

void TCustomImageSlider::focusInEvent(QFocusEvent*)
{
    SetHasFocus(true);
}

void TCustomImageSlider::focusOutEvent(QFocusEvent* event)
{
    // Another window or a popup taking the focus leaves this control the
    // focused one of its window.
    if (MovesBetweenControls(this, event))
        SetHasFocus(false);
}

void TCustomImageSlider::SetHasFocus(bool now)
{
    if (!StoreChanged(hasFocus_, now))
        return;
    if (options_.Contains(TSliderOption::soShowFocus))
        update();
}

void TCustomImageSlider::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    WatchWindowFocus();
}

void TCustomImageSlider::WatchWindowFocus()
{
    // While its window is not active, the focus moves from control to control
    // without focus events; the window still names its new focused control.
    QWindow* handle = window()->windowHandle();
    if (handle == focusWindow_)
        return;
    disconnect(focusWatch_);
    focusWindow_ = handle;
    if (handle)
        focusWatch_ = connect(handle, &QWindow::focusObjectChanged, this,
                              [this](QObject* focused) { SetHasFocus(focused == this); });
}

void TCustomImageSlider::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    Guard([&] {
        if (event->type() == QEvent::EnabledChange)
            InvalidateThumb(); // the thumb shows its second state while disabled
        else if (event->type() == QEvent::PaletteChange)
            update(); // the face colour may have changed
    });
}

void TCustomImageSlider::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Guard([this] {
        // The resize a control hears when first shown often brings the size
        // it was laid out for already.
        if (!Loading() && size() != laidOutSize_)
            RebuildLayout();
        AlignControls(this);
    });
}

void TCustomImageSlider::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != timer_.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    Guard([this] {
        // The release can go elsewhere (a window opened by a handler takes
        // the mouse); the press is over once the button is up.
        if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
            EndRulerPress();
            return;
        }
        RepeatGuarded();
    });
}

void TCustomImageSlider::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    const QPoint p = EventPoint(event->position());
    Guard([&] { UpdateCursor(p.x(), p.y()); });
}

// --- Painting ---------------------------------------------------------------

void TCustomImageSlider::paintEvent(QPaintEvent* event)
{
    Guard([&] {
        QPainter painter(this);
        // At a whole device pixel ratio the logical picture is enlarged, every
        // pixel a block; between whole ratios that would make one-pixel lines
        // alternately one and two device pixels wide, so the picture is drawn
        // on the device pixels themselves.
        const qreal ratio = PaintDeviceRatio(painter);
        bufferRatio_ = IsFractionalRatio(ratio) ? ratio : 1;
        Paint();
        if (buffer_.isNull())
            return;
        // One copy of the finished picture, without smoothing.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (bufferRatio_ == 1)
            painter.drawImage(event->rect(), buffer_, event->rect());
        else
            painter.drawImage(QPoint(0, 0), buffer_);
    });
}

void TCustomImageSlider::Paint()
{
    const int w = width();
    const int h = height();
    const TDeviceGrid grid(bufferRatio_);
    const QSize size = bufferRatio_ == 1 ? QSize(w, h) : QSize(grid.Length(w), grid.Length(h));
    if (buffer_.size() != size || buffer_.devicePixelRatio() != bufferRatio_) {
        buffer_ = w > 0 && h > 0 ? QImage(size, QImage::Format_RGB32) : QImage();
        buffer_.setDevicePixelRatio(bufferRatio_);
    }
    if (buffer_.isNull())
        return;

    TPoint thumbPoint = thumbRect_.TopLeft();
    if (paintingCopy_) {
        int pos = ValueToPos(GetDisplayValue());
        thumbPoint = SnapThumbPos(pos);
    }

    // The bevel and the face are parts of one frame, so that the bevel's
    // lines are equally thick on every side at any ratio.
    const TRect client{0, 0, w, h};
    TRect face = client;
    canvas_.BrushStyle = TBrushStyle::bsSolid;
    if (bevelStyle_ != bvNone) {
        for (const TBevelEdge& edge : BevelEdges(client, bevelStyle_)) {
            canvas_.BrushColor = edge.Color;
            canvas_.FillFramePart(client, edge.Rect);
        }
        face = client.Inflated(-BevelWidth(), -BevelWidth());
    }

    canvas_.BrushColor = FaceColor();
    canvas_.FillFramePart(client, face);

    if (ruler_->Width() > 0) {
        const std::optional<TColor> key = options_.Contains(TSliderOption::soRulerOpaque)
                                              ? std::nullopt
                                              : std::optional<TColor>(ruler_->TransparentColor());
        DrawImageRegion(canvas_, layout_.RulerOrigin.X, layout_.RulerOrigin.Y, *ruler_,
                        TRect{0, 0, ruler_->Width(), ruler_->Height()}, key);
    }

    if (options_.Contains(TSliderOption::soShowFocus) && hasFocus_)
        canvas_.DrawFocusRect(GetInnerRect().Inflated(-2, -2));

    if (options_.Contains(TSliderOption::soShowPoints)) {
        if (OnDrawPoints)
            OnDrawPoints(this);
        else
            DrawStandardPoints(increment_, 3, 5);
    }

    const TBitmap& thumb = *ThumbImage();
    if (!thumb.Empty()) {
        // The second state serves for the thumb held by the mouse and for the
        // disabled control.
        const bool pressed = paintingCopy_ ? !Enabled() : thumbDown_ || !Enabled();
        TRect source{0, 0, thumb.Width(), thumb.Height()};
        if (numThumbStates_ == 2) {
            const int half = thumb.Width() / 2;
            source = pressed ? TRect{half, 0, thumb.Width(), thumb.Height()} : TRect{0, 0, half, thumb.Height()};
        }
        const std::optional<TColor> key = options_.Contains(TSliderOption::soThumbOpaque)
                                              ? std::nullopt
                                              : std::optional<TColor>(thumb.TransparentColor());
        DrawImageRegion(canvas_, thumbPoint.X, thumbPoint.Y, thumb, source, key);
    }
}

void TCustomImageSlider::DrawStandardPoints(int step, int tickLength, int endTickLength)
{
    const qint64 span = qint64(maxValue_) - minValue_;
    const TTickSpacing spacing = TickSpacing(span, step, layout_.TravelLength);
    const qint64 advance = spacing.Multiplier * std::max(step, 1);
    const TSliderScale scale = Scale();
    canvas_.PenColor = clWindowText;
    qint64 v = minValue_;
    for (qint64 i = 1; i <= spacing.Count; ++i) {
        int length = tickLength;
        if (i == spacing.Count)
            v = maxValue_;
        if (v == maxValue_ || v == minValue_)
            length = endTickLength;
        const int p = scale.ValueToPos(v);
        if (orientation_ == TSliderOrientation::soHorizontal) {
            const int x = p + thumbRect_.Width() / 2;
            canvas_.MoveTo(x, layout_.PointsOrigin.Y);
            canvas_.LineTo(x, layout_.PointsOrigin.Y + length);
        } else {
            const int y = p + thumbRect_.Height() / 2;
            canvas_.MoveTo(layout_.PointsOrigin.X, y);
            canvas_.LineTo(layout_.PointsOrigin.X + length, y);
        }
        v += advance;
    }
}

QImage TCustomImageSlider::PaintCopy()
{
    {
        const QScopedValueRollback copying(paintingCopy_, true);
        Paint();
    }
    // The next paint request draws the control's own state again.
    return buffer_.copy();
}
