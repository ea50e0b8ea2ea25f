// The magnifier's geometry, drawing and pixel formats, without a display.
#include "picker/areamean.h"
#include "picker/magnifierimage.h"
#include "picker/magnifierlayout.h"
#include "picker/pixelformat.h"
#include "tests/picker/checkerboard.h"

#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(TPixelFormat)

namespace {

// The textbook sRGB curve, both ways, for sums done the long way.
double ToLinear(int byte)
{
    const double v = byte / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}
int ToByte(double linear)
{
    const double v = linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return int(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

} // namespace

class TestMagnifier : public QObject {
    Q_OBJECT
private slots:
    void zoomSteps_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("expected");
        QTest::newRow("in") << 10 << 1 << 12;
        QTest::newRow("out") << 10 << -1 << 8;
        QTest::newRow("smallest stays") << 4 << -1 << 4;
        QTest::newRow("largest stays") << 20 << 1 << 20;
        QTest::newRow("far in") << 4 << 100 << 20;
        QTest::newRow("between steps") << 7 << 0 << 8;
        QTest::newRow("below the range") << -3 << 0 << 4;
        QTest::newRow("above the range") << 99 << -1 << 15;
    }
    void zoomSteps()
    {
        QFETCH(int, zoom);
        QFETCH(int, steps);
        QTEST(StepMagnifierZoom(zoom, steps), "expected");
    }

    void cellsFillTheViewAroundOneCentre()
    {
        QCOMPARE(MagnifierCells(MagnifierDefaultZoom), 15);
        for (int zoom = MagnifierMinZoom; zoom <= MagnifierMaxZoom; ++zoom) {
            const int cells = MagnifierCells(zoom);
            QVERIFY2(cells % 2 == 1 && cells * zoom >= MagnifierViewSide && (cells - 2) * zoom < MagnifierViewSide,
                     qPrintable(QString::number(zoom)));
        }
        QCOMPARE(MagnifierCells(0), MagnifierCells(MagnifierMinZoom));
        QCOMPARE(MagnifierArea(QPoint(10, 20), 15), QRect(3, 13, 15, 15));
    }

    void placement_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QPoint>("hotspot");
        QTest::addColumn<QPoint>("expected");
        const QRect first(0, 0, 1280, 1024), second(1280, 200, 800, 600);
        // Window 170 × 200, area of 15: right and below by 7 + 8 (+1 for the hotspot's pixel).
        QTest::newRow("middle") << first << QPoint(600, 500) << QPoint(616, 516);
        QTest::newRow("top left") << first << QPoint(0, 0) << QPoint(16, 16);
        QTest::newRow("top right") << first << QPoint(1279, 0) << QPoint(1279 - 7 - 8 - 170, 16);
        QTest::newRow("bottom left") << first << QPoint(0, 1023) << QPoint(16, 1023 - 7 - 8 - 200);
        QTest::newRow("bottom right") << first << QPoint(1279, 1023) << QPoint(1094, 808);
        QTest::newRow("second, its left edge") << second << QPoint(1280, 200) << QPoint(1296, 216);
        QTest::newRow("second, its bottom right") << second << QPoint(2079, 799) << QPoint(1894, 584);
        QTest::newRow("fits exactly after the area") << first << QPoint(1280 - 186, 1024 - 216) << QPoint(1110, 824);
        QTest::newRow("screen too small") << QRect(0, 0, 180, 150) << QPoint(90, 75) << QPoint(10, 0);
    }
    void placement()
    {
        QFETCH(QRect, screen);
        QFETCH(QPoint, hotspot);
        const QSize window(170, 200);
        const QRect area = MagnifierArea(hotspot, 15);
        const QPoint at = PlaceMagnifier(area, window, screen);
        QTEST(at, "expected");
        if (screen.width() >= 2 * (window.width() + 15 + MagnifierGap)) {
            QVERIFY(screen.contains(QRect(at, window)));
            QVERIFY(!QRect(at, window).intersects(area));
        }
    }

    void outlineContrasts_data()
    {
        QTest::addColumn<TColor>("centre");
        QTest::addColumn<TColor>("outline");
        QTest::newRow("black") << clBlack << clWhite;
        QTest::newRow("white") << clWhite << clBlack;
        QTest::newRow("yellow") << clYellow << clBlack;
        QTest::newRow("navy") << clNavy << clWhite;
        // The two contrasts are equal at a luminance of 0.179, between these greys.
        QTest::newRow("grey 117") << RGB(117, 117, 117) << clWhite;
        QTest::newRow("grey 118") << RGB(118, 118, 118) << clBlack;
    }
    void outlineContrasts()
    {
        QFETCH(TColor, centre);
        QTEST(MagnifierOutlineColor(centre), "outline");
    }

