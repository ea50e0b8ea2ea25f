// Reading a pasted colour: each form once, with a name table of the size of
// the window's list.
#include "color/colortext.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace {

TNamedColorLookup ListSizedNames()
{
    TNamedColorLookup names;
    for (int i = 0; i < 139; ++i)
        names.Add(QStringLiteral("Name%1").arg(i), {std::uint8_t(i), 0, 0});
    return names;
}

// A null text stands for a long text, which is turned away unread.
void BM_ReadColorText(benchmark::State& state, const char* literal)
{
    const TNamedColorLookup names = ListSizedNames();
    const QString text = literal ? QString::fromUtf8(literal) : QString(100'000, QLatin1Char('x'));
    for (auto _ : state) {
        TColorReadResult result = ReadColorText(text, names);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK_CAPTURE(BM_ReadColorText, delphi, "$000080FF");
BENCHMARK_CAPTURE(BM_ReadColorText, visual_cpp, "0x000080FF");
BENCHMARK_CAPTURE(BM_ReadColorText, visual_basic, "&H000080FF&");
BENCHMARK_CAPTURE(BM_ReadColorText, html, "#FF8000");
BENCHMARK_CAPTURE(BM_ReadColorText, html_short, "#F80");
BENCHMARK_CAPTURE(BM_ReadColorText, rgb, "rgb(255, 128, 0)");
BENCHMARK_CAPTURE(BM_ReadColorText, rgb_percent, "rgb(100%, 50%, 0%)");
BENCHMARK_CAPTURE(BM_ReadColorText, css_name, "lightgoldenrodyellow");
BENCHMARK_CAPTURE(BM_ReadColorText, list_name, "Name138");
BENCHMARK_CAPTURE(BM_ReadColorText, body_tag, "<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\">");
BENCHMARK_CAPTURE(BM_ReadColorText, not_a_colour, "not a colour at all, but a sentence on the clipboard");
BENCHMARK_CAPTURE(BM_ReadColorText, too_long, nullptr);

} // namespace

BENCHMARK_MAIN();
