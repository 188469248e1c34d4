#include "dsp/Dynamics.h"

#include "dsp/DspFixture.h"
#include "dsp/EqBands.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <numeric>

namespace {
using DynamicsTest = DspFixture;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

uint32_t Bits(float f)
{
    return std::bit_cast<uint32_t>(f);
}
} // namespace

TEST(CompressorValues, RatioWord)
{
    struct Row
    {
        float ratio;
        float word;
    };
    // Ratios below 1 (0 in the start-up cells) and NaN would give -inf or NaN: ratio 1.
    const Row rows[] = {{1.0f, 0.0f}, {4.0f, 0.75f}, {2.0f, 0.5f},  {30.0f, 1.0f - 1.0f / 30.0f},
                        {0.0f, 0.0f}, {0.5f, 0.0f},  {-3.0f, 0.0f}, {kNaN, 0.0f}};
    for (const Row& r : rows) {
        const auto v = CompressorValues({-20.0f, r.ratio, 10.0f, 100.0f});
        EXPECT_EQ(v[2], r.word) << "ratio " << r.ratio;
    }
}

TEST(CompressorValues, TimeWordsAndConstants)
{
    const auto v = CompressorValues({-12.0f, 4.0f, 10.0f, 500.0f});
    EXPECT_EQ(v[0], -12.0f);
    EXPECT_EQ(Bits(v[1]), 0u);
    EXPECT_EQ(Bits(v[3]), 0x41A00000u); // 20.0
    EXPECT_EQ(Bits(v[4]), 0x3D4CCCCDu); // 0.05
    EXPECT_NEAR(v[5], 0.0020812, 1e-7);
    EXPECT_EQ(v[5], static_cast<float>(1.0 - std::exp(-1.0 / 480.0)));
    EXPECT_EQ(v[6], static_cast<float>(1.0 - std::exp(-1.0 / 24000.0)));
}

TEST(CompressorValues, NoNonFiniteWordForAnyInput)
{
    const float oneMs = static_cast<float>(1.0 - std::exp(-1.0 / 48.0));
    const float odd[] = {0.0f, -5.0f, kNaN, -kInf, kInf};
    for (float t : odd) {
        const auto v = CompressorValues({t, t, t, t});
        for (size_t i = 0; i < v.size(); ++i) {
            EXPECT_TRUE(std::isfinite(v[i])) << "input " << t << " word " << i;
        }
    }
    // Times not above 0 take the page's 1 ms minimum.
    EXPECT_EQ(CompressorValues({0.0f, 1.0f, 0.0f, -1.0f})[5], oneMs);
    EXPECT_EQ(CompressorValues({0.0f, 1.0f, kNaN, kNaN})[6], oneMs);
    EXPECT_EQ(CompressorValues({kNaN, 1.0f, 1.0f, 1.0f})[0], 0.0f);
    EXPECT_EQ(CompressorValues({-kInf, 1.0f, 1.0f, 1.0f})[0], -60.0f);
}

TEST_F(DynamicsTest, WriteCompressorStoresAndSendsEveryOutput)
{
    struct Row
    {
        CompressorOutput output;
        int block, param, firstCell;
    };
    const Row rows[] = {{COMP_MAIN, 5, 19, 103},
                        {COMP_REAR, 6, 19, 121},
                        {COMP_TOP, 9, 19, 139},
                        {COMP_CENTER, 7, 17, 157},
                        {COMP_SUB, 8, 27, 171}};
    for (const Row& r : rows) {
        sink.Clear();
        WriteCompressor(r.output, -30.0f, 4.0f, 10.0f, 200.0f);
        EXPECT_EQ(ParamStore.GetFloat(r.firstCell), -30.0f);
        EXPECT_EQ(ParamStore.GetFloat(r.firstCell + 1), 4.0f);
        EXPECT_EQ(ParamStore.GetFloat(r.firstCell + 2), 10.0f);
        EXPECT_EQ(ParamStore.GetFloat(r.firstCell + 3), 200.0f);
        const auto w = ParamWrites();
        ASSERT_EQ(w.size(), 1u);
        EXPECT_TRUE(w[0].Is(r.block, r.param));
        EXPECT_EQ(w[0].count, 7);
        const auto expected = CompressorValues({-30.0f, 4.0f, 10.0f, 200.0f});
        for (size_t i = 0; i < 7; ++i) {
            EXPECT_EQ(w[0].Float(i), expected[i]);
        }
        for (size_t i = 34; i < kReportSize; ++i) {
            EXPECT_EQ(w[0].raw[i], 0) << "byte " << i;
        }
    }
}

