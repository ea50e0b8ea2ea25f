#include "widgets/listview/textreaders.h"

#include "widgets/listview/celllocale.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace {

constexpr int TwoDigitYearWindow = 50;

bool IsDigit(QChar C)
{
    return C >= u'0' && C <= u'9';
}

// False only when C certainly cannot begin W ignoring case; the full
// comparison decides everything else.
bool CouldStartWith(QChar C, QStringView W)
{
    if (W.isEmpty())
        return false;
    const char16_t A = C.unicode(), B = W[0].unicode();
    if (A >= 0x80 || B >= 0x80)
        return true;
    auto Lower = [](char16_t X) { return X >= u'A' && X <= u'Z' ? char16_t(X + 0x20) : X; };
    return Lower(A) == Lower(B);
}

// Where the parts of a number text lie; filled by the syntax check.
struct TNumberParts {
    bool Negative = false;
    qsizetype IntBegin = 0, IntEnd = 0;
    qsizetype FracBegin = 0, FracEnd = 0;
    bool ExpNegative = false;
    qsizetype ExpBegin = 0, ExpEnd = 0;
};

bool ScanNumber(QStringView S, TNumberParts& P)
{
    const qsizetype Len = S.size();
    qsizetype I = 0;
    while (I < Len && S[I] == u' ')
        ++I;
    if (I < Len && (S[I] == u'+' || S[I] == u'-')) {
        P.Negative = S[I] == u'-';
        ++I;
    }
    if (I >= Len)
        return false;
    P.IntBegin = I;
    while (I < Len && IsDigit(S[I]))
        ++I;
    P.IntEnd = P.FracBegin = P.FracEnd = I;
    if (I < Len && S[I] == u'.') {
        P.FracBegin = ++I;
        while (I < Len && IsDigit(S[I]))
            ++I;
        P.FracEnd = I;
    }
    P.ExpBegin = P.ExpEnd = I;
    if (I < Len && (S[I] == u'E' || S[I] == u'e')) {
        ++I;
        if (I < Len && (S[I] == u'+' || S[I] == u'-')) {
            P.ExpNegative = S[I] == u'-';
            ++I;
        }
        P.ExpBegin = I;
        while (I < Len && IsDigit(S[I]))
            ++I;
        P.ExpEnd = I;
        if (P.ExpBegin == P.ExpEnd)
            return false;
    }
    return I == Len;
}

// Decimal exponent of the leading significant digit, saturated; only its sign
// is needed to tell an overflow from an underflow.
std::int64_t LeadingExponent(QStringView S, const TNumberParts& P)
{
    constexpr std::int64_t Cap = 1'000'000'000;
    std::int64_t Exp = 0;
    for (qsizetype I = P.ExpBegin; I < P.ExpEnd; ++I)
        Exp = std::min<std::int64_t>(Exp * 10 + (S[I].unicode() - u'0'), Cap);
    if (P.ExpNegative)
        Exp = -Exp;
    for (qsizetype I = P.IntBegin; I < P.IntEnd; ++I)
        if (S[I] != u'0')
            return Exp + (P.IntEnd - I - 1);
    for (qsizetype I = P.FracBegin; I < P.FracEnd; ++I)
        if (S[I] != u'0')
            return Exp - (I - P.FracBegin + 1);
    return 0;
}

