// The range table of every stored value and the limiting of settings from outside.
#include "model/CellRanges.h"

#include "model/DeviceMemory.h"
#include "model/EqBandRecord.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "model/SoundFieldGeometry.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {
uint32_t Int(int32_t v)
{
    return static_cast<uint32_t>(v);
}
uint32_t Flt(float v)
{
    return std::bit_cast<uint32_t>(v);
}
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class CellRanges : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ParamStore.ResetToDefaults();
        ResetDeviceMemoryToStartup();
    }
    void TearDown() override
    {
        ParamStore.ResetToDefaults();
        ResetDeviceMemoryToStartup();
    }
};
} // namespace

TEST_F(CellRanges, EveryCellHasOneRowFoundByNumberAndByName)
{
    ASSERT_EQ(AllCellRanges().size(), static_cast<size_t>(kCellCount));
    for (int cell = kFirstCell; cell <= kLastCell; ++cell) {
        const CellRange* r = FindCellRange(cell);
        ASSERT_NE(r, nullptr) << cell;
        EXPECT_EQ(r->cell, cell);
        EXPECT_LE(r->min, r->max) << CellName(*r);
        EXPECT_GT(r->step, 0.0) << CellName(*r);
        EXPECT_EQ(FindCellRange(std::string(CellName(*r))), r);
        // Without the prefix and in any letter case.
        std::string bare = std::string(CellName(*r)).substr(4);
        for (char& c : bare) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        EXPECT_EQ(FindCellRange(bare), r) << bare;
    }
    EXPECT_EQ(FindCellRange(25), nullptr);
    EXPECT_EQ(FindCellRange(185), nullptr);
    EXPECT_EQ(FindCellRange("PRM_NO_SUCH_CELL"), nullptr);
    EXPECT_EQ(FindCellRange(""), nullptr);
}

TEST_F(CellRanges, RangesOfTheEditingControls)
{
    struct Case
    {
        int cell;
        CellKind kind;
        double min;
        double max;
        const char* text;
    };
    const Case cases[] = {
        {PRM_MIC_VOL, CellKind::Percent, 0, 99, "0..99%"},
        {PRM_MICPORT3_TO_B, CellKind::Routing, 0, 100, "0 or 100"},
        {PRM_MICA_PHASE, CellKind::Switch, 0, 1, "0 or 1"},
        {PRM_MICB_SHIFT, CellKind::Hertz, 1, 8, "1..8 Hz"},
        {PRM_MICPORT2_NG, CellKind::Level, 0, 100, "0..100"},
        {PRM_MIC_NG_RELEASE, CellKind::GateTime, 1, 100, "1..100"},
        {PRM_ECHOA_PREDELAY2, CellKind::Milliseconds, 1.5, 100, "1.5..100 ms"},
        {PRM_ECHOB_TIME, CellKind::Milliseconds, 2, 260, "2..260 ms"},
        {PRM_ECHOA_DECAY, CellKind::Percent, 20, 90, "20..90%"},
        {PRM_REVB_TIME, CellKind::Hundredths, 0, 100, "0..100"},
        {PRM_REVERB_VOL, CellKind::Percent, 0, 99, "0..99%"},
        {PRM_AUX2_GAIN, CellKind::Percent, 0, 100, "0..100%"},
        {PRM_MUSIC_PITCH, CellKind::Steps, -5, 5, "-5..5 steps"},
        {PRM_AUX1_ON, CellKind::Routing, 0, 100, "0 or 100"},
        {PRM_MAIN_MIX_MUSIC, CellKind::Percent, 0, 100, "0..100%"},
        {PRM_MAIN_COMP_THRESHOLD, CellKind::Decibels, -60, 0, "-60..0 dB"},
        {PRM_REAR_COMP_RATIO, CellKind::Ratio, 1, 30, "1..30:1"},
        {PRM_TOP_COMP_ATTACK, CellKind::Milliseconds, 1, 100, "1..100 ms"},
        {PRM_CENTER_COMP_RELEASE, CellKind::Milliseconds, 1, 1000, "1..1000 ms"},
        {PRM_TOPR_DELAY, CellKind::Milliseconds, 1.5, 100, "1.5..100 ms"},
        {PRM_REARL_DELAY_MODE, CellKind::Switch, 0, 1, "0 or 1"},
        {PRM_MAIN_SURROUND, CellKind::Percent, 0, 50, "0..50%"},
        {PRM_TOP_SURROUND, CellKind::Percent, 0, 50, "0..50%"},
        {PRM_CENTER_DELAY, CellKind::Milliseconds, 1.5, 100, "1.5..100 ms"},
        {PRM_CENTER_MUTE, CellKind::Switch, 0, 1, "0 or 1"},
        {PRM_SUB_MIX_ECHO, CellKind::Percent, 0, 100, "0..100%"},
        {PRM_SUB_MIX_MUSIC, CellKind::Percent, 0, 300, "0..300%"},
        {PRM_SUB_COMP_BYPASS, CellKind::Switch, 0, 1, "0 or 1"},
        {PRM_SUB_DELAY, CellKind::Milliseconds, 1.5, 100, "1.5..100 ms"},
        {PRM_SUB_MUTE, CellKind::Switch, 0, 1, "0 or 1"},
        {PRM_MUSIC_AGC_LEVEL, CellKind::Decibels, -50, 0, "-50..0 dB"},
        {PRM_MIC_BOOST_ON2, CellKind::Switch, 0, 1, "0 or 1"},
        {PRM_MUSIC_LPF_DELAY, CellKind::Milliseconds, 0, 20, "0..20 ms"},
        {PRM_MUSIC_LPF_GAIN, CellKind::Percent, 0, 800, "0..800%"},
    };
    for (const Case& c : cases) {
        const CellRange* r = FindCellRange(c.cell);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->kind, c.kind) << CellName(*r);
        EXPECT_EQ(r->min, c.min) << CellName(*r);
        EXPECT_EQ(r->max, c.max) << CellName(*r);
        EXPECT_EQ(CellRangeText(*r), c.text) << CellName(*r);
    }
}

