// The magnifier's geometry, drawing and pixel formats, without a display.
#include "picker/magnifierimage.h"
#include "picker/magnifierlayout.h"
#include "picker/pixelformat.h"
#include "tests/picker/checkerboard.h"

#include <QtTest>

Q_DECLARE_METATYPE(TPixelFormat)

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
        QTest::newRow("x10") << 10 << 1.0 << 3;
        QTest::newRow("x4") << 4 << 1.0 << 3;
        QTest::newRow("x20") << 20 << 1.0 << 3;
        QTest::newRow("x10, ratio 2") << 10 << 2.0 << 3;
        QTest::newRow("x5, ratio 1.5") << 5 << 1.5 << 3;
        // The cells do not reach the view's edges: the columns and rows
        // before the first cell are beyond it, not pixel 0 drawn wider.
        QTest::newRow("x4, ratio 1.1, all on the screen") << 4 << 1.1 << 0;
        QTest::newRow("the centre off the screen") << 10 << 1.0 << 8;
    }
    void drawsTheMagnifiedPixels()
    {
        QFETCH(int, zoom);
        QFETCH(qreal, ratio);
        QFETCH(int, offScreen);
        const int cells = MagnifierCells(zoom);
        TMagnifierView view{
            Checkerboard(cells), QRegion(offScreen, 0, cells - offScreen, cells), zoom, ratio, "$00CC6633", {5, 6}};
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
        // Framed only where a screen shows the centre.
        const QRect frame = g.Centre.adjusted(-2 * line, -2 * line, 2 * line, 2 * line);
        for (int y = frame.top(); y <= frame.bottom(); ++y)
            for (int x = frame.left(); x <= frame.right(); ++x)
                if (!g.Centre.contains(x, y) && offScreen <= cells / 2)
                    expected.setPixel(x, y, 0xFFFFFFFF); // white: the odd pixel is dark
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
