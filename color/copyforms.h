// The forms of "Копировать как": today's literals for CSS, Qt, Win32 and
// shaders, and the nearest colour name. The reader reads every one of them
// back; the decimals written are the fewest that give every byte colour back
// exactly.
#pragma once

#include "framework/types.h"

#include <QString>

#include <array>

class TNearestColorFinder;

enum class TCopyForm { Hex, Rgb, Hsl, Oklch, Argb, QtColor, Win32, Vec3, Name };

// In menu order.
inline constexpr std::array<TCopyForm, 9> CopyForms = {
    TCopyForm::Hex,     TCopyForm::Rgb,   TCopyForm::Hsl,  TCopyForm::Oklch, TCopyForm::Argb,
    TCopyForm::QtColor, TCopyForm::Win32, TCopyForm::Vec3, TCopyForm::Name,
};

// The menu entry's title: "CSS, шестнадцатеричный".
QString CopyFormTitle(TCopyForm form);
// The form's short name for scripts: "hex", "rgb", …, "name".
QString CopyFormKey(TCopyForm form);

// The text of the colour in the form; for Name the nearest name of names,
// empty when it has none.
QString CopyFormText(TCopyForm form, const RgbTriple& color, const TNearestColorFinder& names);

// The numbers the decimal forms write, in units of their last decimal.
struct THslDigits {
    int Hue = 0;        // tenths of a degree, 0..3599
    int Saturation = 0; // tenths of a percent
    int Lightness = 0;
};
THslDigits HslDigits(const RgbTriple& color);
struct TOklchDigits {
    int Lightness = 0; // hundredths of a percent
    int Chroma = 0;    // hundred-thousandths
    int Hue = 0;       // hundredths of a degree, 0..35999; 0 without chroma
};
TOklchDigits OklchDigits(const RgbTriple& color);
// Thousandths of one, 0..1000.
int FractionDigits(std::uint8_t channel);
