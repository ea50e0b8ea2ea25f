#include "picker/frozenscreen.h"

#include "color/colormodel.h"
#include "framework/pixel.h"
#include "picker/areamean.h"
#include "picker/magnifierimage.h"
#include "picker/magnifierkeys.h"
#include "picker/magnifierlayout.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

// The crosshair's arms and the gap round the hotspot's pixel, in device pixels.
constexpr int CrossArm = 12;
constexpr int CrossGap = 3;

} // namespace

// One screen's window: its part of the desktop at its device pixels, and,
// while it holds the hotspot, the crosshair and the magnifier.
class TFrozenWindow : public QRasterWindow {
public:
    TFrozenWindow(TFrozenScreen* owner, int index, QScreen* screen, QImage part)
        : Owner(owner), Index(index), Part(std::move(part))
    {
        setScreen(screen);
        setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        setGeometry(screen->geometry());
        // The pointer's own cursor would hide the hotspot's pixel.
        setCursor(Qt::BlankCursor);
        Part.setDevicePixelRatio(screen->devicePixelRatio());
    }

    const QImage& Pixels() const { return Part; }
    qreal Ratio() const { return Part.devicePixelRatio(); }

    // What this window draws over its part (nothing: it does not hold the hotspot).
    void Show(std::optional<QPoint> hotspot, QImage picture, QPoint pictureAt, QRgb crossColor)
    {
        update(Dirty());
        Hotspot = hotspot;
        Picture = std::move(picture);
        Picture.setDevicePixelRatio(Ratio());
        PictureAt = pictureAt;
        CrossColor = crossColor;
        update(Dirty());
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.setClipRegion(event->region());
        painter.drawImage(QPointF(), Part);
        if (!Hotspot)
            return;
        const qreal r = Ratio();
        painter.drawImage(QPointF(PictureAt) / r, Picture);
        const QPoint h = *Hotspot;
        const int line = std::max(1, qRound(r));
        const QColor cross = QColor::fromRgb(CrossColor);
        const auto device = [&](int x, int y, int w, int h) {
            painter.fillRect(QRectF(x / r, y / r, w / r, h / r), cross);
        };
        device(h.x() - CrossGap - CrossArm, h.y(), CrossArm, line);
        device(h.x() + 1 + CrossGap, h.y(), CrossArm, line);
        device(h.x(), h.y() - CrossGap - CrossArm, line, CrossArm);
        device(h.x(), h.y() + 1 + CrossGap, line, CrossArm);
    }
    void keyPressEvent(QKeyEvent* event) override { Owner->Key(event->key(), event->modifiers()); }
    void mouseMoveEvent(QMouseEvent* event) override { Owner->PointerAt(Index, event->position()); }
    void mousePressEvent(QMouseEvent* event) override
    {
        Owner->PointerAt(Index, event->position());
        Owner->Press(event->button());
    }
    void mouseReleaseEvent(QMouseEvent* event) override { Owner->Release(event->button()); }
    void wheelEvent(QWheelEvent* event) override
    {
        if (const int y = event->angleDelta().y())
            Owner->ZoomBy(y > 0 ? 1 : -1);
    }

private:
    // What the hotspot's drawing covers, in logical pixels.
    QRegion Dirty() const
    {
        if (!Hotspot)
            return {};
        const qreal r = Ratio();
        const auto logical = [r](const QRect& device) {
            return QRectF(device.x() / r, device.y() / r, device.width() / r, device.height() / r)
                .toAlignedRect()
                .adjusted(-1, -1, 1, 1);
        };
        const int reach = CrossGap + CrossArm + 1;
        return QRegion(logical(QRect(PictureAt, Picture.size()))) +
               logical(QRect(*Hotspot - QPoint(reach, reach), QSize(2 * reach + 1, 2 * reach + 1)));
    }

    TFrozenScreen* Owner;
    int Index;
    QImage Part;
    std::optional<QPoint> Hotspot;
    QImage Picture;
    QPoint PictureAt;
    QRgb CrossColor = 0;
};

TFrozenScreen::TFrozenScreen(const QImage& desktop, QScreen* start, int average, TFormatter formatter, QObject* parent)
    : QObject(parent), Zoom_(MagnifierDefaultZoom), Average_(IsAverageSide(average) ? average : 1),
      Formatter(std::move(formatter))
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (QScreen* s : screens)
        Places.push_back({s->geometry(), s->devicePixelRatio()});
    InImage = ScreensInImage(Places, desktop.size());
    const std::vector<QRect>& parts = InImage;
    const QImage rgb = desktop.convertToFormat(QImage::Format_RGB32);
    for (int i = 0; i < int(screens.size()); ++i) {
        const QSize device = DeviceSize(Places[i]);
        QImage part = rgb.copy(parts[i]);
        // One image pixel per device pixel where the scales agree; where
        // the image has more, every other one, never a blend.
        if (part.size() != device && !device.isEmpty())
            part = part.scaled(device, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        Windows.push_back(std::make_unique<TFrozenWindow>(this, i, screens[i], std::move(part)));
    }
    const int first = std::max<int>(0, screens.indexOf(start));
    if (first < int(Places.size()))
        Hotspot_ = {first, QPoint(DeviceSize(Places[first]).width() / 2, DeviceSize(Places[first]).height() / 2)};
}