bool ConvertNumber(QStringView S, const TNumberParts& P, long double& Value)
{
    // Most cells hold short decimals. With at most 18 digits the digits make
    // an integer N that is exact in a long double, as is 10^k for the k
    // fraction digits, so the one correctly rounded division N / 10^k gives
    // the same value as the general reader, much faster.
    const qsizetype IntDigits = P.IntEnd - P.IntBegin;
    const qsizetype FracDigits = P.FracEnd - P.FracBegin;
    if (IntDigits + FracDigits <= 18 && P.ExpBegin == P.ExpEnd) {
        std::int64_t N = 0;
        for (qsizetype I = P.IntBegin; I < P.IntEnd; ++I)
            N = N * 10 + (S[I].unicode() - u'0');
        long double Scale = 1;
        for (qsizetype I = P.FracBegin; I < P.FracEnd; ++I) {
            N = N * 10 + (S[I].unicode() - u'0');
            Scale *= 10;
        }
        const long double V = static_cast<long double>(N) / Scale;
        Value = P.Negative ? -V : V;
        return true;
    }
    // The checked text is plain ASCII; rebuild it in the form the standard
    // reader takes (it wants a digit before the point and no '+').
    const qsizetype Needed = S.size() + 3;
    std::array<char, 128> Stack;
    std::string Heap;
    char* Buf = Stack.data();
    if (Needed > qsizetype(Stack.size())) {
        Heap.resize(size_t(Needed));
        Buf = Heap.data();
    }
    char* Out = Buf;
    if (P.Negative)
        *Out++ = '-';
    if (P.IntBegin == P.IntEnd)
        *Out++ = '0';
    for (qsizetype I = P.IntBegin; I < P.IntEnd; ++I)
        *Out++ = char(S[I].unicode());
    if (P.FracBegin < P.FracEnd) {
        *Out++ = '.';
        for (qsizetype I = P.FracBegin; I < P.FracEnd; ++I)
            *Out++ = char(S[I].unicode());
    }
    if (P.ExpBegin < P.ExpEnd) {
        *Out++ = 'e';
        if (P.ExpNegative)
            *Out++ = '-';
        for (qsizetype I = P.ExpBegin; I < P.ExpEnd; ++I)
            *Out++ = char(S[I].unicode());
    }
    long double V = 0;
    const auto [End, Err] = std::from_chars(Buf, Out, V, std::chars_format::general);
    if (Err == std::errc::result_out_of_range) {
        const long double Magnitude = LeadingExponent(S, P) >= 0 ? std::numeric_limits<long double>::infinity() : 0.0L;
        Value = P.Negative ? -Magnitude : Magnitude;
        return true;
    }
    if (Err != std::errc() || End != Out)
        return false;
    Value = V;
    return true;
}

QStringView TrimControls(QStringView S)
{
    qsizetype B = 0, E = S.size();
    while (B < E && S[B].unicode() <= 0x20)
        ++B;
    while (E > B && S[E - 1].unicode() <= 0x20)
        --E;
    return S.sliced(B, E - B);
}

int EraOffsetFor(const TCellLocale& L, QStringView Text)
{
    for (qsizetype I = 0; I < L.Eras.size() && I < TCellLocale::MaxEras; ++I) {
        const TEra& Era = L.Eras[I];
        if (Era.Name.isEmpty())
            break;
        if (Era.Name.contains(Text))
            return Era.YearOffset;
    }
    return 0;
}

int ApplyEra(const TCellLocale& L, int Year, int Offset)
{
    if (L.Korean) {
        if (Year <= 99)
            Year += ((CurrentYear() + std::abs(Offset)) / 100) * 100;
        if (Offset > 0)
            Offset = -Offset;
    } else {
        Offset -= 1;
    }
    return Year + Offset;
}

bool StartsWithDesignator(QStringView Rest, const TCellLocale& L)
{
    return Rest.startsWith(L.TimeAMString, Qt::CaseInsensitive) || Rest.startsWith(L.TimePMString, Qt::CaseInsensitive);
}

} // namespace

// The scanning steps, inlined into the readers: they run for every cell
// text on every comparison of a sort.
namespace {
namespace Scan {

inline void SkipBlanks(QStringView S, qsizetype& Pos)
{
    while (Pos >= 0 && Pos < S.size() && S[Pos] == u' ')
        ++Pos;
}

inline bool ReadNumber(QStringView S, qsizetype& Pos, quint16& N, int& L)
{
    L = 0;
    SkipBlanks(S, Pos);
    if (Pos < 0)
        return false;
    quint16 Value = 0;
    qsizetype I = Pos;
    while (I < S.size() && IsDigit(S[I]) && Value < 1000) {
        Value = quint16(Value * 10 + (S[I].unicode() - u'0'));
        ++I;
    }
    if (I == Pos)
        return false;
    L = int(I - Pos);
    Pos = I;
    N = Value;
    return true;
}

inline bool MatchChar(QStringView S, qsizetype& Pos, QChar Ch)
{
    SkipBlanks(S, Pos);
    if (Pos >= 0 && Pos < S.size() && S[Pos] == Ch) {
        ++Pos;
        return true;
    }
    return false;
}

inline bool MatchWord(QStringView S, qsizetype& Pos, QStringView W)
{
    if (W.isEmpty())
        return false;
    SkipBlanks(S, Pos);
    if (Pos < 0 || W.size() > S.size() - Pos)
        return false;
    if (!CouldStartWith(S[Pos], W))
        return false;
    if (S.sliced(Pos, W.size()).compare(W, Qt::CaseInsensitive) != 0)
        return false;
    Pos += W.size();
    return true;
}

inline void SkipToDigit(QStringView S, qsizetype& Pos, const QString& Lead)
{
    while (Pos >= 0 && Pos < S.size() && !IsDigit(S[Pos]))
        Pos += (!Lead.isEmpty() && Lead.contains(S[Pos])) ? 2 : 1;
    // A lead character at the very end must not carry us beyond it.
    if (Pos > S.size())
        Pos = S.size();
}

} // namespace Scan
} // namespace

