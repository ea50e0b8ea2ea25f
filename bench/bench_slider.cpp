// The image slider's hot paths: one thumb-drag move of the channel slider
// (mouse event, snapping, OnChange with the window's tinting, repaint of the
// dirty thumb rectangles through the off-screen buffer) and one full Paint.
#include "bench/runbenchmarks.h"
#include "framework/application.h"
#include "widgets/slider/imageslider.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QWidget>

#include <benchmark/benchmark.h>

namespace {

class TPaintCount : public QObject {
public:
    explicit TPaintCount(QWidget* w) { w->installEventFilter(this); }
    long Count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        Count += event->type() == QEvent::Paint;
        return false;
    }
};

// The slider as the main window has it, shown, with an OnChange handler
// that tints its face like the window's does.
struct TChannelWindow {
    QWidget Window;
    TImageSlider* Slider = new TImageSlider(&Window);

    TChannelWindow()
    {
        Window.resize(460, 60);
        Slider->setGeometry(32, 12, 396, 32);
        Slider->SetBevelStyle(bvLowered);
        Slider->SetIncrement(1);
        Slider->SetMaxValue(255);
        Slider->SetEdgeSize(1);
        Slider->SetOptions({TSliderOption::soShowFocus, TSliderOption::soShowPoints});
        Slider->OnChange = [this](QObject*) { Slider->SetColor(RGB(Slider->Value(), 0, 0)); };
        Window.show();
        QApplication::setActiveWindow(&Window);
        Slider->setFocus();
        QApplication::processEvents();
    }

    void Send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, QPointF(p), Slider->mapToGlobal(QPointF(p)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(Slider, &e);
    }
};

void BM_ThumbDragMove(benchmark::State& state)
{
    TChannelWindow w;
    const TRect t = w.Slider->ThumbRect();
    const int y = (t.Top + t.Bottom) / 2;
    w.Send(QEvent::MouseButtonPress, {t.Left + 4, y}, Qt::LeftButton, Qt::LeftButton);
    TPaintCount paints(w.Slider);
    long changes = 0;
    const auto tint = w.Slider->OnChange;
    w.Slider->OnChange = [&](QObject* sender) {
        ++changes;
        tint(sender);
    };
    // Back and forth over the whole travel, one pixel per move.
    int x = 11;
    int dx = 1;
    for (auto _ : state) {
        x += dx;
        if (x <= 11 || x >= 384)
            dx = -dx;
        w.Send(QEvent::MouseMove, {x, y}, Qt::NoButton, Qt::LeftButton);
        // The posted update request: paint events for the dirty rectangles.
        QApplication::processEvents();
    }
    w.Send(QEvent::MouseButtonRelease, {x, y}, Qt::LeftButton, Qt::NoButton);
    state.counters["changes/move"] = benchmark::Counter(double(changes) / double(state.iterations()));
    state.counters["paints/move"] = benchmark::Counter(double(paints.Count) / double(state.iterations()));
}
BENCHMARK(BM_ThumbDragMove)->Unit(benchmark::kMicrosecond);

void BM_FullPaint(benchmark::State& state)
{
    TChannelWindow w;
    w.Slider->SetValue(128);
    for (auto _ : state) {
        w.Slider->Paint();
        benchmark::DoNotOptimize(w.Slider->Buffer().constBits());
    }
}
BENCHMARK(BM_FullPaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A scale factor set by the caller is kept, to measure painting at it.
    if (!qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
        qputenv("QT_SCALE_FACTOR", "1");
    }
    TApplication app(argc, argv);
    InitSliderModule();
    return RunBenchmarks(argc, argv);
}
