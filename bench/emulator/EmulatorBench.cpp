// Cost of talking to the emulated processor through the HidBackend interface with no added
// latency: what the emulator itself adds to every request-answer exchange of the transport.

#include "link/emulator/VirtualHidBus.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {
EmulatorOptions NoLatency()
{
    EmulatorOptions o;
    o.latency = std::chrono::milliseconds(0);
    return o;
}

Report Request(std::initializer_list<int> bytes)
{
    Report r{};
    r[0] = kReportId;
    size_t i = 1;
    for (int b : bytes) {
        r[i++] = static_cast<uint8_t>(b);
    }
    return r;
}

// One parameter read: write the request, block in Read until the answer is there.
void BM_ParameterReadExchange(benchmark::State& state)
{
    std::string error;
    const auto bus = MakeEmulatedBus(NoLatency(), &error);
    const auto dev = bus->Open(kEmulatedProcessorPath, &error);
    const Report request = Request({0x0A, 0x00, 4, 11, 6});
    Report answer{};
    for (auto _ : state) {
        dev->Write(request);
        if (dev->Read(answer) != HidReadResult::Report) {
            state.SkipWithError("no answer");
            break;
        }
        benchmark::DoNotOptimize(answer);
    }
    dev->Close();
}
BENCHMARK(BM_ParameterReadExchange);

// The 191 answered exchanges of a full read synchronisation (identification, names, 157
// parameter reads, 20 memory pieces, settings and key table), approximated by their kinds.
void BM_FullReadSynchronisation(benchmark::State& state)
{
    std::string error;
    const auto bus = MakeEmulatedBus(NoLatency(), &error);
    const auto dev = bus->Open(kEmulatedProcessorPath, &error);
    Report answer{};
    auto exchange = [&](const Report& r) {
        dev->Write(r);
        return dev->Read(answer) == HidReadResult::Report;
    };
    for (auto _ : state) {
        bool ok = true;
        for (int pass = 0; pass < 2; ++pass) {
            ok &=
                exchange(Request({0x80})) && exchange(Request({0x7F})) && exchange(Request({0x81}));
        }
        ok &= exchange(Request({0x07}));
        for (int m = 0; m < 4; ++m) {
            ok &= exchange(Request({0xDB, 0x0F, 0x40 * m, 0x28}));
        }
        ok &= exchange(Request({0x7E}));
        for (int i = 0; i < 157; ++i) {
            ok &= exchange(Request({0x0A, 0x00, 1, 20, 1}));
        }
        for (int k = 0; k < 17; ++k) {
            ok &= exchange(Request({0x86, (56 * k) >> 8, (56 * k) & 0xFF, k == 16 ? 49 : 56}));
        }
        ok &= exchange(Request({0x86, 945 >> 8, 945 & 0xFF, 20}));
        ok &= exchange(Request({0x86, 965 >> 8, 965 & 0xFF, 32}));
        ok &= exchange(Request({0x86, 997 >> 8, 997 & 0xFF, 2}));
        ok &= exchange(Request({0x92})) && exchange(Request({0x62}));
        if (!ok) {
            state.SkipWithError("an exchange failed");
            break;
        }
    }
    dev->Close();
}
BENCHMARK(BM_FullReadSynchronisation)->Unit(benchmark::kMillisecond);
} // namespace
