#include "model/DeviceMemory.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace {
// One start-up band: frequency in Hz, Q in thousandths, type code; the gain is always 0 dB,
// stored as 150 (00 96).
struct StartBand
{
    int freq;
    int q1000;
    int type;
};

void Add(std::vector<StartBand>& out, std::initializer_list<int> freqs, int q1000, int type)
{
    for (const int f : freqs) {
        out.push_back({f, q1000, type});
    }
}

// The processor's start-up band memory, region by region in memory order, written out from
// the documented table rather than from any encoder.
std::vector<StartBand> StartupTable()
{
    const std::initializer_list<int> ten = {31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
    const std::initializer_list<int> seven = {31, 62, 125, 250, 500, 1000, 2000};
    std::vector<StartBand> t;
    Add(t, ten, 1414, 1);                        // mic A, 0
    Add(t, ten, 1414, 1);                        // mic B, 70
    Add(t, seven, 1414, 1);                      // echo A, 140
    Add(t, seven, 1414, 1);                      // echo B, 189
    Add(t, seven, 1414, 1);                      // reverb A, 238
    Add(t, seven, 1414, 1);                      // reverb B, 287
    Add(t, ten, 1414, 1);                        // music, 336
    Add(t, {100}, 1414, 2);                      // music low-pass
    for (int output = 0; output < 2; ++output) { // main 413, rear 511
        Add(t, ten, 1414, 1);
        Add(t, {500}, 707, 3);
        Add(t, {1000}, 707, 2);
        Add(t, {500}, 707, 3);
        Add(t, {1000}, 707, 2);
    }
    Add(t, ten, 1414, 1); // center, 609
    Add(t, {500}, 707, 3);
    Add(t, {1000}, 707, 2);
    // sub, 693
    Add(t, {20, 20, 20, 20, 31, 31, 31}, 1414, 1);
    Add(t, {31, 40, 40}, 707, 1);
    Add(t, {40, 40, 62, 62, 62, 62}, 1414, 1);
    Add(t, {100}, 1414, 18);
    Add(t, {100}, 707, 20);
    Add(t, {100, 100}, 707, 1);
    Add(t, {500}, 707, 3);
    Add(t, {1000}, 707, 2);
    // top, 847
    Add(t, ten, 1414, 1);
    Add(t, {500}, 707, 3);
    Add(t, {1000}, 707, 2);
    Add(t, {500}, 707, 3);
    Add(t, {1000}, 707, 2);
    return t;
}

std::string Hex(const std::array<uint8_t, 7>& r)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02X %02X %02X %02X %02X %02X %02X", r[0], r[1], r[2], r[3],
                  r[4], r[5], r[6]);
    return buf;
}
} // namespace

TEST(DeviceMemory, StartupBandMemoryHoldsTheDocumentedTable)
{
    DeviceImage.Fill(0xEE);
    ResetDeviceMemoryToStartup();
    const std::vector<StartBand> table = StartupTable();
    ASSERT_EQ(table.size(), static_cast<size_t>(kBandRecordCount));
    for (size_t i = 0; i < table.size(); ++i) {
        const StartBand& b = table[i];
        const std::array<uint8_t, 7> want = {0x00,
                                             0x96,
                                             static_cast<uint8_t>(b.freq >> 8),
                                             static_cast<uint8_t>(b.freq & 0xFF),
                                             static_cast<uint8_t>(b.q1000 >> 8),
                                             static_cast<uint8_t>(b.q1000 & 0xFF),
                                             static_cast<uint8_t>(b.type)};
        std::array<uint8_t, 7> got{};
        DeviceImage.Read(7 * i, got);
        EXPECT_EQ(Hex(got), Hex(want)) << "record " << i << " (byte " << 7 * i << ")";
    }
    for (size_t i = 0; i < Block965.Size(); ++i) {
        EXPECT_EQ(Block965.Get(i), 0) << "Block965 byte " << i;
    }
    EXPECT_EQ(Block997.Get(0), 0);
    EXPECT_EQ(Block997.Get(1), 0);
}
