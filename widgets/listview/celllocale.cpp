#include "widgets/listview/celllocale.h"

#include <QCollator>
#include <QDate>

namespace {

// Qt's format letters to ours; quoted literal text and fields other than
// day, month and year are dropped, so a literal can never pass for an era.
QString DateFormatFromQt(const QString& Format)
{
    QString Result;
    bool Quoted = false;
    for (QChar C : Format) {
        if (C == u'\'') {
            Quoted = !Quoted;
        } else if (Quoted) {
            continue;
        } else if (C == u'd' || C == u'y') {
            Result += C;
        } else if (C == u'M') {
            Result += u'm';
        } else if (!C.isLetter()) {
            Result += C;
        }
    }
    return Result;
}

// The first punctuation outside quotes: the character between the numbers.
QChar SeparatorOf(const QString& Format, QChar Default)
{
    bool Quoted = false;
    for (QChar C : Format) {
        if (C == u'\'')
            Quoted = !Quoted;
        else if (!Quoted && !C.isLetterOrNumber() && !C.isSpace())
            return C;
    }
    return Default;
}

struct TCellState {
    TCellLocale Settings;
    TCellLocaleRules Rules;
    QCollator Collator;

    explicit TCellState(const TCellLocale& S) : Settings(S), Rules(RulesOf(S)), Collator(S.Collation)
    {
        Collator.setCaseSensitivity(Qt::CaseSensitive);
    }
};

// Reached on every comparison: after the first call it is one pointer load.
TCellState* Current = nullptr;

TCellState& State()
{
    if (Q_UNLIKELY(!Current)) {
        static TCellState S(CellLocaleFrom(QLocale::system()));
        Current = &S;
    }
    return *Current;
}

std::function<int()>& YearClock()
{
    static std::function<int()> Clock;
    return Clock;
}

} // namespace

TCellLocaleRules RulesOf(const TCellLocale& Settings)
{
    TCellLocaleRules R;
    const QString& Format = Settings.ShortDateFormat;
    for (QChar C : Format) {
        const char16_t U = C.toUpper().unicode();
        if (U == u'D' || U == u'E' || U == u'Y' || U == u'M') {
            R.DateOrder = U == u'D' ? TDateOrder::DMY : U == u'M' ? TDateOrder::MDY : TDateOrder::YMD;
            break;
        }
    }
    R.EraFromName = Format.startsWith(u'g');
    R.EraFromFirst = Format.contains(u'e');
    R.SkipDayName = Settings.EastAsian && Format.contains(QLatin1String("ddd"));
    const QString& Time = Settings.ShortTimeFormat;
    R.TimeFormatDigit = !Time.isEmpty() && Time[0] >= u'0' && Time[0] <= u'9';
    return R;
}

TCellLocale CellLocaleFrom(const QLocale& Locale)
{
    TCellLocale S;
    S.Collation = Locale;
    if (Locale.language() == QLocale::C)
        return S;
    const QString DateFormat = Locale.dateFormat(QLocale::ShortFormat);
    const QString Converted = DateFormatFromQt(DateFormat);
    if (!Converted.isEmpty())
        S.ShortDateFormat = Converted;
    S.DateSeparator = SeparatorOf(DateFormat, S.DateSeparator);
    const QString TimeFormat = Locale.timeFormat(QLocale::ShortFormat);
    if (!TimeFormat.isEmpty())
        S.ShortTimeFormat = TimeFormat;
    S.TimeSeparator = SeparatorOf(TimeFormat, S.TimeSeparator);
    if (!Locale.amText().isEmpty())
        S.TimeAMString = Locale.amText();
    if (!Locale.pmText().isEmpty())
        S.TimePMString = Locale.pmText();
    return S;
}

const TCellLocale& CellLocale()
{
    return State().Settings;
}

const TCellLocaleRules& CellLocaleRules()
{
    return State().Rules;
}

void SetCellLocale(const TCellLocale& Settings)
{
    TCellState& S = State();
    S.Settings = Settings;
    S.Rules = RulesOf(Settings);
    S.Collator = QCollator(Settings.Collation);
    S.Collator.setCaseSensitivity(Qt::CaseSensitive);
}

void LoadCellLocale()
{
    SetCellLocale(CellLocaleFrom(QLocale::system()));
}

const QCollator& CellCollator()
{
    return State().Collator;
}

int CurrentYear()
{
    const auto& Clock = YearClock();
    return Clock ? Clock() : QDate::currentDate().year();
}

void SetCurrentYearClock(std::function<int()> Clock)
{
    YearClock() = std::move(Clock);
}