TEST_F(DynamicsTest, CompressorFamilyMembersAndMendedCells)
{
    WriteSubCompressor(-6.0f, 0.0f, 0.0f, kNaN);
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_COMP_RATIO), 1.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_COMP_ATTACK), 1.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_COMP_RELEASE), 1.0f);
    WriteTopCompressor(-1.0f, 2.0f, 3.0f, 4.0f);
    const auto w = ParamWrites();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_TRUE(w[0].Is(8, 27));
    EXPECT_EQ(w[0].Word(2), 0u);
    EXPECT_TRUE(w[1].Is(9, 19));
    EXPECT_EQ(w[1].Float(2), 0.5f);
}

// The start-up cells hold ratio 0 and times 0: the push sends finite words and keeps the cells.
TEST_F(DynamicsTest, SendCompressorFromStartUpCells)
{
    SendCompressor(COMP_CENTER);
    const auto w = ParamWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_TRUE(w[0].Is(7, 17));
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_TRUE(std::isfinite(w[0].Float(i))) << i;
    }
    EXPECT_EQ(w[0].Word(2), 0u);
    EXPECT_EQ(ParamStore.GetFloat(PRM_CENTER_COMP_RATIO), 0.0f);
}

TEST_F(DynamicsTest, CompressorBypassSetters)
{
    struct Row
    {
        void (*set)(int);
        int cell, block, param;
    };
    const Row rows[] = {{SetMainCompressorBypass, 102, 5, 20},
                        {SetRearCompressorBypass, 120, 6, 20},
                        {SetTopCompressorBypass, 138, 9, 20},
                        {SetCenterCompressorBypass, 156, 7, 18},
                        {SetSubCompressorBypass, 170, 8, 28}};
    for (const Row& r : rows) {
        for (int off : {1, 0}) {
            sink.Clear();
            r.set(off);
            EXPECT_EQ(ParamStore.GetInt(r.cell), off);
            const auto w = ParamWrites();
            ASSERT_EQ(w.size(), 1u);
            EXPECT_TRUE(w[0].Is(r.block, r.param));
            EXPECT_EQ(w[0].count, 1);
            EXPECT_EQ(w[0].Word(0), static_cast<uint32_t>(off));
        }
    }
}

TEST(LevelBlock, ZeroDbAndMinusTenDb)
{
    auto v = LevelBlock(0.0f, LEVEL_SPEAKER);
    for (size_t i : {0u, 1u, 4u, 5u}) {
        EXPECT_EQ(Bits(v[i]), 0x3F800000u) << i;
    }
    EXPECT_EQ(Bits(v[2]), 0x3F7EFF25u);
    EXPECT_EQ(Bits(v[3]), 0xBFFF7EF1u);
    EXPECT_NEAR(v[2], 0.99608070, 1e-8);
    EXPECT_NEAR(v[3], -1.99606144, 1e-8);

    v = LevelBlock(-10.0f, LEVEL_SPEAKER);
    EXPECT_NEAR(v[0], 0.31623, 1e-5);
    EXPECT_NEAR(v[1], 0.40865, 1e-5);
    EXPECT_EQ(v[4], v[0]);
    EXPECT_EQ(v[5], v[1]);

    v = LevelBlock(-6.0f, LEVEL_MIC_BOOST);
    EXPECT_EQ(Bits(v[2]), 0x3F7D554Au);
    EXPECT_EQ(Bits(v[3]), 0xBFFEA8DCu);
    EXPECT_NEAR(v[2], 0.98958266, 1e-8);
    EXPECT_NEAR(v[3], -1.98952818, 1e-8);

    const auto words = LevelBlockWords(0.0f, LEVEL_SPEAKER);
    const uint8_t head[8] = {0x3F, 0x80, 0x00, 0x00, 0x3F, 0x80, 0x00, 0x00};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(words[i], head[i]);
    }
    EXPECT_EQ(words[8], 0x3F);
    EXPECT_EQ(words[11], 0x25);
}

