// The emulated processor's memory, mode names and modes, through the HidBackend interface.

#include "link/emulator/EmulatedProcessor.h"
#include "link/emulator/LinkedProcessor.h"
#include "model/DeviceMemory.h"
#include "model/Writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
Report MemoryWrite(int address, const std::vector<uint8_t>& data, int length = -1)
{
    Report r = Command(
        {0x85, address >> 8, address & 0xFF, length < 0 ? static_cast<int>(data.size()) : length});
    for (size_t i = 0; i < data.size() && 5 + i < r.size(); ++i) {
        r[5 + i] = data[i];
    }
    return r;
}

Report MemoryRead(LinkedProcessor& p, int address, int length)
{
    return p.Ask({0x86, address >> 8, address & 0xFF, length});
}

// The whole memory as a synchronisation reads it: 17 pieces of the band image and the blocks.
std::vector<uint8_t> ReadAllMemory(LinkedProcessor& p)
{
    std::vector<uint8_t> all;
    auto piece = [&](int address, int length) {
        const Report r = MemoryRead(p, address, length);
        EXPECT_EQ((r[2] << 8) | r[3], address);
        EXPECT_EQ(r[4], length);
        all.insert(all.end(), r.begin() + 5, r.begin() + 5 + length);
    };
    for (int k = 0; k < 17; ++k) {
        piece(56 * k, k == 16 ? 49 : 56);
    }
    piece(945, 20);
    piece(965, 32);
    piece(997, 2);
    return all;
}

Report NameWrite(int mode, const std::string& name)
{
    Report r = Command({0xDA, 0x0F, 0x40 * mode, 0x2C});
    for (size_t i = 0; i < name.size(); ++i) {
        r[5 + 2 * i] = 0;
        r[6 + 2 * i] = static_cast<uint8_t>(name[i]);
    }
    return r;
}

std::string NameFrom(const Report& r)
{
    std::string s;
    const size_t end = 5 + static_cast<size_t>(r[4]);
    for (size_t i = 5; i + 1 < end && i + 1 < r.size(); i += 2) {
        const int unit = r[i] << 8 | r[i + 1];
        if (unit == 0) {
            break;
        }
        s.push_back(static_cast<char>(unit));
    }
    return s;
}

float Volume(LinkedProcessor& p)
{
    return GetFloatBE(&p.Ask({0x0A, 0x00, 1, 20, 1})[6]);
}

// Writes the mic volume and takes its answer.
void SetVolume(LinkedProcessor& p, float v)
{
    Report r = Command({0x09, 0x00, 1, 20, 1});
    PutFloatBE(&r[6], v);
    EXPECT_EQ(p.Ask(r)[1], 0x09);
}
} // namespace

TEST(EmulatedProcessorMemory, FactoryMemoryHoldsTheStartUpBandTable)
{
    LinkedProcessor p;
    const std::vector<uint8_t> all = ReadAllMemory(p);
    ASSERT_EQ(all.size(), 999U);
    ResetDeviceMemoryToStartup();
    const std::vector<uint8_t> image = DeviceImage.Snapshot();
    EXPECT_TRUE(std::equal(image.begin(), image.end(), all.begin()));
    const std::vector<uint8_t> room = Block945.Snapshot();
    EXPECT_TRUE(std::equal(room.begin(), room.end(), all.begin() + 945));
    // The room of "Reset all": 4 m x 4 m, Main L at (-1, +1).
    EXPECT_EQ(all[945], 4);
    EXPECT_EQ(all[946], 4);
    EXPECT_EQ(all[949], 0x8A);
    for (size_t i = 965; i < 999; ++i) {
        EXPECT_EQ(all[i], 0) << i; // 0 dB speaker levels and mic boost
    }
}

TEST(EmulatedProcessorMemory, PiecesAreWrittenAndReadBack)
{
    LinkedProcessor p;
    std::vector<uint8_t> piece(56);
    for (size_t i = 0; i < piece.size(); ++i) {
        piece[i] = static_cast<uint8_t>(i + 1);
    }
    EXPECT_EQ(p.Acked(MemoryWrite(896, piece)),
              0); // crosses the end of the band image into Block945
    const Report r = MemoryRead(p, 896, 56);
    EXPECT_EQ(r[1], 0x86);
    EXPECT_EQ(r[2], 896 >> 8);
    EXPECT_EQ(r[3], 896 & 0xFF);
    EXPECT_EQ(r[4], 56);
    for (size_t i = 0; i < 56; ++i) {
        EXPECT_EQ(r[5 + i], i + 1) << i;
    }
    EXPECT_EQ(p.processor->State().working.memory[951], 56);
}

