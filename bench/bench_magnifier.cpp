// The magnifier of an X11 pick under real pointer motion: each iteration
// moves the pointer (as a mouse does, from another connection) and waits
// until the picker has read the area around the new hotspot, drawn it and
// the server has put the picture up. Runs under an X server (xvfb-run).
#include "bench/runbenchmarks.h"
#include "picker/x11picker.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QTimer>

#include <xcb/xcb.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// Two solid windows side by side, so that every motion changes the colour
// under the hotspot and the picker reports it.
class TSwatches {
public:
    TSwatches() : X(xcb_connect(nullptr, nullptr))
    {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(X)).data;
        Root = screen->root;
        const std::uint32_t colours[] = {0x0C3263, 0xF01182};
        for (int i = 0; i < 2; ++i) {
            const xcb_window_t w = xcb_generate_id(X);
            const std::uint32_t values[] = {colours[i], 1};
            xcb_create_window(X, XCB_COPY_FROM_PARENT, w, Root, static_cast<std::int16_t>(100 + 300 * i), 100, 300, 300,
                              0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                              XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
            xcb_map_window(X, w);
        }
        Sync();
    }
    ~TSwatches() { xcb_disconnect(X); }
    void MoveTo(int x, int y)
    {
        xcb_warp_pointer(X, XCB_NONE, Root, 0, 0, 0, 0, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y));
        xcb_flush(X);
    }
    void Sync() { std::free(xcb_get_input_focus_reply(X, xcb_get_input_focus(X), nullptr)); }

private:
    xcb_connection_t* X;
    xcb_window_t Root = 0;
};

long ResidentKib()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// One motion, and back once its colour has been reported and the server has
// done the picture's requests.
void Move(TSwatches& swatches, TX11ColorPicker& picker, int& hovered, int x)
{
    const int before = hovered;
    swatches.MoveTo(x, 250);
    // A lost motion ends the wait instead of hanging the run.
    QTimer late;
    late.setSingleShot(true);
    late.start(5000);
    while (hovered == before && picker.IsActive() && late.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    xcb_connection_t* qt = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    std::free(xcb_get_input_focus_reply(qt, xcb_get_input_focus(qt), nullptr));
}

// At x4, the largest area the magnifier reads; the counter is the resident
// memory gained over the second half of the run (the first warms the caches).
void BM_MagnifierMotion(benchmark::State& state)
{
    TSwatches swatches;
    // Between the places the run moves to, so its first move is a motion.
    swatches.MoveTo(400, 250);
    TX11ColorPicker picker;
    int hovered = 0;
    QObject::connect(&picker, &TColorPicker::Hovered, [&hovered] { ++hovered; });
    picker.Start();
    if (!picker.IsActive()) {
        state.SkipWithError("no pick: is this an X server?");
        return;
    }
    // Down to x4, a step a key.
    for (int i = 0; i < 8 && picker.Zoom() != 4 && picker.IsActive(); ++i) {
        QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("minus")});
        QElapsedTimer waited;
        waited.start();
        const int zoom = picker.Zoom();
        while (picker.Zoom() == zoom && waited.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    if (picker.Zoom() != 4) {
        state.SkipWithError("the zoom did not reach x4");
        return;
    }
    // Left and right swatch by turns, far enough apart that the magnifier
    // never stands over the area it reads.
    const int xs[2] = {250, 550};
    long rssHalf = -1;
    std::int64_t n = 0;
    for (auto _ : state) {
        const int before = hovered;
        Move(swatches, picker, hovered, xs[n & 1]);
        if (hovered == before) {
            state.SkipWithError("a motion was not shown within 5 s");
            break;
        }
        if (++n == state.max_iterations / 2)
            rssHalf = ResidentKib();
    }
    state.counters["rss_growth_kib"] = rssHalf >= 0 ? double(ResidentKib() - rssHalf) : 0;
    picker.Cancel();
}
BENCHMARK(BM_MagnifierMotion)->Unit(benchmark::kMicrosecond)->Iterations(10000)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
