// Reading a pasted colour: each form once, with a name table of the size of
// the window's list.
#include "color/colortext.h"
#include "color/nearestcolor.h"

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

// The forms of "Копировать как" and the CSS Color 4 functions; an oklch()
// beyond sRGB searches for the chroma it can show.
void BM_ReadNewForm(benchmark::State& state, const char* literal)
{
    BM_ReadColorText(state, literal);
}
BENCHMARK_CAPTURE(BM_ReadNewForm, argb, "0xFFFF8000");
BENCHMARK_CAPTURE(BM_ReadNewForm, hsl, "hsl(30.1, 100%, 50%)");
BENCHMARK_CAPTURE(BM_ReadNewForm, hwb, "hwb(30.1 0% 0%)");
BENCHMARK_CAPTURE(BM_ReadNewForm, oklab, "oklab(62.8% 0.22486 0.12585)");
BENCHMARK_CAPTURE(BM_ReadNewForm, oklch, "oklch(73.19% 0.1858 52.98)");
BENCHMARK_CAPTURE(BM_ReadNewForm, oklch_out_of_gamut, "oklch(90% 0.4 300)");
BENCHMARK_CAPTURE(BM_ReadNewForm, qcolor, "QColor(255, 128, 0)");
BENCHMARK_CAPTURE(BM_ReadNewForm, win32, "RGB(255, 128, 0)");
BENCHMARK_CAPTURE(BM_ReadNewForm, vec3, "vec3(1.000, 0.502, 0.000)");

// The nearest of a list as long as the window's, for colours on none of it.
void BM_NearestColor(benchmark::State& state)
{
    TNearestColorFinder names;
    for (int i = 0; i < 139; ++i) {
        const int v = i * 120'721 % 0x1000000;
        names.Add(QStringLiteral("Name%1").arg(i), {std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)});
    }
    int v = 0;
    for (auto _ : state) {
        v = (v + 7'919) % 0x1000000 | 1;
        auto nearest = names.Find({std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)});
        benchmark::DoNotOptimize(nearest);
    }
}
BENCHMARK(BM_NearestColor);

} // namespace

BENCHMARK_MAIN();
