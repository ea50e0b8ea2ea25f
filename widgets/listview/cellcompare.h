// Order of two list cell texts: numbers by value, dates and times as points in
// time, everything else by the locale's case-sensitive collation with empty
// texts after all others. The kind is chosen per pair, so a column that mixes
// kinds has no strict weak order: sort with a sort that needs none, such as
// the list view's own.
#pragma once

#include <QString>

// -1 when A goes before B, 0 when equal, +1 when after.
int CompareCellTexts(const QString& A, const QString& B);
