// The canvas on a picture of device pixel ratio 2 draws in logical pixels:
// every operation gives the ratio-1 result with each pixel a 2 x 2 block.
#include "tests/hidpi/hidpifixture.h"

#include "framework/application.h"
#include "framework/bitmap.h"
#include "framework/canvas.h"

#include <QtTest>

using namespace HiDpi;

namespace {

constexpr int W = 20;
constexpr int H = 12;

// A picture where every logical pixel has a colour of its own, so that a
// pixel moved or copied from the wrong place shows.
QImage Pattern(int ratio)
{
    QImage image(W * ratio, H * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(10 * (x / ratio), 20 * (y / ratio), 90));
    return image;
}

// A 6 x 4 bitmap, its bottom-left pixel (the transparent colour) repeated
// on the diagonal.
void FillSource(TBitmap& b)
{
    b.SetSize(6, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            b.Canvas().SetPixel(x, y, x == y || (x == 0 && y == 3) ? clFuchsia : RGB(40 * x, 60 * y, 200));
}

struct TOperation {
    const char* Name;
    void (*Draw)(TCanvas&);
};

const TOperation Operations[] = {
    {"fill cut at the right and bottom",
     [](TCanvas& c) {
         c.FillRect(TRect{5, 3, 40, 40});
     }},
    {"fill cut at the left and top",
     [](TCanvas& c) {
         c.FillRect(TRect{-3, -2, 4, 5});
     }},
    {"rectangle",
     [](TCanvas& c) {
         c.PenColor = clRed;
         c.Rectangle(TRect{2, 1, 17, 11});
     }},
    {"rectangle, clear brush",
     [](TCanvas& c) {
         c.BrushStyle = TBrushStyle::bsClear;
         c.Rectangle(TRect{-1, 3, 8, 20});
     }},
    {"lines in and out",
     [](TCanvas& c) {
         c.PenColor = clLime;
         c.MoveTo(-4, -1);
         c.LineTo(25, 9);
         c.LineTo(3, 14);
         c.LineTo(3, 2);
     }},
    {"pixels in and out",
     [](TCanvas& c) {
         c.SetPixel(0, 0, clYellow);
         c.SetPixel(W - 1, H - 1, clYellow);
         c.SetPixel(W, 3, clYellow);
         c.SetPixel(4, -1, clYellow);
     }},
    {"focus frame",
     [](TCanvas& c) {
         c.DrawFocusRect(TRect{1, 2, 19, 11});
     }},
    {"focus frame cut",
     [](TCanvas& c) {
         c.DrawFocusRect(TRect{3, 0, 30, 7});
     }},
    {"bitmap copies cut",
     [](TCanvas& c) {
         TBitmap b;
         FillSource(b);
         c.Draw(16, 9, b, TRect{0, 0, 6, 4});
         c.Draw(-2, 1, b, TRect{1, -1, 5, 3});
     }},
    {"bitmap, transparent colour",
     [](TCanvas& c) {
         TBitmap b;
         FillSource(b);
         c.DrawTransparent(3, 4, b, TRect{0, 0, 6, 4}, b.TransparentColor());
     }},
};

QImage Drawn(int ratio, int operation)
{
    QImage image = Pattern(ratio);
    TCanvas canvas(&image);
    canvas.BrushColor = clNavy;
    Operations[operation].Draw(canvas);
    return image;
}

} // namespace

class TestHiDpiCanvas : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void drawsInLogicalPixels_data();
    void drawsInLogicalPixels();
    void readsLogicalPixels();
    void measuresTextAsAtRatio1();
    void sourceOfTheSameRatioKeepsItsDetail();
    void bitmapIsPlainPixels();
};

void TestHiDpiCanvas::initTestCase()
{
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
}

void TestHiDpiCanvas::drawsInLogicalPixels_data()
{
    QTest::addColumn<int>("operation");
    for (int i = 0; i < int(std::size(Operations)); ++i)
        QTest::newRow(Operations[i].Name) << i;
}

