// The colour identifiers: the 16 standard colours, then the 25 system
// colours, and the conversions between a colour and its text.
#pragma once

#include "framework/types.h"

#include <QString>

#include <array>
#include <span>

// The system colours' identifiers; the standard colours' are in their own
// table (framework/types.h).
inline constexpr TColorIdent SystemColorIdents[] = {
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

static_assert(std::size(SystemColorIdents) == SystemColorCount);

// Both tables, the standard colours first.
inline constexpr std::array<std::span<const TColorIdent>, 2> ColorIdentTables = {
    std::span<const TColorIdent>(StandardColorIdents), std::span<const TColorIdent>(SystemColorIdents)};

// The identifier of a colour in the tables, or nullptr.
inline const char* ColorIdentOf(TColor color)
{
    for (const auto table : ColorIdentTables)
        for (const TColorIdent& e : table)
            if (e.Value == color)
                return e.Name;
    return nullptr;
}

// The identifier of the first matching table entry, otherwise "$" and the
// value as eight upper-case hexadecimal digits.
inline QString ColorToString(TColor color)
{
    if (const char* name = ColorIdentOf(color))
        return QLatin1String(name);
    return QStringLiteral("$%1").arg(static_cast<quint32>(color), 8, 16, QLatin1Char('0')).toUpper();
}

// Case-insensitive lookup of an identifier; false when it names no colour.
inline bool IdentToColor(const QString& ident, TColor& color)
{
    for (const auto table : ColorIdentTables) {
        for (const TColorIdent& e : table) {
            if (ident.compare(QLatin1String(e.Name), Qt::CaseInsensitive) == 0) {
                color = e.Value;
                return true;
            }
        }
    }
    return false;
}
