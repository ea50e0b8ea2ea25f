// A colour pasted into the real main window: Ctrl+V, the clipboard read,
// the text read as a colour, the three sliders and the preview updated, and
// the repaint that follows.
#include "app/form1.h"
#include "bench/runbenchmarks.h"
#include "framework/application.h"
#include "framework/stdctrls.h"

#include <QClipboard>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

void BM_PasteColor(benchmark::State& state, const char* first, const char* second)
{
    TForm1 form;
    form.show();
    QApplication::setActiveWindow(&form);
    QApplication::processEvents();
    const QString texts[2] = {QString::fromUtf8(first), QString::fromUtf8(second)};
    QClipboard* clipboard = QGuiApplication::clipboard();
    int i = 0;
    long failures = 0;
    for (auto _ : state) {
        state.PauseTiming();
        clipboard->setText(texts[i]);
        const QString before = form.Panel1->Text();
        state.ResumeTiming();
        QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier);
        failures += form.Panel1->Text() == before;
        state.PauseTiming();
        QApplication::processEvents();
        state.ResumeTiming();
        i ^= 1;
    }
    if (failures)
        state.SkipWithError("a paste left the preview text as it was");
}
BENCHMARK_CAPTURE(BM_PasteColor, Html, "#336699", "#996633")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PasteColor, Delphi, "$00996633", "$00336699")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PasteColor, Name, "rosybrown", "DarkSlateGray")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PasteColor, BodyTag, "<BODY BGCOLOR=\"#102030\" TEXT=\"#405060\">",
                  "<BODY BGCOLOR=\"#405060\" TEXT=\"#102030\">")
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qputenv("QT_SCALE_FACTOR", "1");
    TApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
