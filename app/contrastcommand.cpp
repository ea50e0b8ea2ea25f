#include "app/contrastcommand.h"

#include "app/form1.h"
#include "color/colortext.h"
#include "color/contrast.h"
#include "color/contrastlevels.h"

namespace {

const TFormObject* FindObject(const TFormObject& root, const QString& name)
{
    if (root.Name == name)
        return &root;
    for (const TFormObject& child : root.Children) {
        if (const TFormObject* found = FindObject(child, name))
            return found;
    }
    return nullptr;
}

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
    const TFormObject layout = TForm1::StoredLayout();
    const TFormObject* list = FindObject(layout, QStringLiteral("ListV"));
    if (!list)
        return names;
    for (const TFormProperty& property : list->Properties) {
        const TFormList* rows = property.Name == QLatin1String("Items.Data") ? property.Value.If<TFormList>() : nullptr;
        if (!rows)
            continue;
        // Rows as the list shows them: name, Red, Green, Blue, …
        for (const TFormValue& row : *rows) {
            const TFormList* cells = row.If<TFormList>();
            if (!cells || cells->size() < 4)
                continue;
            QString texts[4];
            for (std::size_t i = 0; i < 4; ++i) {
                if (const QString* text = (*cells)[i].If<QString>())
                    texts[i] = *text;
            }
            if (const std::optional<RgbTriple> c = TripleFromTexts(texts[1], texts[2], texts[3]))
                names.Add(texts[0], *c);
        }
    }
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