TEST(EmulatedProcessorMemory, LimitsOfTheAddressSpaceAndOfOneReport)
{
    const struct
    {
        int address, requested, answered;
    } cases[] = {
        {0, 56, 56},    {0, 57, 56},  // one report carries 56 data bytes
        {0, 255, 56},   {990, 56, 9}, // ends at address 998
        {998, 2, 1},    {999, 4, 0},  // nothing past the memory
        {0x0F00, 8, 0},               // the name area is not memory
        {997, 2, 2},
    };
    LinkedProcessor p;
    for (const auto& c : cases) {
        const Report r = MemoryRead(p, c.address, c.requested);
        EXPECT_EQ(r[1], 0x86);
        EXPECT_EQ((r[2] << 8) | r[3], c.address);
        EXPECT_EQ(r[4], c.answered) << c.address << "/" << c.requested;
        for (size_t i = 5 + static_cast<size_t>(c.answered); i < r.size(); ++i) {
            ASSERT_EQ(r[i], 0) << "byte " << i << " of " << c.address;
        }
    }

    // Writes are cut the same way and never reach past the memory.
    std::vector<uint8_t> ones(56, 0x11);
    EXPECT_EQ(p.Acked(MemoryWrite(990, ones)), 0);
    EXPECT_EQ(p.Acked(MemoryWrite(0, std::vector<uint8_t>(56, 0x22), 200)), 0); // 56 taken
    EXPECT_EQ(p.Acked(MemoryWrite(1200, ones)), 1);                             // refused
    const ProcessorState st = p.processor->State();
    for (size_t i = 990; i < 999; ++i) {
        EXPECT_EQ(st.working.memory[i], 0x11);
    }
    for (size_t i = 0; i < 56; ++i) {
        EXPECT_EQ(st.working.memory[i], 0x22);
    }
    EXPECT_NE(st.working.memory[56], 0x22);
}

TEST(EmulatedProcessorMemory, BlankProcessorReadsFFMemoryAndNames)
{
    EmulatorOptions o = FastOptions();
    o.blank = true;
    LinkedProcessor p(o);
    const Report mem = MemoryRead(p, 0, 56);
    EXPECT_EQ(mem[5], 0xFF);
    EXPECT_EQ(mem[6], 0xFF);
    const Report name = p.Ask({0xDB, 0x0F, 0x80, 0x28});
    for (size_t i = 5; i < 9; ++i) {
        EXPECT_EQ(name[i], 0xFF);
    }
    // Parameters still answer with their factory values.
    EXPECT_FLOAT_EQ(Volume(p), 0.8F);
}

TEST(EmulatedProcessorMemory, ModeNamesAreKeptPerMode)
{
    LinkedProcessor p;
    for (int m = 0; m < 4; ++m) {
        const Report r = p.Ask({0xDB, 0x0F, 0x40 * m, 0x28});
        EXPECT_EQ(r[1], 0xDB);
        EXPECT_EQ(r[2], 0x0F);
        EXPECT_EQ(r[3], 0x40 * m);
        EXPECT_EQ(r[4], 0x28);
        EXPECT_EQ(NameFrom(r), "User " + std::to_string(m + 1));
    }
    EXPECT_EQ(p.Acked(NameWrite(1, "Party")), 0);
    EXPECT_EQ(p.Acked(NameWrite(3, "M3-Karaoke-Evening20")), 0);
    EXPECT_EQ(NameFrom(p.Ask({0xDB, 0x0F, 0x40, 0x28})), "Party");
    EXPECT_EQ(NameFrom(p.Ask({0xDB, 0x0F, 0xC0, 0x28})), "M3-Karaoke-Evening20");
    EXPECT_EQ(NameFrom(p.Ask({0xDB, 0x0F, 0x00, 0x28})), "User 1");
    EXPECT_EQ(p.processor->State().ModeName(1), "Party");
}

TEST(EmulatedProcessorMemory, StoreLoadAndResetModes)
{
    LinkedProcessor p;
    SetVolume(p, 0.25F);
    EXPECT_EQ(p.Acked(MemoryWrite(0, {0xAB})), 0);
    EXPECT_EQ(p.Acked({0x04, 2}), 0); // store into M3
    EXPECT_EQ(p.Ask({0x07})[2], 2);

    SetVolume(p, 0.5F);
    EXPECT_EQ(p.Acked({0x05, 0}), 0); // load M1: the factory setting
    EXPECT_EQ(p.Ask({0x07})[2], 0);
    EXPECT_FLOAT_EQ(Volume(p), 0.8F);
    EXPECT_NE(MemoryRead(p, 0, 1)[5], 0xAB);

    EXPECT_EQ(p.Acked({0x05, 2}), 0); // load M3: what was stored
    EXPECT_FLOAT_EQ(Volume(p), 0.25F);
    EXPECT_EQ(MemoryRead(p, 0, 1)[5], 0xAB);

    EXPECT_EQ(p.Acked(NameWrite(2, "Mine")), 0);
    EXPECT_EQ(p.Acked({0x06, 2}), 0); // reset M3: factory setting and name, and it is loaded
    EXPECT_EQ(p.Ask({0x07})[2], 2);
    EXPECT_FLOAT_EQ(Volume(p), 0.8F);
    EXPECT_NE(MemoryRead(p, 0, 1)[5], 0xAB);
    EXPECT_EQ(NameFrom(p.Ask({0xDB, 0x0F, 0x80, 0x28})), "User 3");
    EXPECT_EQ(p.Acked({0x05, 2}), 0);
    EXPECT_FLOAT_EQ(Volume(p), 0.8F);
}

TEST(EmulatedProcessorMemory, SelectModeChangesOnlyTheCurrentMode)
{
    LinkedProcessor p;
    SetVolume(p, 0.33F);
    EXPECT_EQ(p.Acked({0x03, 3}), 0);
    EXPECT_EQ(p.Ask({0x07})[2], 3);
    EXPECT_FLOAT_EQ(Volume(p), 0.33F); // the working setting stays
    EXPECT_EQ(p.Acked({0x03, 4}), 1);  // no mode 5: refused
    EXPECT_EQ(p.Acked({0x05, 9}), 1);
    EXPECT_EQ(p.Acked({0x04, 0xFF}), 1);
    EXPECT_EQ(p.Acked({0x06, 4}), 1);
    EXPECT_EQ(p.Ask({0x07})[2], 3);
    EXPECT_FLOAT_EQ(Volume(p), 0.33F);
}