TEST_F(CellRanges, OutputGroupsShareTheirLayout)
{
    // Main, Rear and Top: eighteen cells each, the same kinds and ranges in the same order.
    for (int offset = 0; offset < 18; ++offset) {
        const CellRange* main = FindCellRange(PRM_MAIN_MIX_DIRECT + offset);
        for (int first : {PRM_REAR_MIX_DIRECT, PRM_TOP_MIX_DIRECT}) {
            const CellRange* other = FindCellRange(first + offset);
            EXPECT_EQ(other->kind, main->kind) << CellName(*other);
            EXPECT_EQ(other->min, main->min) << CellName(*other);
            EXPECT_EQ(other->max, main->max) << CellName(*other);
        }
    }
    // Float cells are exactly the ones the store keeps as floats, and only they have a unit
    // of time, level or ratio, apart from the integer music low-frequency delay.
    for (const CellRange& r : AllCellRanges()) {
        const bool timeLevelRatio = r.kind == CellKind::Milliseconds ||
                                    r.kind == CellKind::Decibels || r.kind == CellKind::Ratio ||
                                    r.kind == CellKind::Hundredths;
        EXPECT_EQ(IsFloatCellRange(r), timeLevelRatio && r.cell != PRM_MUSIC_LPF_DELAY)
            << CellName(r);
    }
}

TEST_F(CellRanges, ValuesASetterMayTake)
{
    struct Case
    {
        int cell;
        double value;
        bool allowed;
    };
    const Case cases[] = {
        {PRM_MIC_VOL, 99, true},
        {PRM_MIC_VOL, 100, false},
        {PRM_MIC_VOL, -1, false},
        {PRM_MIC_VOL, 50.5, false}, // an integer cell
        {PRM_MICPORT1_TO_A, 100, true},
        {PRM_MICPORT1_TO_A, 50, false},
        {PRM_MIC_MUTE, 1, true},
        {PRM_MIC_MUTE, 2, false},
        {PRM_MUSIC_PITCH, -5, true},
        {PRM_MUSIC_PITCH, 6, false},
        {PRM_MAINL_DELAY, 1.5, true},
        {PRM_MAINL_DELAY, 1.4, false},
        {PRM_MAINL_DELAY, 37.3, true}, // a float cell
        {PRM_MAINL_DELAY, std::nan(""), false},
        {PRM_SUB_MIX_MUSIC, 300, true},
        {PRM_SUB_MIX_MUSIC, 301, false},
        {PRM_MUSIC_AGC_LEVEL, -50, true},
        {PRM_MUSIC_AGC_LEVEL, 0.1, false},
        {PRM_MAIN_COMP_RATIO, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CellValueAllowed(*FindCellRange(c.cell), c.value), c.allowed)
            << ParamCellName(c.cell) << " = " << c.value;
    }
}

