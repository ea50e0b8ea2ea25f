// The custom-drawn parts of the main window on a screen scaled between whole
// pixel ratios (run at 1.25, 1.5 and 1.75): one-pixel lines of one kind are
// equally thick everywhere, ticks stand at their logical places times the
// ratio, and the pictures are copied without blending, the same wherever
// they lie.
#include "tests/hidpi/hidpifixture.h"

#include "framework/application.h"
#include "framework/devicegrid.h"
#include "framework/palette.h"
#include "widgets/colorcombo/colorcombobox.h"
#include "widgets/slider/imageslider.h"

#include <QBackingStore>
#include <QSet>
#include <QtTest>

#include <cmath>

using namespace HiDpi;

namespace {

QRgb Rgb(TColor c)
{
    return ColorToPixel(c) & 0xFFFFFFu;
}

QRgb At(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFFu;
}

// How many pixels of one colour follow each other from (x, y) in a direction.
int RunFrom(const QImage& image, int x, int y, int dx, int dy, QRgb colour)
{
    int n = 0;
    while (image.valid(x, y) && At(image, x, y) == colour) {
        ++n;
        x += dx;
        y += dy;
    }
    return n;
}

// The runs of one colour along a row: where each starts and how long it is.
QList<QPair<int, int>> Runs(const QImage& image, int y, QRgb colour)
{
    QList<QPair<int, int>> runs;
    for (int x = 0; x < image.width(); ++x)
        if (At(image, x, y) == colour && (x == 0 || At(image, x - 1, y) != colour))
            runs.append({x, RunFrom(image, x, y, 1, 0, colour)});
    return runs;
}

// The rows (or columns) within [from, to) where two pictures differ between
// the columns (or rows) [first, last).
QList<int> DifferingLines(const QImage& a, const QImage& b, bool rows, int from, int to, int first, int last)
{
    QList<int> lines;
    for (int i = from; i < to; ++i) {
        for (int j = first; j < last; ++j)
            if (rows ? a.pixel(j, i) != b.pixel(j, i) : a.pixel(i, j) != b.pixel(i, j)) {
                lines.append(i);
                break;
            }
    }
    return lines;
}

QList<int> Span(int first, int count)
{
    QList<int> lines;
    for (int i = 0; i < count; ++i)
        lines.append(first + i);
    return lines;
}

} // namespace

class TestHiDpiFractional : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void ticksAreEven_data();
    void ticksAreEven();
    void sliderFramesAreEven();
    void panelBevelsAreEven();
    void swatchFrameIsEven_data();
    void swatchFrameIsEven();
    void thumbIsTheSameEverywhere_data();
    void thumbIsTheSameEverywhere();
    void screenShowsThePicture();

private:
    TDeviceGrid grid_{1};
};

void TestHiDpiFractional::initTestCase()
{
    QVERIFY2(IsFractionalRatio(qApp->devicePixelRatio()), "run with QT_SCALE_FACTOR between whole numbers");
    grid_ = TDeviceGrid(qApp->devicePixelRatio());
}

void TestHiDpiFractional::ticksAreEven_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("vertical");
    QTest::newRow("thumb at the left") << 20 << false;
    QTest::newRow("middle") << 128 << false;
    QTest::newRow("thumb at the right") << 251 << false;
    QTest::newRow("vertical") << 90 << true;
}