namespace TextScan {

void SkipBlanks(QStringView S, qsizetype& Pos)
{
    Scan::SkipBlanks(S, Pos);
}
bool ReadNumber(QStringView S, qsizetype& Pos, quint16& N, int& L)
{
    return Scan::ReadNumber(S, Pos, N, L);
}
bool MatchChar(QStringView S, qsizetype& Pos, QChar Ch)
{
    return Scan::MatchChar(S, Pos, Ch);
}
bool MatchWord(QStringView S, qsizetype& Pos, QStringView W)
{
    return Scan::MatchWord(S, Pos, W);
}
void SkipToDigit(QStringView S, qsizetype& Pos)
{
    Scan::SkipToDigit(S, Pos, CellLocale().LeadBytes);
}

} // namespace TextScan

using namespace Scan;

bool IsNumberText(QStringView S)
{
    TNumberParts P;
    return ScanNumber(S, P);
}

bool TryTextToNumber(QStringView S, long double& Value)
{
    TNumberParts P;
    return ScanNumber(S, P) && ConvertNumber(S, P, Value);
}

bool IsLeapYear(int Year)
{
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

int DaysInMonth(int Year, int Month)
{
    static constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (Month < 1 || Month > 12)
        return 0;
    return Month == 2 && IsLeapYear(Year) ? 29 : Days[Month - 1];
}

int DayNumber(int Year, int Month, int Day)
{
    static constexpr int DaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const int M = std::clamp(Month, 1, 12);
    const int DayOfYear = DaysBefore[M - 1] + (M > 2 && IsLeapYear(Year) ? 1 : 0) + Day;
    const int Y = Year - 1;
    // Days from 1 January of year 1 to 30 December 1899.
    constexpr int EpochOffset = 693594;
    return Y * 365 + Y / 4 - Y / 100 + Y / 400 + DayOfYear - EpochOffset;
}

namespace {

bool ReadDate(QStringView S, qsizetype& Pos, TDateTime& Date, const TCellLocale& L, const TCellLocaleRules& R)
{
    const TDateOrder Order = R.DateOrder;

    int EraOffset = 0;
    if (R.EraFromName) {
        SkipToDigit(S, Pos, L.LeadBytes);
        EraOffset = EraOffsetFor(L, TrimControls(S.first(qBound<qsizetype>(0, Pos, S.size()))));
    } else if (R.EraFromFirst && !L.Eras.isEmpty() && !L.Eras.first().Name.isEmpty()) {
        EraOffset = L.Eras.first().YearOffset;
    }

    quint16 N1 = 0, N2 = 0, N3 = 0;
    int L1 = 0, L2 = 0, L3 = 0;
    if (!ReadNumber(S, Pos, N1, L1) || !MatchChar(S, Pos, L.DateSeparator) || !ReadNumber(S, Pos, N2, L2))
        return false;

    // Day and month as the order places them; a leading year comes before both.
    const bool DayFirst = Order == TDateOrder::DMY;
    int Year = 0;
    int Month = DayFirst ? N2 : N1;
    int Day = DayFirst ? N1 : N2;
    if (MatchChar(S, Pos, L.DateSeparator)) {
        if (!ReadNumber(S, Pos, N3, L3))
            return false;
        int YearDigits = L3;
        Year = N3;
        if (Order == TDateOrder::YMD) {
            Year = N1;
            YearDigits = L1;
            Month = N2;
            Day = N3;
        }
        if (EraOffset > 0) {
            Year = ApplyEra(L, Year, EraOffset);
        } else if (YearDigits <= 2) {
            const int Base = CurrentYear() - TwoDigitYearWindow;
            Year += (Base / 100) * 100;
            if (TwoDigitYearWindow > 0 && Year < Base)
                Year += 100;
        }
    } else {
        Year = CurrentYear();
    }

    MatchChar(S, Pos, L.DateSeparator);
    SkipBlanks(S, Pos);
    if (R.SkipDayName) {
        if (R.TimeFormatDigit) {
            SkipToDigit(S, Pos, L.LeadBytes);
        } else {
            do {
                while (Pos < S.size() && S[Pos] != u' ')
                    ++Pos;
                SkipBlanks(S, Pos);
            } while (Pos < S.size() && !StartsWithDesignator(S.sliced(Pos), L));
        }
    }

    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInMonth(Year, Month))
        return false;
    Date = DayNumber(Year, Month, Day);
    return true;
}

bool ReadTime(QStringView S, qsizetype& Pos, TDateTime& Time, const TCellLocale& L)
{
    auto MatchDesignator = [&]() {
        if (MatchWord(S, Pos, L.TimeAMString) || MatchWord(S, Pos, u"AM"))
            return 0;
        if (MatchWord(S, Pos, L.TimePMString) || MatchWord(S, Pos, u"PM"))
            return 12;
        return -1;
    };

    int BaseHour = MatchDesignator();
    if (BaseHour >= 0)
        SkipBlanks(S, Pos);
    quint16 Hour = 0, Min = 0, Sec = 0;
    int Digits = 0;
    if (!ReadNumber(S, Pos, Hour, Digits))
        return false;
    if (MatchChar(S, Pos, L.TimeSeparator) && !ReadNumber(S, Pos, Min, Digits))
        return false;
    if (MatchChar(S, Pos, L.TimeSeparator) && !ReadNumber(S, Pos, Sec, Digits))
        return false;
    if (BaseHour < 0)
        BaseHour = MatchDesignator();

    int H = Hour;
    if (BaseHour >= 0) {
        if (H < 1 || H > 12)
            return false;
        if (H == 12)
            H = 0;
        H += BaseHour;
    }
    SkipBlanks(S, Pos);
    if (H >= 24 || Min >= 60 || Sec >= 60)
        return false;
    Time = (H * 3600 + Min * 60 + Sec) / 86400.0;
    return true;
}

// Without an era name in front, a date or time starts with a digit or a
// designator: most words are turned away here at the cost of one look.
bool MayStartDateTime(QStringView S, const TCellLocale& L, const TCellLocaleRules& R)
{
    qsizetype First = 0;
    SkipBlanks(S, First);
    if (First >= S.size())
        return false;
    const QChar C = S[First];
    return IsDigit(C) || R.EraFromName || CouldStartWith(C, L.TimeAMString) || CouldStartWith(C, u"AM") ||
           CouldStartWith(C, L.TimePMString) || CouldStartWith(C, u"PM");
}

} // namespace

