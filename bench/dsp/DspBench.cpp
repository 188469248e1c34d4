// Speed of the DSP engine: one band design with the 512-point magnitude curve an EQ panel
// draws, and building the whole parameter push with the EQ biquads.
#include "dsp/Biquad.h"
#include "dsp/Dynamics.h"
#include "dsp/EqBands.h"
#include "dsp/FullPush.h"
#include "model/DeviceMemory.h"
#include "model/ParamStore.h"
#include "model/Report.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

namespace {
// 512 frequencies spaced logarithmically from 20 Hz to 20 kHz.
std::array<double, 512> CurveFrequencies()
{
    std::array<double, 512> f{};
    for (size_t i = 0; i < f.size(); ++i) {
        f[i] = 20.0 * std::pow(1000.0, static_cast<double>(i) / 511.0);
    }
    return f;
}

void BM_DesignBiquad(benchmark::State& state)
{
    const int type = static_cast<int>(state.range(0));
    double gain = 3.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DesignBiquad(type, gain, 1000.0, 1.414));
        gain = -gain;
    }
}
BENCHMARK(BM_DesignBiquad)->Arg(1)->Arg(4)->Arg(6)->Arg(18);

void BM_DesignAndMagnitude512(benchmark::State& state)
{
    const std::array<double, 512> freqs = CurveFrequencies();
    std::array<double, 512> curve{};
    double gain = 3.0;
    for (auto _ : state) {
        const BiquadCoefs c = DesignBiquad(1, gain, 1000.0, 1.414);
        for (size_t i = 0; i < freqs.size(); ++i) {
            curve[i] = BiquadMagnitudeDb(c, freqs[i]);
        }
        benchmark::DoNotOptimize(curve.data());
        gain = -gain;
    }
    state.SetItemsProcessed(state.iterations() * 512);
}
BENCHMARK(BM_DesignAndMagnitude512);

void BM_SendAllParamsAndResendAllEq(benchmark::State& state)
{
    ParamStore.ResetToDefaults();
    ResetDeviceMemoryToStartup();
    const PauseFunction previous = SetPauseFunction([](int) {});
    RecordingSink sink;
    ScopedReportSink scoped(&sink);
    size_t reports = 0;
    for (auto _ : state) {
        sink.Clear();
        SendAllParams(0);
        ResendAllEq();
        reports = sink.Count();
        benchmark::DoNotOptimize(reports);
    }
    state.counters["reports"] = static_cast<double>(reports);
    SetPauseFunction(previous);
}
BENCHMARK(BM_SendAllParamsAndResendAllEq)->Unit(benchmark::kMicrosecond);
} // namespace
