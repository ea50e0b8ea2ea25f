#include "framework/palette.h"
#include "framework/types.h"

#include <QtTest>

class TestTypes : public QObject {
    Q_OBJECT
private slots:
    void roundTiesToEven_data();
    void roundTiesToEven();
    void hex2Digits_data();
    void hex2Digits();
    void rectIsExclusive();
    void colorToRgb_data();
    void colorToRgb();
    void standardColoursMatchTheirRgb();
};

void TestTypes::roundTiesToEven_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("expected");
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("3.5") << 3.5 << 4;
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("-3.5") << -3.5 << -4;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("2.4999") << 2.4999 << 2;
    QTest::newRow("2.5001") << 2.5001 << 3;
    QTest::newRow("-2.5001") << -2.5001 << -3;
    QTest::newRow("whole") << 7.0 << 7;
    QTest::newRow("slider 2*255/373") << 2.0 * 255 / 373 << 1;
    QTest::newRow("huge saturates") << 1e300 << std::numeric_limits<int>::max();
    QTest::newRow("tiny saturates") << -1e300 << std::numeric_limits<int>::min();
    QTest::newRow("nan") << std::nan("") << 0;
}

void TestTypes::roundTiesToEven()
{
    QFETCH(double, x);
    QTEST(Round(x), "expected");
}

void TestTypes::hex2Digits_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0") << 0 << "00";
    QTest::newRow("9") << 9 << "09";
    QTest::newRow("10") << 10 << "0A";
    QTest::newRow("128") << 128 << "80";
    QTest::newRow("171") << 171 << "AB";
    QTest::newRow("255") << 255 << "FF";
}

void TestTypes::hex2Digits()
{
    QFETCH(int, value);
    QTEST(hex2(value), "expected");
}

void TestTypes::rectIsExclusive()
{
    const TRect r = Rect(2, 3, 5, 7);
    QCOMPARE(r.Width(), 3);
    QCOMPARE(r.Height(), 4);
    QVERIFY(r.Contains({2, 3}));
    QVERIFY(r.Contains({4, 6}));
    QVERIFY(!r.Contains({5, 6}));
    QVERIFY(!r.Contains({4, 7}));
    QVERIFY(Rect(5, 5, 5, 9).IsEmpty());
    QVERIFY(Rect(5, 5, 4, 9).IsEmpty());
    QCOMPARE(Bounds(10, 20, 30, 40), Rect(10, 20, 40, 60));
    QCOMPARE(Rect(0, 0, 10, 10).Intersected(Rect(5, -5, 20, 3)), Rect(5, 0, 10, 3));
}

void TestTypes::colorToRgb_data()
{
    QTest::addColumn<TColor>("color");
    QTest::addColumn<TColor>("expected");
    QTest::newRow("plain stays") << TColor(0x123456) << TColor(0x123456);
    QTest::newRow("window white") << clWindow << clWhite;
    QTest::newRow("window text black") << clWindowText << clBlack;
    QTest::newRow("button face silver") << clBtnFace << clSilver;
    QTest::newRow("button shadow grey") << clBtnShadow << clGray;
    QTest::newRow("button highlight white") << clBtnHighlight << clWhite;
    QTest::newRow("selection navy") << clHighlight << clNavy;
    QTest::newRow("selected text white") << clHighlightText << clWhite;
    QTest::newRow("unknown system index") << SystemColor(0x7F) << clBlack;
}

void TestTypes::colorToRgb()
{
    QFETCH(TColor, color);
    QTEST(ColorToRGB(color), "expected");
}

void TestTypes::standardColoursMatchTheirRgb()
{
    QCOMPARE(ToQColor(clRed), QColor(255, 0, 0));
    QCOMPARE(ToQColor(clGreen), QColor(0, 128, 0));
    QCOMPARE(ToQColor(clNavy), QColor(0, 0, 128));
    QCOMPARE(ToQColor(clTeal), QColor(0, 128, 128));
    QCOMPARE(ToQColor(clOlive), QColor(128, 128, 0));
    QCOMPARE(FromQColor(QColor(1, 2, 3)), TColor(0x030201));
    QCOMPARE(ClassicPalette().color(QPalette::Highlight), QColor(0, 0, 128));
    QCOMPARE(ClassicPalette().color(QPalette::Base), QColor(255, 255, 255));
}

QTEST_GUILESS_MAIN(TestTypes)
#include "tst_types.moc"
