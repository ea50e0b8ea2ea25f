// A client of the Wayland session tests: a window whose top left shows the
// picker tests' checkerboard at the output's device pixels, one pixel of the
// board to one device pixel, the rest mid grey.
//   wlpattern                        shows the window
//   wlpattern --magnifier BEFORE SHOT X Y   checks a screenshot of an output
//       at scale 2 during a pick whose hotspot is the device pixel (X, Y),
//       against one of the output before: the magnified pixels are the
//       output's device pixels, as a ratio-2 magnifier draws them (exit 0,
//       the hotspot's colour printed as #rrggbb), or not (exit 1, the
//       picture saved beside SHOT).
#include "picker/magnifierimage.h"
#include "picker/magnifierlayout.h"
#include "tests/picker/checkerboard.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>

#include <cstdio>

namespace {

constexpr QRgb Grey = 0xFF808080;

class TPatternWindow : public QRasterWindow {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(QRect(QPoint(), size()), QColor::fromRgb(Grey));
        QImage board = Checkerboard(41);
        board.setDevicePixelRatio(devicePixelRatio());
        painter.drawImage(QPointF(), board);
    }
};

int CheckMagnifier(const QString& before, const QString& path, QPoint hotspot)
{
    // The output as the frozen window shows it, without the magnifier.
    QImage output, shot;
    if (!output.load(before) || !shot.load(path) || output.size() != shot.size()) {
        std::fprintf(stderr, "no screenshots %s and %s of one size\n", qPrintable(before), qPrintable(path));
        return 1;
    }
    output = output.convertToFormat(QImage::Format_RGB32);
    shot = shot.convertToFormat(QImage::Format_RGB32);
    const QRect area = MagnifierArea(hotspot, MagnifierCells(MagnifierDefaultZoom));
    const TMagnifierView view{output.copy(area),
                              QRegion((area & output.rect()).translated(-area.topLeft())),
                              MagnifierDefaultZoom,
                              2.0,
                              {},
                              hotspot};
    // The magnified pixels only: the text's font is the program's.
    const TMagnifierGeometry g = MagnifierGeometry(view);
    const QImage expected = DrawMagnifier(view).copy(g.View);
    const QPoint at = PlaceMagnifier(area, g.Size, output.rect()) + g.View.topLeft();
    const QImage shown = shot.copy(QRect(at, g.View.size()));
    if (shown == expected) {
        std::printf("%s\n", qPrintable(QColor::fromRgb(output.pixel(hotspot)).name()));
        return 0;
    }
    shown.save(path + QStringLiteral(".magnifier.png"));
    std::fprintf(stderr, "the magnifier at %d,%d is not the board's pixels at ratio 2\n", at.x(), at.y());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() == 6 && arguments.at(1) == QLatin1String("--magnifier"))
        return CheckMagnifier(arguments.at(2), arguments.at(3),
                              QPoint(arguments.at(4).toInt(), arguments.at(5).toInt()));
    QGuiApplication::setDesktopFileName(QStringLiteral("pattern"));
    TPatternWindow window;
    window.setTitle(QStringLiteral("pattern"));
    window.resize(400, 300);
    window.show();
    return app.exec();
}
