// The slider's painted pixels: bevel, face, ruler strips, tick marks, focus
// rectangle and thumb states, each computed here from the drawing rules and
// the image maps; and what gets repainted when.
#include "tests/slider/sliderfixture.h"

#include "framework/application.h"

#include <QPaintEvent>
#include <QtTest>

#include <cmath>

using namespace SliderFixture;

namespace {

constexpr int Width = 396;
constexpr int Height = 32;

// The thumb's left edge of the channel slider for a value: 373 pixels of
// travel from x 7, ties to even.
int ThumbLeft(int value)
{
    return 7 + int(std::nearbyint(373.0 * value / 255.0));
}

void Put(QImage& image, int x, int y, TColor color)
{
    image.setPixel(x, y, ColorToPixel(color));
}

// The channel slider as its drawing rules paint it.
QImage ExpectedChannel(int value, bool focused, bool pressed, TColor face)
{
    QImage e(Width, Height, QImage::Format_RGB32);
    e.fill(ColorToPixel(face));
    // Lowered bevel: shadow on the top and left, highlight on the bottom
    // and right, which also take the two corners they share with them.
    for (int x = 0; x < Width; ++x)
        for (int y = 0; y < Height; ++y)
            if (x == 0 || y == 0 || x == Width - 1 || y == Height - 1)
                Put(e, x, y, (x == Width - 1 || y == Height - 1) ? RGB(255, 255, 255) : RGB(128, 128, 128));
    // The ruler, 382 pixels from (7, 11): source column 0, the middle 1-8
    // 47 times, then columns 5-9; magenta left out.
    for (int x = 0; x < 382; ++x) {
        const int column = x == 0 ? 0 : x <= 376 ? 1 + (x - 1) % 8 : x - 372;
        for (int y = 0; y < 8; ++y)
            if (!IsMagenta(HRulerMap[y][column]))
                Put(e, 7 + x, 11 + y, LetterColor(HRulerMap[y][column]));
    }
    // The dotted focus frame on (3, 3)-(392, 28): every pixel with an even
    // x + y inverted.
    if (focused)
        for (int x = 3; x <= 392; ++x)
            for (int y = 3; y <= 28; ++y)
                if ((x == 3 || x == 392 || y == 3 || y == 28) && (x + y) % 2 == 0)
                    e.setPixel(x, y, e.pixel(x, y) ^ 0xFFFFFF);
    // Ticks below the ruler under the thumb's middle, every third value and
    // one at 255; the end ones 5 pixels long, the others 3.
    QList<int> ticks;
    for (int v = 0; v <= 252; v += 3)
        ticks << v;
    ticks << 255;
    for (int v : ticks) {
        const int length = v == 0 || v == 255 ? 5 : 3;
        for (int y = 25; y < 25 + length; ++y)
            Put(e, ThumbLeft(v) + 4, y, clBlack);
    }
    // The thumb: the left 9 columns of HTHUMB normally, the right 9 pressed.
    const int first = pressed ? 9 : 0;
    for (int c = 0; c < 9; ++c)
        for (int y = 0; y < 17; ++y) {
            const QChar letter = HThumbMap[y][first + c];
            if (!IsMagenta(letter))
                Put(e, ThumbLeft(value) + c, 7 + y, LetterColor(letter));
        }
    return e;
}

// Records the paint events a widget receives.
class TPaintLog : public QObject {
public:
    explicit TPaintLog(QWidget* w) { w->installEventFilter(this); }
    QList<QRegion> Regions;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            Regions << static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

QRegion ThumbRegion(const TRect& r)
{
    return QRegion(r.Left, r.Top, r.Width(), r.Height());
}

int BlackInRow(const QImage& image, int y)
{
    int n = 0;
    for (int x = 0; x < image.width(); ++x)
        n += (image.pixel(x, y) & 0xFFFFFF) == 0;
    return n;
}

} // namespace

class TestSliderPaint : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void channelSlider_data();
    void channelSlider();
    void tickMarks();
    void opaqueOptions_data();
    void opaqueOptions();
    void userThumbTransparency();
    void pictureTransparency_data();
    void pictureTransparency();
    void drawPointsHook();
    void verticalTicks();
    void paintCopy();
    void thumbMoveRepaintsOnlyThumb();
    void focusRepaint_data();
    void focusRepaint();
    void enabledChangeRepaintsThumb();
    void colourChangeRepaints();
};

