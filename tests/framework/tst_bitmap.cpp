#include "framework/bitmap.h"
#include "framework/exception.h"
#include "framework/xpm.h"

#include <QtTest>

#include <climits>

namespace {

// A bitmap whose every pixel has its own colour.
void Paint(TBitmap& bitmap, int width, int height)
{
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.Canvas().SetPixel(x, y, RGB(x * 20, y * 30, 7));
}

// Counts the bitmap's OnChange notifications.
struct ChangeCounter {
    int Count = 0;
    explicit ChangeCounter(TBitmap& bitmap)
    {
        bitmap.OnChange = [this, &bitmap](TBitmap* sender) {
            QCOMPARE(sender, &bitmap);
            ++Count;
        };
    }
};

} // namespace

class TestBitmap : public QObject {
    Q_OBJECT
private slots:
    void setSize_data();
    void setSize();
    void resizeKeepsSharedPixelsAndAddsWhite();
    void sizeTooLargeToAllocateIsAnErrorAndChangesNothing();
    void pixelAndTransparentColour();
    void transparentMode();
    void assignImageConvertsToRgb32();
    void assignBitmapCopiesIndependently();
    void pngRoundTrip_data();
    void pngRoundTrip();
    void badPngLeavesBitmapAsItWas_data();
    void badPngLeavesBitmapAsItWas();
    void xpmPictures_data();
    void xpmPictures();
};

void TestBitmap::setSize_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("expectedWidth");
    QTest::addColumn<int>("expectedHeight");
    QTest::addColumn<int>("changes");
    // From a 4 x 3 bitmap.
    QTest::newRow("same size") << 4 << 3 << 4 << 3 << 0;
    QTest::newRow("wider") << 5 << 3 << 5 << 3 << 1;
    QTest::newRow("lower") << 4 << 1 << 4 << 1 << 1;
    QTest::newRow("zero width empties") << 0 << 3 << 0 << 0 << 1;
    QTest::newRow("zero height empties") << 4 << 0 << 0 << 0 << 1;
    QTest::newRow("negative counts as zero") << -4 << 3 << 0 << 0 << 1;
    QTest::newRow("int minimum") << INT_MIN << INT_MIN << 0 << 0 << 1;
}

void TestBitmap::setSize()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, expectedWidth);
    TBitmap bitmap(4, 3);
    ChangeCounter counter(bitmap);
    bitmap.SetSize(width, height);
    QCOMPARE(bitmap.Width(), expectedWidth);
    QTEST(bitmap.Height(), "expectedHeight");
    QCOMPARE(bitmap.Empty(), expectedWidth == 0);
    QTEST(counter.Count, "changes");
    if (!bitmap.Empty())
        QCOMPARE(bitmap.Image().format(), QImage::Format_RGB32);

    // Emptying an empty bitmap is no change.
    bitmap.SetSize(0, 0);
    const int after = counter.Count;
    bitmap.SetSize(-1, 5);
    QCOMPARE(counter.Count, after);
}

void TestBitmap::resizeKeepsSharedPixelsAndAddsWhite()
{
    TBitmap bitmap;
    Paint(bitmap, 3, 2);
    bitmap.SetSize(4, 1);
    bitmap.SetSize(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            QCOMPARE(bitmap.Pixel(x, y), x < 3 && y < 1 ? RGB(x * 20, y * 30, 7) : clWhite);
}

void TestBitmap::sizeTooLargeToAllocateIsAnErrorAndChangesNothing()
{
    TBitmap bitmap;
    Paint(bitmap, 2, 2);
    ChangeCounter counter(bitmap);
    QVERIFY_THROWS_EXCEPTION(Exception, bitmap.SetSize(INT_MAX, INT_MAX));
    QCOMPARE(bitmap.Width(), 2);
    QCOMPARE(bitmap.Pixel(1, 1), RGB(20, 30, 7));
    QCOMPARE(counter.Count, 0);
}

void TestBitmap::pixelAndTransparentColour()
{
    TBitmap bitmap;
    QCOMPARE(bitmap.TransparentColor(), clBlack);
    QCOMPARE(bitmap.Pixel(0, 0), clBlack);
    Paint(bitmap, 3, 4);
    QCOMPARE(bitmap.TransparentColor(), RGB(0, 90, 7));
    QCOMPARE(bitmap.Pixel(2, 1), RGB(40, 30, 7));
    QCOMPARE(bitmap.Pixel(3, 0), clBlack);
    QCOMPARE(bitmap.Pixel(0, -1), clBlack);
    QCOMPARE(bitmap.Pixel(INT_MIN, INT_MAX), clBlack);
}

void TestBitmap::transparentMode()
{
    TBitmap colour;
    Paint(colour, 3, 4);
    colour.SetTransparentMode(tmFixed); // keeps the colour in use
    colour.Canvas().SetPixel(0, 3, clRed);
    TBitmap copy;
    copy.Assign(colour); // with the colour set
    QCOMPARE(copy.TransparentColor(), RGB(0, 90, 7));
    copy.SetTransparentMode(tmAuto);
    QCOMPARE(copy.TransparentColor(), clRed);
}

void TestBitmap::assignImageConvertsToRgb32()
{
    QImage argb(2, 1, QImage::Format_ARGB32);
    argb.setPixel(0, 0, qRgba(10, 20, 30, 255));
    argb.setPixel(1, 0, qRgba(40, 50, 60, 255));
    TBitmap bitmap;
    ChangeCounter counter(bitmap);
    bitmap.Assign(argb);
    QCOMPARE(bitmap.Image().format(), QImage::Format_RGB32);
    QCOMPARE(bitmap.Pixel(1, 0), RGB(40, 50, 60));
    QCOMPARE(counter.Count, 1);

    bitmap.Assign(QImage());
    QVERIFY(bitmap.Empty());
    QCOMPARE(counter.Count, 2);
}

void TestBitmap::assignBitmapCopiesIndependently()
{
    TBitmap source;
    Paint(source, 3, 2);
    TBitmap copy;
    ChangeCounter counter(copy);
    copy.Assign(source);
    QCOMPARE(counter.Count, 1);
    QCOMPARE(copy.Image(), source.Image());

    // Drawing on either afterwards leaves the other alone.
    copy.Canvas().SetPixel(0, 0, clRed);
    source.Canvas().SetPixel(1, 0, clBlue);
    QCOMPARE(source.Pixel(0, 0), RGB(0, 0, 7));
    QCOMPARE(copy.Pixel(1, 0), RGB(20, 0, 7));

    copy.Assign(copy);
    QCOMPARE(copy.Pixel(0, 0), clRed);
    QCOMPARE(counter.Count, 2);
}

void TestBitmap::pngRoundTrip_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("one pixel") << 1 << 1;
    QTest::newRow("picture") << 13 << 7;
    QTest::newRow("empty") << 0 << 0;
}