TEST_F(CellRanges, StoredValuesAreLimitedToTheirRange)
{
    struct Case
    {
        int cell;
        uint32_t stored;
        uint32_t limited;
    };
    const Case cases[] = {
        // In range: unchanged.
        {PRM_MIC_VOL, Int(55), Int(55)},
        {PRM_MUSIC_PITCH, Int(-5), Int(-5)},
        {PRM_MAINL_DELAY, Flt(37.25f), Flt(37.25f)},
        {PRM_SUB_MIX_MUSIC, Int(300), Int(300)},
        // What a damaged file brings.
        {PRM_REVERB_VOL, Int(-1225543), Int(0)},
        {PRM_MUSIC_PITCH, Int(1429353428), Int(5)},
        {PRM_MUSIC_PITCH, Int(-6), Int(-5)},
        {PRM_SPDIF_GAIN, Int(193662649), Int(100)},
        {PRM_MIC_VOL, Int(100), Int(99)},
        {PRM_ECHOA_DECAY, Int(977436754), Int(90)},
        {PRM_ECHOB_DECAY, Int(5), Int(20)},
        {PRM_MAIN_MIX_MUSIC, Int(101), Int(100)},
        {PRM_SUB_MIX_MUSIC, Int(301), Int(300)},
        {PRM_MAIN_SURROUND, Int(51), Int(50)},
        {PRM_MUSIC_LPF_GAIN, Int(801), Int(800)},
        {PRM_MUSIC_LPF_DELAY, Int(2147483647), Int(20)},
        {PRM_MIC_NG_ATTACK, Int(101), Int(100)},
        {PRM_MICA_SHIFT, Int(9), Int(8)},
        // Choices: at or below the lowest choice, the lowest; anything else, the highest.
        {PRM_MICPORT2_TO_A, Int(50), Int(100)},
        {PRM_MICPORT2_TO_A, Int(-3), Int(0)},
        {PRM_SPDIF_ON, Int(1), Int(100)},
        {PRM_MAIN_MUTE, Int(7), Int(1)},
        {PRM_MAIN_MUTE, Int(-7), Int(0)},
        // Floats.
        {PRM_MAINL_DELAY, Flt(2147483647.0f), Flt(100.0f)},
        {PRM_SUB_DELAY, Flt(1.0f), Flt(1.5f)},
        {PRM_CENTER_DELAY, Flt(-kInf), Flt(1.5f)},
        {PRM_ECHOA_TIME, Flt(300.0f), Flt(260.0f)},
        {PRM_REVA_PREDELAY1, Flt(150.0f), Flt(100.0f)},
        {PRM_REVB_TIME, Flt(-1.0f), Flt(0.0f)},
        {PRM_MAIN_COMP_THRESHOLD, Flt(6.0f), Flt(0.0f)},
        {PRM_REAR_COMP_RATIO, Flt(0.5f), Flt(1.0f)},
        {PRM_TOP_COMP_RELEASE, Flt(5000.0f), Flt(1000.0f)},
        {PRM_MUSIC_AGC_LEVEL, Flt(-60.0f), Flt(-50.0f)},
        // A float that is not a number returns to the start-up value.
        {PRM_ECHOB_TIME, Flt(kNaN), Flt(217.0f)},
        {PRM_MAINR_DELAY, Flt(kNaN), Flt(0.0f)},
        // The start-up value is kept even where the editor's range leaves it out.
        {PRM_MAINL_DELAY, Flt(0.0f), Flt(0.0f)},
        {PRM_SUB_COMP_RATIO, Flt(0.0f), Flt(0.0f)},
        {PRM_ECHOA_DECAY, Int(0), Int(0)},
        {PRM_MUSIC_NG_RELEASE, Int(0), Int(0)},
        {PRM_MICB_SHIFT, Int(0), Int(0)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LimitCellBits(c.cell, c.stored), c.limited)
            << ParamCellName(c.cell) << " from 0x" << std::hex << c.stored;
        EXPECT_EQ(CellBitsInRange(c.cell, c.stored), c.stored == c.limited)
            << ParamCellName(c.cell);
    }
    // Outside the store nothing is touched.
    EXPECT_EQ(LimitCellBits(200, 12345u), 12345u);
}

