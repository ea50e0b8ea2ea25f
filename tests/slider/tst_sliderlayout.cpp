// The slider's geometry without a widget: ruler tiling, placement, the
// value <-> position mapping, tick spacing and key steps.
#include "widgets/slider/sliderlayout.h"

#include <QtTest>

#include <climits>

Q_DECLARE_METATYPE(TRect)
Q_DECLARE_METATYPE(TSliderOrientation)
Q_DECLARE_METATYPE(TSliderStep)

namespace {

// The source columns a laid-out ruler shows, as letters: 'a' is column 0.
QString Tiled(int length, int sourceLength, int edge)
{
    QString columns(length, QLatin1Char('.'));
    for (const TRulerStrip& s : RulerStrips(length, sourceLength, edge)) {
        if (s.Length <= 0 || s.Dest < 0 || s.Dest + s.Length > length || s.Source < 0 ||
            s.Source + s.Length > sourceLength)
            return QStringLiteral("strip outside: dest %1 source %2 length %3").arg(s.Dest).arg(s.Source).arg(s.Length);
        for (int i = 0; i < s.Length; ++i)
            columns[s.Dest + i] = QLatin1Char(char('a' + s.Source + i));
    }
    return columns;
}

TSliderScale ChannelScale()
{
    TSliderScale s;
    s.Origin = 7;
    s.TravelLength = 373;
    s.MinValue = 0;
    s.MaxValue = 255;
    s.Increment = 1;
    return s;
}

} // namespace

class TestSliderLayout : public QObject {
    Q_OBJECT
private slots:
    void rulerStrips_data();
    void rulerStrips();
    void layout_data();
    void layout();
    void channelMapping_data();
    void channelMapping();
    void snap_data();
    void snap();
    void snapToIncrementFromMinValue();
    void verticalMapping_data();
    void verticalMapping();
    void degenerateScales_data();
    void degenerateScales();
    void tickSpacing_data();
    void tickSpacing();
    void tickSpacingMatchesStepwiseSearch();
    void stepTarget_data();
    void stepTarget();
};

void TestSliderLayout::rulerStrips_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("edge");
    QTest::addColumn<QString>("columns");

    // Edge 1 of a 10-pixel ruler: strip 0 from columns 0-8, then the middle
    // 1-8 repeated, the last strip from 5-9 ending exactly at the length.
    QTest::newRow("channel slider") << 382 << 10 << 1
                                    << QStringLiteral("a") + QStringLiteral("bcdefghi").repeated(47) +
                                           QStringLiteral("fghij");
    QTest::newRow("last strip takes the end of the middle") << 12 << 5 << 1 << "abcdbcdbcdde";
    QTest::newRow("exactly the source") << 10 << 10 << 1 << "abcdefghij";
    QTest::newRow("shorter than the source: cut, no right edge") << 7 << 10 << 1 << "abcdefg";
    QTest::newRow("edge 0 tiles the whole source") << 25 << 10 << 0 << "abcdefghijabcdefghijfghij";
    QTest::newRow("edge 4, middle of 2") << 13 << 10 << 4 << "abcdefeffghij";
    QTest::newRow("edge 4, too short for the edges") << 6 << 10 << 4 << "......";
    QTest::newRow("one-pixel source") << 3 << 1 << 0 << "aaa";
    // Guards: no middle left, or a negative edge.
    QTest::newRow("edge 5 of 10 taken as 4") << 13 << 10 << 5 << "abcdefeffghij";
    QTest::newRow("edge 1 of 2 taken as 0") << 5 << 2 << 1 << "ababb";
    QTest::newRow("negative edge taken as 0") << 25 << 10 << -3 << "abcdefghijabcdefghijfghij";
    QTest::newRow("huge edge") << 5 << 3 << INT_MAX << "abbbc";
    QTest::newRow("empty source") << 20 << 0 << 1 << "....................";
    QTest::newRow("no length") << 0 << 10 << 1 << "";
}

void TestSliderLayout::rulerStrips()
{
    QFETCH(int, length);
    QFETCH(int, source);
    QFETCH(int, edge);
    QTEST(Tiled(length, source, edge), "columns");
}