void TestBitmap::pngRoundTrip()
{
    QFETCH(int, width);
    QFETCH(int, height);
    TBitmap original;
    Paint(original, width, height);
    const QByteArray png = original.SaveToPng();
    QCOMPARE(png.isEmpty(), original.Empty());
    if (!png.isEmpty())
        QVERIFY(png.startsWith("\x89PNG\r\n\x1a\n"));

    TBitmap loaded(2, 2);
    ChangeCounter counter(loaded);
    QVERIFY(loaded.LoadFromPng(png));
    QCOMPARE(loaded.Width(), width);
    QCOMPARE(loaded.Height(), height);
    QCOMPARE(loaded.Image(), original.Image());
    QCOMPARE(counter.Count, 1);
}

void TestBitmap::badPngLeavesBitmapAsItWas_data()
{
    QTest::addColumn<QByteArray>("data");
    TBitmap good(3, 3);
    const QByteArray png = good.SaveToPng();
    QTest::newRow("not an image") << QByteArray("hello");
    QTest::newRow("signature only") << png.left(8);
    QTest::newRow("cut short") << png.left(png.size() / 2);
    QImage bmp(2, 2, QImage::Format_RGB32);
    bmp.fill(Qt::red);
    QByteArray other;
    QBuffer buffer(&other);
    buffer.open(QIODevice::WriteOnly);
    bmp.save(&buffer, "BMP");
    QTest::newRow("another format") << other;
}

void TestBitmap::badPngLeavesBitmapAsItWas()
{
    QFETCH(QByteArray, data);
    TBitmap bitmap;
    Paint(bitmap, 3, 2);
    const QImage before = bitmap.Image().copy();
    ChangeCounter counter(bitmap);
    QVERIFY(!bitmap.LoadFromPng(data));
    QCOMPARE(bitmap.Image(), before);
    QCOMPARE(counter.Count, 0);
}

void TestBitmap::xpmPictures_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    const QByteArray ok = "/* XPM */ static const char* x[] = {\"3 2 3 1\", \"  c None\", \"K c #000000\", "
                          "\"W c #FFFFFF\", \"KW \", \" WK\"};";
    QTest::newRow("picture") << ok << true;
    QTest::newRow("row too short") << QByteArray(ok).replace("\" WK\"", "\"WK\"") << false;
    QTest::newRow("a row missing") << QByteArray(ok).replace(", \" WK\"", "") << false;
    QTest::newRow("unknown character") << QByteArray(ok).replace("\" WK\"", "\" WQ\"") << false;
    QTest::newRow("bad colour") << QByteArray(ok).replace("#FFFFFF", "#FFFFFG") << false;
    QTest::newRow("two characters a pixel") << QByteArray(ok).replace("3 2 3 1", "3 2 3 2") << false;
    QTest::newRow("huge") << QByteArray(ok).replace("3 2 3 1", "100000 100000 3 1") << false;
    QTest::newRow("unclosed quote") << QByteArray(ok).chopped(3) << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestBitmap::xpmPictures()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    const QImage image = ReadXpm(text);
    QCOMPARE(!image.isNull(), valid);
    if (valid) {
        QCOMPARE(image.size(), QSize(3, 2));
        QCOMPARE(image.pixel(0, 0), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(1, 0), qRgb(255, 255, 255));
        QCOMPARE(qAlpha(image.pixel(2, 0)), 0);
        QCOMPARE(image.pixel(2, 1), qRgb(0, 0, 0));
    }
}

QTEST_GUILESS_MAIN(TestBitmap)
#include "tst_bitmap.moc"
