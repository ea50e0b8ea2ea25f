// One slider movement recomputes the preview: this is the colour model's
// share of that work.
#include "color/colormodel.h"

#include <benchmark/benchmark.h>

namespace {

class NullView : public IColorView {
public:
    int Value[3] = {255, 255, 255};
    TLiteralFormat Format = TLiteralFormat::Delphi;
    QString Text;
    int SliderValue(TChannel ch) const override { return Value[int(ch)]; }
    void SetSliderValue(TChannel ch, int v) override { Value[int(ch)] = v; }
    bool IsTextTarget() const override { return false; }
    bool IsFormatChecked(TLiteralFormat f) const override { return f == Format; }
    void SetPreviewText(const QString& t) override { Text = t; }
    void SetPreviewFontColor(TColor) override {}
    void SetPreviewBackColor(TColor) override {}
};

void BM_ChangeColor(benchmark::State& state)
{
    NullView view;
    view.Format = TLiteralFormat(state.range(0));
    TColorModel model(view);
    model.FormCreate();
    int v = 0;
    for (auto _ : state) {
        view.Value[0] = v++ & 0xFF;
        model.ChangeColor();
        benchmark::DoNotOptimize(view.Text);
    }
}
BENCHMARK(BM_ChangeColor)->DenseRange(0, 4);

} // namespace

BENCHMARK_MAIN();
