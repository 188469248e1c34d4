// One drag step of the EQ panel on a 1000 x 480 plot: the pointer moves, the band is
// recomputed, the owner is notified and the panel is repainted into an offscreen image.
// The CPU column of the painting benchmarks counts the whole process, since the raster
// engine hands parts of large fills to its thread pool.
#include "eq/CEqPanel.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {
QApplication& App()
{
    static int argc = 1;
    static char name[] = "bench_eq";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

void SendMouse(CEqPanel& p, QEvent::Type type, const QPoint& at, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(at), QPointF(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&p, &e);
}

void LoadMain(CEqPanel& p)
{
    p.SetPanelKind(5);
    p.SetBandCount(10);
    const float gains[10] = {3, -4, 6, 2, -8, 5, -3, 4, -2, 1};
    for (int i = 0; i < 10; ++i) {
        p.Band(i).gain = gains[i];
        p.UpdateBandCurve(i);
    }
}

void LoadSub(CEqPanel& p)
{
    p.SetPanelKind(2);
    p.SetBandCount(20);
    const float freqs[5] = {25, 31, 45, 62, 100};
    for (int i = 0; i < 5; ++i) {
        p.Band(i).freq = freqs[i];
        p.SetSubFilterType(i, 1);
        p.SetBandGain(i, i - 2.0);
    }
    p.SetSubCrossover(4, 3); // a 48 dB crossover: four sections on the dragged band
}

// Drags `slot` up and down across the plot, one step per iteration.
void DragSteps(benchmark::State& state, CEqPanel& p, int slot)
{
    QImage image(p.size(), QImage::Format_ARGB32_Premultiplied);
    p.render(&image); // delivers the pending resize of the hidden widget: markers in place
    int notified = 0;
    QObject::connect(&p, &CEqPanel::BandChanged, [&](const EqPanelBand& b, int) {
        notified += b.type; // the owner reads the record
    });
    const EqPlotRect r = p.PlotRect();
    const QPoint start(static_cast<int>(r.left + static_cast<double>(p.Band(slot).posX)),
                       static_cast<int>(r.top + static_cast<double>(p.Band(slot).posY)));
    SendMouse(p, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        const int dy = static_cast<int>(std::lround(120.0 * std::sin(step * 0.05)));
        const int dx = (step % 40) - 20;
        ++step;
        SendMouse(p, QEvent::MouseMove, start + QPoint(dx, dy), Qt::NoButton, Qt::LeftButton);
        p.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    SendMouse(p, QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
    benchmark::DoNotOptimize(notified);
}

void BM_DragStep_10Bands(benchmark::State& state)
{
    App();
    CEqPanel p;
    p.resize(1000, 480);
    LoadMain(p);
    DragSteps(state, p, 4);
}
BENCHMARK(BM_DragStep_10Bands)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_DragStep_Sub20Stages(benchmark::State& state)
{
    App();
    CEqPanel p;
    p.resize(1000, 480);
    LoadSub(p);
    DragSteps(state, p, 4);
}
BENCHMARK(BM_DragStep_Sub20Stages)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The parts of a step: the recomputation alone, the repaint alone.
void BM_RecomputeBand_Sub(benchmark::State& state)
{
    App();
    CEqPanel p;
    p.resize(1000, 480);
    LoadSub(p);
    float f = 80.0f;
    for (auto _ : state) {
        f = f > 150.0f ? 80.0f : f + 1.0f;
        p.Band(4).freq = f;
        p.UpdateBandCurve(4);
    }
}
BENCHMARK(BM_RecomputeBand_Sub)->Unit(benchmark::kMicrosecond);

void BM_Repaint_10Bands(benchmark::State& state)
{
    App();
    CEqPanel p;
    p.resize(1000, 480);
    LoadMain(p);
    p.SetSelected(4);
    QImage image(p.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        p.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_Repaint_10Bands)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
} // namespace
