// Two cell texts under one of a set of locale settings. The readers and the
// comparison must never crash, and whenever numbers, dates or an empty text
// decide, the order must be the one those values give, the same both ways.
//
// Input: a settings byte, an extras byte, a year byte, then text A, a 0 byte
// and text B (UTF-8; without a 0 byte, B is empty).
#include "widgets/listview/cellcompare.h"
#include "widgets/listview/celllocale.h"
#include "widgets/listview/textreaders.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct TDateStyle {
    const char* Format;
    char16_t Separator;
};

// Every date order and the era and day-name rules.
constexpr TDateStyle DateStyles[8] = {
    {"m/d/yy", u'/'}, {"dd.mm.yyyy", u'.'}, {"yyyy-mm-dd", u'-'},     {"gg y/m/d", u'/'},
    {"ee/m/d", u'/'}, {"ee/m/d", u'/'},     {"yyyy/mm/dd ddd", u'/'}, {"d/m/yy", u'/'},
};

TCellLocale SettingsFor(std::uint8_t settings, std::uint8_t extras)
{
    TCellLocale L;
    const int style = settings & 7;
    L.ShortDateFormat = QString::fromLatin1(DateStyles[style].Format);
    L.DateSeparator = DateStyles[style].Separator;
    if (style == 3)
        L.Eras = {{QStringLiteral("Alpha"), 1988},
                  {QStringLiteral("Beta"), 1925},
                  {QString(), 5},
                  {QStringLiteral("Gamma"), 3000}};
    if (style == 4) {
        L.Korean = true;
        L.Eras = {{QStringLiteral("K"), 2333}};
    }
    if (style == 5)
        L.Eras = {{QStringLiteral("Alpha"), 1988}};
    L.EastAsian = style == 6;
    switch ((settings >> 3) & 3) {
    case 0:
        break; // the defaults, "am" and "pm"
    case 1:
        L.TimeAMString = QStringLiteral("AM");
        L.TimePMString = QStringLiteral("PM");
        break;
    case 2:
        L.TimeAMString.clear();
        L.TimePMString.clear();
        break;
    default:
        L.TimeAMString = QString::fromUtf8("ДП");
        L.TimePMString = QString::fromUtf8("ПП");
        break;
    }
    L.TimeSeparator = settings & 0x20 ? u'.' : u':';
    L.ShortTimeFormat = settings & 0x40 ? QStringLiteral("0h:mm") : QStringLiteral("tt h:mm");
    if (settings & 0x80)
        L.LeadBytes = QStringLiteral("X");
    if (extras & 1)
        L.Collation = QLocale(QLocale::English, QLocale::UnitedStates);
    return L;
}

// Collators are costly to make: set the settings only when they change.
void UseSettings(std::uint8_t settings, std::uint8_t extras)
{
    static int current = -1;
    const int key = settings << 1 | (extras & 1);
    if (key != current) {
        SetCellLocale(SettingsFor(settings, extras));
        current = key;
    }
}

int CurrentYearFor(std::uint8_t extras, std::uint8_t year)
{
    return 1 + (((extras >> 1) << 8 | year) % 9999);
}

void PrintText(const char* name, const QString& s)
{
    std::fprintf(stderr, "%s = \"%s\" (UTF-16:", name, s.toUtf8().constData());
    for (QChar c : s)
        std::fprintf(stderr, " %04x", unsigned(c.unicode()));
    std::fprintf(stderr, ")\n");
}

[[noreturn]] void Fail(const char* what, const QString& a, const QString& b)
{
    std::fprintf(stderr, "cell comparison: %s\n", what);
    PrintText("A", a);
    PrintText("B", b);
    const TCellLocale& L = CellLocale();
    std::fprintf(stderr, "date format \"%s\", current year %d\n", L.ShortDateFormat.toUtf8().constData(),
                 CurrentYear());
    std::abort();
}

template <typename T> int Sign(T v)
{
    return (v > T(0)) - (v < T(0));
}

// How the rules see one text on its own.
struct TReading {
    bool IsNumber = false;
    long double Number = 0;
    bool IsDate = false;
    TDateTime Date = 0;
};