// The shaped level takes its products in single precision: the double-precision formula
// lands on a different float for some levels, and the processor's tables expect these.
TEST(LevelBlock, ShapedLevelUsesSinglePrecisionProducts)
{
    int differs = 0;
    for (int tenth = -600; tenth <= 120; ++tenth) {
        const float x = static_cast<float>(tenth / 10.0);
        const double xd = static_cast<double>(x);
        const float dbl =
            static_cast<float>(std::pow(10.0, (0.0022594517 * xd * xd + 0.799902 * xd) / 20.0));
        const float got = ShapedLevel(x);
        EXPECT_NEAR(got, dbl, static_cast<double>(std::fabs(dbl)) * 1e-5) << x;
        differs += got != dbl ? 1 : 0;
    }
    EXPECT_GT(differs, 0);
}

// Each rounding step of the shaped level, one statement per step: x^2 in double then single;
// each product and the sum in single; the division and the power in double. A form that keeps
// the sum (or a product) in double lands one step away for some levels.
TEST(LevelBlock, ShapedLevelRoundsAtEveryStep)
{
    const float k1 = 0.0022594517f;
    const float k2 = 0.799902f;
    for (int tenth = -600; tenth <= 120; ++tenth) {
        const float x = static_cast<float>(tenth / 10.0);
        const float square = static_cast<float>(static_cast<double>(x) * static_cast<double>(x));
        const float first = k1 * square;
        const float second = k2 * x;
        const float sum = first + second;
        const double exponent = static_cast<double>(sum) / 20.0;
        const float expected = static_cast<float>(std::pow(10.0, exponent));
        EXPECT_EQ(Bits(ShapedLevel(x)), Bits(expected)) << x;
        EXPECT_EQ(Bits(LevelBlock(x, LEVEL_SPEAKER)[1]), Bits(expected)) << x;
    }
}

TEST(LevelBlock, NonFiniteOrHugeLevelsStayFinite)
{
    for (float x : {kNaN, kInf, -kInf, 1e30f, -1e30f}) {
        for (float v : LevelBlock(x, LEVEL_SPEAKER)) {
            EXPECT_TRUE(std::isfinite(v)) << x;
        }
    }
    EXPECT_EQ(Bits(LevelBlock(kNaN, LEVEL_SPEAKER)[0]), 0x3F800000u);
}

TEST_F(DynamicsTest, SpeakerLevelWritesItsSlotTheBlockAndTheLevelParameter)
{
    struct Row
    {
        Speaker speaker;
        int block, param;
    };
    const Row rows[] = {{SPK_MAIN_L, 5, 28}, {SPK_MAIN_R, 5, 29}, {SPK_REAR_L, 6, 28},
                        {SPK_REAR_R, 6, 29}, {SPK_CENTER, 7, 23}, {SPK_SUB, 8, 33},
                        {SPK_TOP_L, 9, 28},  {SPK_TOP_R, 9, 29}};
    for (const Row& r : rows) {
        sink.Clear();
        WriteSpeakerLevel(r.speaker, -3.5f);
        const auto sent = Sent();
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0].command, kCmdWriteBlock);
        EXPECT_EQ(sent[0].address, 965);
        EXPECT_EQ(sent[0].data, Block965.Snapshot());
        EXPECT_TRUE(sent[1].Is(r.block, r.param));
        EXPECT_EQ(sent[1].count, 6);
        const auto words = LevelBlockWords(-3.5f, LEVEL_SPEAKER);
        EXPECT_TRUE(std::equal(words.begin(), words.end(), sent[1].raw.begin() + 6));
        EXPECT_EQ(SpeakerLevel(r.speaker), -3.5f);
    }
}

