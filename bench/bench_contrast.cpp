// The four nearest passing colours of a pair (text and background, each at
// 4.5:1 and 7:1), as the preview's "Контраст" computes them when it opens.
#include "color/contrastlevels.h"

#include <benchmark/benchmark.h>

namespace {

RgbTriple ColorOf(int rgb)
{
    return {std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)};
}

void BM_ContrastSuggestions(benchmark::State& state, int text, int background)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ContrastSuggestions(ColorOf(text), ColorOf(background)));
}
BENCHMARK_CAPTURE(BM_ContrastSuggestions, GreyOnWhite, 0x888888, 0xFFFFFF)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ContrastSuggestions, RedOnWhite, 0xFF0000, 0xFFFFFF)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ContrastSuggestions, PurpleOnNavy, 0x800080, 0x000080)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ContrastSuggestions, GreenOnYellow, 0x00FF00, 0xFFFF00)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
