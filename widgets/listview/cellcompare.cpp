#include "widgets/listview/cellcompare.h"

#include "widgets/listview/celllocale.h"
#include "widgets/listview/textreaders.h"

#include <QCollator>

namespace {

template <typename T> int Sign(T Value)
{
    return (Value > T(0)) - (Value < T(0));
}

} // namespace

int CompareCellTexts(const QString& A, const QString& B)
{
    // The syntax checks are cheap and allocation-free; converting waits until
    // both sides are known to be numbers.
    if (IsNumberText(A) && IsNumberText(B)) {
        long double X = 0, Y = 0;
        if (TryTextToNumber(A, X) && TryTextToNumber(B, Y))
            return X < Y ? -1 : (X > Y ? 1 : 0);
    }

    // A glance at B first spares reading A when B is plainly a word.
    TDateTime DA = 0, DB = 0;
    if (MayBeDateTime(B) && TryTextToDateTime(A, DA) && TryTextToDateTime(B, DB))
        return Sign(DA - DB);

    if (A.isEmpty() || B.isEmpty())
        return A.isEmpty() - B.isEmpty();
    return Sign(CellCollator().compare(A, B));
}