void TestSliderPaint::initTestCase()
{
    InitSliderModule();
}

void TestSliderPaint::channelSlider_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("focus");
    QTest::addColumn<bool>("disable");
    QTest::addColumn<bool>("hold"); // the left button holds the thumb
    QTest::addColumn<bool>("focused");
    QTest::addColumn<bool>("pressed");

    QTest::newRow("0") << 0 << false << false << false << false << false;
    QTest::newRow("0 focused") << 0 << true << false << false << true << false;
    QTest::newRow("255") << 255 << false << false << false << false << false;
    QTest::newRow("255 focused") << 255 << true << false << false << true << false;
    QTest::newRow("0 disabled") << 0 << false << true << false << false << true;
    QTest::newRow("255 disabled") << 255 << false << true << false << false << true;
    // Disabling moves the focus away, and the frame with it.
    QTest::newRow("255 focused, then disabled") << 255 << true << true << false << false << true;
    QTest::newRow("128 held by the mouse") << 128 << false << false << true << true << true;
}

void TestSliderPaint::channelSlider()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    QFETCH(int, value);
    QFETCH(bool, focus);
    QFETCH(bool, disable);
    QFETCH(bool, hold);
    s->SetValue(value);
    if (focus) {
        s->setFocus();
        QTRY_VERIFY(s->HasFocus());
    }
    if (disable)
        s->setEnabled(false);
    if (hold)
        QTest::mousePress(s, Qt::LeftButton, {}, w.ThumbCentre());
    QTEST(s->HasFocus(), "focused");
    s->Paint();
    QFETCH(bool, focused);
    QFETCH(bool, pressed);
    const QImage expected = ExpectedChannel(value, focused, pressed, clRed);
    QString message;
    const QString name =
        QStringLiteral("slider-%1").arg(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-'));
    QVERIFY2(SameImage(s->Buffer(), expected, name, message), qPrintable(message));
    // What reaches the screen is that picture, copied in one piece.
    QVERIFY2(SameImage(s->grab().toImage(), expected, name + QStringLiteral("-screen"), message), qPrintable(message));
    if (hold)
        QTest::mouseRelease(s, Qt::LeftButton, {}, w.ThumbCentre());
}

void TestSliderPaint::tickMarks()
{
    TSliderWindow w;
    w.Slider->Paint();
    const QImage& image = w.Slider->Buffer();
    // Row 26 crosses every tick and nothing else black.
    QCOMPARE(BlackInRow(image, 26), 86);
    // Rows 28 and 29 only the two end ticks.
    for (int y : {28, 29}) {
        QCOMPARE(BlackInRow(image, y), 2);
        QCOMPARE(image.pixel(11, y) & 0xFFFFFF, 0u);
        QCOMPARE(image.pixel(384, y) & 0xFFFFFF, 0u);
    }
    QCOMPARE(BlackInRow(image, 30), 0);

    // The default slider: one tick per 10 over 0 to 100.
    TImageSlider plain;
    plain.Paint();
    QCOMPARE(BlackInRow(plain.Buffer(), plain.PointsOrigin().Y + 1), 11);
}

void TestSliderPaint::opaqueOptions_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<QPoint>("where"); // a magenta pixel of the image
    QTest::newRow("ruler") << int(TSliderOption::soRulerOpaque) << QPoint(100, 11);
    QTest::newRow("thumb") << int(TSliderOption::soThumbOpaque) << QPoint(7, 23);
}

void TestSliderPaint::opaqueOptions()
{
    TSliderWindow w;
    QFETCH(int, option);
    QFETCH(QPoint, where);
    w.Slider->Paint();
    QCOMPARE(PixelToColor(w.Slider->Buffer().pixel(where)), clRed);
    w.Slider->SetOptions(w.Slider->Options().With(TSliderOption(option)));
    w.Slider->Paint();
    QCOMPARE(PixelToColor(w.Slider->Buffer().pixel(where)), RGB(255, 0, 255));
}

