#include "color/contrast.h"

#include "color/colorspace.h"

#include <QLocale>

double RelativeLuminance(const RgbTriple& c)
{
    return LuminanceOfLinear(LinearOfChannel(c.R), LinearOfChannel(c.G), LinearOfChannel(c.B));
}

double RelativeLuminance(TColor color)
{
    return RelativeLuminance(ChannelsOf(ColorToRGB(color)));
}

double ContrastRatio(const RgbTriple& text, const RgbTriple& background)
{
    return ContrastRatioOfLuminances(RelativeLuminance(text), RelativeLuminance(background));
}

double ContrastRatio(TColor text, TColor background)
{
    return ContrastRatio(ChannelsOf(ColorToRGB(text)), ChannelsOf(ColorToRGB(background)));
}

QString ContrastRatioCaption(double ratio)
{
    // Written as the rest of the window, with the Russian decimal comma.
    return QStringLiteral("Контраст %1:1").arg(QLocale(QLocale::Russian).toString(ratio, 'f', 2));
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
    return ContrastRatioCaption(ratio) + QStringLiteral(" — ") + verdict;
}
