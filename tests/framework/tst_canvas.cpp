#include "framework/bitmap.h"
#include "framework/canvas.h"

#include <QtTest>

#include <climits>

namespace {

// Expected pictures are written as character maps, one string per row; the
// legend gives each character's colour.
using Legend = QHash<QChar, TColor>;

constexpr TColor Back = 0x123456;
constexpr TColor Pen = clRed;
constexpr TColor Brush = clLime;
constexpr TColor Inverted = 0xEDCBA9; // Back with every colour bit flipped

const Legend& Standard()
{
    static const Legend legend{{'.', Back}, {'o', Pen}, {'#', Brush}, {'x', Inverted}};
    return legend;
}

QImage FromMap(const QStringList& rows, const Legend& legend)
{
    QImage image(int(rows.value(0).size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, ColorToPixel(legend.value(rows[y][x], clBlack)));
    return image;
}

QString ToMap(const QImage& image, const Legend& legend)
{
    QString text;
    for (int y = 0; y < image.height(); ++y) {
        text += QLatin1Char('\n');
        for (int x = 0; x < image.width(); ++x)
            text += legend.key(PixelToColor(image.pixel(x, y)), QLatin1Char('?'));
    }
    return text;
}

// Compares pixel by pixel; on a mismatch both pictures are printed as maps
// and the actual image is saved where the test build keeps its output.
bool SameImage(const QImage& actual, const QImage& expected, const Legend& legend)
{
    if (actual.convertToFormat(QImage::Format_RGB32) == expected)
        return true;
    qWarning().noquote() << "actual:" << ToMap(actual, legend) << "\nexpected:" << ToMap(expected, legend);
    const QString dir = qEnvironmentVariable("HUEBOX_TEST_OUTPUT");
    if (!dir.isEmpty()) {
        QString name =
            QStringLiteral("%1_%2.png")
                .arg(QString::fromLatin1(QTest::currentTestFunction()), QString::fromLatin1(QTest::currentDataTag()));
        name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.]")), QStringLiteral("_"));
        actual.save(dir + QLatin1Char('/') + name);
    }
    return false;
}

#define COMPARE_MAP(image, rows, legend) QVERIFY(SameImage((image), FromMap((rows), (legend)), (legend)))

// An 8 x 6 picture on the background colour.
QImage Blank()
{
    return FromMap(QStringList(6, QStringLiteral("........")), Standard());
}

// Maps of the 8 x 6 picture stop at the last row drawn on; the rows below
// it are background.
QStringList Padded(QStringList rows)
{
    while (rows.size() < 6)
        rows << QStringLiteral("........");
    return rows;
}

TRect R(int l, int t, int r, int b)
{
    return Rect(l, t, r, b);
}

} // namespace

Q_DECLARE_METATYPE(TRect)
Q_DECLARE_METATYPE(TPoint)

namespace {

// Source pictures in six distinct colours; 'k' (silver) is the one the
// transparent copies below leave out.
const Legend& SourceLegend()
{
    static const Legend legend{{'.', Back},     {'a', 0x010101}, {'b', 0x020202}, {'c', 0x030303},
                               {'d', 0x040404}, {'k', clSilver}, {'f', 0x060606}};
    return legend;
}

void LoadSource(TBitmap& source, const QStringList& rows)
{
    source.Assign(FromMap(rows, SourceLegend()));
}

} // namespace

Q_DECLARE_METATYPE(std::function<void(TCanvas&)>)