void TestHiDpiFractional::ticksAreEven()
{
    QFETCH(int, value);
    QFETCH(bool, vertical);
    TShownForm f;
    TImageSlider* s = f.Form.SlG;
    if (vertical)
        s->SetOrientation(TSliderOrientation::soVertical);
    s->SetValue(value);
    QTRY_VERIFY(s->isVisible());
    const QImage high = AtRatio2(s);
    QCOMPARE(high.size(), QSize(grid_.Length(s->width()), grid_.Length(s->height())));
    // A vertical slider's ticks, read along a row of its picture turned over
    // its diagonal.
    const auto along = [vertical](const QImage& image) {
        return vertical ? image.transformed(QTransform().rotate(90)).mirrored(true, false) : image;
    };
    const int y = vertical ? s->PointsOrigin().X : s->PointsOrigin().Y;
    const QList<QPair<int, int>> logical = Runs(along(AtRatio1(s)), y, Rgb(clWindowText));
    const QList<QPair<int, int>> device = Runs(along(high), grid_.Edge(y), Rgb(clWindowText));
    QCOMPARE(logical.size(), 86);
    QCOMPARE(device.size(), logical.size());
    QList<int> gaps;
    for (int i = 0; i < device.size(); ++i) {
        QCOMPARE(device[i].second, grid_.Line());
        QCOMPARE(device[i].first, grid_.Edge(logical[i].first));
        if (i > 0)
            gaps.append(device[i].first - device[i - 1].first - device[i - 1].second);
    }
    // The logical gaps differ by one pixel, which covers one or two device
    // pixels here.
    const int spread = *std::max_element(gaps.begin(), gaps.end()) - *std::min_element(gaps.begin(), gaps.end());
    QVERIFY2(spread <= std::ceil(grid_.Ratio()), qPrintable(QString::number(spread)));
}

void TestHiDpiFractional::sliderFramesAreEven()
{
    TShownForm f;
    TImageSlider* s = f.Form.SlG;
    s->SetValue(200);
    f.Form.BtnCopy->setFocus();
    QTRY_VERIFY(!s->HasFocus());
    const QImage plain = AtRatio2(s);
    const int w = plain.width();
    const int h = plain.height();
    const int t = grid_.Line();
    // The bevel, lowered: shadow at the top and left, light at the bottom and right.
    QCOMPARE(RunFrom(plain, 0, h / 2, 1, 0, Rgb(clBtnShadow)), t);
    QCOMPARE(RunFrom(plain, w / 3, 0, 0, 1, Rgb(clBtnShadow)), t);
    QCOMPARE(RunFrom(plain, w - 1, h / 2, -1, 0, Rgb(clBtnHighlight)), t);
    QCOMPARE(RunFrom(plain, w / 3, h - 1, 0, -1, Rgb(clBtnHighlight)), t);
    QCOMPARE(At(plain, t, h / 2), Rgb(RGB(0, 200, 0)));

    // The focus frame, (3, 3, 393, 29) logical, is what focusing changes.
    s->setFocus();
    QTRY_VERIFY(s->HasFocus());
    const QImage focused = AtRatio2(s);
    // Each edge looked at away from the others, the thumb and the ruler.
    QCOMPARE(DifferingLines(plain, focused, false, 0, w / 4, h / 3, h * 2 / 3), Span(grid_.Edge(3), t));
    QCOMPARE(DifferingLines(plain, focused, false, w * 3 / 4, w, h / 3, h * 2 / 3), Span(grid_.Edge(393) - t, t));
    QCOMPARE(DifferingLines(plain, focused, true, 0, h / 4, w / 3, w * 2 / 3), Span(grid_.Edge(3), t));
    QCOMPARE(DifferingLines(plain, focused, true, h * 3 / 4, h, w / 3, w * 2 / 3), Span(grid_.Edge(29) - t, t));
}

void TestHiDpiFractional::panelBevelsAreEven()
{
    TShownForm f;
    f.Form.PageControl1->SetActivePageName(QStringLiteral("TabSheet3"));
    QWidget* panel = f.Form.findChild<QWidget*>(QStringLiteral("Panel2"));
    QVERIFY(panel);
    QTRY_VERIFY(panel->isVisible());
    const QImage image = AtRatio2(panel);
    const int w = image.width();
    const int h = image.height();
    const int t = grid_.Line();
    const QRgb shadow = Rgb(clBtnShadow);
    const QRgb light = Rgb(clBtnHighlight);
    // Lowered outside, raised inside: from each side two lines of t pixels.
    const struct {
        int X, Y, Dx, Dy;
        QRgb Outer, Inner;
    } sides[] = {{0, h / 2, 1, 0, shadow, light},
                 {w / 2, 0, 0, 1, shadow, light},
                 {w - 1, h / 2, -1, 0, light, shadow},
                 {w / 2, h - 1, 0, -1, light, shadow}};
    for (const auto& side : sides) {
        QCOMPARE(RunFrom(image, side.X, side.Y, side.Dx, side.Dy, side.Outer), t);
        QCOMPARE(RunFrom(image, side.X + t * side.Dx, side.Y + t * side.Dy, side.Dx, side.Dy, side.Inner), t);
    }
}

