#include "widgets/listview/celllocale.h"
#include "widgets/listview/textreaders.h"

#include <QDate>
#include <QtTest>

#include <cmath>
#include <cstdlib>
#include <limits>

using namespace TextScan;

namespace {

TCellLocale DayMonthYear()
{
    TCellLocale L;
    L.ShortDateFormat = QStringLiteral("dd.mm.yyyy");
    L.DateSeparator = u'.';
    L.TimeSeparator = u':';
    L.TimeAMString = QStringLiteral("AM");
    L.TimePMString = QStringLiteral("PM");
    return L;
}

// Independent of DayNumber: Qt's own calendar arithmetic.
double Day(int Y, int M, int D)
{
    return double(QDate(Y, M, D).toJulianDay() - QDate(1899, 12, 30).toJulianDay());
}
double Clock(int H, int Mi, int S = 0)
{
    return (H * 3600 + Mi * 60 + S) / 86400.0;
}

constexpr double None = -12345; // a default no text can produce

} // namespace

class TstTextReaders : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        SetCellLocale(DayMonthYear());
        SetCurrentYearClock([] { return 2024; });
    }
    void cleanupTestCase() { SetCurrentYearClock({}); }

    // Short decimals take a quicker path than long ones: both must give the
    // correctly rounded value the standard reader gives.
    void shortDecimalsReadAsTheStandardReaderDoes()
    {
        QRandomGenerator random(4242);
        for (int i = 0; i < 20000; ++i) {
            const int intDigits = int(random.bounded(10));
            const int fracDigits = int(random.bounded(19 - intDigits));
            QString text = random.bounded(2) ? QStringLiteral("-") : QString();
            for (int d = 0; d < intDigits; ++d)
                text += QChar(u'0' + random.bounded(10));
            if (fracDigits > 0 || intDigits == 0)
                text += QLatin1Char('.');
            for (int d = 0; d < std::max(fracDigits, intDigits == 0 ? 1 : 0); ++d)
                text += QChar(u'0' + random.bounded(10));
            long double value = 0;
            QVERIFY2(TryTextToNumber(text, value), qPrintable(text));
            QByteArray standard = text.toLatin1();
            if (standard.startsWith("-.") || standard.startsWith("."))
                standard.insert(standard.indexOf('.'), '0');
            QVERIFY2(value == std::strtold(standard.constData(), nullptr), qPrintable(text));
        }
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("integer") << "240" << true << 240.0;
        QTest::newRow("leading zero") << "0240" << true << 240.0;
        QTest::newRow("leading blank") << " 12" << true << 12.0;
        QTest::newRow("trailing blank") << "12 " << false << 0.0;
        QTest::newRow("tab") << "\t12" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blanks") << "   " << false << 0.0;
        QTest::newRow("lone sign") << "-" << false << 0.0;
        QTest::newRow("blank sign") << "  +" << false << 0.0;
        QTest::newRow("point") << "." << true << 0.0;
        QTest::newRow("point after") << "5." << true << 5.0;
        QTest::newRow("point before") << "-.5" << true << -0.5;
        QTest::newRow("plus") << "+7" << true << 7.0;
        QTest::newRow("exponent only") << "E3" << true << 0.0;
        QTest::newRow("hex cell") << "4169E1" << true << 41690.0;
        QTest::newRow("hex letters") << "F0F8FF" << false << 0.0;
        QTest::newRow("negative exponent") << "25e-2" << true << 0.25;
        QTest::newRow("signed exponent") << "1.5E+3" << true << 1500.0;
        QTest::newRow("exponent no digits") << "1E" << false << 0.0;
        QTest::newRow("exponent sign only") << "1e-" << false << 0.0;
        QTest::newRow("comma") << "1,5" << false << 0.0;
        QTest::newRow("two points") << "1.2.3" << false << 0.0;
        QTest::newRow("two signs") << "--1" << false << 0.0;
        QTest::newRow("inner blank") << "1 000" << false << 0.0;
        QTest::newRow("other digits") << QString::fromUtf8("١٢") << false << 0.0;
        QTest::newRow("long mantissa") << "1" + QString(300, u'0') << true << 1e300;
    }
    void numbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        long double V = -999;
        QCOMPARE(TryTextToNumber(text, V), ok);
        QCOMPARE(IsNumberText(text), ok);
        if (ok)
            QTEST(double(V), "value");
        else
            QVERIFY(V == -999); // untouched on failure
    }

    void numbersBeyondRange_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind"); // +2/-2 infinity, 0 zero, 1 finite
        QTest::newRow("overflow") << "1E5000" << 2;
        QTest::newRow("negative overflow") << "-1E5000" << -2;
        QTest::newRow("huge exponent") << "1E99999999999999999999" << 2;
        QTest::newRow("underflow") << "1E-5000" << 0;
        QTest::newRow("negative underflow") << "-1E-5000" << 0;
        QTest::newRow("shifted into range") << "0.0000000001E4900" << 1;
        QTest::newRow("shifted out of range") << "100000E4930" << 2;
        QTest::newRow("zero with large exponent") << "0E5000" << 0;
        QTest::newRow("fraction underflow") << ".00001E-4950" << 0;
        QTest::newRow("1000 digits") << "1" + QString(1000, u'0') << 1;
    }
    void numbersBeyondRange()
    {
        QFETCH(QString, text);
        QFETCH(int, kind);
        long double V = 1;
        QVERIFY(TryTextToNumber(text, V));
        if (std::abs(kind) == 2)
            QVERIFY(std::isinf(V) && (V > 0) == (kind > 0));
        else if (kind == 0)
            QVERIFY(V == 0);
        else
            QVERIFY(std::isfinite(V) && V > 0);
    }

    void readNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("digits");
        QTest::addColumn<int>("end");
        QTest::newRow("stops at four digits") << "12345" << true << 1234 << 4 << 4;
        QTest::newRow("leading zeros count") << "000012" << true << 12 << 6 << 6;
        QTest::newRow("below 1000 takes more") << "09999" << true << 9999 << 5 << 5;
        QTest::newRow("reaches 1000") << "10000" << true << 1000 << 4 << 4;
        QTest::newRow("blanks skipped") << "  7x" << true << 7 << 1 << 3;
        QTest::newRow("no digit") << " x" << false << 0 << 0 << 1;
        QTest::newRow("empty") << "" << false << 0 << 0 << 0;
    }
    void readNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        qsizetype Pos = 0;
        quint16 N = 0;
        int L = -1;
        QCOMPARE(ReadNumber(text, Pos, N, L), ok);
        QTEST(int(Pos), "end");
        QTEST(L, "digits");
        if (ok)
            QTEST(int(N), "n");
    }

    void matching()
    {
        qsizetype Pos = 0;
        QVERIFY(MatchChar(u"  .5", Pos, u'.'));
        QCOMPARE(Pos, 3);
        Pos = 0;
        QVERIFY(!MatchChar(u"  x", Pos, u'.'));
        QCOMPARE(Pos, 2); // blanks stay skipped
        Pos = 0;
        QVERIFY(!MatchChar(u"", Pos, u'.'));
        Pos = 0;
        QVERIFY(MatchWord(u" pm 3", Pos, u"PM"));
        QCOMPARE(Pos, 3);
        Pos = 0;
        QVERIFY(!MatchWord(u" p", Pos, u"PM")); // shorter than the word
        QCOMPARE(Pos, 1);
        Pos = 0;
        QVERIFY(!MatchWord(u" PM", Pos, u""));
        QCOMPARE(Pos, 0); // an empty word does not even skip blanks
    }

    void skipToDigit()
    {
        qsizetype Pos = 0;
        SkipToDigit(u"X5a1", Pos);
        QCOMPARE(Pos, 1);
        TCellLocale L = DayMonthYear();
        L.LeadBytes = QStringLiteral("X");
        SetCellLocale(L);
        Pos = 0;
        SkipToDigit(u"X5a1", Pos);
        QCOMPARE(Pos, 3); // the digit after the lead character belongs to it
        Pos = 0;
        SkipToDigit(u"abX", Pos);
        QCOMPARE(Pos, 3); // a lead character at the end stops at the end
    }

    void dayNumbers_data()
    {
        QTest::addColumn<QDate>("date");
        for (QDate D : {QDate(1899, 12, 30), QDate(1899, 12, 29), QDate(1, 1, 1), QDate(9999, 12, 31),
                        QDate(1900, 3, 1), QDate(2000, 2, 29), QDate(2001, 5, 12)})
            QTest::newRow(qPrintable(D.toString(Qt::ISODate))) << D;
    }
    void dayNumbers()
    {
        QFETCH(QDate, date);
        QCOMPARE(double(DayNumber(date.year(), date.month(), date.day())), Day(date.year(), date.month(), date.day()));
    }

    void dateTimes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("full date") << "12.05.2001" << Day(2001, 5, 12);
        QTest::newRow("two-digit year") << "1.2.01" << Day(2001, 2, 1);
        QTest::newRow("window start") << "1.1.74" << Day(1974, 1, 1);
        QTest::newRow("before window") << "1.1.73" << Day(2073, 1, 1);
        QTest::newRow("three-digit year") << "1.1.100" << Day(100, 1, 1);
        QTest::newRow("year one") << "1.1.0001" << Day(1, 1, 1);
        QTest::newRow("no year") << "12.05" << Day(2024, 5, 12);
        QTest::newRow("trailing separator") << "12.05.2001. " << Day(2001, 5, 12);
        QTest::newRow("blanks inside") << " 12 . 05 . 2001" << Day(2001, 5, 12);
        QTest::newRow("leap day") << "29.02.2000" << Day(2000, 2, 29);
        QTest::newRow("no leap day 1900") << "29.02.1900" << None;
        QTest::newRow("31 February") << "31.02.2001" << None;
        QTest::newRow("month 13") << "1.13.2001" << None;
        QTest::newRow("day 0") << "0.1.2001" << None;
        QTest::newRow("year 0") << "1.1.000" << None;
        QTest::newRow("date and time") << "12.05.2001 10:15" << Day(2001, 5, 12) + Clock(10, 15);
        QTest::newRow("after the time") << "12.05.2001 10:15 xyz" << Day(2001, 5, 12) + Clock(10, 15);
        QTest::newRow("date and text") << "12.05.2001 abc" << None;
        QTest::newRow("before epoch") << "29.12.1899 6:00" << -1.25;
        QTest::newRow("epoch") << "30.12.1899" << 0.0;
        QTest::newRow("time") << "12:30" << Clock(12, 30);
        QTest::newRow("PM") << "12:30 PM" << Clock(12, 30);
        QTest::newRow("AM") << "12:30 AM" << Clock(0, 30);
        QTest::newRow("13 PM") << "13:00 PM" << None;
        QTest::newRow("0 AM") << "0:30 am" << None;
        QTest::newRow("designator first") << "pm 1:15" << Clock(13, 15);
        QTest::newRow("seconds") << "23:59:59" << Clock(23, 59, 59);
        QTest::newRow("hour 24") << "24:00" << None;
        QTest::newRow("minute 60") << "1:60" << None;
        QTest::newRow("second 60") << "1:02:60" << None;
        QTest::newRow("fraction of second") << "1:02:03.5" << None;
        QTest::newRow("missing minutes") << "12:" << None;
        QTest::newRow("hour and blank") << "12 " << Clock(12, 0);
        QTest::newRow("midnight") << "0:00" << 0.0;
        QTest::newRow("12 AM") << "12:00 AM" << 0.0;
        QTest::newRow("word") << "Red" << None;
        QTest::newRow("empty") << "" << None;
    }
    void dateTimes()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(TextToDateTimeDef(text, None), value);
        TDateTime V = 1;
        QCOMPARE(TryTextToDateTime(text, V), value != None && value != 0);
    }

    void twoDigitYearWindow_data()
    {
        QTest::addColumn<int>("currentYear");
        QTest::addColumn<int>("year");
        QTest::newRow("1951") << 1951 << 1901;
        QTest::newRow("1952") << 1952 << 2001;
        QTest::newRow("2051") << 2051 << 2001;
        QTest::newRow("2052") << 2052 << 2101;
    }
    void twoDigitYearWindow()
    {
        QFETCH(int, currentYear);
        QFETCH(int, year);
        SetCurrentYearClock([currentYear] { return currentYear; });
        QCOMPARE(TextToDateTimeDef(u"1.2.01", None), Day(year, 2, 1));
    }

    void systemClock()
    {
        SetCurrentYearClock({});
        QCOMPARE(TextToDateTimeDef(u"12.05", None), Day(QDate::currentDate().year(), 5, 12));
    }

    void otherOrders_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("month first") << "m/d/yy" << QStringLiteral("/") << "5/12/2001" << Day(2001, 5, 12);
        QTest::newRow("month first no year") << "m/d/yy" << QStringLiteral("/") << "5/12" << Day(2024, 5, 12);
        QTest::newRow("year first") << "yyyy-mm-dd" << QStringLiteral("-") << "2001-05-12" << Day(2001, 5, 12);
        QTest::newRow("year first short") << "yy-mm-dd" << QStringLiteral("-") << "01-05-12" << Day(2001, 5, 12);
        QTest::newRow("year first no year") << "yyyy-mm-dd" << QStringLiteral("-") << "5-12" << Day(2024, 5, 12);
        QTest::newRow("no field letters") << "//" << QStringLiteral("/") << "5/12/2001" << Day(2001, 5, 12);
    }
    void otherOrders()
    {
        QFETCH(QString, format);
        QFETCH(QString, separator);
        QFETCH(QString, text);
        TCellLocale L = DayMonthYear();
        L.ShortDateFormat = format;
        L.DateSeparator = separator.at(0);
        SetCellLocale(L);
        QTEST(TextToDateTimeDef(text, None), "value");
    }

    void eras_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("korean");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("named era") << "gg y/m/d" << false << "Beta 13/5/1" << Day(1937, 5, 1);
        QTest::newRow("part of a name") << "gg y/m/d" << false << "lph 13/5/1" << Day(2000, 5, 1);
        QTest::newRow("unknown era") << "gg y/m/d" << false << "Gamma 13/5/1" << Day(2013, 5, 1);
        QTest::newRow("first era") << "ee/m/d" << false << "90/1/2" << Day(2077, 1, 2);
        QTest::newRow("korean") << "ee/m/d" << true << "43/1/2" << Day(2010, 1, 2);
        QTest::newRow("korean full year") << "ee/m/d" << true << "4343/1/2" << Day(2010, 1, 2);
    }
    void eras()
    {
        QFETCH(QString, format);
        QFETCH(bool, korean);
        QFETCH(QString, text);
        TCellLocale L = DayMonthYear();
        L.ShortDateFormat = format;
        L.DateSeparator = u'/';
        L.Korean = korean;
        if (korean)
            L.Eras = {{QStringLiteral("K"), 2333}};
        else
            L.Eras = {{QStringLiteral("Alpha"), 1988},
                      {QStringLiteral("Beta"), 1925},
                      {QString(), 5},
                      {QStringLiteral("Gamma"), 3000}};
        SetCellLocale(L);
        QTEST(TextToDateTimeDef(text, None), "value");
    }

    void eastAsianTrailingText_data()
    {
        QTest::addColumn<QString>("timeFormat");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("word before designator")
            << "tt h:mm" << QStringLiteral("2001/05/12 Sat PM 10:15") << Day(2001, 5, 12) + Clock(22, 15);
        QTest::newRow("no designator") << "tt h:mm" << QStringLiteral("2001/05/12 Sat 10:15") << Day(2001, 5, 12);
        QTest::newRow("digit format") << "0h:mm" << QStringLiteral("2001/05/12 Sat 10:15")
                                      << Day(2001, 5, 12) + Clock(10, 15);
    }
    void eastAsianTrailingText()
    {
        QFETCH(QString, timeFormat);
        QFETCH(QString, text);
        TCellLocale L = DayMonthYear();
        L.ShortDateFormat = QStringLiteral("yyyy/mm/dd ddd");
        L.DateSeparator = u'/';
        L.ShortTimeFormat = timeFormat;
        L.EastAsian = true;
        SetCellLocale(L);
        QTEST(TextToDateTimeDef(text, None), "value");
        L.EastAsian = false;
        SetCellLocale(L);
        QCOMPARE(TextToDateTimeDef(text, None), None);
    }

    void localeDesignators()
    {
        TCellLocale L = DayMonthYear();
        L.TimeAMString = QString::fromUtf8("ДП");
        L.TimePMString = QString::fromUtf8("ПП");
        SetCellLocale(L);
        QCOMPARE(TextToDateTimeDef(QString::fromUtf8("3:00 пп"), None), Clock(15, 0));
        QCOMPARE(TextToDateTimeDef(u"3:00 PM", None), Clock(15, 0));
        QCOMPARE(TextToDateTimeDef(QString::fromUtf8("ДП 12:10"), None), Clock(0, 10));
    }

    void fromQtLocale_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("dateSep");
        QTest::addColumn<QString>("timeSep");
        QTest::newRow("C") << "C" << QStringLiteral("m/d/yy") << "/" << QStringLiteral(":");
        QTest::newRow("de_DE") << "de_DE" << QStringLiteral("dd.mm.yy") << "." << QStringLiteral(":");
        QTest::newRow("en_US") << "en_US" << QStringLiteral("m/d/yy") << "/" << QStringLiteral(":");
        QTest::newRow("ja_JP") << "ja_JP" << QStringLiteral("yyyy/mm/dd") << "/" << QStringLiteral(":");
        QTest::newRow("quoted literal") << "bg_BG" << QStringLiteral("d.mm.yy .") << "." << QStringLiteral(":");
    }
    void fromQtLocale()
    {
        QFETCH(QString, name);
        const TCellLocale L = CellLocaleFrom(QLocale(name));
        QTEST(L.ShortDateFormat, "format");
        QTEST(QString(L.DateSeparator), "dateSep");
        QTEST(QString(L.TimeSeparator), "timeSep");
        QVERIFY(!L.TimeAMString.isEmpty() && !L.TimePMString.isEmpty());
        QVERIFY(L.Eras.isEmpty() && !L.Korean && !L.EastAsian && L.LeadBytes.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstTextReaders)
#include "tst_textreaders.moc"
