// The frozen pick of a Wayland session, on the offscreen platform: from the
// portal's screenshot file (a desktop of 3360×2048, as two outputs of scales
// 1 and 2 give) to the frozen window's first frame painted, and an arrow key
// to the magnifier repainted. The portal's own time is not in these.
#include "bench/runbenchmarks.h"
#include "picker/frozenscreen.h"
#include "picker/screenshotfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QUrl>
#include <QWindow>

#include <benchmark/benchmark.h>

namespace {

// A desktop with detail everywhere, so that the PNG is not trivially small.
QImage Desktop()
{
    QImage image(3360, 2048, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] = qRgb((x * 7) & 0xFF, (y * 3) & 0xFF, ((x ^ y) * 5) & 0xFF);
    }
    return image;
}

// Until every event posted so far, the window's paint included, is done.
void Drain()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

void BM_FrozenFirstFrame(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.png"));
    QByteArray png;
    {
        const QImage desktop = Desktop();
        desktop.save(path, "PNG");
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        png = file.readAll();
    }
    const QString uri = QUrl::fromLocalFile(path).toString();
    for (auto _ : state) {
        state.PauseTiming();
        {
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write(png);
        }
        const QDateTime since = QDateTime::currentDateTimeUtc().addSecs(-1);
        state.ResumeTiming();
        const std::optional<QImage> image = TakeScreenshotFile(uri, since);
        if (!image) {
            state.SkipWithError("the screenshot was not read");
            break;
        }
        TFrozenScreen frozen(*image, nullptr, 1, {});
        frozen.Show();
        Drain();
        benchmark::DoNotOptimize(frozen.Current());
    }
}
BENCHMARK(BM_FrozenFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

void BM_FrozenArrowKey(benchmark::State& state)
{
    TFrozenScreen frozen(Desktop(), nullptr, 1, {});
    frozen.Show();
    Drain();
    QWindow* window = frozen.Window(0);
    int n = 0;
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, ++n % 2 ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &key);
        Drain();
    }
}
BENCHMARK(BM_FrozenArrowKey)->Unit(benchmark::kMicrosecond)->Iterations(2000)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