void TestHiDpiFractional::swatchFrameIsEven_data()
{
    QTest::addColumn<bool>("focused");
    QTest::newRow("field") << false;
    QTest::newRow("field focused") << true;
}

void TestHiDpiFractional::swatchFrameIsEven()
{
    QFETCH(bool, focused);
    TShownForm f;
    TColorComboBox* combo = f.Form.ClrCmbBox;
    combo->SetColorValue(clRed);
    if (focused)
        combo->setFocus();
    else
        f.Form.BtnCopy->setFocus();
    QTRY_COMPARE(combo->hasFocus(), focused);
    const QImage image = AtRatio2(combo);
    const QRect swatch = Swatch(combo->FieldRect());
    const QPoint centre(grid_.Edge(swatch.center().x()), grid_.Edge(swatch.center().y()));
    // From the middle of the colour outward, each side's frame line.
    for (const QPoint& d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
        const int inside = RunFrom(image, centre.x(), centre.y(), d.x(), d.y(), Rgb(clRed));
        QVERIFY(inside > 0);
        const QPoint edge = centre + d * inside;
        QCOMPARE(RunFrom(image, edge.x(), edge.y(), d.x(), d.y(), Rgb(clWindowText)), grid_.Line());
    }
}

void TestHiDpiFractional::thumbIsTheSameEverywhere_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::newRow("next values") << 77 << 78;
    QTest::newRow("ends") << 0 << 255;
    QTest::newRow("far apart") << 3 << 130;
}

void TestHiDpiFractional::thumbIsTheSameEverywhere()
{
    QFETCH(int, first);
    QFETCH(int, second);
    TShownForm f;
    TImageSlider* s = f.Form.SlG;
    // Without the window's handler, which tints the face with the value.
    s->OnChange = nullptr;
    const auto thumbAt = [&](int value) {
        s->SetValue(value);
        const TRect t = s->ThumbRect();
        return AtRatio2(s).copy(grid_.Edge(t.Left), grid_.Edge(t.Top), grid_.Length(t.Width()),
                                grid_.Length(t.Height()));
    };
    const QImage a = thumbAt(first);
    QCOMPARE(thumbAt(second), a);
    // Every device pixel is one of the picture's own colours or the face:
    // nothing blended.
    const QSet<QRgb> colours{Rgb(clBlack), Rgb(clGray), Rgb(clSilver), Rgb(clWhite), Rgb(s->FaceColor())};
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            QVERIFY2(colours.contains(At(a, x, y)), qPrintable(Hex(At(a, x, y))));
    // The thumb's point stands over the middle tick of its value.
    const int pointRow = a.height() - 1;
    const QList<QPair<int, int>> point = Runs(a, pointRow, Rgb(clBlack));
    QCOMPARE(point.size(), 1);
    const int tick = grid_.Edge(s->ThumbRect().Left + s->ThumbRect().Width() / 2) - grid_.Edge(s->ThumbRect().Left);
    QCOMPARE(point[0].first, tick);
}

void TestHiDpiFractional::screenShowsThePicture()
{
    // The window's backing store holds the slider's device pixels as they
    // are, at a whole device pixel, with no second scaling.
    TShownForm f;
    TImageSlider* s = f.Form.SlG;
    s->SetValue(91);
    QCoreApplication::processEvents();
    s->repaint();
    const QPaintDevice* store = f.Form.backingStore()->paintDevice();
    QCOMPARE(store->devType(), int(QInternal::Image));
    const QImage& window = *static_cast<const QImage*>(store);
    const QPoint at = s->mapTo(&f.Form, QPoint(0, 0));
    const QImage shown = window.copy(grid_.Edge(at.x()), grid_.Edge(at.y()), s->Buffer().width(), s->Buffer().height())
                             .convertToFormat(QImage::Format_RGB32);
    QImage own = s->Buffer();
    own.setDevicePixelRatio(shown.devicePixelRatio());
    if (shown != own)
        QFAIL(qPrintable(QStringLiteral("saved as %1").arg(SaveOnFailure(shown, QStringLiteral("screen")))));
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestHiDpiFractional test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpifractional.moc"
