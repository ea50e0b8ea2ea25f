// Re-sorting the named-colour list after a click on a column header: the
// click, the sort of all 139 rows with the typed cell comparison, and the
// rows following their new order in the view.
#include "bench/runbenchmarks.h"
#include "framework/application.h"
#include "widgets/listview/ordolistview.h"

#include <QMouseEvent>

#include <benchmark/benchmark.h>

namespace {

struct TColorRow {
    const char* Name;
    int R, G, B;
};

const TColorRow Colors[] = {
    {"AliceBlue", 240, 248, 255},
    {"AntiqueWhite", 250, 235, 215},
    {"Aqua", 0, 255, 255},
    {"AquaMarine", 127, 255, 212},
    {"Azure", 240, 255, 255},
    {"Beige", 245, 245, 220},
    {"Bisque", 255, 228, 196},
    {"Black", 0, 0, 0},
    {"BlancheDalmond", 255, 235, 205},
    {"Blue", 0, 0, 255},
    {"BlueViolet", 138, 43, 226},
    {"Brown", 165, 42, 42},
    {"BurlyWood", 222, 184, 135},
    {"CadetBlue", 95, 158, 160},
    {"Chartreuse", 127, 255, 0},
    {"Chocolate", 210, 105, 30},
    {"Coral", 255, 127, 80},
    {"CornFlowerBlue", 100, 149, 237},
    {"CornSilk", 255, 248, 220},
    {"Crimson", 220, 20, 60},
    {"Cyan", 0, 255, 255},
    {"DarkBlue", 0, 0, 139},
    {"DarkCyan", 0, 139, 139},
    {"DarkGoldenrod", 184, 134, 11},
    {"DarkGray", 169, 169, 169},
    {"DarkGreen", 0, 100, 0},
    {"DarkKhaki", 189, 183, 107},
    {"DarkMagenta", 139, 0, 139},
    {"DarkOliveGreen", 85, 107, 47},
    {"DarkOrange", 255, 140, 0},
    {"DarkOrchid", 153, 50, 204},
    {"DarkRed", 139, 0, 0},
    {"DarkSalmon", 233, 150, 122},
    {"DarkSeaGreen", 143, 188, 143},
    {"DarkSlateBlue", 72, 61, 139},
    {"DarkSlateGray", 47, 79, 79},
    {"DarkTurquoise", 0, 206, 209},
    {"DarkViolet", 148, 0, 211},
    {"DeepPink", 255, 20, 147},
    {"DeepSkyBlue", 0, 191, 255},
    {"DimGray", 105, 105, 105},
    {"DodgerBlue", 30, 144, 255},
    {"Fainsboro", 220, 220, 220},
    {"FireBrick", 178, 34, 34},
    {"FloralWhite", 255, 250, 240},
    {"ForestGreen", 34, 139, 34},
    {"Fuchsia", 255, 0, 255},
    {"Gold", 255, 247, 0},
    {"Goldenrod", 218, 165, 32},
    {"GostWhite", 248, 248, 255},
    {"Gray", 128, 128, 128},
    {"Green", 0, 128, 0},
    {"GreenYellow", 173, 255, 47},
    {"Honeydev", 240, 255, 240},
    {"HotPink", 255, 105, 180},
    {"IndianRed", 205, 92, 92},
    {"Indigo", 75, 0, 130},
    {"Ivory", 255, 255, 240},
    {"Khaki", 240, 230, 140},
    {"Lavender", 230, 230, 250},
    {"LavenderBlush", 255, 240, 245},
    {"LawnGreen", 124, 252, 0},
    {"LemonChiffon", 255, 250, 205},
    {"LightBlue", 173, 216, 230},
    {"LightCoral", 240, 128, 128},
    {"LightCyan", 224, 255, 255},
    {"LightGray", 211, 211, 211},
    {"LightGreen", 144, 238, 144},
    {"LightPink", 255, 182, 193},
    {"LightSalmon", 255, 160, 122},
    {"LightSeaGreen", 32, 178, 170},
    {"LightSkyBlue", 135, 206, 250},
    {"LightSlateGray", 119, 136, 153},
    {"LightSteelBlue", 176, 196, 222},
    {"LightYellow", 255, 255, 224},
    {"Lime", 0, 255, 0},
    {"LimeGreen", 50, 194, 50},
    {"Linen", 250, 240, 230},
    {"Magenta", 255, 0, 255},
    {"Maroon", 128, 0, 0},
    {"MediumAquaMarine", 102, 205, 170},
    {"MediumBlue", 0, 0, 205},
    {"MediumOrchid", 186, 85, 211},
    {"MediumPurple", 147, 112, 219},
    {"MediumSeaGreen", 60, 179, 113},
    {"MediumSlateBlue", 123, 104, 238},
    {"MediumSpringGreen", 0, 250, 154},
    {"MediumTurqoise", 72, 209, 204},
    {"MediumVioledRed", 199, 21, 133},
    {"MidNightBlue", 25, 25, 112},
    {"MintCream", 245, 255, 250},
    {"MistyRose", 221, 228, 225},
    {"Moccasin", 255, 228, 181},
    {"NavajoWhite", 255, 222, 173},
    {"Navy", 0, 0, 128},
    {"OldLace", 253, 245, 230},
    {"Olive", 128, 128, 0},
    {"OliveDrab", 107, 142, 35},
    {"Orange", 255, 165, 0},
    {"OrangeRed", 255, 69, 0},
    {"Orchid", 218, 112, 214},
    {"PaleGoldenrod", 238, 232, 170},
    {"PaleGreen", 152, 251, 152},
    {"PaleTurquoise", 175, 238, 238},
    {"PaleVioletRed", 219, 112, 147},
    {"PapayaWhip", 255, 239, 213},
    {"Peachpuff", 255, 218, 185},
    {"Peru", 205, 133, 63},
    {"Pink", 255, 192, 203},
    {"Plum", 221, 160, 221},
    {"PowderBlue", 208, 224, 230},
    {"Purple", 128, 0, 128},
    {"Red", 255, 0, 0},
    {"RosyBrown", 188, 248, 143},
    {"RoyalBlue", 65, 105, 225},
    {"SaddleBrown", 139, 69, 19},
    {"Salmon", 250, 128, 114},
    {"SandyBrown", 244, 164, 96},
    {"SeaGreen", 46, 139, 87},
    {"SeaShell", 255, 245, 238},
    {"Sienna", 160, 82, 45},
    {"Silver", 192, 192, 192},
    {"SkyBlue", 135, 206, 235},
    {"SlateBlue", 106, 90, 205},
    {"SlateGray", 112, 128, 144},
    {"Snow", 255, 250, 250},
    {"SpringGreen", 0, 255, 127},
    {"SteelBlue", 70, 130, 180},
    {"Tan", 210, 180, 140},
    {"Teal", 0, 128, 128},
    {"Thistle", 216, 191, 216},
    {"Tomato", 255, 99, 71},
    {"Turquoise", 64, 224, 208},
    {"Violet", 238, 130, 238},
    {"Wheat", 245, 222, 179},
    {"White", 255, 255, 255},
    {"WhiteSmoke", 245, 245, 245},
    {"Yellow", 255, 255, 0},
    {"YellowGreen", 154, 205, 50},
};

struct TNamedColorList {
    QWidget Window;
    TOrdoListView* List = new TOrdoListView(&Window);