bool MayBeDateTime(QStringView S)
{
    return MayStartDateTime(S, CellLocale(), CellLocaleRules());
}

bool ReadDatePart(QStringView S, qsizetype& Pos, TDateTime& Date)
{
    return ReadDate(S, Pos, Date, CellLocale(), CellLocaleRules());
}

bool ReadTimePart(QStringView S, qsizetype& Pos, TDateTime& Time)
{
    return ReadTime(S, Pos, Time, CellLocale());
}

TDateTime TextToDateTimeDef(QStringView S, TDateTime Default)
{
    const TCellLocale& L = CellLocale();
    const TCellLocaleRules& R = CellLocaleRules();
    if (!MayStartDateTime(S, L, R))
        return Default;

    qsizetype Pos = 0;
    TDateTime Date = 0, Time = 0;
    if (ReadDate(S, Pos, Date, L, R)) {
        if (Pos >= S.size() || ReadTime(S, Pos, Time, L))
            return Date >= 0 ? Date + Time : Date - Time;
    }
    Pos = 0;
    if (ReadTime(S, Pos, Time, L) && Pos >= S.size())
        return Time;
    return Default;
}

bool TryTextToDateTime(QStringView S, TDateTime& Value)
{
    Value = TextToDateTimeDef(S, 0);
    return Value != 0;
}
