#pragma once
// A fixture for the DSP engine: start-up store and device memory, a recording sink in place
// of the processor, and a pause function that records pauses instead of sleeping.

#include "dsp/Dynamics.h"
#include "model/DeviceMemory.h"
#include "model/ParamStore.h"
#include "model/Report.h"
#include "model/Writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// A parameter write (0x09) or memory block write (0x85) taken apart.
struct SentReport
{
    uint8_t command = 0;
    int block = 0; // 0x09
    int param = 0;
    int count = 0;
    int address = 0; // 0x85
    std::vector<uint8_t> data;
    Report raw{};

    float Float(size_t i) const { return GetFloatBE(&raw[6 + 4 * i]); }
    uint32_t Word(size_t i) const { return GetU32BE(&raw[6 + 4 * i]); }
    bool Is(int b, int p) const { return command == kCmdWriteParam && block == b && param == p; }
};

inline SentReport TakeApart(const Report& r)
{
    SentReport s;
    s.raw = r;
    s.command = r[1];
    if (s.command == kCmdWriteParam) {
        s.block = r[3];
        s.param = r[4];
        s.count = r[5];
    } else if (s.command == kCmdWriteBlock) {
        s.address = (r[2] << 8) | r[3];
        s.data.assign(r.begin() + 5, r.begin() + 5 + r[4]);
    }
    return s;
}

class DspFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ParamStore.ResetToDefaults();
        ResetDeviceMemoryToStartup();
        previousPause_ = SetPauseFunction([this](int ms) {
            pauses.push_back(ms);
            pausesAtReport.push_back(sink.Count());
        });
    }

    void TearDown() override
    {
        SetPauseFunction(previousPause_);
        ParamStore.ResetToDefaults();
        ResetDeviceMemoryToStartup();
    }

    std::vector<SentReport> Sent() const
    {
        std::vector<SentReport> out;
        for (const Report& r : sink.Reports()) {
            out.push_back(TakeApart(r));
        }
        return out;
    }

    std::vector<SentReport> ParamWrites() const
    {
        std::vector<SentReport> out;
        for (const SentReport& s : Sent()) {
            if (s.command == kCmdWriteParam) {
                out.push_back(s);
            }
        }
        return out;
    }

    RecordingSink sink;
    ScopedReportSink attached{&sink};
    std::vector<int> pauses;
    std::vector<size_t> pausesAtReport; // reports sent before each pause

private:
    PauseFunction previousPause_;
};
