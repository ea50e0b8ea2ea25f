// Shared by the slider tests: the image maps of the built-in pictures, the
// slider as the main window sets it up, and saving a picture that failed a
// check.
#pragma once

#include "widgets/slider/imageslider.h"

#include <QDir>
#include <QLineEdit>
#include <QStringList>
#include <QtTest>

namespace SliderFixture {

// One letter per pixel, top row first.
inline const QStringList HThumbMap = {
    "WWWWWWWWKWWWWWWWWK", "WSSSSSSGKWSSSSSSGK", "WSSSSSSGKWSWSWSWGK", "WSSSSSSGKWSSWSWSGK", "WSSSSSSGKWSWSWSWGK",
    "WSSSSSSGKWSSWSWSGK", "WSSSSSSGKWSWSWSWGK", "WSSSSSSGKWSSWSWSGK", "WSSSSSSGKWSWSWSWGK", "WSSSSSSGKWSSWSWSGK",
    "WSSSSSSGKWSWSWSWGK", "WSSSSSSGKWSSWSWSGK", "WSSSSSSGKWSWSWSWGK", "MWSSSSGKMMWSWSWGKM", "MMWSSGKMMMMWSWGKMM",
    "MMMWGKMMMMMMWGKMMM", "MMMMKMMMMMMMMKMMMM"};
inline const QStringList HRulerMap = {"MMMMMMMMMM", "MMMMMMMMMM", "GGGGGGGGGW", "GKKKKKKKSW",
                                      "GSSSSSSSSW", "WWWWWWWWWW", "MMMMMMMMMM", "MMMMMMMMMM"};
inline const QStringList VThumbMap = {
    "MKKKKKKKKKKKKKMMMMMMKKKKKKKKKKKKKMMMMM", "MWGGGGGGGGGGGGKMMMMMWGGGGGGGGGGGGKMMMM",
    "MWSSSSSSSSSSSSGKMMMMWSWSWSWSWSWSWGKMMM", "MWSSSSSSSSSSSSSGKMMMWSSWSWSWSWSWSWGKMM",
    "MWSSSSSSSSSSSSSSGKMMWSWSWSWSWSWSWSWGKM", "MWSSSSSSSSSSSSSSWMMMWSSWSWSWSWSWSWSWMM",
    "MWSSSSSSSSSSSSSWMMMMWSWSWSWSWSWSWSWMMM", "MWSSSSSSSSSSSSWMMMMMWSSSSSSSSSSSSWMMMM",
    "MWWWWWWWWWWWWWMMMMMMWWWWWWWWWWWWWMMMMM"};
inline const QStringList VRulerMap = {"MMGGGWMM", "MMGKSWMM", "MMGKSWMM", "MMGKSWMM", "MMGKSWMM",
                                      "MMGKSWMM", "MMGKSWMM", "MMGKSWMM", "MMGSSWMM", "MMWWWWMM"};

inline TColor LetterColor(QChar c)
{
    switch (c.toLatin1()) {
    case 'K':
        return RGB(0, 0, 0);
    case 'G':
        return RGB(128, 128, 128);
    case 'S':
        return RGB(192, 192, 192);
    case 'W':
        return RGB(255, 255, 255);
    default:
        return RGB(255, 0, 255);
    }
}

inline bool IsMagenta(QChar c)
{
    return c == QLatin1Char('M');
}

inline QImage MapImage(const QStringList& map)
{
    QImage image(int(map.first().size()), int(map.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, ColorToPixel(LetterColor(map[y][x])));
    return image;
}

// Saves a picture that failed a check where the test run keeps its output.
inline QString SaveActual(const QImage& image, const QString& name)
{
    const QString dir = qEnvironmentVariable("HUEBOX_TEST_OUTPUT", QDir::currentPath());
    const QString path = QDir(dir).filePath(name + QStringLiteral(".png"));
    image.save(path, "PNG");
    return path;
}

// Compares two pictures of the same format pixel by pixel; on a difference
// saves the actual one and names the first differing pixel.
inline bool SameImage(const QImage& actual, const QImage& expected, const QString& name, QString& message)
{
    if (actual.size() != expected.size()) {
        message = QStringLiteral("size %1x%2, expected %3x%4")
                      .arg(actual.width())
                      .arg(actual.height())
                      .arg(expected.width())
                      .arg(expected.height());
        return false;
    }
    const QImage a = actual.convertToFormat(QImage::Format_RGB32);
    const QImage e = expected.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (e.pixel(x, y) & 0xFFFFFF)) {
                const QString path = SaveActual(actual, name);
                message = QStringLiteral("pixel (%1, %2) is %3, expected %4; actual picture saved as %5")
                              .arg(x)
                              .arg(y)
                              .arg(a.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                              .arg(e.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                              .arg(path);
                return false;
            }
    return true;
}

// The channel slider of the main window: 396 x 32, lowered bevel, edge 1,
// range 0 to 255 stepping by 1, focus rectangle and tick marks.
inline void SetUpChannelSlider(TCustomImageSlider* s)
{
    s->setGeometry(32, 12, 396, 32);
    s->SetBevelStyle(bvLowered);
    s->SetColor(clRed);
    s->SetIncrement(1);
    s->SetMaxValue(255);
    s->SetEdgeSize(1);
    s->SetOptions({TSliderOption::soShowFocus, TSliderOption::soShowPoints});
}

// A shown window with the slider and a second control to move the focus to;
// records the slider's events.
struct TSliderWindow {
    QWidget Window;
    TImageSlider* Slider = new TImageSlider(&Window);
    QLineEdit* Other = new QLineEdit(&Window);
    QList<int> Changes; // Value at each OnChange
    int ChangedCount = 0;

    explicit TSliderWindow(bool channel = true)
    {
        Window.resize(460, 200);
        Other->move(32, 120);
        if (channel)
            SetUpChannelSlider(Slider);
        Window.show();
        QApplication::setActiveWindow(&Window);
        if (!QTest::qWaitForWindowExposed(&Window))
            qWarning("window not exposed");
        // The cases give the slider the focus themselves.
        Other->setFocus();
        Slider->OnChange = [this](QObject*) { Changes << Slider->Value(); };
        Slider->OnChanged = [this](QObject*) { ++ChangedCount; };
    }

    void ClearEvents()
    {
        Changes.clear();
        ChangedCount = 0;
    }

    // The middle of the thumb, where a press takes hold of it.
    QPoint ThumbCentre() const
    {
        const TRect& t = Slider->ThumbRect();
        return {(t.Left + t.Right) / 2, (t.Top + t.Bottom) / 2};
    }
};

} // namespace SliderFixture
