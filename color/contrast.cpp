#include "color/contrast.h"

#include "color/colorspace.h"

#include <QLocale>

#include <algorithm>

double RelativeLuminance(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return 0.2126 * LinearOfChannel(std::uint8_t(GetRValue(rgb))) +
           0.7152 * LinearOfChannel(std::uint8_t(GetGValue(rgb))) +
           0.0722 * LinearOfChannel(std::uint8_t(GetBValue(rgb)));
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
