#include "app/listcolors.h"

#include "color/colormodel.h"

namespace {

const TFormProperty* FindRows(const TFormObject& object)
{
    if (object.Name == QLatin1String("ListV")) {
        for (const TFormProperty& p : object.Properties)
            if (p.Name == QLatin1String("Items.Data"))
                return &p;
        return nullptr;
    }
    for (const TFormObject& child : object.Children)
        if (const TFormProperty* rows = FindRows(child))
            return rows;
    return nullptr;
}

} // namespace

std::vector<TListColor> ListColorsOf(const TFormObject& layout)
{
    std::vector<TListColor> colors;
    const TFormProperty* rows = FindRows(layout);
    const TFormList* list = rows ? rows->Value.If<TFormList>() : nullptr;
    if (!list)
        return colors;
    colors.reserve(list->size());
    for (const TFormValue& row : *list) {
        const TFormList* texts = row.If<TFormList>();
        if (!texts || texts->size() < 4)
            continue;
        const QString* name = (*texts)[0].If<QString>();
        const QString* r = (*texts)[1].If<QString>();
        const QString* g = (*texts)[2].If<QString>();
        const QString* b = (*texts)[3].If<QString>();
        if (!name || !r || !g || !b)
            continue;
        if (const std::optional<RgbTriple> c = TripleFromTexts(*r, *g, *b))
            colors.push_back({*name, *c});
    }
    return colors;
}
