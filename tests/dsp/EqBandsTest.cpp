#include "dsp/EqBands.h"

#include "dsp/Biquad.h"
#include "dsp/DspFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <map>

namespace {
using EqBandsTest = DspFixture;

EqBandRecord RecordAt(int offset)
{
    EqBandRecord r{};
    DeviceImage.Read(static_cast<size_t>(offset), r);
    return r;
}

void ExpectBiquadOf(const SentReport& s, int block, int param, const EqBand& band)
{
    ASSERT_TRUE(s.Is(block, param)) << "got " << s.block << "," << s.param;
    ASSERT_EQ(s.count, 5);
    const BiquadCoefs c = DesignBiquad(band.type, band.gain, band.freq, band.q);
    EXPECT_EQ(s.Float(0), static_cast<float>(-c.a1));
    EXPECT_EQ(s.Float(1), static_cast<float>(-c.a2));
    EXPECT_EQ(s.Float(2), static_cast<float>(c.b0));
    EXPECT_EQ(s.Float(3), static_cast<float>(c.b1));
    EXPECT_EQ(s.Float(4), static_cast<float>(c.b2));
}
} // namespace

TEST(EqBandOffset, BasesOfEveryEqualiser)
{
    struct Row
    {
        int eq, band, offset;
    };
    const Row rows[] = {{1, 0, 0},    {1, 10, 70}, {1, 19, 133}, {2, 0, 140},  {2, 7, 189},
                        {3, 0, 238},  {3, 7, 287}, {4, 0, 336},  {4, 10, 406}, {5, 0, 413},
                        {5, 13, 504}, {6, 0, 511}, {7, 0, 609},  {7, 11, 686}, {8, 0, 693},
                        {8, 21, 840}, {9, 0, 847}, {9, 13, 938}, {0, 3, 21},   {10, 3, 21},
                        {-4, 0, 0}};
    for (const Row& r : rows) {
        EXPECT_EQ(EqBandOffset(r.eq, r.band), r.offset) << "eq " << r.eq << " band " << r.band;
    }
}

TEST_F(EqBandsTest, StoreEqBandEncodesStoresAndWritesTheSevenBytes)
{
    ASSERT_TRUE(StoreEqBand(5, 3, -6.0, 250, 0.707, EQ_TYPE_LS));
    const EqBandRecord expected = {0x00, 0x5A, 0x00, 0xFA, 0x02, 0xC3, 0x04};
    EXPECT_EQ(RecordAt(413 + 21), expected);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].command, kCmdWriteBlock);
    EXPECT_EQ(sent[0].address, 434);
    EXPECT_EQ(sent[0].raw[2], 0x01); // high byte of the address first
    EXPECT_EQ(sent[0].raw[3], 0xB2);
    EXPECT_EQ(sent[0].data, std::vector<uint8_t>(expected.begin(), expected.end()));

    const EqBand back = LoadEqBand(5, 3);
    EXPECT_NEAR(back.gain, -6.0, 1e-9);
    EXPECT_EQ(back.freq, 250);
    EXPECT_NEAR(back.q, 0.707, 1e-9);
    EXPECT_EQ(back.type, EQ_TYPE_LS);
}

TEST_F(EqBandsTest, StoreEqBandRefusesRecordsOutsideTheBandMemory)
{
    const std::vector<uint8_t> before = DeviceImage.Snapshot();
    EXPECT_FALSE(StoreEqBand(9, 14, 0.0, 100, 1.0, 1)); // would reach 945..951
    EXPECT_FALSE(StoreEqBand(1, -1, 0.0, 100, 1.0, 1));
    EXPECT_EQ(DeviceImage.Snapshot(), before);
    EXPECT_EQ(sink.Count(), 0u);
}

