#include "color/copyforms.h"

#include "color/colorspace.h"
#include "color/nearestcolor.h"

#include <cmath>

namespace {

// units / 10^decimals, at most `decimals` digits after the point; trailing
// zeros and a bare point go unless kept.
QString Decimal(int units, int decimals, bool keepZeros = false)
{
    int scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    QString text = QString::number(units / scale);
    if (decimals == 0)
        return text;
    QString fraction = QString::number(units % scale).rightJustified(decimals, u'0');
    if (!keepZeros) {
        while (fraction.endsWith(u'0'))
            fraction.chop(1);
        if (fraction.isEmpty())
            return text;
    }
    return text + u'.' + fraction;
}

// Non-negative values only: a hue that rounds up to a full turn is 0.
int Units(double value, int scale, int turn = 0)
{
    const int units = int(std::lround(value * scale));
    return turn && units >= turn ? units - turn : units;
}

QString Triple(const char* function, const RgbTriple& c)
{
    return QStringLiteral("%1(%2, %3, %4)").arg(QLatin1String(function)).arg(c.R).arg(c.G).arg(c.B);
}

QString Hex(int value, int digits)
{
    return QString::number(value, 16).rightJustified(digits, u'0');
}

} // namespace

THslDigits HslDigits(const RgbTriple& color)
{
    const THsl hsl = HslOf(color);
    return {Units(hsl.H, 10, 3600), Units(hsl.S, 1000), Units(hsl.L, 1000)};
}

TOklchDigits OklchDigits(const RgbTriple& color)
{
    const TOklch lch = OklchOf(color);
    const int chroma = Units(lch.C, 100'000);
    return {Units(lch.L, 10'000), chroma, chroma ? Units(lch.H, 100, 36'000) : 0};
}

int FractionDigits(std::uint8_t channel)
{
    return (channel * 2000 + 255) / 510; // channel / 255 to three decimals, halves up
}

QString CopyFormTitle(TCopyForm form)
{
    switch (form) {
    case TCopyForm::Hex:
        return QStringLiteral("CSS, шестнадцатеричный");
    case TCopyForm::Rgb:
        return QStringLiteral("CSS rgb()");
    case TCopyForm::Hsl:
        return QStringLiteral("CSS hsl()");
    case TCopyForm::Oklch:
        return QStringLiteral("CSS oklch()");
    case TCopyForm::Argb:
        return QStringLiteral("ARGB (Qt, Android, Flutter)");
    case TCopyForm::QtColor:
        return QStringLiteral("Qt");
    case TCopyForm::Win32:
        return QStringLiteral("Win32 RGB()");
    case TCopyForm::Vec3:
        return QStringLiteral("Доли (GLSL, Blender)");
    case TCopyForm::Name:
        return QStringLiteral("Имя");
    }
    return {};
}

QString CopyFormKey(TCopyForm form)
{
    switch (form) {
    case TCopyForm::Hex:
        return QStringLiteral("hex");
    case TCopyForm::Rgb:
        return QStringLiteral("rgb");
    case TCopyForm::Hsl:
        return QStringLiteral("hsl");
    case TCopyForm::Oklch:
        return QStringLiteral("oklch");
    case TCopyForm::Argb:
        return QStringLiteral("argb");
    case TCopyForm::QtColor:
        return QStringLiteral("qcolor");
    case TCopyForm::Win32:
        return QStringLiteral("win32");
    case TCopyForm::Vec3:
        return QStringLiteral("vec3");
    case TCopyForm::Name:
        return QStringLiteral("name");
    }
    return {};
}

QString CopyFormText(TCopyForm form, const RgbTriple& c, const TNearestColorFinder& names)
{
    switch (form) {
    case TCopyForm::Hex:
        return u'#' + Hex(c.R << 16 | c.G << 8 | c.B, 6);
    case TCopyForm::Rgb:
        return Triple("rgb", c);
    case TCopyForm::Hsl: {
        const THslDigits d = HslDigits(c);
        return QStringLiteral("hsl(%1, %2%, %3%)")
            .arg(Decimal(d.Hue, 1), Decimal(d.Saturation, 1), Decimal(d.Lightness, 1));
    }
    case TCopyForm::Oklch: {
        const TOklchDigits d = OklchDigits(c);
        return QStringLiteral("oklch(%1% %2 %3)").arg(Decimal(d.Lightness, 2), Decimal(d.Chroma, 5), Decimal(d.Hue, 2));
    }
    case TCopyForm::Argb:
        return QStringLiteral("0xFF") + Hex(c.R << 16 | c.G << 8 | c.B, 6).toUpper();
    case TCopyForm::QtColor:
        return Triple("QColor", c);
    case TCopyForm::Win32:
        return Triple("RGB", c);
    case TCopyForm::Vec3:
        return QStringLiteral("vec3(%1, %2, %3)")
            .arg(Decimal(FractionDigits(c.R), 3, true), Decimal(FractionDigits(c.G), 3, true),
                 Decimal(FractionDigits(c.B), 3, true));
    case TCopyForm::Name:
        if (const auto nearest = names.Find(c))
            return nearest->Name;
        return {};
    }
    return {};
}
