#include "color/colorspace.h"
#include "color/nearestcolor.h"

#include <QtTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {
QString HtmlOf(const RgbTriple& c)
{
    return QString::asprintf("#%02X%02X%02X", c.R, c.G, c.B);
}
} // namespace

class TestColorSpace : public QObject {
    Q_OBJECT
private slots:
    void deltaE2000_data();
    void deltaE2000();
    void labOfSrgb();
    void outOfGamutKeepsLightnessAndHue_data();
    void outOfGamutKeepsLightnessAndHue();
    void nearestName_data();
    void nearestName();
    void nearestIsTheMinimum();
};

// The published test pairs of the CIEDE2000 formula (Sharma, Wu and Dalal,
// 2005), with their differences to four decimals.
void TestColorSpace::deltaE2000_data()
{
    QTest::addColumn<TLab>("x");
    QTest::addColumn<TLab>("y");
    QTest::addColumn<double>("delta");
    const double pairs[][7] = {
        // clang-format off
        {50.0000, 2.6772, -79.7751, 50.0000, 0.0000, -82.7485, 2.0425},
        {50.0000, 3.1571, -77.2803, 50.0000, 0.0000, -82.7485, 2.8615},
        {50.0000, 2.8361, -74.0200, 50.0000, 0.0000, -82.7485, 3.4412},
        {50.0000, -1.3802, -84.2814, 50.0000, 0.0000, -82.7485, 1.0000},
        {50.0000, -1.1848, -84.8006, 50.0000, 0.0000, -82.7485, 1.0000},
        {50.0000, -0.9009, -85.5211, 50.0000, 0.0000, -82.7485, 1.0000},
        {50.0000, 0.0000, 0.0000, 50.0000, -1.0000, 2.0000, 2.3669},
        {50.0000, -1.0000, 2.0000, 50.0000, 0.0000, 0.0000, 2.3669},
        {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0009, 7.1792},
        {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0010, 7.1792},
        {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0011, 7.2195},
        {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0012, 7.2195},
        {50.0000, -0.0010, 2.4900, 50.0000, 0.0009, -2.4900, 4.8045},
        {50.0000, -0.0010, 2.4900, 50.0000, 0.0010, -2.4900, 4.8045},
        {50.0000, -0.0010, 2.4900, 50.0000, 0.0011, -2.4900, 4.7461},
        {50.0000, 2.5000, 0.0000, 50.0000, 0.0000, -2.5000, 4.3065},
        {50.0000, 2.5000, 0.0000, 73.0000, 25.0000, -18.0000, 27.1492},
        {50.0000, 2.5000, 0.0000, 61.0000, -5.0000, 29.0000, 22.8977},
        {50.0000, 2.5000, 0.0000, 56.0000, -27.0000, -3.0000, 31.9030},
        {50.0000, 2.5000, 0.0000, 58.0000, 24.0000, 15.0000, 19.4535},
        {50.0000, 2.5000, 0.0000, 50.0000, 3.1736, 0.5854, 1.0000},
        {50.0000, 2.5000, 0.0000, 50.0000, 3.2972, 0.0000, 1.0000},
        {50.0000, 2.5000, 0.0000, 50.0000, 1.8634, 0.5757, 1.0000},
        {50.0000, 2.5000, 0.0000, 50.0000, 3.2592, 0.3350, 1.0000},
        {60.2574, -34.0099, 36.2677, 60.4626, -34.1751, 39.4387, 1.2644},
        {63.0109, -31.0961, -5.8663, 62.8187, -29.7946, -4.0864, 1.2630},
        {61.2901, 3.7196, -5.3901, 61.4292, 2.2480, -4.9620, 1.8731},
        {35.0831, -44.1164, 3.7933, 35.0232, -40.0716, 1.5901, 1.8645},
        {22.7233, 20.0904, -46.6940, 23.0331, 14.9730, -42.5619, 2.0373},
        {36.4612, 47.8580, 18.3852, 36.2715, 50.5065, 21.2231, 1.4146},
        {90.8027, -2.0831, 1.4410, 91.1528, -1.6435, 0.0447, 1.4441},
        {90.9257, -0.5406, -0.9208, 88.6381, -0.8985, -0.7239, 1.5381},
        {6.7747, -0.2908, -2.4247, 5.8714, -0.0985, -2.2286, 0.6377},
        {2.0776, 0.0795, -1.1350, 0.9033, -0.0636, -0.5514, 0.9082},
        // clang-format on
    };
    int n = 0;
    for (const auto& p : pairs)
        QTest::addRow("pair %d", ++n) << TLab{p[0], p[1], p[2]} << TLab{p[3], p[4], p[5]} << p[6];
}

void TestColorSpace::deltaE2000()
{
    QFETCH(TLab, x);
    QFETCH(TLab, y);
    QFETCH(double, delta);
    // The difference is symmetric, so both orders must give the published value.
    QCOMPARE(std::round(DeltaE2000(x, y) * 10000) / 10000, delta);
    QCOMPARE(std::round(DeltaE2000(y, x) * 10000) / 10000, delta);
}

