#include "color/contrast.h"

#include <QtTest>

class TestContrast : public QObject {
    Q_OBJECT
private slots:
    void knownPairs_data();
    void knownPairs();
    void levelsUseTheExactRatio_data();
    void levelsUseTheExactRatio();
};

void TestContrast::knownPairs_data()
{
    QTest::addColumn<TColor>("text");
    QTest::addColumn<TColor>("background");
    QTest::addColumn<QString>("shown");
    QTest::newRow("black on white") << clBlack << clWhite << "Контраст 21,00:1 — AA, AAA";
    QTest::newRow("white on black") << clWhite << clBlack << "Контраст 21,00:1 — AA, AAA";
    QTest::newRow("white on white") << clWhite << clWhite << "Контраст 1,00:1 — ниже AA";
    QTest::newRow("#777777 on white") << RGB(0x77, 0x77, 0x77) << clWhite << "Контраст 4,48:1 — ниже AA";
    QTest::newRow("#767676 on white") << RGB(0x76, 0x76, 0x76) << clWhite << "Контраст 4,54:1 — AA";
    QTest::newRow("black on #777777") << clBlack << RGB(0x77, 0x77, 0x77) << "Контраст 4,69:1 — AA";
    QTest::newRow("red on white") << clRed << clWhite << "Контраст 4,00:1 — ниже AA";
    QTest::newRow("navy on white") << clNavy << clWhite << "Контраст 16,01:1 — AA, AAA";
    // System colours count as the colours they stand for.
    QTest::newRow("window text on window") << clWindowText << clWindow << "Контраст 21,00:1 — AA, AAA";
}

void TestContrast::knownPairs()
{
    QFETCH(TColor, text);
    QFETCH(TColor, background);
    QTEST(ContrastText(ContrastRatio(text, background)), "shown");
}

void TestContrast::levelsUseTheExactRatio_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QString>("shown");
    QTest::newRow("just below AA") << 4.4999 << "Контраст 4,50:1 — ниже AA";
    QTest::newRow("AA") << 4.5 << "Контраст 4,50:1 — AA";
    QTest::newRow("just below AAA") << 6.9951 << "Контраст 7,00:1 — AA";
    QTest::newRow("AAA") << 7.0 << "Контраст 7,00:1 — AA, AAA";
}

void TestContrast::levelsUseTheExactRatio()
{
    QFETCH(double, ratio);
    QTEST(ContrastText(ratio), "shown");
}

QTEST_GUILESS_MAIN(TestContrast)
#include "tst_contrast.moc"
