// Plain value types and helpers shared by every module. Header-only and free
// of widgets, so the colour model can use it with Qt Core alone.
#pragma once

#include <QString>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string_view>
#include <utility>

class QObject;

// Stores value into field and tells whether that changed it: setters act
// only on a change, `if (StoreChanged(width_, w)) Relayout();`.
template <class T, class U> bool StoreChanged(T& field, U&& value)
{
    if (field == value)
        return false;
    field = std::forward<U>(value);
    return true;
}

// A colour as 0x00BBGGRR; a value with the top bit set names a system colour
// whose index is in the low byte.
using TColor = std::int32_t;

constexpr TColor SystemColor(int index)
{
    return static_cast<TColor>(0x80000000u | static_cast<std::uint32_t>(index));
}
constexpr bool IsSystemColor(TColor c)
{
    return (static_cast<std::uint32_t>(c) & 0x80000000u) != 0;
}

// A colour's identifier in stored layouts.
struct TColorIdent {
    TColor Value;
    const char* Name;
};

// The 16 standard colours, in the order of the colour combo box: the one
// table of their values and identifiers.
inline constexpr TColorIdent StandardColorIdents[16] = {
    {0x000000, "clBlack"},  {0x000080, "clMaroon"},  {0x008000, "clGreen"}, {0x008080, "clOlive"},
    {0x800000, "clNavy"},   {0x800080, "clPurple"},  {0x808000, "clTeal"},  {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"}, {0x0000FF, "clRed"},     {0x00FF00, "clLime"},  {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},   {0xFF00FF, "clFuchsia"}, {0xFFFF00, "clAqua"},  {0xFFFFFF, "clWhite"},
};

// A standard colour by its identifier; a name not in the table does not compile.
consteval TColor StandardColor(std::string_view ident)
{
    for (const TColorIdent& c : StandardColorIdents)
        if (ident == c.Name)
            return c.Value;
    throw "not a standard colour";
}

constexpr TColor clBlack = StandardColor("clBlack");
constexpr TColor clMaroon = StandardColor("clMaroon");
constexpr TColor clGreen = StandardColor("clGreen");
constexpr TColor clOlive = StandardColor("clOlive");
constexpr TColor clNavy = StandardColor("clNavy");
constexpr TColor clPurple = StandardColor("clPurple");
constexpr TColor clTeal = StandardColor("clTeal");
constexpr TColor clGray = StandardColor("clGray");
constexpr TColor clSilver = StandardColor("clSilver");
constexpr TColor clRed = StandardColor("clRed");
constexpr TColor clLime = StandardColor("clLime");
constexpr TColor clYellow = StandardColor("clYellow");
constexpr TColor clBlue = StandardColor("clBlue");
constexpr TColor clFuchsia = StandardColor("clFuchsia");
constexpr TColor clAqua = StandardColor("clAqua");
constexpr TColor clWhite = StandardColor("clWhite");

constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);

constexpr int SystemColorCount = 25;

// The classic scheme, indexed by system colour. The program installs the same
// values as its Qt palette, so native controls and our own drawing agree.
constexpr TColor ClassicSystemColors[SystemColorCount] = {
    0xC0C0C0, // scroll bar
    0x808000, // desktop
    0x800000, // active caption
    0x808080, // inactive caption
    0xC0C0C0, // menu
    0xFFFFFF, // window
    0x000000, // window frame
    0x000000, // menu text
    0x000000, // window text
    0xFFFFFF, // caption text
    0xC0C0C0, // active border
    0xC0C0C0, // inactive border
    0x808080, // application workspace
    0x800000, // highlight (selection): navy
    0xFFFFFF, // highlight text
    0xC0C0C0, // button face
    0x808080, // button shadow
    0x808080, // grey text
    0x000000, // button text
    0xC0C0C0, // inactive caption text
    0xFFFFFF, // button highlight
    0x000000, // 3D dark shadow
    0xC0C0C0, // 3D light
    0x000000, // tooltip text
    0xE1FFFF, // tooltip background
};

// A plain colour stays as it is; a system colour is looked up in the classic
// scheme. An unknown system index resolves to black rather than reading past
// the table.
constexpr TColor ColorToRGB(TColor c)
{
    if (!IsSystemColor(c))
        return c;
    const int index = static_cast<int>(static_cast<std::uint32_t>(c) & 0xFFu);
    return index < SystemColorCount ? ClassicSystemColors[index] : clBlack;
}

constexpr TColor RGB(int r, int g, int b)
{
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr int GetRValue(TColor c)
{
    return c & 0xFF;
}
constexpr int GetGValue(TColor c)
{
    return (c >> 8) & 0xFF;
}
constexpr int GetBValue(TColor c)
{
    return (c >> 16) & 0xFF;
}

struct RgbTriple {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    friend bool operator==(const RgbTriple&, const RgbTriple&) = default;
};

// The channels of a colour in the 0x00BBGGRR form (a system colour's are
// those of its encoding: resolve it first).
constexpr RgbTriple ChannelsOf(TColor c)
{
    return {std::uint8_t(GetRValue(c)), std::uint8_t(GetGValue(c)), std::uint8_t(GetBValue(c))};
}

// Rounds to the nearest integer, ties to the even one (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2). Values beyond the int range saturate; NaN gives 0.
inline int Round(double x)
{
    if (std::isnan(x))
        return 0;
    double r = std::floor(x);
    const double diff = x - r;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0.0))
        r += 1.0;
    if (r >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}

// The value of an ASCII digit of the base (10 or 16; a to f in either case),
// -1 for any other character: other scripts' digits are no part of a number
// here. Every reader of digits goes through this one.
constexpr int DigitValue(char16_t c, int base = 16)
{
    int value = -1;
    if (c >= u'0' && c <= u'9')
        value = c - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c - u'A' + 10;
    return value < base ? value : -1;
}

// A byte as exactly two upper-case hexadecimal digits.
inline QString hex2(int value)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    const int v = value & 0xFF;
    const QChar text[2] = {QLatin1Char(digits[v >> 4]), QLatin1Char(digits[v & 0xF])};
    return QString(text, 2);
}

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and Bottom are exclusive: the rectangle covers Left..Right-1.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TRect Inflated(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }
    constexpr TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    constexpr TRect Intersected(const TRect& o) const
    {
        return {Left > o.Left ? Left : o.Left, Top > o.Top ? Top : o.Top, Right < o.Right ? Right : o.Right,
                Bottom < o.Bottom ? Bottom : o.Bottom};
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect Rect(int left, int top, int right, int bottom)
{
    return {left, top, right, bottom};
}
constexpr TRect Bounds(int left, int top, int width, int height)
{
    return {left, top, left + width, top + height};
}

// One handler per event, assigned like a property; the sender is the control
// that raises it.
using TNotifyEvent = std::function<void(QObject* Sender)>;
