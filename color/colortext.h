// Reading a colour from text pasted from the clipboard or typed in: every
// literal the program writes, read back as the colour it was written for,
// and the common web forms.
#pragma once

#include "framework/types.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <optional>

// Extra colour names (the program's own table), found in any letter case.
// They come before the CSS names, so a name in both reads as the table's.
class TNamedColorLookup {
public:
    // A name added again replaces the earlier colour.
    void Add(const QString& name, const RgbTriple& color);
    std::optional<RgbTriple> Find(QStringView name) const;
    bool IsEmpty() const { return colors_.isEmpty(); }

private:
    QHash<QString, RgbTriple> colors_; // by case-folded name
};

enum class TColorTextKind {
    Error,   // Message says why
    Color,   // one colour, in Color
    BodyTag, // a body tag: Background and/or Text, at least one of them
};

// The form a colour was read in, for telling the user how the text was
// understood (above all the byte order of the program's own literals).
enum class TColorTextForm {
    None,          // an error
    Delphi,        // $BBGGRR
    VisualCpp,     // 0xBBGGRR
    VisualBasic,   // &HBBGGRR&
    Html,          // #RRGGBB
    HtmlShort,     // #RGB, #RGBA
    HtmlAlpha,     // #RRGGBBAA
    RgbFunction,   // rgb(), rgba()
    Argb,          // 0xFFRRGGBB
    HslFunction,   // hsl(), hsla()
    HwbFunction,   // hwb()
    OklabFunction, // oklab()
    OklchFunction, // oklch()
    QtColor,       // QColor(r, g, b)
    Win32Rgb,      // RGB(r, g, b)
    Vec3,          // vec3(r, g, b), fractions
    ListName,      // a name of the names given
    CssName,
    BodyTag,
};

// The form as the user reads it, "Visual C++, порядок BBGGRR"; empty for None.
QString ColorTextFormName(TColorTextForm form);

struct TColorReadResult {
    TColorTextKind Kind = TColorTextKind::Error;
    RgbTriple Color;
    std::optional<RgbTriple> Background; // BGCOLOR
    std::optional<RgbTriple> Text;       // TEXT
    TColorTextForm Form = TColorTextForm::None;
    QString Message; // ready to show

    bool IsOk() const { return Kind != TColorTextKind::Error; }
};

// Texts longer than this (after trimming) are turned away unread.
constexpr qsizetype MaxColorTextLength = 256;

// Reads, with surrounding white space, one trailing ';' and letters in any case:
//   $BBGGRR, 0xBBGGRR, &HBBGGRR& (1 to 8 hex digits, the program's own
//   order, at most 00FFFFFF; the closing & may be left out), and 0xFFRRGGBB
//   (eight digits with FF on top: opaque ARGB);
//   #RGB, #RRGGBB, and #RGBA, #RRGGBBAA when fully opaque;
//   rgb(r, g, b), rgba(r, g, b, a), also space separated with "/ a":
//   channels 0..255 or 0%..100%, alpha 0..1 or 0%..100% and only opaque;
//   Win32's RGB(r, g, b), QColor(r, g, b), vec3(r, g, b) of fractions 0..1;
//   hsl()/hsla(), hwb(), oklab(), oklch() as CSS Color 4 writes them, hues
//   in deg, grad, rad or turn, opaque only; oklab() and oklch() beyond sRGB
//   are brought into it as CSS maps them for display;
//   a name of `names` or of CSS;
//   <BODY BGCOLOR=… TEXT=…> with either or both attributes in any order,
//   values in double, single or no quotes, each read as one colour.
// A text in one of these forms but with a fault is an error whose message
// names the fault; anything else one that says no colour was recognised.
TColorReadResult ReadColorText(const QString& text, const TNamedColorLookup& names = {});
