#include "color/contrast.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

// One channel, 0..255, from the sRGB curve to linear light.
double Linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

double RelativeLuminance(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return 0.2126 * Linear(GetRValue(rgb)) + 0.7152 * Linear(GetGValue(rgb)) + 0.0722 * Linear(GetBValue(rgb));
}

double ContrastRatio(TColor text, TColor background)
{
    const double a = RelativeLuminance(text);
    const double b = RelativeLuminance(background);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QString ContrastText(double ratio)
{
    QString verdict;
    if (ratio >= ContrastAAA)
        verdict = QStringLiteral("AA, AAA");
    else if (ratio >= ContrastAA)
        verdict = QStringLiteral("AA");
    else
        verdict = QStringLiteral("ниже AA");
    // Written as the rest of the window, with the Russian decimal comma.
    return QStringLiteral("Контраст %1:1 — %2").arg(QLocale(QLocale::Russian).toString(ratio, 'f', 2), verdict);
}