// Every family member stores at its region and writes its block's biquad at band (+10 for
// mic B, +7 for echo B and reverb B).
TEST_F(EqBandsTest, SetEqBandFamilyTargets)
{
    using Setter = bool (*)(int, int, double, int, double);
    struct Row
    {
        const char* name;
        Setter set;
        int kind;
        int band;
        int offset;
        int block;
        int param;
    };
    const Row rows[] = {
        {"mic A", SetMicAEqBand, 1, 2, 14, 1, 2},
        {"mic B", SetMicBEqBand, 8, 2, 84, 1, 12},
        {"echo A", SetEchoAEqBand, 7, 6, 182, 2, 6},
        {"echo B", SetEchoBEqBand, 10, 0, 189, 2, 7},
        {"reverb A", SetReverbAEqBand, 6, 1, 245, 3, 1},
        {"reverb B", SetReverbBEqBand, 9, 6, 329, 3, 13},
        {"music", SetMusicEqBand, 0, 10, 406, 4, 10},
        {"main", SetMainEqBand, 5, 13, 504, 5, 13},
        {"rear", SetRearEqBand, 4, 4, 539, 6, 4},
        {"center", SetCenterEqBand, 3, 11, 686, 7, 11},
        {"sub", SetSubEqBand, 2, 21, 840, 8, 21},
        {"top", SetTopEqBand, 11, 9, 910, 9, 9},
    };
    for (bool byKind : {false, true}) {
        for (const Row& r : rows) {
            sink.Clear();
            const EqBand band{3.5, 777, 2.25, EQ_TYPE_PEQ};
            const bool ok = byKind
                                ? SetEqBand(r.kind, r.band, band.type, band.gain, band.freq, band.q)
                                : r.set(r.band, band.type, band.gain, band.freq, band.q);
            ASSERT_TRUE(ok) << r.name;
            EXPECT_EQ(RecordAt(r.offset), EncodeEqBand(band)) << r.name;
            const auto sent = Sent();
            ASSERT_EQ(sent.size(), 2u) << r.name;
            EXPECT_EQ(sent[0].command, kCmdWriteBlock) << r.name;
            EXPECT_EQ(sent[0].address, r.offset) << r.name;
            ExpectBiquadOf(sent[1], r.block, r.param, band);
        }
    }
}

TEST_F(EqBandsTest, SetEqBandRefusesBandsOutsideTheEqualiser)
{
    const std::vector<uint8_t> before = DeviceImage.Snapshot();
    EXPECT_FALSE(SetMicAEqBand(10, 1, 0.0, 100, 1.0)); // would be mic B's band 0
    EXPECT_FALSE(SetEchoAEqBand(7, 1, 0.0, 100, 1.0));
    EXPECT_FALSE(SetMusicEqBand(11, 1, 0.0, 100, 1.0));
    EXPECT_FALSE(SetCenterEqBand(12, 1, 0.0, 100, 1.0));
    EXPECT_FALSE(SetSubEqBand(22, 1, 0.0, 100, 1.0));
    EXPECT_FALSE(SetTopEqBand(14, 1, 0.0, 100, 1.0));
    EXPECT_FALSE(SetMainEqBand(-1, 1, 0.0, 100, 1.0));
    EXPECT_FALSE(SetEqBand(12, 0, 1, 0.0, 100, 1.0));
    EXPECT_FALSE(SetEqBand(-1, 0, 1, 0.0, 100, 1.0));
    EXPECT_EQ(DeviceImage.Snapshot(), before);
    EXPECT_EQ(sink.Count(), 0u);
}

// The first-order feedback term is exactly zero on the wire, not a negative zero.
TEST_F(EqBandsTest, FirstOrderBandSendsZeroForMinusA2AndB2)
{
    for (int type : {10, 11}) {
        sink.Clear();
        ASSERT_TRUE(SetSubEqBand(0, type, 0.0, 100, 1.414));
        const auto w = ParamWrites();
        ASSERT_EQ(w.size(), 1u);
        EXPECT_EQ(w[0].Word(1), 0u) << "type " << type;
        EXPECT_EQ(w[0].Word(4), 0u) << "type " << type;
    }
}

TEST_F(EqBandsTest, BandWithQZeroSendsTheFlatSection)
{
    ASSERT_TRUE(SetMainEqBand(0, EQ_TYPE_PEQ, 6.0, 1000, 0.0));
    auto w = ParamWrites();
    ASSERT_EQ(w.size(), 1u);
    const uint32_t flat[5] = {0, 0, 0x3F800000u, 0, 0};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(w[0].Word(i), flat[i]) << i;
    }

    // A cleared band memory (every byte 0: Q 0, type 0) resends as flat sections only.
    DeviceImage.Fill(0);
    sink.Clear();
    EXPECT_EQ(ResendAllEq(), 119);
    w = ParamWrites();
    ASSERT_EQ(w.size(), 119u);
    for (const SentReport& s : w) {
        for (size_t i = 0; i < 5; ++i) {
            ASSERT_EQ(s.Word(i), flat[i]) << s.block << "," << s.param;
        }
    }
}

TEST_F(EqBandsTest, ResendAllEqCountsPerBlockAfterStartUp)
{
    EXPECT_EQ(ResendAllEq(), 119);
    std::map<int, int> perBlock;
    std::map<int, int> lastParam;
    for (const SentReport& s : Sent()) {
        ASSERT_EQ(s.command, kCmdWriteParam); // the band memory is not rewritten
        ASSERT_EQ(s.count, 5);
        ASSERT_EQ(s.param, perBlock[s.block]) << "bands go out in order";
        ++perBlock[s.block];
    }
    const std::map<int, int> expected = {{1, 20}, {2, 14}, {3, 14}, {4, 11}, {5, 10},
                                         {6, 10}, {7, 10}, {8, 20}, {9, 10}};
    EXPECT_EQ(perBlock, expected);
    // Blocks in order 1..9.
    int previous = 0;
    for (const SentReport& s : Sent()) {
        EXPECT_GE(s.block, previous);
        previous = s.block;
    }
}