TFrozenScreen::~TFrozenScreen() = default;

QWindow* TFrozenScreen::Window(int screen) const
{
    return screen >= 0 && screen < int(Windows.size()) ? Windows[screen].get() : nullptr;
}

void TFrozenScreen::Show()
{
    for (const auto& w : Windows)
        w->showFullScreen();
    if (Hotspot_.Screen < int(Windows.size())) {
        Windows[Hotspot_.Screen]->requestActivate();
        Refresh();
    }
}

void TFrozenScreen::Hide()
{
    for (const auto& w : Windows)
        w->hide();
}

void TFrozenScreen::Refresh()
{
    if (Hotspot_.Screen < 0 || Hotspot_.Screen >= int(Windows.size()))
        return;
    TFrozenWindow& window = *Windows[Hotspot_.Screen];
    const QImage& part = window.Pixels();
    const int cells = MagnifierCells(Zoom_);
    const QRect area = MagnifierArea(Hotspot_.Device, cells);
    TMagnifierView view;
    view.Pixels = part.copy(area);
    view.OnScreen = QRegion((area & part.rect()).translated(-area.topLeft()));
    view.Zoom = Zoom_;
    view.Ratio = window.Ratio();
    view.Average = Average_;
    // The coordinates are the desktop image's, the same on every screen.
    view.Hotspot = ImagePixel(InImage[Hotspot_.Screen], part.size(), Hotspot_.Device);
    const QPoint centre(cells / 2, cells / 2);
    Color = view.OnScreen.contains(centre) ? AreaMean(view.Pixels, centre, Average_, view.OnScreen) : std::nullopt;
    if (Color) {
        const RgbTriple c = ChannelsOf(*Color);
        view.Literal = Formatter ? Formatter(*Color) : HtmlOf(c.R, c.G, c.B);
    }
    const QImage picture = DrawMagnifier(view);
    const QPoint at = PlaceMagnifier(area, picture.size(), part.rect());
    const QRgb pixel = part.rect().contains(Hotspot_.Device) ? part.pixel(Hotspot_.Device) : 0xFF000000;
    for (int i = 0; i < int(Windows.size()); ++i) {
        if (i == Hotspot_.Screen)
            window.Show(Hotspot_.Device, picture, at, ColorToPixel(MagnifierOutlineColor(PixelToColor(pixel))));
        else
            Windows[i]->Show(std::nullopt, {}, {}, 0);
    }
    // While a button is held the preview keeps the colour it was pressed on.
    if (Held == Qt::NoButton && Color && Color != LastHovered) {
        LastHovered = Color;
        emit Hovered(*Color);
    }
}

void TFrozenScreen::MoveTo(THotspot hotspot)
{
    if (hotspot == Hotspot_)
        return;
    Hotspot_ = hotspot;
    Refresh();
}

void TFrozenScreen::PointerAt(int screen, QPointF logical)
{
    if (screen < 0 || screen >= int(Places.size()))
        return;
    const qreal r = Windows[screen]->Ratio();
    const QSize size = DeviceSize(Places[screen]);
    const QPoint device(std::clamp(int(std::floor(logical.x() * r)), 0, std::max(size.width() - 1, 0)),
                        std::clamp(int(std::floor(logical.y() * r)), 0, std::max(size.height() - 1, 0)));
    MoveTo({screen, device});
}

void TFrozenScreen::Press(Qt::MouseButton button)
{
    if (Held != Qt::NoButton || (button != Qt::LeftButton && button != Qt::RightButton))
        return;
    Held = button;
    PressedColor = Color;
}

void TFrozenScreen::Release(Qt::MouseButton button)
{
    if (button != Held)
        return;
    Held = Qt::NoButton;
    if (button == Qt::RightButton)
        emit Cancelled();
    else if (PressedColor)
        emit Picked(*PressedColor);
}

void TFrozenScreen::Take()
{
    if (Held == Qt::NoButton && Color)
        emit Picked(*Color);
}

void TFrozenScreen::ZoomBy(int steps)
{
    const int zoom = StepMagnifierZoom(Zoom_, steps);
    if (zoom == Zoom_)
        return;
    Zoom_ = zoom;
    Refresh();
}

void TFrozenScreen::SetAverage(int side)
{
    if (side == Average_ || !IsAverageSide(side))
        return;
    Average_ = side;
    Refresh();
}

void TFrozenScreen::Key(int key, Qt::KeyboardModifiers modifiers)
{
    using A = TMagnifierKey::TAction;
    const TMagnifierKey k = MagnifierKeyOf(key, modifiers & Qt::ShiftModifier, Average_);
    switch (k.Action) {
    case A::Cancel:
        emit Cancelled();
        return;
    case A::Take:
        Take();
        return;
    case A::Zoom:
        ZoomBy(k.ZoomSteps);
        return;
    case A::Average:
        SetAverage(k.Average);
        return;
    case A::Move:
        MoveTo(MoveHotspot(Places, Hotspot_, k.Move));
        return;
    case A::None:
        return;
    }
}
