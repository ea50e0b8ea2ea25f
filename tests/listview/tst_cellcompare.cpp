#include "widgets/listview/cellcompare.h"
#include "widgets/listview/celllocale.h"
#include "widgets/listview/textreaders.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>

namespace {

TCellLocale DayMonthYear()
{
    TCellLocale L;
    L.ShortDateFormat = QStringLiteral("dd.mm.yyyy");
    L.DateSeparator = u'.';
    L.TimeSeparator = u':';
    L.TimeAMString = QStringLiteral("AM");
    L.TimePMString = QStringLiteral("PM");
    L.Collation = QLocale(QLocale::English, QLocale::UnitedStates);
    return L;
}

// Texts near every rule's edges: numbers, dates, times, words and scraps of
// them, sometimes with a stray piece appended.
QString RandomCell(QRandomGenerator& Rng)
{
    static const QStringList Pieces = {QStringLiteral("0"),    QStringLiteral("12"),  QStringLiteral("7"),
                                       QStringLiteral("2001"), QStringLiteral("."),   QStringLiteral(":"),
                                       QStringLiteral(" "),    QStringLiteral("-"),   QStringLiteral("E"),
                                       QStringLiteral("AM"),   QStringLiteral("pm"),  QStringLiteral("Red"),
                                       QStringLiteral("abc"),  QStringLiteral("Abc"), QStringLiteral(","),
                                       QStringLiteral("F0"),   QStringLiteral("\t"),  QStringLiteral("e5000")};
    auto Num = [&](int Max) { return QString::number(Rng.bounded(Max)); };
    auto Pick = [&](const QStringList& From) { return From.at(Rng.bounded(int(From.size()))); };
    QString S;
    switch (Rng.bounded(8)) {
    case 0:
        return S;
    case 1:
    case 2:
        S = Pick({QString(), QStringLiteral(" "), QStringLiteral("-"), QStringLiteral("+")}) + Num(1000) +
            Pick({QString(), QStringLiteral("."), QStringLiteral(".") + Num(100)}) +
            Pick({QString(), QStringLiteral("E") + Num(10), QStringLiteral("e-5000"), QStringLiteral("E4999")});
        break;
    case 3:
    case 4:
        S = Num(33) + QStringLiteral(".") + Num(14) +
            Pick({QString(), QStringLiteral("."), QStringLiteral(".") + Num(100), QStringLiteral(".") + Num(3000)}) +
            Pick({QString(), QStringLiteral(" ") + Num(25) + QStringLiteral(":") + Num(61)});
        break;
    case 5:
        S = Pick({QString(), QStringLiteral("AM "), QStringLiteral("pm ")}) + Num(25) +
            Pick({QString(), QStringLiteral(":") + Num(61),
                  QStringLiteral(":") + Num(60) + QStringLiteral(":") + Num(61)}) +
            Pick({QString(), QStringLiteral(" "), QStringLiteral(" PM"), QStringLiteral(" am")});
        break;
    default:
        for (int I = 1 + Rng.bounded(4); I > 0; --I)
            S += Pick(Pieces);
        return S;
    }
    if (Rng.bounded(6) == 0)
        S += Pick(Pieces);
    return S;
}

} // namespace

