// A whole synchronisation against the emulated processor answering at once, with the fixed
// settling pauses injected as zero: what remains is the program's own cost per exchange
// (transport, read thread, parser, read-back decoder, push computations).
//
// The write is measured with a 2 ms pacing and the unanswered count is reported beside it:
// any command left unanswered makes the next write wait for the whole pacing time.
//
// The "AsSeen" pair is one synchronisation as the user waits for it: the processor's default
// latency, the default 1800 ms pacing and the real settling pauses, to be compared with the
// wait dialog's 20 s time-out.

#include "dsp/Dynamics.h"
#include "link/LinkState.h"
#include "link/UsbTransport.h"
#include "link/controller/Synchronizer.h"
#include "link/emulator/EmulatedProcessor.h"
#include "link/emulator/VirtualHidBus.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

struct ZeroLatencyLink
{
    explicit ZeroLatencyLink(std::chrono::milliseconds pacing, bool zeroLatency = true)
    {
        EmulatorOptions options;
        if (zeroLatency) {
            options.latency = std::chrono::milliseconds(0);
        }
        std::string error;
        processor = EmulatedProcessor::Create(options, &error);
        bus.AddInterface({"emulated:sync-bench", 1, 0x2010, 0x1031, processor, ""});
        SetUsbBackend(&bus);
        SetUsbTimings({pacing, std::chrono::milliseconds(1000)});
        previousPause = SetPauseFunction([](int) {});
        ok = ConnectUsbDevice() == 1;
    }
    ~ZeroLatencyLink()
    {
        CloseUsbDevice(false);
        SetUsbBackend(nullptr);
        SetUsbTimings({});
        SetPauseFunction(previousPause);
    }
    VirtualHidBus bus;
    std::shared_ptr<EmulatedProcessor> processor;
    PauseFunction previousPause;
    bool ok = false;
};

void RunSync(benchmark::State& state, SyncDirection direction, std::chrono::milliseconds pacing)
{
    ResetLinkState();
    ZeroLatencyLink link(pacing);
    if (!link.ok) {
        state.SkipWithError("no emulated processor");
        return;
    }
    SyncWaiter waiter;
    // A read first, so that the write pushes what a processor holds.
    SynchronizeData(SyncDirection::Read, SyncTimings::Zero(), waiter, {});
    const uint64_t requestsBefore = link.processor->TotalRequests();
    const uint64_t answersBefore = link.processor->ReportsSent();
    for (auto _ : state) {
        const SyncResult r = SynchronizeData(direction, SyncTimings::Zero(), waiter, {});
        if (!r.complete) {
            state.SkipWithError("synchronisation incomplete");
            break;
        }
        benchmark::DoNotOptimize(r);
    }
    const double iterations = static_cast<double>(state.iterations());
    const double requests =
        static_cast<double>(link.processor->TotalRequests() - requestsBefore) / iterations;
    const double answers =
        static_cast<double>(link.processor->ReportsSent() - answersBefore) / iterations;
    const double commands = requests;
    state.counters["commands"] = requests;
    const double unanswered = requests > answers ? requests - answers : 0.0;
    state.counters["unanswered"] = unanswered;
    // Wall time of one synchronisation divided by its commands.
    state.counters["time_per_exchange"] = benchmark::Counter(
        iterations * commands, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["pacing_waits_ms"] =
        unanswered * static_cast<double>(pacing.count()); // of each synchronisation's time
}

void BM_FullReadSync(benchmark::State& state)
{
    RunSync(state, SyncDirection::Read, std::chrono::milliseconds(1800));
}

void BM_FullWriteSync(benchmark::State& state)
{
    RunSync(state, SyncDirection::Write, std::chrono::milliseconds(2));
}

// Default latency, pacing and pauses; one synchronisation per iteration.
void RunSyncAsSeen(benchmark::State& state, SyncDirection direction)
{
    ResetLinkState();
    ZeroLatencyLink link(UsbTimings{}.pacing, false);
    if (!link.ok) {
        state.SkipWithError("no emulated processor");
        return;
    }
    SyncWaiter waiter;
    SynchronizeData(SyncDirection::Read, SyncTimings::Zero(), waiter, {});
    const uint64_t requestsBefore = link.processor->TotalRequests();
    const uint64_t answersBefore = link.processor->ReportsSent();
    for (auto _ : state) {
        const SyncResult r = SynchronizeData(direction, SyncTimings{}, waiter, {});
        if (!r.complete) {
            state.SkipWithError("synchronisation incomplete");
            break;
        }
    }
    const double iterations = static_cast<double>(state.iterations());
    const double requests =
        static_cast<double>(link.processor->TotalRequests() - requestsBefore) / iterations;
    const double answers =
        static_cast<double>(link.processor->ReportsSent() - answersBefore) / iterations;
    state.counters["commands"] = requests;
    state.counters["unanswered"] = requests > answers ? requests - answers : 0.0;
}

void BM_FullReadSyncAsSeen(benchmark::State& state)
{
    RunSyncAsSeen(state, SyncDirection::Read);
}

void BM_FullWriteSyncAsSeen(benchmark::State& state)
{
    RunSyncAsSeen(state, SyncDirection::Write);
}

} // namespace

BENCHMARK(BM_FullReadSync)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FullWriteSync)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FullReadSyncAsSeen)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_FullWriteSyncAsSeen)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(2);
