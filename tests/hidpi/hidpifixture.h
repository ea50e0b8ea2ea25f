// Shared by the tests that run at a device pixel ratio of 2: the same widget
// state drawn at ratio 1 and at ratio 2, and the check that the second is
// the first with every logical pixel made a 2 x 2 block.
#pragma once

#include "app/form1.h"
#include "framework/types.h"

#include <QDir>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <QtTest>

#include <functional>

namespace HiDpi {

constexpr int Ratio = 2;

// The widget drawn into an image of ratio 1, one image pixel a logical pixel.
inline QImage AtRatio1(QWidget* w)
{
    QImage image(w->size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    image.fill(Qt::magenta);
    w->render(&image);
    return image;
}

// The widget as it draws itself on the screen's device pixels.
inline QImage AtRatio2(QWidget* w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The swatch of a combo box item drawn in rect, frame included.
inline QRect Swatch(const TRect& item)
{
    return QRect(item.Left + 2, item.Top + 2, 22, item.Height() - 4);
}

inline QString SaveOnFailure(const QImage& image, const QString& name)
{
    const QString dir = qEnvironmentVariable("HUEBOX_TEST_OUTPUT", QDir::currentPath());
    QString file = QStringLiteral("hidpi_%1_%2").arg(QString::fromLatin1(QTest::currentTestFunction()), name);
    if (QTest::currentDataTag())
        file += QLatin1Char('_') + QString::fromLatin1(QTest::currentDataTag());
    file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_]")), QStringLiteral("_"));
    const QString path = QDir(dir).filePath(file + QStringLiteral(".png"));
    image.save(path, "PNG");
    return path;
}

inline QString Hex(QRgb pixel)
{
    return QStringLiteral("%1").arg(pixel & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

// Empty when every device pixel of the logical area (only the logical pixels
// `counts` accepts, or all of them) in `high` equals the logical pixel in
// `low`; otherwise names the first that does not and saves both pictures.
inline QString Doubled(const QImage& high, const QImage& low, const QRect& area,
                       const std::function<bool(int, int)>& counts = {})
{
    if (high.size() != low.size() * Ratio)
        return QStringLiteral("device picture %1x%2 for a logical %3x%4")
            .arg(high.width())
            .arg(high.height())
            .arg(low.width())
            .arg(low.height());
    const QImage h = high.convertToFormat(QImage::Format_RGB32);
    const QImage l = low.convertToFormat(QImage::Format_RGB32);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            if (counts && !counts(x, y))
                continue;
            const QRgb expected = l.pixel(x, y) & 0xFFFFFFu;
            for (int dy = 0; dy < Ratio; ++dy)
                for (int dx = 0; dx < Ratio; ++dx) {
                    const QRgb actual = h.pixel(Ratio * x + dx, Ratio * y + dy) & 0xFFFFFFu;
                    if (actual != expected) {
                        SaveOnFailure(low, QStringLiteral("ratio1"));
                        return QStringLiteral("device pixel (%1, %2) is %3, logical (%4, %5) is %6; saved as %7")
                            .arg(Ratio * x + dx)
                            .arg(Ratio * y + dy)
                            .arg(Hex(actual))
                            .arg(x)
                            .arg(y)
                            .arg(Hex(expected))
                            .arg(SaveOnFailure(high, QStringLiteral("ratio2")));
                    }
                }
        }
    return {};
}

// Whether some 2 x 2 block of device pixels in the logical area holds more
// than one colour: what an enlarged picture of ratio 1 never has.
inline bool HasFinerDetail(const QImage& high, const QRect& area)
{
    const QImage h = high.convertToFormat(QImage::Format_RGB32);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb first = h.pixel(Ratio * x, Ratio * y);
            for (int d = 1; d < Ratio * Ratio; ++d)
                if (h.pixel(Ratio * x + d % Ratio, Ratio * y + d / Ratio) != first)
                    return true;
        }
    return false;
}

// Whether the logical area of a ratio-1 picture holds more than one colour.
inline bool HasSeveralColours(const QImage& low, const QRect& area)
{
    const QImage l = low.convertToFormat(QImage::Format_RGB32);
    const QRgb first = l.pixel(area.topLeft());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (l.pixel(x, y) != first)
                return true;
    return false;
}

// The main window shown and active, at the ratio the test run asks for.
struct TShownForm {
    TForm1 Form;
    TShownForm()
    {
        Form.show();
        QApplication::setActiveWindow(&Form);
        if (!QTest::qWaitForWindowActive(&Form))
            qWarning("window not active");
    }
};

} // namespace HiDpi