class TstCellCompare : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        SetCellLocale(DayMonthYear());
        SetCurrentYearClock([] { return 2024; });
    }
    void cleanupTestCase() { SetCurrentYearClock({}); }

    // Each pair is chosen so that a comparison by the wrong rule would give
    // a different answer.
    void compare_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("expected");
        QTest::newRow("equal values") << "240" << QStringLiteral("0240") << 0;
        QTest::newRow("by value") << "25" << QStringLiteral("128") << -1;
        QTest::newRow("negative") << "-1" << QStringLiteral("0.5") << -1;
        QTest::newRow("leading blank number") << " 12" << QStringLiteral("5") << 1;
        QTest::newRow("hex as number") << "4169E1" << QStringLiteral("000080") << 1;
        QTest::newRow("hex exponent value") << "4169E1" << QStringLiteral("5000") << 1;
        QTest::newRow("hex as text") << "4169E1" << QStringLiteral("F0F8FF") << -1;
        QTest::newRow("comma is text") << "1,5" << QStringLiteral("1.25") << -1;
        QTest::newRow("number before date") << "12.05" << QStringLiteral("13.01") << -1;
        QTest::newRow("dates") << "12.05.2001" << QStringLiteral("13.01.2001") << 1;
        QTest::newRow("two-digit years") << "1.1.73" << QStringLiteral("1.1.74") << 1;
        QTest::newRow("invalid date is text") << "31.02.2001" << QStringLiteral("10.01.2002") << 1;
        QTest::newRow("date and time") << "12.05.2001 10:15" << QStringLiteral("12.05.2001 9:00") << 1;
        QTest::newRow("date and text") << "12.05.2001 abc" << QStringLiteral("11.06.2001") << 1;
        QTest::newRow("trailing blank is time") << "12 " << QStringLiteral("7 ") << 1;
        QTest::newRow("time against number") << "12 " << QStringLiteral("7") << 1;
        QTest::newRow("trailing blank vs word") << "12 " << QStringLiteral("Red") << -1;
        QTest::newRow("PM equals plain") << "12:30 PM" << QStringLiteral("12:30") << 0;
        QTest::newRow("AM") << "12:30 AM" << QStringLiteral("1:00") << -1;
        QTest::newRow("13 PM is text") << "13:00 PM" << QStringLiteral("2:00") << -1;
        QTest::newRow("zero time is text") << "12:00 AM" << QStringLiteral("0:30") << 1;
        QTest::newRow("epoch is text") << "30.12.1899" << QStringLiteral("1.01.1900") << 1;
        QTest::newRow("empty first") << "" << QStringLiteral("Red") << 1;
        QTest::newRow("empty second") << "Red" << QStringLiteral("") << -1;
        QTest::newRow("both empty") << "" << QStringLiteral("") << 0;
        QTest::newRow("empty vs number") << "" << QStringLiteral("5") << 1;
        QTest::newRow("collation case") << "abc" << QStringLiteral("Abc") << -1;
        QTest::newRow("collation letters") << "a" << QStringLiteral("B") << -1;
        QTest::newRow("number vs word") << "5" << QStringLiteral("abc") << -1;
        QTest::newRow("overflow above finite") << "1E5000" << QStringLiteral("1E4000") << 1;
        QTest::newRow("negative overflow") << "-1E5000" << QStringLiteral("-1E4000") << -1;
        QTest::newRow("overflows equal") << "1E5000" << QStringLiteral("2E5000") << 0;
        QTest::newRow("underflow is zero") << "1E-5000" << QStringLiteral("0") << 0;
    }
    void compare()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, expected);
        QCOMPARE(CompareCellTexts(a, b), expected);
        QCOMPARE(CompareCellTexts(b, a), -expected);
    }

    void widerThanDouble()
    {
        if constexpr (std::numeric_limits<long double>::max_exponent10 <= 400)
            QSKIP("long double is no wider than double here");
        QCOMPARE(CompareCellTexts(QStringLiteral("1E400"), QStringLiteral("1E401")), -1);
    }

    void generatedTexts()
    {
        QRandomGenerator Rng(20240512);
        int Decided = 0, Numbers = 0, Dates = 0, Empties = 0;
        for (int I = 0; I < 20000; ++I) {
            const QString A = RandomCell(Rng), B = RandomCell(Rng);
            const int AB = CompareCellTexts(A, B), BA = CompareCellTexts(B, A);
            QVERIFY(AB >= -1 && AB <= 1);
            long double X, Y;
            TDateTime D, E;
            const bool ByNumber = TryTextToNumber(A, X) && TryTextToNumber(B, Y);
            const bool ByDate = !ByNumber && TryTextToDateTime(A, D) && TryTextToDateTime(B, E);
            const bool ByEmpty = !ByNumber && !ByDate && (A.isEmpty() || B.isEmpty());
            // The quick look may only turn away texts that read as nothing.
            QVERIFY(MayBeDateTime(A) || TextToDateTimeDef(A, -1) == -1);
            Numbers += ByNumber;
            Dates += ByDate;
            Empties += ByEmpty;
            if (ByNumber || ByDate || ByEmpty) {
                ++Decided;
                QVERIFY2(AB == -BA, qPrintable(QStringLiteral("'%1' vs '%2'").arg(A, B)));
            }
        }
        // The generator must reach every rule, or the check above says little.
        QVERIFY(Numbers > 200 && Dates > 200 && Empties > 200);
        QVERIFY(Decided < 20000);
    }

    void sortsNumericColumn()
    {
        QStringList Column = {
            QStringLiteral("128"), QStringLiteral(" 12"),    QStringLiteral("-1"),      QString(),
            QStringLiteral("0.5"), QStringLiteral("4169E1"), QStringLiteral("1E-5000"), QStringLiteral("1E5000")};
        std::stable_sort(Column.begin(), Column.end(),
                         [](const QString& A, const QString& B) { return CompareCellTexts(A, B) < 0; });
        const QStringList Expected = {
            QStringLiteral("-1"),  QStringLiteral("1E-5000"), QStringLiteral("0.5"),    QStringLiteral(" 12"),
            QStringLiteral("128"), QStringLiteral("4169E1"),  QStringLiteral("1E5000"), QString()};
        QCOMPARE(Column, Expected);
    }
};

QTEST_GUILESS_MAIN(TstCellCompare)
#include "tst_cellcompare.moc"