void TestHiDpiCanvas::drawsInLogicalPixels()
{
    QFETCH(int, operation);
    const QImage low = Drawn(1, operation);
    QVERIFY(low != Pattern(1));
    const QImage high = Drawn(Ratio, operation);
    QCOMPARE(high.devicePixelRatio(), qreal(Ratio));
    const QString error = Doubled(high, low, low.rect());
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TestHiDpiCanvas::readsLogicalPixels()
{
    QImage low = Pattern(1);
    QImage high = Pattern(Ratio);
    TCanvas l(&low);
    TCanvas h(&high);
    for (int y = -1; y <= H; ++y)
        for (int x = -1; x <= W; ++x)
            QCOMPARE(h.GetPixel(x, y), l.GetPixel(x, y));
}

void TestHiDpiCanvas::measuresTextAsAtRatio1()
{
    QImage low = Pattern(1);
    QImage high = Pattern(Ratio);
    TCanvas l(&low);
    TCanvas h(&high);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    l.Font = font;
    h.Font = font;
    const QString text = QStringLiteral("Fuchsia");
    QCOMPARE(h.TextExtent(text), l.TextExtent(text));
    // The text's box in the brush colour covers whole logical pixels; the
    // text itself is drawn at the picture's full resolution.
    l.TextOut(2, 1, text);
    h.TextOut(2, 1, text);
    const QRect box(QPoint(2, 1), l.TextExtent(text));
    const QString error = Doubled(high, low, low.rect(), [&](int x, int y) { return !box.contains(x, y); });
    QVERIFY2(error.isEmpty(), qPrintable(error));
    int ink = 0;
    for (int y = Ratio * box.top(); y < Ratio * (box.bottom() + 1) && y < high.height(); ++y)
        for (int x = Ratio * box.left(); x < Ratio * (box.right() + 1) && x < high.width(); ++x) {
            const QRgb pixel = high.pixel(x, y) & 0xFFFFFFu;
            QVERIFY2(pixel == 0xFFFFFFu || pixel == 0, qPrintable(Hex(pixel)));
            ink += pixel == 0;
        }
    QVERIFY(ink > 0);
    QVERIFY(HasFinerDetail(high, box.intersected(low.rect())));
}

void TestHiDpiCanvas::sourceOfTheSameRatioKeepsItsDetail()
{
    // A picture made for the dense screen is copied pixel for pixel.
    TBitmap source;
    source.SetSize(2 * Ratio, 2 * Ratio);
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
            source.Canvas().SetPixel(x, y, RGB(50 * x, 50 * y, 0));
    source.Image().setDevicePixelRatio(Ratio);
    QImage high = Pattern(Ratio);
    TCanvas canvas(&high);
    canvas.Draw(5, 6, source, TRect{0, 0, 2, 2});
    for (int y = 0; y < 2 * Ratio; ++y)
        for (int x = 0; x < 2 * Ratio; ++x)
            QCOMPARE(Hex(high.pixel(Ratio * 5 + x, Ratio * 6 + y)), Hex(qRgb(50 * x, 50 * y, 0)));
    // Beside it nothing changed.
    QCOMPARE(Hex(high.pixel(Ratio * 7, Ratio * 6)), Hex(Pattern(Ratio).pixel(Ratio * 7, Ratio * 6)));
}

void TestHiDpiCanvas::bitmapIsPlainPixels()
{
    // A picture of ratio 2 assigned to a bitmap is taken pixel for pixel:
    // its size and its canvas agree.
    const QImage picture = Pattern(Ratio);
    TBitmap b;
    b.Assign(picture);
    QCOMPARE(b.Width(), W * Ratio);
    QCOMPARE(b.Height(), H * Ratio);
    QCOMPARE(b.Pixel(3, 0), PixelToColor(picture.pixel(3, 0)));
    QCOMPARE(b.TransparentColor(), PixelToColor(picture.pixel(0, H * Ratio - 1)));
    b.Canvas().SetPixel(1, 1, clRed);
    QCOMPARE(Hex(b.Image().pixel(1, 1)), Hex(ColorToPixel(clRed)));
    QCOMPARE(Hex(b.Image().pixel(0, 0)), Hex(picture.pixel(0, 0)));
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestHiDpiCanvas test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpicanvas.moc"