TEST_F(EqBandsTest, ResendAllEqDesignsFromTheChannelBRecords)
{
    ASSERT_TRUE(StoreEqBand(1, 15, 4.0, 3000, 2.0, EQ_TYPE_PEQ)); // mic B band 5
    ASSERT_TRUE(StoreEqBand(3, 9, -2.0, 700, 0.5, EQ_TYPE_HS));   // reverb B band 2
    sink.Clear();
    ResendAllEq();
    const auto w = ParamWrites();
    for (const SentReport& s : w) {
        if (s.Is(1, 15)) {
            ExpectBiquadOf(s, 1, 15, LoadEqBand(1, 15));
            EXPECT_NEAR(s.Float(2), 1.0, 0.5); // a boosting peak, not a flat section
            EXPECT_NE(s.Float(2), 1.0f);
        }
        if (s.Is(3, 9)) {
            ExpectBiquadOf(s, 3, 9, EqBand{-2.0, 700, 0.5, EQ_TYPE_HS});
        }
    }
}

TEST_F(EqBandsTest, ResendEqResendsTheEditableBandsOfAPageKind)
{
    struct Row
    {
        int kind;
        int bands;
        int block;
        int firstParam;
        int firstOffset;
    };
    const Row rows[] = {{0, 10, 4, 0, 336}, {1, 10, 1, 0, 0},   {3, 10, 7, 0, 609},
                        {4, 10, 6, 0, 511}, {5, 10, 5, 0, 413}, {6, 7, 3, 0, 238},
                        {7, 7, 2, 0, 140},  {8, 10, 1, 10, 70}, {9, 7, 3, 7, 287},
                        {10, 7, 2, 7, 189}, {11, 10, 9, 0, 847}};
    const std::vector<uint8_t> before = DeviceImage.Snapshot();
    for (const Row& r : rows) {
        sink.Clear();
        EXPECT_EQ(ResendEq(r.kind), r.bands);
        const auto sent = Sent();
        ASSERT_EQ(sent.size(), static_cast<size_t>(2 * r.bands)) << "kind " << r.kind;
        for (int i = 0; i < r.bands; ++i) {
            const SentReport& mem = sent[static_cast<size_t>(2 * i)];
            EXPECT_EQ(mem.command, kCmdWriteBlock);
            EXPECT_EQ(mem.address, r.firstOffset + 7 * i);
            ExpectBiquadOf(sent[static_cast<size_t>(2 * i + 1)], r.block, r.firstParam + i,
                           LoadEqBand(r.block, r.firstParam + i));
        }
    }
    // Re-sending rewrites each record with the same bytes.
    EXPECT_EQ(DeviceImage.Snapshot(), before);
    sink.Clear();
    EXPECT_EQ(ResendEq(EQ_KIND_SUB), 0);
    EXPECT_EQ(ResendEq(12), 0);
    EXPECT_EQ(sink.Count(), 0u);
}

TEST_F(EqBandsTest, CopyEqRules)
{
    // Music (10 bands) to echo A (7 bands): 7 records copied, the eighth echo byte untouched.
    for (int band = 0; band < 10; ++band) {
        StoreEqBand(4, band, 1.0 + band, 100 + 50 * band, 0.9, EQ_TYPE_PEQ);
    }
    const std::vector<uint8_t> echoB = [] {
        std::vector<uint8_t> v(49);
        DeviceImage.Read(189, v);
        return v;
    }();
    sink.Clear();
    ASSERT_TRUE(CopyEq(EQ_KIND_MUSIC, EQ_KIND_ECHO_A));
    for (int band = 0; band < 7; ++band) {
        EXPECT_EQ(RecordAt(140 + 7 * band), RecordAt(336 + 7 * band)) << band;
    }
    std::vector<uint8_t> echoBAfter(49);
    DeviceImage.Read(189, echoBAfter);
    EXPECT_EQ(echoBAfter, echoB);
    // The target is re-sent: 7 memory writes and 7 echo biquads 0..6.
    int biquads = 0;
    for (const SentReport& s : Sent()) {
        if (s.command == kCmdWriteParam) {
            EXPECT_EQ(s.block, 2);
            EXPECT_EQ(s.param, biquads++);
        }
    }
    EXPECT_EQ(biquads, 7);

    // Echo B (7) to mic A (10): only bands 0..6 change.
    const EqBandRecord micA7 = RecordAt(49);
    ASSERT_TRUE(CopyEq(EQ_KIND_ECHO_B, EQ_KIND_MIC_A));
    EXPECT_EQ(RecordAt(0), RecordAt(189));
    EXPECT_EQ(RecordAt(42), RecordAt(189 + 42));
    EXPECT_EQ(RecordAt(49), micA7);

    // From or to the Sub, or outside 0..11: refused, nothing changes or is sent.
    const std::vector<uint8_t> before = DeviceImage.Snapshot();
    sink.Clear();
    EXPECT_FALSE(CopyEq(EQ_KIND_SUB, EQ_KIND_MAIN));
    EXPECT_FALSE(CopyEq(EQ_KIND_MAIN, EQ_KIND_SUB));
    EXPECT_FALSE(CopyEq(12, EQ_KIND_MAIN));
    EXPECT_FALSE(CopyEq(EQ_KIND_MAIN, -1));
    EXPECT_EQ(DeviceImage.Snapshot(), before);
    EXPECT_EQ(sink.Count(), 0u);
}