TEST_F(DynamicsTest, TopLeftLevelChangesOnlySlotSix)
{
    WriteCenterLevel(-2.0f);
    const std::vector<uint8_t> before = Block965.Snapshot();
    WriteTopLLevel(-7.25f);
    const std::vector<uint8_t> after = Block965.Snapshot();
    for (size_t i = 0; i < 32; ++i) {
        if (i < 24 || i >= 28) {
            EXPECT_EQ(after[i], before[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(GetFloatBE(&after[24]), -7.25f);
    EXPECT_EQ(SpeakerLevel(SPK_CENTER), -2.0f);
}

TEST_F(DynamicsTest, MicBoostStoresUpperBitsAndSendsSixWritesInOrder)
{
    WriteMicBoost(-6.0f);
    EXPECT_EQ(Block997.Get(0), 0xC0);
    EXPECT_EQ(Block997.Get(1), 0xC0);
    EXPECT_EQ(MicBoostLevel(), -6.0f);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(sent[0].command, kCmdWriteBlock);
    EXPECT_EQ(sent[0].address, 997);
    EXPECT_EQ(sent[0].data, (std::vector<uint8_t>{0xC0, 0xC0}));
    const int params[6] = {70, 68, 67, 66, 64, 63};
    const int counts[6] = {6, 1, 1, 6, 1, 1};
    const float g = static_cast<float>(std::pow(10.0, -6.0 / 20.0));
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_TRUE(sent[i + 1].Is(1, params[i])) << i;
        EXPECT_EQ(sent[i + 1].count, counts[i]) << i;
    }
    const auto block = LevelBlockWords(-6.0f, LEVEL_MIC_BOOST);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), sent[1].raw.begin() + 6));
    EXPECT_TRUE(std::equal(block.begin(), block.end(), sent[4].raw.begin() + 6));
    EXPECT_EQ(sent[2].Float(0), g);
    EXPECT_EQ(sent[3].Float(0), 1.0f / g);
    EXPECT_EQ(sent[5].Float(0), g);
    EXPECT_EQ(sent[6].Float(0), 1.0f / g);
}

TEST_F(DynamicsTest, MicBoostFromBlock997UsesTheTruncatedLevel)
{
    WriteMicBoost(-6.3f); // C0 C9 99 9A: only C0 C9 is kept
    EXPECT_EQ(Block997.Get(0), 0xC0);
    EXPECT_EQ(Block997.Get(1), 0xC9);
    EXPECT_EQ(MicBoostLevel(), -6.28125f);
    sink.Clear();
    SendMicBoostLevel();
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(sent[0].address, 997);
    EXPECT_EQ(sent[0].data, (std::vector<uint8_t>{0xC0, 0xC9}));
    const auto w = ParamWrites();
    ASSERT_EQ(w.size(), 6u);
    EXPECT_TRUE(w[0].Is(1, 70));
    EXPECT_EQ(w[1].Float(0), static_cast<float>(std::pow(10.0, -6.28125 / 20.0)));
}