void TestSliderLayout::layout_data()
{
    QTest::addColumn<TSliderOrientation>("orientation");
    QTest::addColumn<TRect>("inner");
    QTest::addColumn<int>("tw");
    QTest::addColumn<int>("th");
    QTest::addColumn<int>("rw");
    QTest::addColumn<int>("rh");
    QTest::addColumn<TRect>("thumb");
    QTest::addColumn<QPoint>("ruler");
    QTest::addColumn<QPoint>("points");
    QTest::addColumn<int>("origin");
    QTest::addColumn<int>("travel");

    QTest::newRow("channel slider") << TSliderOrientation::soHorizontal << TRect{1, 1, 395, 31} << 9 << 17 << 382 << 8
                                    << TRect{7, 7, 16, 24} << QPoint(7, 11) << QPoint(7, 25) << 7 << 373;
    QTest::newRow("ruler taller than the thumb")
        << TSliderOrientation::soHorizontal << TRect{0, 0, 150, 40} << 9 << 5 << 138 << 8 << TRect{6, 7, 15, 12}
        << QPoint(6, 6) << QPoint(6, 15) << 6 << 129;
    QTest::newRow("vertical, thumb wider") << TSliderOrientation::soVertical << TRect{0, 0, 40, 150} << 19 << 9 << 8
                                           << 138 << TRect{6, 6, 25, 15} << QPoint(11, 6) << QPoint(26, 6) << 6 << 129;
    QTest::newRow("vertical, ruler wider") << TSliderOrientation::soVertical << TRect{1, 1, 39, 149} << 5 << 9 << 8
                                           << 136 << TRect{8, 7, 13, 16} << QPoint(7, 7) << QPoint(16, 7) << 7 << 127;
    QTest::newRow("too short for the thumb") << TSliderOrientation::soHorizontal << TRect{0, 0, 20, 40} << 9 << 17 << 8
                                             << 8 << TRect{6, 6, 15, 23} << QPoint(6, 10) << QPoint(6, 24) << 6 << -1;
}

void TestSliderLayout::layout()
{
    QFETCH(TSliderOrientation, orientation);
    QFETCH(TRect, inner);
    QFETCH(int, tw);
    QFETCH(int, th);
    QFETCH(int, rw);
    QFETCH(int, rh);
    const TSliderLayout l = LayoutSlider(orientation, inner, tw, th, rw, rh);
    QFETCH(TRect, thumb);
    QVERIFY(l.ThumbRect == thumb);
    QTEST(QPoint(l.RulerOrigin.X, l.RulerOrigin.Y), "ruler");
    QTEST(QPoint(l.PointsOrigin.X, l.PointsOrigin.Y), "points");
    QTEST(l.Origin, "origin");
    QTEST(l.TravelLength, "travel");
    QCOMPARE(RulerLength(orientation, inner),
             orientation == TSliderOrientation::soHorizontal ? inner.Width() - 12 : inner.Height() - 12);
}

void TestSliderLayout::channelMapping_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("left");
    QTest::newRow("0") << 0 << 7;
    QTest::newRow("1") << 1 << 8;
    QTest::newRow("2") << 2 << 10;
    QTest::newRow("127") << 127 << 193;
    QTest::newRow("128") << 128 << 194;
    QTest::newRow("254") << 254 << 379;
    QTest::newRow("255") << 255 << 380;
}

void TestSliderLayout::channelMapping()
{
    QFETCH(int, value);
    QFETCH(int, left);
    const TSliderScale s = ChannelScale();
    QCOMPARE(s.ValueToPos(value), left);
    // Every value's own position maps back to it.
    QCOMPARE(s.PosToValue(left), value);
}

void TestSliderLayout::snap_data()
{
    QTest::addColumn<int>("wanted");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("value");
    QTest::newRow("9 snaps back to 8") << 9 << 8 << 1;
    QTest::newRow("500 stops at the end") << 500 << 380 << 255;
    QTest::newRow("before the origin") << -40 << 7 << 0;
    QTest::newRow("on the end") << 380 << 380 << 255;
    QTest::newRow("middle, 2 x 255 / 373 rounds down") << 193 << 193 << 127;
}

void TestSliderLayout::snap()
{
    QFETCH(int, wanted);
    const TSliderScale s = ChannelScale();
    const int left = s.SnapPos(wanted);
    QTEST(left, "left");
    QTEST(s.PosToValue(left), "value");
}