TEST_F(EqBandsTest, ResetEqContents)
{
    // Spoil every band first, so the reset has to write each one.
    for (int kind = 0; kind < kEqPanelKindCount; ++kind) {
        for (int band = 0; band < EqRegionBandCount(kind); ++band) {
            SetEqBand(kind, band, EQ_TYPE_HS, 5.0, 4321, 3.0);
        }
    }
    const std::array<int, 10> ten = {31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
    const std::array<int, 7> seven = {63, 125, 250, 500, 1000, 2300, 5000};
    for (int kind = 0; kind < kEqPanelKindCount; ++kind) {
        sink.Clear();
        ASSERT_TRUE(ResetEq(kind));
        const int start = EqRegionStart(kind);
        const int total = EqRegionBandCount(kind);
        int reset = 0;
        if (kind == EQ_KIND_SUB) {
            const int slotFreqs[4] = {20, 31, 40, 62};
            for (int band = 0; band < 16; ++band) {
                EXPECT_EQ(RecordAt(start + 7 * band),
                          EncodeEqBand({0.0, slotFreqs[band / 4], 1.41, EQ_TYPE_PEQ}))
                    << band;
            }
            EXPECT_EQ(RecordAt(start + 7 * 16), EncodeEqBand({0.0, 100, 1.414, 18}));
            EXPECT_EQ(RecordAt(start + 7 * 17), EncodeEqBand({0.0, 100, 1.414, 20}));
            EXPECT_EQ(RecordAt(start + 7 * 18), EncodeEqBand({0.0, 100, 1.414, EQ_TYPE_PEQ}));
            EXPECT_EQ(RecordAt(start + 7 * 19), EncodeEqBand({0.0, 100, 1.414, EQ_TYPE_PEQ}));
            reset = 20;
        } else {
            const bool sevenBand = EqEditableBandCount(kind) == 7;
            reset = sevenBand ? 7 : 10;
            for (int band = 0; band < reset; ++band) {
                const int f =
                    sevenBand ? seven[static_cast<size_t>(band)] : ten[static_cast<size_t>(band)];
                EXPECT_EQ(RecordAt(start + 7 * band), EncodeEqBand({0.0, f, 1.41, EQ_TYPE_PEQ}))
                    << "kind " << kind << " band " << band;
            }
        }
        // The music low-pass and the delay splits keep their values.
        for (int band = reset; band < total; ++band) {
            EXPECT_EQ(RecordAt(start + 7 * band), EncodeEqBand({5.0, 4321, 3.0, EQ_TYPE_HS}))
                << "kind " << kind << " band " << band;
        }
        // Each reset band is stored on the processor and its biquad sent.
        EXPECT_EQ(sink.Count(), static_cast<size_t>(2 * reset)) << "kind " << kind;
    }
    EXPECT_FALSE(ResetEq(12));
}

// A Q of 0.251 would come back as 0.250 if a resend re-encoded the decoded band.
TEST_F(EqBandsTest, ResendingNeverDriftsAStoredBand)
{
    const EqBandRecord stored = {0x00, 0x96, 0x03, 0xE8, 0x00, 0xFB, EQ_TYPE_PEQ}; // Q 0.251
    DeviceImage.Write(413, stored);
    for (int i = 0; i < 5; ++i) {
        ResendEq(EQ_KIND_MAIN);
        ASSERT_TRUE(CopyEq(EQ_KIND_MAIN, EQ_KIND_REAR));
        ASSERT_TRUE(CopyEq(EQ_KIND_REAR, EQ_KIND_MAIN));
    }
    EXPECT_EQ(RecordAt(413), stored);
    EXPECT_EQ(RecordAt(511), stored);
    const auto sent = Sent();
    ASSERT_FALSE(sent.empty());
    for (const SentReport& s : sent) {
        if (s.command == kCmdWriteBlock && (s.address == 413 || s.address == 511)) {
            EXPECT_EQ(s.data, std::vector<uint8_t>(stored.begin(), stored.end()));
        }
    }
}
