// Date, time and collation settings that the cell readers and the cell
// comparison follow. They are loaded once from the user's locale; tests set
// them explicitly so that the readers behave the same on every host.
#pragma once

#include <QChar>
#include <QList>
#include <QLocale>
#include <QString>

#include <functional>

class QCollator;

struct TEra {
    QString Name;
    int YearOffset = 0;
};

struct TCellLocale {
    // Lower-case field letters: d (day), m (month), y (year), e and g (era).
    QString ShortDateFormat = QStringLiteral("m/d/yy");
    QChar DateSeparator = u'/';
    QChar TimeSeparator = u':';
    QString TimeAMString = QStringLiteral("am");
    QString TimePMString = QStringLiteral("pm");
    // Only whether it starts with a digit matters to the readers.
    QString ShortTimeFormat = QStringLiteral("h:mm");
    // At most MaxEras are looked at; an empty name ends the list.
    QList<TEra> Eras;
    bool Korean = false;
    bool EastAsian = false;
    // Characters that start a two-unit character; empty for most locales.
    QString LeadBytes;
    // Locale of the case-sensitive text collation.
    QLocale Collation = QLocale::c();

    static constexpr int MaxEras = 7;
};

enum class TDateOrder { MDY, DMY, YMD };

// Facts the date reader draws from the settings, worked out once per change
// of the settings rather than on every read.
struct TCellLocaleRules {
    TDateOrder DateOrder = TDateOrder::MDY;
    bool EraFromName = false;  // the date format starts with 'g'
    bool EraFromFirst = false; // the date format contains 'e'
    bool SkipDayName = false;  // East Asian, with a day name in the date format
    bool TimeFormatDigit = false;
};

TCellLocaleRules RulesOf(const TCellLocale& Settings);

// Settings derived from a Qt locale; the C locale, which carries no user
// preferences, gives the defaults above.
TCellLocale CellLocaleFrom(const QLocale& Locale);

// The current settings: loaded from QLocale::system() on first use.
const TCellLocale& CellLocale();
const TCellLocaleRules& CellLocaleRules();
void SetCellLocale(const TCellLocale& Settings);
void LoadCellLocale();

// The collator for CellLocale().Collation, created once per settings change.
const QCollator& CellCollator();

// The calendar year used for two-digit years and dates without a year. An
// empty clock restores the system clock.
int CurrentYear();
void SetCurrentYearClock(std::function<int()> Clock);