TEST_F(DynamicsTest, UnmutingMusicFadesInWithTenReports)
{
    ParamStore.SetInt(PRM_MUSIC_MUTE, 1);
    SetMusicMute(0);
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_MUTE), 0);
    const auto w = ParamWrites();
    ASSERT_EQ(w.size(), 10u);
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_TRUE(w[i].Is(4, 15));
        EXPECT_EQ(w[i].count, 2);
        const float expected = i < 9 ? static_cast<float>(static_cast<double>(i) / 10.0) : 1.0f;
        EXPECT_EQ(w[i].Float(0), expected) << i;
        EXPECT_EQ(w[i].Float(1), expected) << i;
    }
    EXPECT_EQ(pauses, std::vector<int>(9, 30));
    // A pause after each of the nine steps, none after the final 1.0.
    EXPECT_EQ(pausesAtReport, (std::vector<size_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(DynamicsTest, MutingMusicSendsZeroAtOnce)
{
    SetMusicMute(1);
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_MUTE), 1);
    const auto w = ParamWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_TRUE(w[0].Is(4, 15));
    EXPECT_EQ(w[0].Float(0), 0.0f);
    EXPECT_EQ(w[0].Float(1), 0.0f);
    EXPECT_TRUE(pauses.empty());
}

TEST_F(DynamicsTest, RampVolumesReportCountsAndPauses)
{
    struct Row
    {
        int mic, music;
        int micReports; // per parameter
        int musicReports;
    };
    const Row rows[] = {
        {90, 100, 11, 31}, {79, 69, 1, 1}, {80, 70, 1, 1}, {0, 0, 1, 1}, {100, 85, 21, 16}};
    for (const Row& r : rows) {
        sink.Clear();
        pauses.clear();
        ParamStore.SetInt(PRM_MIC_VOL, r.mic);
        ParamStore.SetInt(PRM_MUSIC_VOL, r.music);
        RampVolumes();
        const auto w = ParamWrites();
        ASSERT_EQ(w.size(), static_cast<size_t>(2 * r.micReports + r.musicReports));
        size_t i = 0;
        for (int target : {20, 33}) {
            for (int k = 0; k < r.micReports; ++k, ++i) {
                EXPECT_TRUE(w[i].Is(1, target)) << i;
                const int step = r.mic < 80 ? r.mic : 80 + k;
                EXPECT_EQ(w[i].Float(0), static_cast<float>(step / 100.0)) << i;
            }
        }
        for (int k = 0; k < r.musicReports; ++k, ++i) {
            EXPECT_TRUE(w[i].Is(4, 11));
            EXPECT_EQ(w[i].count, 6);
            const int step = r.music < 70 ? r.music : 70 + k;
            EXPECT_EQ(w[i].Float(5), static_cast<float>(step / 100.0));
        }
        // The music steps pause 100 ms after each report; a single report does not.
        const int expectedPauses = r.music < 70 ? 0 : r.musicReports;
        EXPECT_EQ(pauses, std::vector<int>(static_cast<size_t>(expectedPauses), 100));
        EXPECT_GE(std::accumulate(pauses.begin(), pauses.end(), 0), r.music == 100 ? 3100 : 0);
    }
}

TEST_F(DynamicsTest, RampOfACorruptVolumeIsBounded)
{
    ParamStore.SetInt(PRM_MIC_VOL, 1000000);
    ParamStore.SetInt(PRM_MUSIC_VOL, 1000000);
    RampVolumes();
    const auto w = ParamWrites();
    // 101 steps and the stored value for each of the three ramps.
    ASSERT_EQ(w.size(), 3u * 102u);
    EXPECT_EQ(w[101].Float(0), 10000.0f);
    EXPECT_EQ(w.back().Float(0), 10000.0f);
}

