#include "color/contrastlevels.h"

#include "color/colormodel.h"
#include "color/contrast.h"

#include <QLocale>

namespace {

QString Decimal(double value, int decimals)
{
    return QLocale(QLocale::Russian).toString(value, 'f', decimals);
}

QString HtmlOf(const RgbTriple& c)
{
    return ::HtmlOf(c.R, c.G, c.B);
}

// "4,5" and "7", as the levels are named.
QString LevelText(double level)
{
    return QLocale(QLocale::Russian).toString(level, 'g', 3);
}

} // namespace

std::array<TContrastSuggestion, 4> ContrastSuggestions(const RgbTriple& text, const RgbTriple& background)
{
    std::array<TContrastSuggestion, 4> all;
    std::size_t i = 0;
    for (const bool forText : {true, false}) {
        for (const double level : SuggestedLevels) {
            const RgbTriple& own = forText ? text : background;
            const RgbTriple& other = forText ? background : text;
            all[i++] = {forText, level, NearestPassingColor(own, other, level)};
        }
    }
    return all;
}

QString ContrastLevelCaption(const TContrastLevel& level, double ratio)
{
    return QStringLiteral("%1: %2").arg(QString::fromUtf8(level.Caption),
                                        ratio >= level.Ratio ? QStringLiteral("да") : QStringLiteral("нет"));
}

QString ContrastSuggestionCaption(const TContrastSuggestion& suggestion)
{
    const QString head =
        QStringLiteral("%1 для %2:1: ")
            .arg(suggestion.ForText ? QStringLiteral("Текст") : QStringLiteral("Фон"), LevelText(suggestion.Level));
    if (!suggestion.Color)
        return head + QStringLiteral("недостижимо");
    return head +
           QStringLiteral("%1 (ΔE %2)").arg(HtmlOf(suggestion.Color->Color), Decimal(suggestion.Color->DeltaE, 1));
}

QString ContrastReport(const RgbTriple& text, const RgbTriple& background)
{
    const double ratio = ContrastRatio(text, background);
    QString report = QStringLiteral("ratio %1\n").arg(ratio, 0, 'f', 2);
    for (const TContrastLevel& level : ContrastLevels)
        report += QStringLiteral("%1 %2\n").arg(QLatin1String(level.Key),
                                                ratio >= level.Ratio ? QLatin1String("yes") : QLatin1String("no"));
    for (const TContrastSuggestion& s : ContrastSuggestions(text, background)) {
        report +=
            QStringLiteral("%1-%2 ").arg(s.ForText ? QLatin1String("text") : QLatin1String("background")).arg(s.Level);
        report += s.Color ? QStringLiteral("%1 %2\n").arg(HtmlOf(s.Color->Color)).arg(s.Color->DeltaE, 0, 'f', 2)
                          : QStringLiteral("none\n");
    }
    return report;
}