void TestSliderLayout::snapToIncrementFromMinValue()
{
    TSliderScale s;
    s.Origin = 7;
    s.TravelLength = 129;
    s.MinValue = 5;
    s.MaxValue = 105;
    s.Increment = 10;
    s.Smooth = false;
    QSet<int> seen;
    for (int p = -10; p <= 150; ++p) {
        const int v = s.PosToValue(s.SnapPos(p));
        QVERIFY2((v - 5) % 10 == 0, qPrintable(QStringLiteral("position %1 gave %2").arg(p).arg(v)));
        seen << v;
    }
    QCOMPARE(seen.size(), 11);
    QVERIFY(seen.contains(5) && seen.contains(105));
    // Ties to even on both roundings: an offset of 15 rounds to 20, 25 to 20.
    s.TravelLength = 100;
    s.Origin = 0;
    QCOMPARE(s.PosToValue(15), 25);
    QCOMPARE(s.PosToValue(25), 25);
    QCOMPARE(s.PosToValue(26), 35);
}

void TestSliderLayout::verticalMapping_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("top");
    QTest::newRow("MaxValue at the top") << 100 << 6;
    QTest::newRow("MinValue at the bottom") << 0 << 135;
    QTest::newRow("half, 64.5 rounds to 64") << 50 << 71;
    QTest::newRow("beyond MaxValue stays at the top") << 150 << 6;
}

void TestSliderLayout::verticalMapping()
{
    TSliderScale s;
    s.Orientation = TSliderOrientation::soVertical;
    s.Origin = 6;
    s.TravelLength = 129;
    QFETCH(int, value);
    QFETCH(int, top);
    QCOMPARE(s.ValueToPos(value), top);
    QCOMPARE(s.PosToValue(top), std::min(value, 100));
    QCOMPARE(s.SnapPos(-20), 6);
    QCOMPARE(s.SnapPos(1000), 135);
}

void TestSliderLayout::degenerateScales_data()
{
    QTest::addColumn<TSliderOrientation>("orientation");
    QTest::addColumn<int>("travel");
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("value");  // asked for a position
    QTest::addColumn<int>("pos");    // expected position, also of every snapped one
    QTest::addColumn<int>("mapped"); // any position gives this value

    QTest::newRow("no travel") << TSliderOrientation::soHorizontal << 0 << 0 << 255 << 200 << 7 << 0;
    QTest::newRow("negative travel") << TSliderOrientation::soHorizontal << -8 << 0 << 255 << 255 << 7 << 0;
    QTest::newRow("negative travel, vertical") << TSliderOrientation::soVertical << -8 << 0 << 255 << 0 << 7 << 0;
    QTest::newRow("empty range") << TSliderOrientation::soHorizontal << 373 << 10 << 10 << 10 << 7 << 10;
    QTest::newRow("inverted range") << TSliderOrientation::soHorizontal << 373 << 10 << 5 << 7 << 7 << 10;
    // MinValue's place of a vertical slider is at the bottom.
    QTest::newRow("inverted range, vertical") << TSliderOrientation::soVertical << 373 << 10 << 5 << 7 << 380 << 10;
    QTest::newRow("full int range, top") << TSliderOrientation::soHorizontal << 373 << INT_MIN << INT_MAX << INT_MAX
                                         << 380 << INT_MAX;
    QTest::newRow("full int range, bottom")
        << TSliderOrientation::soHorizontal << 373 << INT_MIN << INT_MAX << INT_MIN << 7 << INT_MAX;
}

void TestSliderLayout::degenerateScales()
{
    TSliderScale s;
    QFETCH(TSliderOrientation, orientation);
    s.Orientation = orientation;
    s.Origin = 7;
    QFETCH(int, travel);
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(int, value);
    s.TravelLength = travel;
    s.MinValue = minValue;
    s.MaxValue = maxValue;
    QTEST(s.ValueToPos(value), "pos");
    if (travel > 0 && maxValue > minValue) {
        // A real range: the far end maps to the largest value.
        QTEST(s.PosToValue(s.End() + 1000), "mapped");
        return;
    }
    for (int p : {-1000, 0, 7, 8, 500})
        QTEST(s.PosToValue(p), "mapped");
    for (int p : {-1000, 0, 8, 500})
        QTEST(s.SnapPos(p), "pos");
}

