// Program overhead of one request/answer exchange: WriteUsbData, the emulated processor
// answering at once on the virtual bus, the read thread parsing the answer and releasing the
// next writer. The processor adds no latency, so the figure is our own cost per exchange.

#include "link/LinkState.h"
#include "link/Protocol.h"
#include "link/UsbTransport.h"
#include "link/emulator/EmulatedProcessor.h"
#include "link/emulator/VirtualHidBus.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

struct ConnectedEmulator
{
    ConnectedEmulator()
    {
        EmulatorOptions options;
        options.latency = std::chrono::milliseconds(0);
        std::string error;
        processor = EmulatedProcessor::Create(options, &error);
        bus.AddInterface({"emulated:bench", 1, 0x2010, 0x1031, processor, ""});
        SetUsbBackend(&bus);
        // A lost answer would show as a 1800 ms stall; keep the default pacing.
        SetUsbTimings({});
        ok = ConnectUsbDevice() == 1;
    }
    ~ConnectedEmulator()
    {
        CloseUsbDevice(false);
        SetUsbBackend(nullptr);
    }
    VirtualHidBus bus;
    std::shared_ptr<EmulatedProcessor> processor;
    bool ok = false;
};

void RunExchanges(benchmark::State& state, std::initializer_list<int> command)
{
    ConnectedEmulator link;
    if (!link.ok) {
        state.SkipWithError("no emulated processor");
        return;
    }
    for (auto _ : state) {
        // Each write waits for the answer to the previous one: one exchange per iteration.
        if (SendCommand(command) != 61) {
            state.SkipWithError("write refused");
            break;
        }
    }
    state.counters["exchanges_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["time_per_exchange"] =
        benchmark::Counter(static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                           benchmark::Counter::OneK::kIs1000);
}

void BM_ExchangeModelRequest(benchmark::State& state)
{
    RunExchanges(state, {kCmdModel, -1});
}

void BM_ExchangeParamRead(benchmark::State& state)
{
    RunExchanges(state, {0x0A, 0x00, 1, 20, 1, -1});
}

void BM_ParseMemoryBlock(benchmark::State& state)
{
    Report r = MakeReport(kCmdReadBlock);
    r[4] = 56;
    for (size_t i = 5; i < r.size(); ++i) {
        r[i] = static_cast<uint8_t>(i);
    }
    for (auto _ : state) {
        ParseInputReport(r);
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BM_ExchangeModelRequest)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_ExchangeParamRead)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_ParseMemoryBlock);
