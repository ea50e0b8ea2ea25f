// The colour identifier table: the 16 standard colours, then the 25 system
// colours, and the conversions between a colour and its text.
#pragma once

#include "framework/types.h"

#include <QString>

struct TColorIdent {
    TColor Value;
    const char* Name;
};

inline constexpr TColorIdent ColorIdents[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
};

// The identifier of the first matching table entry, otherwise "$" and the
// value as eight upper-case hexadecimal digits.
inline QString ColorToString(TColor color)
{
    for (const TColorIdent& e : ColorIdents)
        if (e.Value == color)
            return QLatin1String(e.Name);
    return QStringLiteral("$%1").arg(static_cast<quint32>(color), 8, 16, QLatin1Char('0')).toUpper();
}

// Case-insensitive lookup of an identifier; false when it names no colour.
inline bool IdentToColor(const QString& ident, TColor& color)
{
    for (const TColorIdent& e : ColorIdents) {
        if (ident.compare(QLatin1String(e.Name), Qt::CaseInsensitive) == 0) {
            color = e.Value;
            return true;
        }
    }
    return false;
}
