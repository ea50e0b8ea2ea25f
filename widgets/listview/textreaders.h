// Readers of numbers, dates and times in cell texts. They never fail loudly:
// a text that does not read gives false or the caller's default.
//
// Positions are QChar indices from 0; a position equal to the length is past
// the end. Only the space character counts as a blank.
#pragma once

#include <QStringView>
#include <QtGlobal>

// Whole days since 30 December 1899 plus the fraction of the day.
using TDateTime = double;

namespace TextScan {

void SkipBlanks(QStringView S, qsizetype& Pos);
// Takes digits while the value is below 1000 (at most four once it reaches
// 1000, leading zeros not counting); L is the number of digits taken.
bool ReadNumber(QStringView S, qsizetype& Pos, quint16& N, int& L);
bool MatchChar(QStringView S, qsizetype& Pos, QChar Ch);
// Case-insensitive; an empty word never matches and skips nothing.
bool MatchWord(QStringView S, qsizetype& Pos, QStringView W);
// Steps over a lead character and its follower together.
void SkipToDigit(QStringView S, qsizetype& Pos);

} // namespace TextScan

// Blanks, sign, digits, optional '.' and digits, optional exponent, and
// nothing after. The syntax check alone, without converting.
bool IsNumberText(QStringView S);
// A magnitude beyond the range of long double reads as an infinity of the
// text's sign; one too small to represent reads as zero.
bool TryTextToNumber(QStringView S, long double& Value);

// A cheap look at the start of S: false means S certainly reads as no date
// or time, true that it may.
bool MayBeDateTime(QStringView S);
// 0 is no date: midnight of the epoch day reads as nothing.
bool TryTextToDateTime(QStringView S, TDateTime& Value);
TDateTime TextToDateTimeDef(QStringView S, TDateTime Default);
bool ReadDatePart(QStringView S, qsizetype& Pos, TDateTime& Date);
bool ReadTimePart(QStringView S, qsizetype& Pos, TDateTime& Time);

// Gregorian calendar for years 1 to 9999.
bool IsLeapYear(int Year);
int DaysInMonth(int Year, int Month);
int DayNumber(int Year, int Month, int Day);