void TestSliderPaint::userThumbTransparency()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    s->SetNumThumbStates(1);
    // Black bottom-left: all its black pixels are left out.
    QImage thumb(9, 17, QImage::Format_RGB32);
    thumb.fill(Qt::black);
    for (int y = 0; y < 17; ++y)
        thumb.setPixel(4, y, qRgb(0, 0, 255));
    s->SetImage(siHThumb, thumb);
    s->Paint();
    const QImage& image = s->Buffer();
    QCOMPARE(PixelToColor(image.pixel(11, 9)), RGB(0, 0, 255));
    QCOMPARE(PixelToColor(image.pixel(8, 9)), clRed);
    // Where black ruler pixels lie under the thumb, they show through.
    QCOMPARE(PixelToColor(image.pixel(8, 14)), clBlack);
    s->SetOptions(s->Options().With(TSliderOption::soThumbOpaque));
    s->Paint();
    QCOMPARE(PixelToColor(s->Buffer().pixel(8, 9)), clBlack);
}

void TestSliderPaint::pictureTransparency_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("oneBit");
    QTest::addColumn<TColor>("fixed"); // set explicitly; -1: none
    QTest::addColumn<TColor>("shown"); // where the picture is white; red is the face
    QTest::newRow("one-bit thumb: white left out") << int(siHThumb) << true << -1 << clRed;
    QTest::newRow("one-bit thumb, black set") << int(siHThumb) << true << clBlack << clWhite;
    QTest::newRow("one-bit ruler: white left out") << int(siHRuler) << true << -1 << clRed;
    QTest::newRow("colour ruler, white set") << int(siHRuler) << false << clWhite << clRed;
}

void TestSliderPaint::pictureTransparency()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    QFETCH(int, index);
    QFETCH(bool, oneBit);
    QFETCH(TColor, fixed);
    const bool thumb = index == siHThumb;
    // White with a black bottom-left pixel.
    QImage image(thumb ? 18 : 10, thumb ? 17 : 8, oneBit ? QImage::Format_Mono : QImage::Format_RGB32);
    image.fill(oneBit ? 1u : 0xFFFFFFFFu);
    image.setPixel(0, image.height() - 1, oneBit ? 0u : 0xFF000000u);
    TBitmap picture;
    picture.Assign(image);
    s->SetImage(index, &picture);
    // Through the picture's stored form, as a description keeps it.
    QVERIFY(picture.LoadFromPng(s->Image(index)->SaveToPng()));
    s->SetImage(index, &picture);
    if (fixed >= 0)
        s->Image(index)->SetTransparentColor(fixed);
    s->SetValue(255);
    s->Paint();
    // The thumb from (380, 7), over the face at its row 2; the ruler from (7, 11).
    QTEST(PixelToColor(s->Buffer().pixel(thumb ? QPoint(382, 9) : QPoint(13, 13))), "shown");
}

void TestSliderPaint::drawPointsHook()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    int calls = 0;
    s->OnDrawPoints = [&](QObject* sender) {
        QCOMPARE(sender, static_cast<QObject*>(s));
        ++calls;
        s->DrawStandardPoints(85, 2, 2);
    };
    s->Paint();
    QCOMPARE(calls, 1);
    // Only the handler's ticks: 0, 85, 170, 255, two pixels long.
    QCOMPARE(BlackInRow(s->Buffer(), 26), 4);
    QCOMPARE(BlackInRow(s->Buffer(), 27), 0);
    s->SetOptions(s->Options().Without(TSliderOption::soShowPoints));
    s->Paint();
    QCOMPARE(calls, 1);
    QCOMPARE(BlackInRow(s->Buffer(), 26), 0);
}