    void gridShadeKeepsTheChannels_data()
    {
        QTest::addColumn<QRgb>("pixel");
        QTest::addColumn<QRgb>("shade");
        QTest::newRow("green") << qRgb(0, 255, 0) << qRgb(64, 191, 64);
        QTest::newRow("red") << qRgb(255, 0, 0) << qRgb(191, 64, 64);
    }
    void gridShadeKeepsTheChannels()
    {
        QFETCH(QRgb, pixel);
        QTEST(MagnifierGridShade(pixel), "shade");
    }

    // Pixel by pixel: each screen pixel a block of the zoom times the ratio,
    // its last row and column a grid line, the centre framed, and what lies
    // off the screen (the left columns given) or beyond the cells the
    // neutral pattern.
    void drawsTheMagnifiedPixels_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("offScreen");
        QTest::addColumn<int>("average");
        QTest::addColumn<QRgb>("frame"); // contrasting with the colour taken
        // White round the dark odd pixel; black round the light mean of it
        // with four white and four black.
        const QRgb white = 0xFFFFFFFF, black = 0xFF000000;
        QTest::newRow("x10") << 10 << 1.0 << 3 << 1 << white;
        QTest::newRow("x4") << 4 << 1.0 << 3 << 1 << white;
        QTest::newRow("x20") << 20 << 1.0 << 3 << 1 << white;
        QTest::newRow("x10, ratio 2") << 10 << 2.0 << 3 << 1 << white;
        QTest::newRow("x5, ratio 1.5") << 5 << 1.5 << 3 << 1 << white;
        QTest::newRow("x10, 3x3 averaged") << 10 << 1.0 << 3 << 3 << black;
        QTest::newRow("x8, ratio 2, 5x5 averaged") << 8 << 2.0 << 0 << 5 << black;
        // The cells do not reach the view's edges: the columns and rows
        // before the first cell are beyond it, not pixel 0 drawn wider.
        QTest::newRow("x4, ratio 1.1, all on the screen") << 4 << 1.1 << 0 << 1 << white;
        QTest::newRow("the centre off the screen") << 10 << 1.0 << 8 << 1 << white;
    }
    void drawsTheMagnifiedPixels()
    {
        QFETCH(int, zoom);
        QFETCH(qreal, ratio);
        QFETCH(int, offScreen);
        QFETCH(int, average);
        QFETCH(QRgb, frame);
        const int cells = MagnifierCells(zoom);
        TMagnifierView view{Checkerboard(cells),
                            QRegion(offScreen, 0, cells - offScreen, cells),
                            zoom,
                            ratio,
                            "$00CC6633",
                            {5, 6},
                            average};
        const QImage image = DrawMagnifier(view);
        const TMagnifierGeometry g = MagnifierGeometry(view);
        QCOMPARE(image.size(), g.Size);
        const int cell = qRound(zoom * ratio), line = qRound(ratio);
        QCOMPARE(g.Cell, cell);
        QCOMPARE(g.View.size(), QSize(qRound(150 * ratio), qRound(150 * ratio)));
        // Centred, to the device pixel that an odd and an even side allow.
        QVERIFY((g.Centre.center() - g.View.center()).manhattanLength() <= 2);
        QImage expected(image.size(), QImage::Format_RGB32);
        for (int y = g.View.top(); y <= g.View.bottom(); ++y)
            for (int x = g.View.left(); x <= g.View.right(); ++x)
                expected.setPixel(x, y, MagnifierBeyondEdge(QPoint(x, y) - g.View.topLeft(), line));
        for (int cy = 0; cy < cells; ++cy)
            for (int cx = 0; cx < cells; ++cx) {
                const QRect block = g.Centre.translated((cx - cells / 2) * cell, (cy - cells / 2) * cell);
                for (int y = block.top(); y <= block.bottom(); ++y)
                    for (int x = block.left(); x <= block.right(); ++x) {
                        const QRgb pixel = view.Pixels.pixel(cx, cy);
                        const bool grid = x > block.right() - line || y > block.bottom() - line;
                        if (g.View.contains(x, y))
                            expected.setPixel(x, y,
                                              cx < offScreen
                                                  ? MagnifierBeyondEdge(QPoint(x, y) - g.View.topLeft(), line)
                                              : grid ? MagnifierGridShade(pixel)
                                                     : pixel);
                    }
            }
        // The square taken framed, only where a screen shows the centre.
        const int half = average / 2;
        const QRect sample = g.Centre.adjusted(-half * cell, -half * cell, half * cell, half * cell);
        const QRect outline = sample.adjusted(-2 * line, -2 * line, 2 * line, 2 * line);
        for (int y = outline.top(); y <= outline.bottom(); ++y)
            for (int x = outline.left(); x <= outline.right(); ++x)
                if (!sample.contains(x, y) && offScreen <= cells / 2 && expected.rect().contains(x, y))
                    expected.setPixel(x, y, frame);
        const QImage actual = image.copy(g.View);
        const QImage wanted = expected.copy(g.View);
        if (actual != wanted)
            actual.save(QStringLiteral("%1/magnifier-%2.png")
                            .arg(qEnvironmentVariable("HUEBOX_TEST_OUTPUT", "."), QTest::currentDataTag()));
        QVERIFY(actual == wanted);
        // The literal and coordinates are written, in black, under the view.
        QVERIFY(g.Text.top() > g.View.bottom());
        const QImage text = image.copy(g.Text);
        int dark = 0;
        for (int y = 0; y < text.height(); ++y)
            for (int x = 0; x < text.width(); ++x)
                dark += qGray(text.pixel(x, y)) < 100;
        QVERIFY(dark > 0);
        // The size of the square averaged is written beside the coordinates.
        if (average > 1) {
            view.Average = 1;
            QVERIFY(DrawMagnifier(view).copy(MagnifierGeometry(view).Text) != text);
        }
    }

    // The mean against a sum over every pixel shown, done the long way.
    void areaMean_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<QPoint>("centre");
        QTest::addColumn<int>("side");
        QTest::addColumn<QRegion>("shown");
        QTest::addColumn<TColor>("expected"); // -1: the long way's sum
        const QImage board = Checkerboard(21);
        QImage noise(21, 21, QImage::Format_RGB32);
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 21; ++x)
                noise.setPixel(x, y, qRgb(x * 37 % 256, y * 91 % 256, (x * y * 13 + 7) % 256));
        const QRegion all(0, 0, 21, 21);
        // 4 white of 9, and black and white in equal parts.
        QTest::newRow("3x3 centred on black") << board << QPoint(2, 2) << 3 << all << RGB(0xB2, 0xB2, 0xB2);
        QTest::newRow("one black, one white shown")
            << board << QPoint(2, 2) << 3 << QRegion(2, 2, 2, 1) << RGB(0xBC, 0xBC, 0xBC);
        QTest::newRow("one pixel") << board << QPoint(10, 10) << 1 << all << Odd;
        QTest::newRow("5x5") << noise << QPoint(7, 9) << 5 << all << -1;
        QTest::newRow("9x9 at the corner, beyond it left out") << noise << QPoint(0, 0) << 9 << all << -1;
        QTest::newRow("9x9, a screen's edge through it") << noise << QPoint(10, 10) << 9 << QRegion(0, 0, 12, 21) << -1;
        QTest::newRow("a side not offered counts as 1") << noise << QPoint(4, 4) << 4 << all << -1;
        QTest::newRow("nothing shown") << noise << QPoint(4, 4) << 3 << QRegion() << -2;
    }
    void areaMean()
    {
        QFETCH(QImage, image);
        QFETCH(QPoint, centre);
        QFETCH(int, side);
        QFETCH(QRegion, shown);
        QFETCH(TColor, expected);
        const std::optional<TColor> mean = AreaMean(image, centre, side, shown);
        if (expected == -2) {
            QVERIFY(!mean);
            return;
        }
        if (expected == -1) {
            const int half = IsAverageSide(side) ? side / 2 : 0;
            double sum[3] = {};
            int count = 0;
            for (int y = centre.y() - half; y <= centre.y() + half; ++y)
                for (int x = centre.x() - half; x <= centre.x() + half; ++x)
                    if (image.rect().contains(x, y) && shown.contains(QPoint(x, y))) {
                        const QRgb p = image.pixel(x, y);
                        sum[0] += ToLinear(qRed(p));
                        sum[1] += ToLinear(qGreen(p));
                        sum[2] += ToLinear(qBlue(p));
                        ++count;
                    }
            expected = RGB(ToByte(sum[0] / count), ToByte(sum[1] / count), ToByte(sum[2] / count));
        }
        QVERIFY(mean);
        QCOMPARE(*mean, expected);
    }

    void oneByteComesBackAsItself()
    {
        QImage pixel(1, 1, QImage::Format_RGB32);
        for (int v = 0; v < 256; ++v) {
            pixel.setPixel(0, 0, qRgb(v, 255 - v, v / 2));
            QCOMPARE(AreaMean(pixel, {0, 0}, 3, QRegion(0, 0, 1, 1)), RGB(v, 255 - v, v / 2));
        }
    }

    void averageSides()
    {
        QCOMPARE(NextAverageSide(1), 3);
        QCOMPARE(NextAverageSide(5), 9);
        QCOMPARE(NextAverageSide(9), 1);
        QVERIFY(!IsAverageSide(7) && IsAverageSide(9));
    }

    void nothingToShow()
    {
        // No pixels, or not a square of them: the whole view is the pattern.
        for (const QImage& pixels : {QImage(), QImage(4, 3, QImage::Format_RGB32)}) {
            const TMagnifierView view{pixels, QRegion(0, 0, 4, 4), 10, 1.0, {}, {}};
            const TMagnifierGeometry g = MagnifierGeometry(view);
            const QImage image = DrawMagnifier(view);
            QCOMPARE(image.pixel(g.View.topLeft() + QPoint(9, 2)), MagnifierBeyondEdge({9, 2}, 1));
            QCOMPARE(image.pixel(g.View.center()), MagnifierBeyondEdge(g.View.center() - g.View.topLeft(), 1));
        }
    }

    void pixelFormats_data()
    {
        QTest::addColumn<TPixelFormat>("format");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TColor>("color");
        QTest::addColumn<TColor>("drawn"); // encoded as bytes; -1: color
        const TPixelFormat bgrx{0xFF0000, 0xFF00, 0xFF, 4, false, 32};
        const TPixelFormat rgb565{0xF800, 0x07E0, 0x001F, 2, false, 32};
        // 5-bit 3 is 24.7 and 6-bit 11 is 44.5: rounded, not cut off.
        QTest::newRow("565, rounded") << rgb565 << QByteArray("\x63\x19", 2) << RGB(25, 45, 25) << -1;
        QTest::newRow("565, ends") << rgb565 << QByteArray("\xE0\x07", 2) << RGB(0, 255, 0) << -1;
        // Grey 128 is 15.56 of 31 and 31.6 of 63: 16 and 32, rounded.
        QTest::newRow("565, grey 128 drawn rounded")
            << rgb565 << QByteArray("\x10\x84", 2) << RGB(132, 130, 132) << RGB(128, 128, 128);
        QTest::newRow("32 bits") << bgrx << QByteArray("\x33\x66\x99\x00", 4) << RGB(0x99, 0x66, 0x33) << -1;
        QTest::newRow("24 bits, most significant first")
            << TPixelFormat{0xFF0000, 0xFF00, 0xFF, 3, true, 32} << QByteArray("\x99\x66\x33", 3)
            << RGB(0x99, 0x66, 0x33) << -1;
    }
    void pixelFormats()
    {
        QFETCH(TPixelFormat, format);
        QFETCH(QByteArray, bytes);
        QFETCH(TColor, color);
        QFETCH(TColor, drawn);
        if (drawn < 0)
            drawn = color;
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        QCOMPARE(format.Decode(data), color);
        QByteArray back(format.BytesPerPixel, '\0');
        format.Encode(qRgb(GetRValue(drawn), GetGValue(drawn), GetBValue(drawn)),
                      reinterpret_cast<std::uint8_t*>(back.data()));
        QCOMPARE(back.toHex(), bytes.toHex());
        // Rows are padded to 32 bits; data short of its rows is refused.
        QCOMPARE(format.Stride(3), (3 * format.BytesPerPixel + 3) / 4 * 4);
        const QByteArray rows = bytes.leftJustified(format.Stride(3), '\0').repeated(2);
        const auto image =
            DecodeImage(format, reinterpret_cast<const std::uint8_t*>(rows.constData()), int(rows.size()), QSize(3, 2));
        QVERIFY(image);
        QCOMPARE(image->pixel(0, 1), qRgb(GetRValue(color), GetGValue(color), GetBValue(color)));
        QVERIFY(!DecodeImage(format, reinterpret_cast<const std::uint8_t*>(rows.constData()), int(rows.size()) - 1,
                             QSize(3, 2)));
        QVERIFY(!DecodeImage(TPixelFormat{}, data, int(bytes.size()), QSize(1, 1)));
    }
};

QTEST_MAIN(TestMagnifier)
#include "tst_magnifier.moc"
