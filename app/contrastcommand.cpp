#include "app/contrastcommand.h"

#include "app/form1.h"
#include "app/listcolors.h"
#include "color/colortext.h"
#include "color/contrast.h"
#include "color/contrastlevels.h"

namespace {

TNamedColorLookup StoredColorNames()
{
    TNamedColorLookup names;
    for (const TListColor& c : ListColorsOf(TForm1::StoredLayout()))
        names.Add(c.Name, c.Color);
    return names;
}

} // namespace

TCommandLine ContrastCommand(const QStringList& colors, double level)
{
    const TNamedColorLookup names = StoredColorNames();
    RgbTriple pair[2];
    for (int i = 0; i < 2; ++i) {
        const TColorReadResult read = ReadColorText(colors.value(i), names);
        if (read.Kind != TColorTextKind::Color) {
            const QString message =
                read.IsOk()
                    ? QStringLiteral("Тег <BODY> задаёт два цвета, а здесь нужен один: «%1»").arg(colors.value(i))
                    : read.Message;
            return ExitWith(message, ExitUsage, true);
        }
        pair[i] = read.Color;
    }
    return ExitWith(ContrastReport(pair[0], pair[1]), ContrastRatio(pair[0], pair[1]) >= level ? 0 : ExitBelowLevel,
                    false);
}
