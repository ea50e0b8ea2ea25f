#include "app/contrastcommand.h"

#include "app/form1.h"
#include "app/listcolors.h"
#include "color/colortext.h"
#include "color/contrast.h"
#include "color/contrastlevels.h"

namespace {

TCommandLine Output(const QString& text, int code, bool error)
{
    TCommandLine line;
    line.Mode = TRunMode::Exit;
    line.Text = text;
    line.TextIsError = error;
    line.ExitCode = code;
    return line;
}

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
            return Output(message + u'\n', ExitUsage, true);
        }
        pair[i] = read.Color;
    }
    const double ratio = ContrastRatioOfLuminances(RelativeLuminance(pair[0]), RelativeLuminance(pair[1]));
    return Output(ContrastReport(pair[0], pair[1]), ratio >= level ? 0 : ExitBelowLevel, false);
}