void TestColorSpace::labOfSrgb()
{
    // sRGB red and white in CIE Lab (D65), as published to two decimals.
    const TLab red = LabOf({255, 0, 0}), white = LabOf({255, 255, 255});
    QCOMPARE(std::round(red.L * 100) / 100, 53.24);
    QCOMPARE(std::round(red.A * 100) / 100, 80.09);
    QCOMPARE(std::round(red.B * 100) / 100, 67.20);
    QCOMPARE(std::round(white.L * 100) / 100, 100.0);
    QVERIFY(std::abs(white.A) < 0.01 && std::abs(white.B) < 0.01);
}

// Beyond sRGB, chroma gives way at constant lightness and hue: what comes
// back lies within a just noticeable difference of that line, and of the
// colour that CSS Color 4's gamut mapping gives (worked out apart from this
// code, by its published binary search; clipping alone, or the last colour
// inside sRGB, is further away than that in the green or the blue).
void TestColorSpace::outOfGamutKeepsLightnessAndHue_data()
{
    QTest::addColumn<double>("lightness");
    QTest::addColumn<double>("chroma");
    QTest::addColumn<double>("hue");
    QTest::addColumn<int>("mappedByCss");
    QTest::newRow("green") << 0.7 << 0.4 << 150.0 << 0x00C248;
    QTest::newRow("violet, light") << 0.9 << 0.4 << 300.0 << 0xE6D2FF;
    QTest::newRow("red, dark") << 0.2 << 0.3 << 25.0 << 0x380000;
    QTest::newRow("blue") << 0.45 << 0.5 << 264.0 << 0x0500FF;
}

void TestColorSpace::outOfGamutKeepsLightnessAndHue()
{
    QFETCH(double, lightness);
    QFETCH(double, chroma);
    QFETCH(double, hue);
    const RgbTriple mapped = SrgbFromOklab(OklabFromOklch(lightness, chroma, hue));
    const TOklab result = OklabOf(mapped);
    // Distance from the line of the requested lightness and hue, and how far
    // along it the result lies.
    const double h = hue * M_PI / 180;
    const double along = result.A * std::cos(h) + result.B * std::sin(h);
    const double across = result.A * std::sin(h) - result.B * std::cos(h);
    QVERIFY2(std::hypot(result.L - lightness, across) < 0.025, qPrintable(HtmlOf(mapped)));
    QVERIFY(along > 0 && along < chroma);
    QFETCH(int, mappedByCss);
    const RgbTriple css{std::uint8_t(mappedByCss >> 16), std::uint8_t(mappedByCss >> 8), std::uint8_t(mappedByCss)};
    const TOklab expected = OklabOf(css);
    QVERIFY2(std::hypot(result.L - expected.L, result.A - expected.A, result.B - expected.B) < 0.02,
             qPrintable(HtmlOf(mapped)));
}

void TestColorSpace::nearestName_data()
{
    QTest::addColumn<RgbTriple>("color");
    QTest::addColumn<QString>("text");
    QTest::newRow("a name's own colour") << RgbTriple{255, 215, 0} << u"Цвет: Gold"_s;
    QTest::newRow("near gold") << RgbTriple{250, 210, 10} << u"Ближайший цвет: Gold (ΔE 1,2)"_s;
    QTest::newRow("one colour, two names: the first") << RgbTriple{0, 255, 255} << u"Цвет: Aqua"_s;
    QTest::newRow("equally near two: the first") << RgbTriple{128, 128, 128} << u"Ближайший цвет: Dim (ΔE 9,1)"_s;
}

void TestColorSpace::nearestName()
{
    QFETCH(RgbTriple, color);
    TNearestColorFinder names;
    QVERIFY(!names.Find(color));
    names.Add(u"Aqua"_s, {0, 255, 255});
    names.Add(u"Cyan"_s, {0, 255, 255});
    names.Add(u"Dim"_s, {105, 105, 105});
    names.Add(u"DimToo"_s, {105, 105, 105});
    names.Add(u"Gold"_s, {255, 215, 0});
    QTEST(NearestColorText(*names.Find(color)), "text");
}

// The search skips names that cannot win; it must still find what comparing
// with every name finds.
void TestColorSpace::nearestIsTheMinimum()
{
    TNearestColorFinder names;
    QVector<TLab> labs;
    for (int i = 0; i < 40; ++i) {
        const int v = i * 0x2F1B3D % 0x1000000;
        const RgbTriple c{std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
        names.Add(QString::number(i), c);
        labs.append(LabOf(c));
    }
    for (int v = 3; v < 0x1000000; v += 0x10101) {
        const RgbTriple c{std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
        int best = 0;
        for (int i = 1; i < labs.size(); ++i) {
            if (DeltaE2000(LabOf(c), labs[i]) < DeltaE2000(LabOf(c), labs[best]))
                best = i;
        }
        QCOMPARE(names.Find(c)->Name, QString::number(best));
    }
}

QTEST_GUILESS_MAIN(TestColorSpace)
#include "tst_colorspace.moc"
