#include "color/contrast.h"
#include "color/contrastlevels.h"

#include <QtTest>

class TestContrastLevels : public QObject {
    Q_OBJECT
private slots:
    void verdictsAtEachBoundary_data();
    void verdictsAtEachBoundary();
    void suggestionCaptions_data();
    void suggestionCaptions();
};

// Each level is met from its own ratio up, judged on the exact ratio: 4.4999
// shows as 4,50 and still fails.
void TestContrastLevels::verdictsAtEachBoundary_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QString>("ratioCaption");
    QTest::addColumn<QString>("verdicts"); // normal AA, AAA, large AA, AAA, graphics
    QTest::newRow("just under 3:1") << 2.9999 << "Контраст 3,00:1"
                                    << "нет нет нет нет нет";
    QTest::newRow("at 3:1") << 3.0 << "Контраст 3,00:1"
                            << "нет нет да нет да";
    QTest::newRow("just under 4.5:1") << 4.4999 << "Контраст 4,50:1"
                                      << "нет нет да нет да";
    QTest::newRow("at 4.5:1") << 4.5 << "Контраст 4,50:1"
                              << "да нет да да да";
    QTest::newRow("just under 7:1") << 6.9999 << "Контраст 7,00:1"
                                    << "да нет да да да";
    QTest::newRow("at 7:1") << 7.0 << "Контраст 7,00:1"
                            << "да да да да да";
}

void TestContrastLevels::verdictsAtEachBoundary()
{
    QFETCH(double, ratio);
    QTEST(ContrastRatioCaption(ratio), "ratioCaption");
    QStringList verdicts;
    for (const TContrastLevel& level : ContrastLevels) {
        const QString caption = ContrastLevelCaption(level, ratio);
        QVERIFY(caption.startsWith(QString::fromUtf8(level.Caption) + QStringLiteral(": ")));
        verdicts << caption.section(QStringLiteral(": "), 1);
    }
    QTEST(verdicts.join(u' '), "verdicts");
}

void TestContrastLevels::suggestionCaptions_data()
{
    QTest::addColumn<bool>("forText");
    QTest::addColumn<double>("level");
    QTest::addColumn<int>("rgb"); // -1: none
    QTest::addColumn<double>("deltaE");
    QTest::addColumn<QString>("caption");
    QTest::newRow("text") << true << 4.5 << 0x757778 << 6.7149 << "Текст для 4,5:1: #757778 (ΔE 6,7)";
    QTest::newRow("background") << false << 7.0 << 0x0A0B0C << 80.45 << "Фон для 7:1: #0A0B0C (ΔE 80,5)";
    QTest::newRow("none") << false << 7.0 << -1 << 0.0 << "Фон для 7:1: недостижимо";
}

void TestContrastLevels::suggestionCaptions()
{
    QFETCH(bool, forText);
    QFETCH(double, level);
    QFETCH(int, rgb);
    QFETCH(double, deltaE);
    TContrastSuggestion s{forText, level, std::nullopt};
    if (rgb >= 0)
        s.Color = TPassingColor{{std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)}, deltaE};
    QTEST(ContrastSuggestionCaption(s), "caption");
}

QTEST_GUILESS_MAIN(TestContrastLevels)
#include "tst_contrastlevels.moc"