TEST_F(DynamicsTest, DelaySettersOfEverySide)
{
    struct Row
    {
        DelaySide side;
        int block, delayCell, delayParam, offCell, offParam, modeCell, modeParam;
    };
    const Row rows[] = {
        {DELAY_MAIN_L, 5, 107, 21, 109, 23, 111, 25}, {DELAY_MAIN_R, 5, 108, 22, 110, 24, 112, 26},
        {DELAY_REAR_L, 6, 125, 21, 127, 23, 129, 25}, {DELAY_REAR_R, 6, 126, 22, 128, 24, 130, 26},
        {DELAY_TOP_L, 9, 143, 21, 145, 23, 147, 25},  {DELAY_TOP_R, 9, 144, 22, 146, 24, 148, 26},
        {DELAY_CENTER, 7, 161, 19, 162, 20, 163, 21}, {DELAY_SUB, 8, 175, 29, 176, 30, 177, 31}};
    for (const Row& r : rows) {
        sink.Clear();
        SetDelay(r.side, 217.0f);
        SetDelayOff(r.side, 1);
        const auto w = ParamWrites();
        ASSERT_EQ(w.size(), 2u);
        EXPECT_EQ(ParamStore.GetFloat(r.delayCell), 217.0f);
        EXPECT_TRUE(w[0].Is(r.block, r.delayParam));
        EXPECT_EQ(w[0].Word(0), 10416u);
        EXPECT_EQ(ParamStore.GetInt(r.offCell), 1);
        EXPECT_TRUE(w[1].Is(r.block, r.offParam));
        EXPECT_EQ(w[1].Word(0), 1u);
        const DelaySideCells cells = DelayCellsOf(r.side);
        EXPECT_EQ(cells.modeCell, r.modeCell);
        EXPECT_EQ(cells.modeParam, r.modeParam);
    }
}

TEST_F(DynamicsTest, ShortOrInvalidDelaysBecomeOnePointFiveMs)
{
    for (float ms : {1.0f, 0.0f, -4.0f, kNaN}) {
        sink.Clear();
        SetDelay(DELAY_CENTER, ms);
        EXPECT_EQ(ParamStore.GetFloat(PRM_CENTER_DELAY), 1.5f);
        EXPECT_EQ(ParamWrites()[0].Word(0), 72u);
    }
}

TEST_F(DynamicsTest, DelayModeSendsThePairAndRebuildsTheSplit)
{
    SetDelayMode(DELAY_MAIN_L, 1);
    EXPECT_EQ(ParamStore.GetInt(PRM_MAINL_DELAY_MODE), 1);
    auto w = ParamWrites();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_TRUE(w[0].Is(5, 25));
    EXPECT_EQ(w[0].count, 2);
    EXPECT_EQ(w[0].Float(0), 1.0f);
    EXPECT_EQ(w[0].Float(1), 0.0f);
    EXPECT_TRUE(w[1].Is(5, 10));
    EXPECT_TRUE(w[2].Is(5, 11));
    // Flat stages: a peaking section at 0 dB sends b0 = 1.
    EXPECT_EQ(w[1].Float(2), 1.0f);
    EXPECT_EQ(w[2].Float(2), 1.0f);
    EXPECT_EQ(LoadEqBand(5, 10), (EqBand{0.0, 500, 0.707, EQ_TYPE_PEQ}));
    EXPECT_EQ(LoadEqBand(5, 11), (EqBand{0.0, 1000, 0.707, EQ_TYPE_PEQ}));

    sink.Clear();
    SetDelayMode(DELAY_MAIN_L, 0);
    w = ParamWrites();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0].Float(1), 1.0f);
    EXPECT_EQ(LoadEqBand(5, 10), (EqBand{0.0, 500, 0.707, EQ_TYPE_HP}));
    EXPECT_EQ(LoadEqBand(5, 11), (EqBand{0.0, 1000, 0.707, EQ_TYPE_LP}));
}

TEST_F(DynamicsTest, DelayModeKeepsTheCurrentStep)
{
    SetDelaySplit(DELAY_SUB, 12, false);
    SetDelayMode(DELAY_SUB, 1);
    EXPECT_EQ(LoadEqBand(8, 20), (EqBand{0.0, 1700, 0.707, EQ_TYPE_PEQ}));
    EXPECT_EQ(LoadEqBand(8, 21), (EqBand{0.0, 2200, 0.707, EQ_TYPE_PEQ}));
    SetDelayMode(DELAY_SUB, 0);
    EXPECT_EQ(LoadEqBand(8, 20), (EqBand{0.0, 1700, 0.707, EQ_TYPE_HP}));
    EXPECT_EQ(LoadEqBand(8, 21), (EqBand{0.0, 2200, 0.707, EQ_TYPE_LP}));
}