TEST_F(CellRanges, TheStartUpSettingIsInRangeAndStaysExactlyAsItIs)
{
    const std::vector<uint8_t> image = DeviceImage.Snapshot();
    const std::vector<uint8_t> b945 = Block945.Snapshot();
    EXPECT_EQ(LimitCurrentSetting(), 0);
    EXPECT_EQ(DeviceImage.Snapshot(), image);
    EXPECT_EQ(Block945.Snapshot(), b945);
    for (int cell = kFirstCell; cell <= kLastCell; ++cell) {
        EXPECT_EQ(ParamStore.GetBits(cell), StartupCellBits(cell)) << ParamCellName(cell);
    }
    EXPECT_EQ(StartupCellBits(PRM_ECHOA_TIME), Flt(217.0f));
    EXPECT_EQ(StartupCellBits(PRM_ECHOB_P26), Int(60));
}

TEST_F(CellRanges, BandRecordsAreLimitedFieldByField)
{
    struct Case
    {
        EqBandRecord stored;
        EqBandRecord limited;
        int changed;
    };
    const Case cases[] = {
        // 0 dB, 1000 Hz, Q 1.414, PEQ: unchanged.
        {{0x00, 0x96, 0x03, 0xE8, 0x05, 0x86, 1}, {0x00, 0x96, 0x03, 0xE8, 0x05, 0x86, 1}, 0},
        // Type 22 becomes off; the Q range of off is peaking's.
        {{0x00, 0x96, 0x03, 0xE8, 0x05, 0x86, 22}, {0x00, 0x96, 0x03, 0xE8, 0x05, 0x86, 0}, 1},
        // Gain above +15 dB (raw 301), frequency 0 and Q above 30.
        {{0x01, 0x2D, 0x00, 0x00, 0x75, 0x31, 1}, {0x01, 0x2C, 0x00, 0x14, 0x75, 0x30, 1}, 3},
        // Frequency above 20000 Hz, Q below 0.1.
        {{0x00, 0x00, 0xFF, 0xFF, 0x00, 0x63, 1}, {0x00, 0x00, 0x4E, 0x20, 0x00, 0x64, 1}, 2},
        // Low shelf: Q at most 2; high pass likewise.
        {{0x00, 0x96, 0x00, 0x64, 0x07, 0xD1, 4}, {0x00, 0x96, 0x00, 0x64, 0x07, 0xD0, 4}, 1},
        {{0x00, 0x96, 0x00, 0x64, 0x27, 0x10, 3}, {0x00, 0x96, 0x00, 0x64, 0x07, 0xD0, 3}, 1},
        // A crossover section keeps a Q its slot had as a peaking band.
        {{0x00, 0x96, 0x00, 0x64, 0x27, 0x10, 18}, {0x00, 0x96, 0x00, 0x64, 0x27, 0x10, 18}, 0},
        // Everything at once: type 255 to off, then every field.
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {0x01, 0x2C, 0x4E, 0x20, 0x75, 0x30, 0}, 4},
    };
    for (const Case& c : cases) {
        EqBandRecord r = c.stored;
        EXPECT_EQ(LimitEqBandRecord(r), c.changed);
        EXPECT_EQ(r, c.limited);
    }
    EXPECT_EQ(BandQRangeForType(EQ_TYPE_PEQ).maxRaw, 30000);
    EXPECT_EQ(BandQRangeForType(EQ_TYPE_HS).maxRaw, 2000);
    EXPECT_EQ(BandQRangeForType(EQ_TYPE_LP).minRaw, 100);
}

TEST_F(CellRanges, BandImageLimitsEveryWholeRecord)
{
    std::vector<uint8_t> image(3 * kBandRecordSize + 3, 0xFF);
    EXPECT_EQ(LimitBandImage(image), 12);
    for (size_t at = 0; at < 3 * kBandRecordSize; at += kBandRecordSize) {
        EXPECT_EQ(image[at + 6], 0);
        EXPECT_EQ(image[at + 2] << 8 | image[at + 3], kBandFreqMax);
    }
    // The partial record at the end is not a record.
    EXPECT_EQ(image.back(), 0xFF);
}

