#include "color/recentcolors.h"

#include <QtTest>

class TestRecentColors : public QObject {
    Q_OBJECT
private slots:
    void keepsTheLastDistinctColours_data();
    void keepsTheLastDistinctColours();
};

// Colours are numbered 1, 2, 3…; the list reads newest first.
void TestRecentColors::keepsTheLastDistinctColours_data()
{
    QTest::addColumn<QList<int>>("added");
    QTest::addColumn<QList<int>>("listed");
    QTest::newRow("none") << QList<int>{} << QList<int>{};
    QTest::newRow("newest first") << QList<int>{1, 2, 3} << QList<int>{3, 2, 1};
    QTest::newRow("again moves to the front") << QList<int>{1, 2, 3, 1} << QList<int>{1, 3, 2};
    QTest::newRow("the newest again") << QList<int>{1, 2, 2} << QList<int>{2, 1};
    QList<int> thirteen, twelve;
    for (int i = 1; i <= 13; ++i)
        thirteen << i;
    for (int i = 13; i >= 2; --i)
        twelve << i;
    QTest::newRow("the oldest of 13 drops") << thirteen << twelve;
    QTest::newRow("12, one again, no loss")
        << (QList<int>(thirteen.begin(), thirteen.end() - 1) << 5) << QList<int>{5, 12, 11, 10, 9, 8, 7, 6, 4, 3, 2, 1};
}

void TestRecentColors::keepsTheLastDistinctColours()
{
    QFETCH(QList<int>, added);
    TRecentColors recent;
    for (int n : added)
        recent.Add({std::uint8_t(n), 0, 0});
    QList<int> listed;
    for (const RgbTriple& c : recent.Colors())
        listed << c.R;
    QTEST(listed, "listed");
}

QTEST_GUILESS_MAIN(TestRecentColors)
#include "tst_recentcolors.moc"