void TestSliderPaint::verticalTicks()
{
    TImageSlider s;
    s.SetOrientation(TSliderOrientation::soVertical);
    s.Paint();
    // Ticks run to the right from x 26, at the middle of the thumb's place.
    const QImage& image = s.Buffer();
    int ticks = 0;
    for (int y = 0; y < image.height(); ++y)
        ticks += (image.pixel(27, y) & 0xFFFFFF) == 0;
    QCOMPARE(ticks, 11);
    QCOMPARE(image.pixel(27, s.ValueToPos(100) + 4) & 0xFFFFFF, 0u);
    QCOMPARE(image.pixel(30, s.ValueToPos(0) + 4) & 0xFFFFFF, 0u); // end tick, 5 long
    QCOMPARE(image.pixel(30, s.ValueToPos(50) + 4) & 0xFFFFFF, ColorToPixel(s.FaceColor()) & 0xFFFFFF);
}

void TestSliderPaint::paintCopy()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    s->SetValue(128);
    QTest::mousePress(s, Qt::LeftButton, {}, w.ThumbCentre());
    QVERIFY(s->ThumbDown());
    QString message;
    // A copy shows the value's own state, not the held thumb.
    QVERIFY2(SameImage(s->PaintCopy(), ExpectedChannel(128, true, false, clRed), "copy-held", message),
             qPrintable(message));
    QTest::mouseRelease(s, Qt::LeftButton, {}, w.ThumbCentre());
    s->setEnabled(false);
    QVERIFY2(SameImage(s->PaintCopy(), ExpectedChannel(128, false, true, clRed), "copy-disabled", message),
             qPrintable(message));
}

void TestSliderPaint::thumbMoveRepaintsOnlyThumb()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    s->SetValue(10);
    QCoreApplication::processEvents();
    TPaintLog log(s);
    const TRect before = s->ThumbRect();
    s->SetValue(200);
    const TRect after = s->ThumbRect();
    QTRY_VERIFY(!log.Regions.isEmpty());
    QCOMPARE(log.Regions.first(), ThumbRegion(before) | ThumbRegion(after));
}

void TestSliderPaint::focusRepaint_data()
{
    QTest::addColumn<bool>("showFocus");
    QTest::newRow("with soShowFocus") << true;
    QTest::newRow("without soShowFocus") << false;
}

void TestSliderPaint::focusRepaint()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    QFETCH(bool, showFocus);
    if (!showFocus)
        s->SetOptions(s->Options().Without(TSliderOption::soShowFocus));
    s->setFocus();
    QTRY_VERIFY(s->HasFocus());
    QCoreApplication::processEvents();
    TPaintLog log(s);
    w.Other->setFocus();
    QTRY_VERIFY(!s->HasFocus());
    // The line edit repaints in any case; once it has, so would the slider.
    TPaintLog otherLog(w.Other);
    w.Other->update();
    QTRY_VERIFY(!otherLog.Regions.isEmpty());
    QCOMPARE(!log.Regions.isEmpty(), showFocus);

    // Another window taking the activation leaves the slider the focused
    // control of its own window.
    s->setFocus();
    QTRY_VERIFY(s->HasFocus());
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QTRY_COMPARE(QApplication::activeWindow(), &other);
    QVERIFY(s->HasFocus());
}

void TestSliderPaint::enabledChangeRepaintsThumb()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    QCoreApplication::processEvents();
    TPaintLog log(s);
    s->setEnabled(false);
    QTRY_VERIFY(!log.Regions.isEmpty());
    QVERIFY(log.Regions.first().contains(ThumbRegion(s->ThumbRect()).boundingRect()));
    s->Paint();
    QString message;
    QVERIFY2(SameImage(s->Buffer(), ExpectedChannel(0, false, true, clRed), "disabled", message), qPrintable(message));
}

void TestSliderPaint::colourChangeRepaints()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    QCoreApplication::processEvents();
    TPaintLog log(s);
    s->SetColor(clRed); // unchanged: nothing
    QCoreApplication::processEvents();
    QVERIFY(log.Regions.isEmpty());
    s->SetColor(RGB(0, 128, 0));
    QTRY_VERIFY(!log.Regions.isEmpty());
    QCOMPARE(log.Regions.first(), QRegion(s->rect()));
    QCOMPARE(PixelToColor(s->Buffer().pixel(2, 2)), RGB(0, 128, 0));
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestSliderPaint test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sliderpaint.moc"