void TestSliderLayout::tickSpacing_data()
{
    QTest::addColumn<qint64>("span");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("length");
    QTest::addColumn<qint64>("multiplier");
    QTest::addColumn<qint64>("count");
    // 2 x 255 / 373: gaps of 1 and 2 pixels are too narrow, every third value.
    QTest::newRow("channel slider") << qint64(255) << 1 << 373 << qint64(3) << qint64(86);
    QTest::newRow("default slider") << qint64(100) << 10 << 129 << qint64(1) << qint64(11);
    QTest::newRow("gap of the whole length") << qint64(100) << 100 << 3 << qint64(1) << qint64(2);
    QTest::newRow("empty range: one tick") << qint64(0) << 1 << 100 << qint64(1) << qint64(1);
    QTest::newRow("inverted range: none") << qint64(-50) << 1 << 100 << qint64(1) << qint64(0);
    QTest::newRow("no travel: the two ends") << qint64(1000000000) << 1 << 0 << qint64(1) << qint64(2);
    QTest::newRow("negative travel: the two ends") << qint64(255) << 1 << -8 << qint64(1) << qint64(2);
    QTest::newRow("step 0 taken as 1") << qint64(255) << 0 << 373 << qint64(3) << qint64(86);
}

void TestSliderLayout::tickSpacing()
{
    QFETCH(qint64, span);
    QFETCH(int, step);
    QFETCH(int, length);
    const TTickSpacing t = TickSpacing(span, step, length);
    QTEST(t.Multiplier, "multiplier");
    QTEST(t.Count, "count");
}

void TestSliderLayout::tickSpacingMatchesStepwiseSearch()
{
    // The search for the multiplier must find what trying 1, 2, 3 ... finds.
    const auto stepwise = [](qint64 span, int step, int length) {
        qint64 m = 0;
        qint64 count = 0;
        qint64 gap = 0;
        do {
            ++m;
            const qint64 g = Round(double(span) / double(m * step));
            count = g + 1;
            gap = count > 1 ? length / g : length;
        } while (!(gap >= 4 || gap >= length));
        return TTickSpacing{m, count};
    };
    for (int step : {1, 3, 7})
        for (int length : {5, 37, 373})
            for (qint64 span = 1; span <= 2000; span += 7)
                QCOMPARE(TickSpacing(span, step, length), stepwise(span, step, length));

    // A range of the whole int type still leaves 4 pixels between ticks.
    const TTickSpacing wide = TickSpacing(qint64(INT_MAX) - INT_MIN, 1, 373);
    QVERIFY(wide.Count >= 2);
    QVERIFY(373 / (wide.Count - 1) >= 4);
}

void TestSliderLayout::stepTarget_data()
{
    QTest::addColumn<TSliderStep>("step");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("increment");
    QTest::addColumn<int>("target");

    QTest::newRow("up by 1") << skUp << 7 << 0 << 255 << 1 << 8;
    QTest::newRow("down by 1") << skDown << 7 << 0 << 255 << 1 << 6;
    QTest::newRow("15 up: 1.5 rounds to 2") << skUp << 15 << 0 << 100 << 10 << 30;
    QTest::newRow("15 down") << skDown << 15 << 0 << 100 << 10 << 10;
    QTest::newRow("25 up: 2.5 rounds to 2") << skUp << 25 << 0 << 100 << 10 << 30;
    QTest::newRow("25 down") << skDown << 25 << 0 << 100 << 10 << 10;
    QTest::newRow("5 down clamps to MinValue") << skDown << 5 << 0 << 100 << 10 << 0;
    QTest::newRow("up at MaxValue") << skUp << 255 << 0 << 255 << 1 << 255;
    QTest::newRow("rounded from 0, not MinValue") << skUp << 5 << 5 << 105 << 10 << 10;
    QTest::newRow("to MinValue") << skToMin << 50 << -20 << 100 << 10 << -20;
    QTest::newRow("to MaxValue") << skToMax << 50 << -20 << 100 << 10 << 100;
    QTest::newRow("near the int limit") << skUp << INT_MAX - 1 << 0 << INT_MAX << 1000 << INT_MAX;
}

void TestSliderLayout::stepTarget()
{
    QFETCH(TSliderStep, step);
    QFETCH(int, value);
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(int, increment);
    const std::optional<int> t = StepTarget(step, value, minValue, maxValue, increment);
    QVERIFY(t.has_value());
    QTEST(*t, "target");
    QVERIFY(!StepTarget(skNone, value, minValue, maxValue, increment));
}

QTEST_APPLESS_MAIN(TestSliderLayout)
#include "tst_sliderlayout.moc"