TReading Read(const QString& s, const QString& other)
{
    TReading r;
    const bool syntax = IsNumberText(s);
    r.IsNumber = TryTextToNumber(s, r.Number);
    if (syntax != r.IsNumber)
        Fail("the number syntax check and the reader disagree", s, other);
    if (r.IsNumber && std::isnan(r.Number))
        Fail("a number reads as NaN", s, other);

    constexpr TDateTime None = -1e300; // no text reads as this
    const TDateTime def = TextToDateTimeDef(s, None);
    if (def != None && !std::isfinite(def))
        Fail("a date reads as a non-finite value", s, other);
    // The quick look may only turn away texts that read as nothing.
    if (!MayBeDateTime(s) && def != None)
        Fail("MayBeDateTime turns away a text that reads as a date or time", s, other);
    r.IsDate = TryTextToDateTime(s, r.Date);
    if (r.IsDate != (def != None && def != 0) || (r.IsDate && r.Date != def))
        Fail("TryTextToDateTime and TextToDateTimeDef disagree", s, other);
    return r;
}

// The position contract of the scanners: from any position inside the text
// they end inside it or just past its end.
void CheckScanners(const QString& s, const QString& other)
{
    const qsizetype n = s.size();
    const qsizetype step = n <= 64 ? 1 : n / 16;
    for (qsizetype start = 0; start <= n; start += step) {
        const auto check = [&](qsizetype pos, const char* what) {
            if (pos < 0 || pos > n)
                Fail(what, s, other);
        };
        qsizetype pos = start;
        TDateTime v = 0;
        ReadDatePart(s, pos, v);
        check(pos, "ReadDatePart leaves the text");
        pos = start;
        ReadTimePart(s, pos, v);
        check(pos, "ReadTimePart leaves the text");
        pos = start;
        TextScan::SkipToDigit(s, pos);
        check(pos, "SkipToDigit leaves the text");
        pos = start;
        quint16 number = 0;
        int digits = 0;
        if (TextScan::ReadNumber(s, pos, number, digits) && (digits < 1 || number > 9999))
            Fail("ReadNumber gives an impossible number", s, other);
        check(pos, "ReadNumber leaves the text");
        pos = start;
        TextScan::MatchWord(s, pos, CellLocale().TimePMString);
        check(pos, "MatchWord leaves the text");
    }
}

void CheckPair(const QString& a, const QString& b)
{
    const TReading ra = Read(a, b);
    const TReading rb = Read(b, a);
    CheckScanners(a, b);
    CheckScanners(b, a);

    const int ab = CompareCellTexts(a, b);
    const int ba = CompareCellTexts(b, a);
    if (ab < -1 || ab > 1 || ba < -1 || ba > 1)
        Fail("result outside -1..1", a, b);

    int expected = 0;
    bool decided = true;
    if (ra.IsNumber && rb.IsNumber)
        expected = ra.Number < rb.Number ? -1 : (ra.Number > rb.Number ? 1 : 0);
    else if (ra.IsDate && rb.IsDate)
        expected = Sign(ra.Date - rb.Date);
    else if (a.isEmpty() || b.isEmpty())
        expected = int(a.isEmpty()) - int(b.isEmpty()); // empty texts go last
    else
        decided = false;
    if (decided) {
        if (ab != expected)
            Fail("the deciding rule's order is not the result", a, b);
        if (ab != -ba)
            Fail("CompareCellTexts(a, b) != -CompareCellTexts(b, a)", a, b);
    }

    // A text equals itself whenever a value or emptiness decides.
    for (const QString* s : {&a, &b}) {
        const TReading& r = s == &a ? ra : rb;
        if ((r.IsNumber || r.IsDate || s->isEmpty()) && CompareCellTexts(*s, *s) != 0)
            Fail("a text does not equal itself", *s, *s);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const std::uint8_t settings = data[0], extras = data[1], year = data[2];
    UseSettings(settings, extras);
    const int currentYear = CurrentYearFor(extras, year);
    SetCurrentYearClock([currentYear] { return currentYear; });

    const char* text = reinterpret_cast<const char*>(data + 3);
    const std::size_t length = size - 3;
    const void* zero = std::memchr(text, 0, length);
    const std::size_t lengthA = zero ? std::size_t(static_cast<const char*>(zero) - text) : length;
    const QString a = QString::fromUtf8(text, qsizetype(lengthA));
    const QString b = zero ? QString::fromUtf8(text + lengthA + 1, qsizetype(length - lengthA - 1)) : QString();
    CheckPair(a, b);
    return 0;
}