class TestCanvas : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(12);
        font.setStyleStrategy(QFont::NoAntialias);
        QGuiApplication::setFont(font);
    }

    void fillRect_data()
    {
        QTest::addColumn<TRect>("rect");
        QTest::addColumn<QStringList>("expected");
        // clang-format off
        QTest::newRow("right and bottom excluded") << R(1, 1, 4, 3) << QStringList{
            "........",
            ".###....",
            ".###...."};
        QTest::newRow("single pixel") << R(7, 5, 8, 6) << QStringList{
            "........",
            "........",
            "........",
            "........",
            "........",
            ".......#"};
        QTest::newRow("clipped left and top") << R(-3, -2, 2, 2) << QStringList{
            "##......",
            "##......"};
        QTest::newRow("clipped right and bottom") << R(6, 4, 20, 20) << QStringList{
            "........",
            "........",
            "........",
            "........",
            "......##",
            "......##"};
        QTest::newRow("whole int range") << R(INT_MIN, INT_MIN, INT_MAX, INT_MAX) << QStringList(6, "########");
        QTest::newRow("outside right") << R(8, 0, 12, 6) << QStringList(6, "........");
        QTest::newRow("outside above") << R(0, -5, 8, 0) << QStringList(6, "........");
        QTest::newRow("zero width") << R(3, 1, 3, 4) << QStringList(6, "........");
        QTest::newRow("inverted") << R(5, 4, 2, 1) << QStringList(6, "........");
        QTest::newRow("inverted across image") << R(INT_MAX, INT_MAX, INT_MIN, INT_MIN) << QStringList(6, "........");
        // clang-format on
    }
    void fillRect()
    {
        QFETCH(TRect, rect);
        QFETCH(QStringList, expected);
        QImage image = Blank();
        TCanvas canvas(&image);
        canvas.BrushColor = Brush;
        canvas.FillRect(rect);
        COMPARE_MAP(image, Padded(expected), Standard());
    }

    void clearBrushFillsNothing()
    {
        QImage image = Blank();
        TCanvas canvas(&image);
        canvas.BrushColor = Brush;
        canvas.BrushStyle = TBrushStyle::bsClear;
        canvas.FillRect(R(0, 0, 8, 6));
        COMPARE_MAP(image, QStringList(6, "........"), Standard());
    }

    void rectangle_data()
    {
        QTest::addColumn<TRect>("rect");
        QTest::addColumn<bool>("clearBrush");
        QTest::addColumn<QStringList>("expected");
        // clang-format off
        QTest::newRow("frame and inside") << R(1, 1, 6, 5) << false << QStringList{
            "........",
            ".ooooo..",
            ".o###o..",
            ".o###o..",
            ".ooooo.."};
        QTest::newRow("clear brush keeps inside") << R(1, 1, 6, 5) << true << QStringList{
            "........",
            ".ooooo..",
            ".o...o..",
            ".o...o..",
            ".ooooo.."};
        QTest::newRow("one pixel") << R(2, 2, 3, 3) << false << QStringList{
            "........",
            "........",
            "..o....."};
        QTest::newRow("two by two is all frame") << R(2, 2, 4, 4) << false << QStringList{
            "........",
            "........",
            "..oo....",
            "..oo...."};
        QTest::newRow("one pixel wide") << R(3, 0, 4, 5) << false << QStringList{
            "...o....",
            "...o....",
            "...o....",
            "...o....",
            "...o...."};
        QTest::newRow("left edge outside") << R(-1, 1, 4, 5) << false << QStringList{
            "........",
            "oooo....",
            "###o....",
            "###o....",
            "oooo...."};
        QTest::newRow("bottom and right edges outside") << R(5, 3, 9, 7) << false << QStringList{
            "........",
            "........",
            "........",
            ".....ooo",
            ".....o##",
            ".....o##"};
        QTest::newRow("frame outside on all sides") << R(-1, -1, 9, 7) << false << QStringList(6, "########");
        QTest::newRow("frame outside, clear brush") << R(-1, -1, 9, 7) << true << QStringList(6, "........");
        QTest::newRow("inverted") << R(6, 5, 1, 1) << false << QStringList(6, "........");
        QTest::newRow("zero height") << R(1, 3, 6, 3) << false << QStringList(6, "........");
        // clang-format on
    }
    void rectangle()
    {
        QFETCH(TRect, rect);
        QFETCH(bool, clearBrush);
        QFETCH(QStringList, expected);
        QImage image = Blank();
        TCanvas canvas(&image);
        canvas.PenColor = Pen;
        canvas.BrushColor = Brush;
        canvas.BrushStyle = clearBrush ? TBrushStyle::bsClear : TBrushStyle::bsSolid;
        canvas.Rectangle(rect);
        COMPARE_MAP(image, Padded(expected), Standard());
    }

    void lineTo_data()
    {
        QTest::addColumn<TPoint>("from");
        QTest::addColumn<TPoint>("to");
        QTest::addColumn<QStringList>("expected");
        // clang-format off
        QTest::newRow("right") << TPoint{1, 1} << TPoint{5, 1} << QStringList{
            "........",
            ".oooo..."};
        QTest::newRow("left") << TPoint{5, 1} << TPoint{1, 1} << QStringList{
            "........",
            "..oooo.."};
        QTest::newRow("down") << TPoint{2, 0} << TPoint{2, 4} << QStringList{
            "..o.....",
            "..o.....",
            "..o.....",
            "..o....."};
        QTest::newRow("up") << TPoint{2, 4} << TPoint{2, 0} << QStringList{
            "........",
            "..o.....",
            "..o.....",
            "..o.....",
            "..o....."};
        QTest::newRow("diagonal down right") << TPoint{0, 0} << TPoint{4, 4} << QStringList{
            "o.......",
            ".o......",
            "..o.....",
            "...o...."};
        QTest::newRow("diagonal up left") << TPoint{4, 4} << TPoint{0, 0} << QStringList{
            "........",
            ".o......",
            "..o.....",
            "...o....",
            "....o..."};
        QTest::newRow("diagonal up right") << TPoint{1, 5} << TPoint{6, 0} << QStringList{
            "........",
            ".....o..",
            "....o...",
            "...o....",
            "..o.....",
            ".o......"};
        // Minor offset round(i * 3 / 6), ties away from the start: 0, 1, 1, 2, 2, 3.
        QTest::newRow("shallow, ties") << TPoint{0, 0} << TPoint{6, 3} << QStringList{
            "o.......",
            ".oo.....",
            "...oo...",
            ".....o.."};
        QTest::newRow("shallow, ties, backwards") << TPoint{6, 3} << TPoint{0, 0} << QStringList{
            ".o......",
            "..oo....",
            "....oo..",
            "......o."};
        // round(i * 2 / 5): 0, 0, 1, 1, 2.
        QTest::newRow("steep") << TPoint{0, 0} << TPoint{2, 5} << QStringList{
            "o.......",
            "o.......",
            ".o......",
            ".o......",
            "..o....."};
        QTest::newRow("zero length") << TPoint{3, 3} << TPoint{3, 3} << QStringList(6, "........");
        QTest::newRow("end point on the edge is left out") << TPoint{0, 5} << TPoint{7, 5} << QStringList{
            "........",
            "........",
            "........",
            "........",
            "........",
            "ooooooo."};
        QTest::newRow("clipped both ends") << TPoint{-3, 2} << TPoint{20, 2} << QStringList{
            "........",
            "........",
            "oooooooo"};
        QTest::newRow("from far outside") << TPoint{-1000000000, 0} << TPoint{7, 0} << QStringList{
            "ooooooo."};
        QTest::newRow("passes by outside") << TPoint{-5, 0} << TPoint{0, -5} << QStringList(6, "........");
        QTest::newRow("outside below") << TPoint{0, 6} << TPoint{8, 6} << QStringList(6, "........");
        QTest::newRow("corner to corner of int range") << TPoint{INT_MIN, INT_MIN} << TPoint{INT_MAX, INT_MAX}
            << QStringList{
            "o.......",
            ".o......",
            "..o.....",
            "...o....",
            "....o...",
            ".....o.."};
        // The half-way point of this line is at x = -0.5: every visible step is past it.
        QTest::newRow("widest shallow line") << TPoint{INT_MIN, 0} << TPoint{INT_MAX, 1} << QStringList{
            "........",
            "oooooooo"};
        // clang-format on
    }
    void lineTo()
    {
        QFETCH(TPoint, from);
        QFETCH(TPoint, to);
        QFETCH(QStringList, expected);
        QImage image = Blank();
        TCanvas canvas(&image);
        canvas.PenColor = Pen;
        canvas.MoveTo(from.X, from.Y);
        canvas.LineTo(to.X, to.Y);
        COMPARE_MAP(image, Padded(expected), Standard());
        QCOMPARE(canvas.PenPos, to);
    }

    void polylineJoinsWithoutGapOrOverlap()
    {
        // Each segment leaves out its end, which the next one starts with: with
        // an inverting pen a doubly drawn corner would show.
        QImage image = Blank();
        TCanvas canvas(&image);
        canvas.PenColor = Pen;
        canvas.MoveTo(1, 1);
        canvas.LineTo(5, 1);
        canvas.LineTo(5, 4);
        canvas.LineTo(1, 4);
        canvas.LineTo(1, 1);
        // clang-format off
        COMPARE_MAP(image, Padded(QStringList{
            "........",
            ".ooooo..",
            ".o...o..",
            ".o...o..",
            ".ooooo.."}), Standard());
        // clang-format on
        QCOMPARE(canvas.PenPos, (TPoint{1, 1}));
    }

    void pixels()
    {
        QImage image = Blank();
        TCanvas canvas(&image);
        canvas.SetPixel(7, 5, clBtnFace);
        QCOMPARE(canvas.GetPixel(7, 5), clSilver);
        QCOMPARE(canvas.GetPixel(0, 0), Back);
        for (const TPoint p : {TPoint{-1, 0}, TPoint{0, -1}, TPoint{8, 0}, TPoint{0, 6}, TPoint{INT_MIN, INT_MAX}}) {
            canvas.SetPixel(p.X, p.Y, Pen);
            QCOMPARE(canvas.GetPixel(p.X, p.Y), clBlack);
        }
        QImage expected = Blank();
        expected.setPixel(7, 5, ColorToPixel(clSilver));
        QCOMPARE(image, expected);
    }

    void focusRect_data()
    {
        QTest::addColumn<TRect>("rect");
        QTest::addColumn<QStringList>("expected");
        // Every pixel of the frame with an even x + y, none of them twice.
        // clang-format off
        QTest::newRow("frame") << R(1, 1, 6, 5) << QStringList{
            "........",
            ".x.x.x..",
            "........",
            ".x...x..",
            "..x.x..."};
        QTest::newRow("odd corner") << R(0, 1, 4, 4) << QStringList{
            "........",
            ".x.x....",
            "x.......",
            ".x.x...."};
        QTest::newRow("one row") << R(0, 2, 8, 3) << QStringList{
            "........",
            "........",
            "x.x.x.x."};
        QTest::newRow("one column") << R(4, 0, 5, 6) << QStringList{
            "....x...",
            "........",
            "....x...",
            "........",
            "....x..."};
        QTest::newRow("one pixel") << R(2, 2, 3, 3) << QStringList{
            "........",
            "........",
            "..x....."};
        QTest::newRow("frame outside the image") << R(-1, -1, 9, 7) << QStringList(6, "........");
        QTest::newRow("clipped at the left") << R(-2, 0, 3, 4) << QStringList{
            "x.x.....",
            "........",
            "..x.....",
            ".x......"};
        QTest::newRow("inverted") << R(6, 5, 1, 1) << QStringList(6, "........");
        // clang-format on
    }
    void focusRect()
    {
        QFETCH(TRect, rect);
        QFETCH(QStringList, expected);
        QImage image = Blank();
        TCanvas canvas(&image);
        canvas.DrawFocusRect(rect);
        COMPARE_MAP(image, Padded(expected), Standard());
    }

    void focusRectTwiceRestores_data()
    {
        QTest::addColumn<TRect>("rect");
        QTest::newRow("inside") << R(1, 1, 6, 5);
        QTest::newRow("one pixel") << R(3, 3, 4, 4);
        QTest::newRow("two by two") << R(3, 3, 5, 5);
        QTest::newRow("partly outside") << R(-3, 2, 5, 30);
        QTest::newRow("int range") << R(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    }
    void focusRectTwiceRestores()
    {
        QFETCH(TRect, rect);
        QImage image(8, 6, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 30, y * 40, 99));
        const QImage before = image.copy();
        TCanvas canvas(&image);
        canvas.DrawFocusRect(rect);
        canvas.DrawFocusRect(rect);
        QCOMPARE(image, before);
    }

    void draw_data()
    {
        QTest::addColumn<TPoint>("at");
        QTest::addColumn<TRect>("srcRect");
        QTest::addColumn<QStringList>("expected");
        // clang-format off
        QTest::newRow("whole source") << TPoint{2, 1} << R(0, 0, 3, 2) << QStringList{
            "........",
            "..abc...",
            "..dkf..."};
        QTest::newRow("part of the source") << TPoint{0, 0} << R(1, 1, 3, 2) << QStringList{
            "kf......"};
        // srcRect's corner is placed at (x, y) even when it lies outside the source.
        QTest::newRow("source rectangle beyond the source") << TPoint{2, 2} << R(-1, -1, 5, 5) << QStringList{
            "........",
            "........",
            "........",
            "...abc..",
            "...dkf.."};
        QTest::newRow("clipped left and top") << TPoint{-1, -1} << R(0, 0, 3, 2) << QStringList{
            "kf......"};
        QTest::newRow("clipped right and bottom") << TPoint{6, 5} << R(0, 0, 3, 2) << QStringList{
            "........",
            "........",
            "........",
            "........",
            "........",
            "......ab"};
        QTest::newRow("outside the image") << TPoint{8, 0} << R(0, 0, 3, 2) << QStringList(6, "........");
        QTest::newRow("far outside") << TPoint{INT_MAX, INT_MIN} << R(0, 0, 3, 2) << QStringList(6, "........");
        QTest::newRow("offset overflows int") << TPoint{INT_MAX} << R(INT_MIN, 0, 3, 2) << QStringList(6, "........");
        QTest::newRow("source rectangle outside the source") << TPoint{0, 0} << R(3, 0, 6, 2)
            << QStringList(6, "........");
        QTest::newRow("inverted source rectangle") << TPoint{0, 0} << R(3, 2, 0, 0) << QStringList(6, "........");
        // clang-format on
    }
    void draw()
    {
        QFETCH(TPoint, at);
        QFETCH(TRect, srcRect);
        QFETCH(QStringList, expected);
        TBitmap source;
        LoadSource(source, {"abc", "dkf"});
        QImage image = Blank();
        TCanvas canvas(&image);
        canvas.Draw(at.X, at.Y, source, srcRect);
        COMPARE_MAP(image, Padded(expected), SourceLegend());
    }

    void drawTransparent_data()
    {
        QTest::addColumn<TColor>("transparent");
        QTest::addColumn<QStringList>("expected");
        // clang-format off
        QTest::newRow("silver left out") << clSilver << QStringList{
            "ab......",
            "d.f....."};
        QTest::newRow("system colour resolved") << clBtnFace << QStringList{
            "ab......",
            "d.f....."};
        QTest::newRow("off by one in blue is copied") << TColor(clSilver + 0x010000) << QStringList{
            "abk.....",
            "dkf....."};
        QTest::newRow("background colour matches nothing") << Back << QStringList{
            "abk.....",
            "dkf....."};
        // clang-format on
    }
    void drawTransparent()
    {
        QFETCH(TColor, transparent);
        QFETCH(QStringList, expected);
        TBitmap source;
        LoadSource(source, {"abk", "dkf"});
        QImage image = Blank();
        TCanvas canvas(&image);
        canvas.DrawTransparent(0, 0, source, R(0, 0, 3, 2), transparent);
        COMPARE_MAP(image, Padded(expected), SourceLegend());
    }

    void drawOntoItself()
    {
        // Overlapping source and destination read the pixels as they were before
        // the copy, whichever way the copy goes.
        TBitmap bitmap;
        LoadSource(bitmap, {"abcd", "....", "...."});
        bitmap.Canvas().Draw(1, 0, bitmap, R(0, 0, 3, 1));
        bitmap.Canvas().Draw(0, 1, bitmap, R(0, 0, 4, 1));
        bitmap.Canvas().Draw(-1, 2, bitmap, R(0, 1, 4, 2));
        COMPARE_MAP(bitmap.Image(), (QStringList{"aabc", "aabc", "abc."}), SourceLegend());
    }

    void drawingOnOtherFormatsAndNullImages()
    {
        QImage argb(4, 2, QImage::Format_ARGB32);
        argb.fill(qRgba(1, 2, 3, 255));
        TCanvas canvas(&argb);
        canvas.BrushColor = Brush;
        canvas.FillRect(R(0, 0, 2, 2));
        QCOMPARE(argb.format(), QImage::Format_RGB32);
        QCOMPARE(canvas.GetPixel(1, 1), Brush);
        QCOMPARE(canvas.GetPixel(2, 1), RGB(1, 2, 3));

        QImage null;
        TCanvas onNull(&null);
        TCanvas onNothing(static_cast<QImage*>(nullptr));
        for (TCanvas* c : {&onNull, &onNothing}) {
            c->FillRect(R(0, 0, 10, 10));
            c->Rectangle(R(0, 0, 10, 10));
            c->MoveTo(0, 0);
            c->LineTo(5, 5);
            c->SetPixel(0, 0, Pen);
            c->DrawFocusRect(R(0, 0, 10, 10));
            c->TextOut(0, 0, QStringLiteral("Текст"));
            c->DrawText(R(0, 0, 10, 10), QStringLiteral("Фон"), Qt::AlignCenter);
            QCOMPARE(c->GetPixel(0, 0), clBlack);
            QVERIFY(c->TextWidth(QStringLiteral("W")) > 0);
        }
        QVERIFY(null.isNull());
    }

    void onChangeOnlyWhenPixelsCanChange_data()
    {
        using Op = std::function<void(TCanvas&)>;
        QTest::addColumn<Op>("op");
        QTest::addColumn<int>("changes");
        QTest::newRow("fill") << Op([](TCanvas& c) { c.FillRect(R(0, 0, 1, 1)); }) << 1;
        QTest::newRow("fill outside") << Op([](TCanvas& c) { c.FillRect(R(8, 0, 9, 1)); }) << 0;
        QTest::newRow("fill, clear brush") << Op([](TCanvas& c) {
            c.BrushStyle = TBrushStyle::bsClear;
            c.FillRect(R(0, 0, 8, 6));
        }) << 0;
        QTest::newRow("rectangle") << Op([](TCanvas& c) { c.Rectangle(R(1, 1, 4, 4)); }) << 1;
        QTest::newRow("rectangle outside") << Op([](TCanvas& c) { c.Rectangle(R(-9, 0, -1, 6)); }) << 0;
        QTest::newRow("line") << Op([](TCanvas& c) { c.LineTo(3, 3); }) << 1;
        QTest::newRow("line outside") << Op([](TCanvas& c) {
            c.MoveTo(-5, -5);
            c.LineTo(-1, 9);
        }) << 0;
        QTest::newRow("move") << Op([](TCanvas& c) { c.MoveTo(3, 3); }) << 0;
        QTest::newRow("pixel") << Op([](TCanvas& c) { c.SetPixel(1, 1, Pen); }) << 1;
        QTest::newRow("pixel outside") << Op([](TCanvas& c) { c.SetPixel(-1, 1, Pen); }) << 0;
        QTest::newRow("focus") << Op([](TCanvas& c) { c.DrawFocusRect(R(0, 0, 3, 3)); }) << 1;
        QTest::newRow("draw") << Op([](TCanvas& c) {
            TBitmap src(2, 2);
            c.Draw(0, 0, src, R(0, 0, 2, 2));
        }) << 1;
        QTest::newRow("draw outside") << Op([](TCanvas& c) {
            TBitmap src(2, 2);
            c.DrawTransparent(-2, 0, src, R(0, 0, 2, 2), clBlack);
        }) << 0;
        QTest::newRow("text") << Op([](TCanvas& c) { c.TextOut(0, 0, QStringLiteral("a")); }) << 1;
        QTest::newRow("text outside") << Op([](TCanvas& c) { c.TextOut(INT_MAX, 0, QStringLiteral("a")); }) << 0;
        QTest::newRow("empty text") << Op([](TCanvas& c) { c.TextOut(0, 0, QString()); }) << 0;
        QTest::newRow("text in rect") << Op([](TCanvas& c) {
            c.DrawText(R(0, 0, 8, 6), QStringLiteral("a"), Qt::AlignLeft);
        }) << 1;
        QTest::newRow("text in rect outside")
            << Op([](TCanvas& c) { c.DrawText(R(0, 6, 8, 9), QStringLiteral("a"), 0); }) << 0;
    }
    void onChangeOnlyWhenPixelsCanChange()
    {
        QFETCH(std::function<void(TCanvas&)>, op);
        TBitmap bitmap(8, 6);
        int raised = 0;
        bitmap.OnChange = [&](TBitmap* sender) {
            QCOMPARE(sender, &bitmap);
            ++raised;
        };
        op(bitmap.Canvas());
        QTEST(raised, "changes");
    }

    void textOutBackground()
    {
        // The brush fills exactly the text's extent; the glyphs are drawn in the
        // font colour inside it, and nothing outside it changes.
        QImage image = Blank();
        TCanvas canvas(&image);
        canvas.BrushColor = Brush;
        canvas.FontColor = Pen;
        const QString text = QStringLiteral("Текст HW");
        const QSize extent = canvas.TextExtent(text);
        QVERIFY(extent.width() > 0 && extent.height() > 0);
        image = QImage(extent.width() + 4, extent.height() + 4, QImage::Format_RGB32);
        image.fill(ColorToPixel(Back));
        canvas.TextOut(2, 2, text);
        int brushPixels = 0;
        int penPixels = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const TColor c = PixelToColor(image.pixel(x, y));
                const bool inside = x >= 2 && y >= 2 && x < 2 + extent.width() && y < 2 + extent.height();
                if (!inside)
                    QCOMPARE(c, Back);
                brushPixels += c == Brush;
                penPixels += c == Pen;
            }
        }
        QVERIFY(penPixels > 0);
        QCOMPARE(brushPixels + penPixels, extent.width() * extent.height());

        image.fill(ColorToPixel(Back));
        canvas.BrushStyle = TBrushStyle::bsClear;
        canvas.TextOut(2, 2, text);
        penPixels = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const TColor c = PixelToColor(image.pixel(x, y));
                QVERIFY(c == Back || c == Pen);
                penPixels += c == Pen;
            }
        }
        QVERIFY(penPixels > 0);
    }

    void drawTextStaysInItsRectangle_data()
    {
        QTest::addColumn<TRect>("rect");
        QTest::addColumn<int>("flags");
        QTest::newRow("centred, smaller than the text") << R(5, 3, 15, 9) << int(Qt::AlignCenter);
        QTest::newRow("left, top") << R(2, 2, 40, 20) << int(Qt::AlignLeft | Qt::AlignTop);
        QTest::newRow("right, bottom") << R(2, 2, 40, 20) << int(Qt::AlignRight | Qt::AlignBottom);
        QTest::newRow("partly outside the image") << R(-20, -5, 12, 8) << int(Qt::AlignRight | Qt::AlignVCenter);
        QTest::newRow("int range") << R(INT_MIN, INT_MIN, INT_MAX, INT_MAX) << int(Qt::AlignCenter);
    }
    void drawTextStaysInItsRectangle()
    {
        QFETCH(TRect, rect);
        QFETCH(int, flags);
        QImage image(48, 24, QImage::Format_RGB32);
        image.fill(ColorToPixel(Back));
        TCanvas canvas(&image);
        canvas.BrushColor = Brush;
        canvas.FontColor = Pen;
        canvas.DrawText(rect, QStringLiteral("Фон WW"), flags);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (!rect.Contains({x, y}))
                    QCOMPARE(PixelToColor(image.pixel(x, y)), Back);
    }

    void textMetrics()
    {
        QImage image = Blank();
        TCanvas canvas(&image);
        QCOMPARE(canvas.TextWidth(QString()), 0);
        QVERIFY(canvas.TextWidth(QStringLiteral("WW")) > canvas.TextWidth(QStringLiteral("W")));
        QCOMPARE(canvas.TextExtent(QStringLiteral("Фон")),
                 QSize(canvas.TextWidth(QStringLiteral("Фон")), canvas.TextHeight(QStringLiteral("Фон"))));
        const int small = canvas.TextHeight(QStringLiteral("x"));
        canvas.Font.setPixelSize(24);
        QVERIFY(canvas.TextHeight(QStringLiteral("x")) > small);
    }
};

QTEST_MAIN(TestCanvas)
#include "tst_canvas.moc"
