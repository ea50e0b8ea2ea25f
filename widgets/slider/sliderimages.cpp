#include "widgets/slider/sliderimages.h"

#include "framework/application.h"
#include "framework/xpm.h"

#include <QCursor>
#include <QPixmap>

#include <array>
#include <mutex>

namespace {

QImage ResourceImage(const QString& name)
{
    return ReadXpmFile(QStringLiteral(":/huebox/slider/") + name);
}

} // namespace

// Outside any namespace: the resource initialiser is a global function.
static void InitResourcesOnce()
{
    Q_INIT_RESOURCE(slider);
}

QString BuiltInImageName(int index)
{
    static const char* const names[SliderImageCount] = {"HTHUMB", "HRULER", "VTHUMB", "VRULER"};
    return index >= 0 && index < SliderImageCount ? QString::fromLatin1(names[index]) : QString();
}

QImage BuiltInImage(int index)
{
    const QString name = BuiltInImageName(index);
    if (name.isEmpty())
        return {};
    // Every slider starts with all four pictures: decode each only once and
    // share it (the copies are implicitly shared until written to).
    static std::array<QImage, SliderImageCount> decoded;
    QImage& image = decoded[static_cast<std::size_t>(index)];
    if (image.isNull()) {
        InitSliderResources();
        image = ResourceImage(name).convertToFormat(QImage::Format_RGB32);
    }
    return image;
}

void InitSliderResources()
{
    static std::once_flag once;
    std::call_once(once, InitResourcesOnce);
}

void RegisterSliderCursors()
{
    InitSliderResources();
    // Decoded when a slider first shows one, not at start.
    Screen::SetCursor(crSliderHand, [] {
        return QCursor(QPixmap::fromImage(ResourceImage(QStringLiteral("SLIDER_HANDCUR"))), 6, 16);
    });
    Screen::SetCursor(crSliderDrag, [] {
        return QCursor(QPixmap::fromImage(ResourceImage(QStringLiteral("SLIDER_DRAGCUR"))), 15, 16);
    });
}

void InitSliderModule()
{
    InitSliderResources();
    RegisterSliderCursors();
}

void DrawImageRegion(TCanvas& canvas, int x, int y, const TBitmap& bitmap, const TRect& source,
                     std::optional<TColor> transparent)
{
    if (transparent)
        canvas.DrawTransparent(x, y, bitmap, source, *transparent);
    else
        canvas.Draw(x, y, bitmap, source);
}