TEST_F(CellRanges, GeometryLevelsAndBoostBlocks)
{
    Block945Bytes geometry = EncodeSoundFieldGeometry(DefaultSoundFieldGeometry());
    EXPECT_EQ(LimitBlock945(geometry), 0);
    geometry[0] = 0;    // room width 0
    geometry[1] = 200;  // room length 200 m
    geometry[2] = 0x33; // +5.1 m
    geometry[3] = 0xFF; // -12.7 m
    geometry[4] = 0xB2; // -5.0 m: the largest room's edge, kept
    EXPECT_EQ(LimitBlock945(geometry), 4);
    EXPECT_EQ(geometry[0], 1);
    EXPECT_EQ(geometry[1], 10);
    EXPECT_EQ(geometry[2], 0x32);
    EXPECT_EQ(geometry[3], 0xB2);
    EXPECT_EQ(geometry[4], 0xB2);

    std::array<uint8_t, 32> levels{};
    EXPECT_EQ(LimitBlock965(levels), 0); // eight levels of 0 dB
    const auto put = [&levels](size_t slot, float v) {
        const auto bits = std::bit_cast<uint32_t>(v);
        for (size_t i = 0; i < 4; ++i) {
            levels[4 * slot + i] = static_cast<uint8_t>(bits >> (24 - 8 * i));
        }
    };
    const auto get = [&levels](size_t slot) {
        uint32_t bits = 0;
        for (size_t i = 0; i < 4; ++i) {
            bits = bits << 8 | levels[4 * slot + i];
        }
        return std::bit_cast<float>(bits);
    };
    put(0, 3.0f);
    put(1, -39.4f);
    put(2, 4.0f);
    put(3, -1e9f);
    put(4, kNaN);
    EXPECT_EQ(LimitBlock965(levels), 3);
    EXPECT_EQ(get(0), 3.0f);
    EXPECT_EQ(get(1), -39.4f);
    EXPECT_EQ(get(2), kSpeakerLevelMaxDb);
    EXPECT_EQ(get(3), kSpeakerLevelMinDb);
    EXPECT_EQ(get(4), 0.0f);

    std::array<uint8_t, 2> boost{0xC0, 0xC0}; // -6 dB
    EXPECT_EQ(LimitBlock997(boost), 0);
    boost = {0xC2, 0x48}; // -50 dB
    EXPECT_EQ(LimitBlock997(boost), 1);
    EXPECT_EQ(boost, (std::array<uint8_t, 2>{0xC2, 0x20})); // -40 dB
    boost = {0x40, 0xC0};                                   // +6 dB
    EXPECT_EQ(LimitBlock997(boost), 1);
    EXPECT_EQ(boost, (std::array<uint8_t, 2>{0x00, 0x00}));
    boost = {0xFF, 0xC0}; // not a number
    EXPECT_EQ(LimitBlock997(boost), 1);
    EXPECT_EQ(boost, (std::array<uint8_t, 2>{0x00, 0x00}));
}

TEST_F(CellRanges, RandomSettingIsBroughtIntoRangeOnceAndCounted)
{
    std::mt19937 random(4620);
    for (int cell = kFirstCell; cell <= kLastCell; ++cell) {
        ParamStore.SetBits(cell, static_cast<uint32_t>(random()));
    }
    std::vector<uint8_t> bytes(kDeviceImageSize);
    for (uint8_t& b : bytes) {
        b = static_cast<uint8_t>(random());
    }
    DeviceImage.Write(0, bytes);
    for (MemoryMirror* m : {&Block945, &Block965, &Block997}) {
        for (size_t i = 0; i < m->Size(); ++i) {
            m->Set(i, 0xEE);
        }
    }
    const int limited = LimitCurrentSetting();
    EXPECT_GT(limited, kCellCount);
    for (int cell = kFirstCell; cell <= kLastCell; ++cell) {
        EXPECT_TRUE(CellBitsInRange(cell, ParamStore.GetBits(cell))) << ParamCellName(cell);
    }
    // The geometry was decoded again from the limited block.
    const SoundFieldGeometry g = CurrentSoundFieldGeometry();
    EXPECT_EQ(g.width, kMaxRoomMetres);
    EXPECT_LE(std::fabs(g.points[0].x), 5.0f);
    // A second pass finds nothing left.
    EXPECT_EQ(LimitCurrentSetting(), 0);
}