    TNamedColorList()
    {
        List->setGeometry(0, 0, 437, 149);
        List->SetFontName(QStringLiteral("Courier New"));
        List->SetFontHeight(-13);
        List->SetViewStyle(vsReport);
        List->SetGridLines(true);
        List->SetRowSelect(true);
        List->SetReadOnly(true);
        const struct {
            const char* Caption;
            TAlignment Alignment;
            int Width;
        } columns[] = {{"Name", taLeftJustify, 150},
                       {"Red", taRightJustify, 60},
                       {"Green", taRightJustify, 60},
                       {"Blue", taRightJustify, 60},
                       {"Hex", taCenter, 65}};
        for (const auto& c : columns) {
            TListColumn* column = List->Columns().Add();
            column->SetCaption(QString::fromLatin1(c.Caption));
            column->SetAlignment(c.Alignment);
            column->SetWidth(c.Width);
        }
        QList<QStringList> rows;
        for (const TColorRow& c : Colors)
            rows << QStringList{QString::fromLatin1(c.Name), QString::number(c.R), QString::number(c.G),
                                QString::number(c.B), hex2(c.R) + hex2(c.G) + hex2(c.B)};
        List->Items().Assign(rows);
        List->SetSortType(stText);
        Window.resize(437, 149);
        Window.show();
        QCoreApplication::processEvents();
    }

    void ClickHeader(int column)
    {
        QWidget* viewport = List->Header()->viewport();
        const QPoint at(List->Header()->sectionViewportPosition(column) + List->Header()->sectionSize(column) / 2,
                        List->Header()->height() / 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &press);
        QCoreApplication::sendEvent(viewport, &release);
    }
};

// Each click on the same header reverses the order: a full re-sort of a
// numeric column (Green) or of the captions (locale text).
void BM_HeaderClickResort(benchmark::State& state)
{
    TNamedColorList list;
    const int column = static_cast<int>(state.range(0));
    list.ClickHeader(column);
    for (auto _ : state) {
        list.ClickHeader(column);
        benchmark::DoNotOptimize(list.List->Items().Item(0));
    }
    if (list.List->SortColumn() != column)
        state.SkipWithError("the clicks did not reach the header");
}
BENCHMARK(BM_HeaderClickResort)->Arg(0)->Arg(2)->Arg(4)->Unit(benchmark::kMicrosecond);

// The same sorts without the click, going round all five columns.
void BM_SortColumnChange(benchmark::State& state)
{
    TNamedColorList list;
    int column = 0;
    for (auto _ : state) {
        column = (column + 1) % 5;
        list.List->SetSortColumn(column);
        benchmark::DoNotOptimize(list.List->Items().Item(0));
    }
}
BENCHMARK(BM_SortColumnChange)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
