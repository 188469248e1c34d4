#include "model/WriteMap.h"

#include "ModelFixture.h"
#include "model/Encodings.h"
#include "model/ParamIds.h"
#include "model/Writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {
enum class Rule
{
    Pct,
    Div4,
    Div5,
    Div7,
    NegPct,
    Int,
    On,
    Smp,
    Float,
    CellPer100,
    Plus5,
    Inverted
};

struct Target
{
    int cell;
    int block;
    int param;
    int count;
    Rule rule;
};

// Which DSP parameters each cell feeds, as the store's table of cells lists them.
std::vector<Target> CellTargets()
{
    using R = Rule;
    std::vector<Target> t = {
        {26, 1, 20, 1, R::Pct},        {26, 1, 33, 1, R::Pct},    {27, 1, 23, 1, R::Pct},
        {28, 1, 24, 1, R::Pct},        {29, 1, 25, 1, R::Pct},    {30, 1, 26, 1, R::Pct},
        {31, 1, 27, 1, R::Int},        {32, 1, 31, 1, R::Int},    {34, 1, 30, 1, R::Int},
        {35, 1, 36, 1, R::Pct},        {36, 1, 37, 1, R::Pct},    {37, 1, 38, 1, R::Pct},
        {38, 1, 39, 1, R::Pct},        {39, 1, 40, 1, R::Int},    {40, 1, 44, 1, R::Int},
        {42, 1, 43, 1, R::Int},        {43, 1, 32, 1, R::On},     {43, 1, 45, 1, R::On},
        {44, 1, 46, 1, R::Pct},        {45, 1, 47, 1, R::Pct},    {46, 1, 48, 1, R::Pct},
        {47, 1, 49, 1, R::Pct},        {48, 1, 50, 1, R::Div4},   {49, 1, 51, 1, R::Div4},
        {50, 1, 52, 1, R::Div4},       {51, 1, 53, 1, R::Div4},   {52, 1, 54, 1, R::Div5},
        {53, 1, 55, 1, R::Div7},       {54, 1, 57, 1, R::Int},    {55, 1, 58, 1, R::Pct},
        {56, 2, 14, 1, R::Int},        {57, 2, 15, 1, R::Pct},    {58, 2, 16, 1, R::Smp},
        {59, 2, 17, 1, R::Smp},        {60, 2, 18, 1, R::Smp},    {61, 2, 19, 1, R::Pct},
        {62, 2, 20, 1, R::NegPct},     {63, 2, 21, 1, R::Int},    {64, 2, 22, 1, R::Pct},
        {65, 2, 23, 1, R::Smp},        {66, 2, 24, 1, R::Smp},    {67, 2, 25, 1, R::Smp},
        {68, 2, 26, 1, R::Pct},        {69, 2, 27, 1, R::NegPct}, {70, 2, 28, 2, R::Pct},
        {71, 2, 29, 2, R::On},         {72, 3, 14, 1, R::Int},    {73, 3, 15, 1, R::Pct},
        {74, 3, 16, 1, R::Smp},        {75, 3, 17, 1, R::Smp},    {76, 3, 18, 1, R::CellPer100},
        {76, 3, 19, 1, R::CellPer100}, {77, 3, 20, 1, R::Int},    {78, 3, 21, 1, R::Pct},
        {79, 3, 22, 1, R::Smp},        {80, 3, 23, 1, R::Smp},    {81, 3, 24, 1, R::CellPer100},
        {81, 3, 25, 1, R::CellPer100}, {82, 3, 26, 2, R::Pct},    {83, 3, 27, 2, R::On},
        {84, 4, 11, 6, R::Pct},        {85, 4, 12, 2, R::Pct},    {86, 4, 13, 2, R::Pct},
        {87, 4, 14, 2, R::Pct},        {89, 4, 16, 1, R::Int},    {90, 4, 19, 1, R::Plus5},
        {91, 4, 21, 1, R::Pct},        {92, 4, 22, 1, R::Pct},    {93, 4, 23, 1, R::Pct},
        {94, 4, 24, 1, R::Div4},       {95, 4, 25, 1, R::Div5},   {96, 4, 26, 1, R::Div7},
        {151, 7, 12, 1, R::Pct},       {152, 7, 13, 1, R::Pct},   {153, 7, 14, 1, R::Pct},
        {154, 7, 15, 1, R::Pct},       {155, 7, 16, 1, R::Int},   {156, 7, 18, 1, R::Int},
        {161, 7, 19, 1, R::Smp},       {162, 7, 20, 1, R::Int},   {164, 7, 22, 1, R::On},
        {165, 8, 22, 1, R::Pct},       {166, 8, 23, 1, R::Pct},   {167, 8, 24, 1, R::Pct},
        {168, 8, 25, 1, R::Pct},       {169, 8, 26, 1, R::Int},   {170, 8, 28, 1, R::Int},
        {175, 8, 29, 1, R::Smp},       {176, 8, 30, 1, R::Int},   {178, 8, 32, 1, R::On},
        {179, 4, 17, 1, R::Int},       {180, 4, 18, 1, R::Float}, {181, 1, 65, 1, R::Inverted},
        {181, 1, 69, 1, R::Inverted},  {183, 4, 30, 1, R::Smp},   {184, 4, 31, 1, R::Pct},
    };
    // Main, Rear and Top: mix x4, EQ bypass, compressor bypass, delays, delay offs, mute,
    // surround (the compressor and the delay modes are not plain).
    const std::pair<int, int> outputs[] = {{5, 97}, {6, 115}, {9, 133}};
    for (const auto& [block, first] : outputs) {
        t.push_back({first + 0, block, 14, 1, R::Pct});
        t.push_back({first + 1, block, 15, 1, R::Pct});
        t.push_back({first + 2, block, 16, 1, R::Pct});
        t.push_back({first + 3, block, 17, 1, R::Pct});
        t.push_back({first + 4, block, 18, 1, R::Int});
        t.push_back({first + 5, block, 20, 1, R::Int});
        t.push_back({first + 10, block, 21, 1, R::Smp});
        t.push_back({first + 11, block, 22, 1, R::Smp});
        t.push_back({first + 12, block, 23, 1, R::Int});
        t.push_back({first + 13, block, 24, 1, R::Int});
        t.push_back({first + 16, block, 27, 2, R::On});
        t.push_back({first + 17, block, 30, 2, R::NegPct});
    }
    return t;
}

// Every cell holds a value of its own (its number), so a parameter fed from the wrong
// cell sends the wrong word.
void FillDistinct()
{
    for (int c = kFirstCell; c <= kLastCell; ++c) {
        if (IsFloatCell(c)) {
            ParamStore.SetFloat(c, static_cast<float>(c));
        } else {
            ParamStore.SetInt(c, c);
        }
    }
}

std::string Word(uint32_t w)
{
    Report r{};
    PutU32BE(r.data(), w);
    return HexBytes(r, 4);
}

std::string FloatWord(double v)
{
    return Word(std::bit_cast<uint32_t>(static_cast<float>(v)));
}

// The word a rule gives for the cell's value, worked out from the rule's text.
std::string Expected(const Target& t)
{
    const int v = ParamStore.GetInt(t.cell);
    const double f = static_cast<double>(ParamStore.GetFloat(t.cell));
    switch (t.rule) {
    case Rule::Pct:
        return FloatWord(v / 100.0);
    case Rule::Div4:
        return FloatWord(v / 10000.0);
    case Rule::Div5:
        return FloatWord(v / 100000.0);
    case Rule::Div7:
        return FloatWord(v / 10000000.0);
    case Rule::NegPct:
        return FloatWord(-v / 100.0);
    case Rule::Int:
        return Word(static_cast<uint32_t>(v) & 0xFF);
    case Rule::On:
        return FloatWord(v == 0 ? 1.0 : 0.0);
    case Rule::Smp: {
        const double ms = IsFloatCell(t.cell) ? f : v;
        return Word(static_cast<uint32_t>(std::trunc(ms * 48000 / 1000 + 0.5)));
    }
    case Rule::Float:
        return FloatWord(f);
    case Rule::CellPer100:
        return FloatWord(f / 100.0);
    case Rule::Plus5:
        return Word(static_cast<uint32_t>(v + 5) & 0xFF);
    case Rule::Inverted:
        return Word(v == 0 ? 1 : 0);
    }
    return {};
}
} // namespace

using WriteMap = ModelFixture;

TEST_F(WriteMap, EveryPlainParameterSendsItsCellWithItsRule)
{
    for (const Target& t : CellTargets()) {
        FillDistinct();
        if (t.rule == Rule::On || t.rule == Rule::Inverted) {
            ParamStore.SetInt(t.cell, 0); // the rule's "on" side, distinct from every other cell
        }
        if (t.rule == Rule::Plus5) {
            ParamStore.SetInt(t.cell, 3);
        }
        sink_.Clear();
        ASSERT_TRUE(SendParam(t.block, t.param)) << t.block << "," << t.param;
        const auto reports = sink_.Reports();
        ASSERT_EQ(reports.size(), 1u) << t.block << "," << t.param;
        const Report& r = reports[0];
        const std::string where = std::to_string(t.block) + "," + std::to_string(t.param);
        EXPECT_EQ(HexBytes(r, 6),
                  HexBytes(Report{0x02, 0x09, 0x00, static_cast<uint8_t>(t.block),
                                  static_cast<uint8_t>(t.param), static_cast<uint8_t>(t.count)},
                           6))
            << where;
        std::string words;
        for (int i = 0; i < t.count; ++i) {
            words += (i ? " " : "") + Expected(t);
        }
        EXPECT_EQ(Frame(r).substr(18), words) << where << " cell " << t.cell;
    }
}

TEST_F(WriteMap, HoldsExactlyThePlainParameters)
{
    std::set<std::pair<int, int>> expected;
    for (const Target& t : CellTargets()) {
        expected.insert({t.block, t.param});
    }
    // the frequency-shift words follow their own rule
    for (const int p : {28, 29, 41, 42}) {
        expected.insert({1, p});
    }
    std::set<std::pair<int, int>> actual;
    for (const auto& e : ParamMap()) {
        EXPECT_TRUE(actual.insert({e.block, e.param}).second)
            << "twice: " << e.block << "," << e.param;
    }
    EXPECT_EQ(actual, expected);
}

TEST_F(WriteMap, GoldenFrames)
{
    struct Case
    {
        int cell;
        int32_t value;
        bool isFloat;
        float f;
        int block;
        int param;
        const char* frame;
    };
    const Case cases[] = {
        {PRM_MIC_VOL, 80, false, 0, 1, 20, "02 09 00 01 14 01 3F 4C CC CD"},
        {PRM_MUSIC_VOL, 50, false, 0, 4, 11,
         "02 09 00 04 0B 06 3F 00 00 00 3F 00 00 00 3F 00 00 00 3F 00 00 00 3F 00 00 00 3F 00 "
         "00 00"},
        {PRM_ECHO_VOL, 100, false, 0, 2, 28, "02 09 00 02 1C 02 3F 80 00 00 3F 80 00 00"},
        {PRM_MICPORT1_NG, 50, false, 0, 1, 50, "02 09 00 01 32 01 3B A3 D7 0A"},
        {PRM_MIC_NG_ATTACK, 1, false, 0, 1, 54, "02 09 00 01 36 01 37 27 C5 AC"},
        {PRM_MIC_NG_RELEASE, 100, false, 0, 1, 55, "02 09 00 01 37 01 37 27 C5 AC"},
        {PRM_ECHOA_DECAY, 30, false, 0, 2, 20, "02 09 00 02 14 01 BE 99 99 9A"},
        {PRM_MAIN_SURROUND, 37, false, 0, 5, 30, "02 09 00 05 1E 02 BE BD 70 A4 BE BD 70 A4"},
        {PRM_MAIN_COMP_BYPASS, 1, false, 0, 5, 20, "02 09 00 05 14 01 00 00 00 01"},
        {PRM_MICA_EQ_BYPASS, 0x1234, false, 0, 1, 27, "02 09 00 01 1B 01 00 00 00 34"},
        {PRM_MIC_MUTE, 0, false, 0, 1, 45, "02 09 00 01 2D 01 3F 80 00 00"},
        {PRM_ECHO_MUTE, 1, false, 0, 2, 29, "02 09 00 02 1D 02 00 00 00 00 00 00 00 00"},
        {PRM_ECHOA_TIME, 0, true, 217.0f, 2, 18, "02 09 00 02 12 01 00 00 28 B0"},
        {PRM_SUB_DELAY, 0, true, 1.5f, 8, 29, "02 09 00 08 1D 01 00 00 00 48"},
        {PRM_MUSIC_LPF_DELAY, 10, false, 0, 4, 30, "02 09 00 04 1E 01 00 00 01 E0"},
        {PRM_MUSIC_AGC_LEVEL, 0, true, -12.0f, 4, 18, "02 09 00 04 12 01 C1 40 00 00"},
        {PRM_REVA_TIME, 0, true, 250.0f, 3, 19, "02 09 00 03 13 01 40 20 00 00"},
        {PRM_MUSIC_PITCH, -5, false, 0, 4, 19, "02 09 00 04 13 01 00 00 00 00"},
        {PRM_MUSIC_PITCH, 5, false, 0, 4, 19, "02 09 00 04 13 01 00 00 00 0A"},
        {PRM_MIC_BOOST_ON, 0, false, 0, 1, 65, "02 09 00 01 41 01 00 00 00 01"},
        {PRM_MIC_BOOST_ON, 1, false, 0, 1, 69, "02 09 00 01 45 01 00 00 00 00"},
        {PRM_MICA_SHIFT, 5, false, 0, 1, 28, "02 09 00 01 1C 01 3A 2B 92 A6"},
        {PRM_MICB_SHIFT, 5, false, 0, 1, 42, "02 09 00 01 2A 01 00 00 04 B0"},
    };
    for (const auto& c : cases) {
        if (c.isFloat) {
            ParamStore.SetFloat(c.cell, c.f);
        } else {
            ParamStore.SetInt(c.cell, c.value);
        }
        sink_.Clear();
        EXPECT_TRUE(SendParam(c.block, c.param));
        EXPECT_EQ(Sent(), std::vector<std::string>{c.frame}) << c.block << "," << c.param;
    }
}

TEST_F(WriteMap, ParametersBuiltElsewhereAreRefusedAndSendNothing)
{
    const std::pair<int, int> refused[] = {
        {1, 0},  {1, 19}, {5, 13}, {8, 21},                    // biquads
        {5, 19}, {6, 19}, {9, 19}, {7, 17}, {8, 27},           // compressor blocks
        {5, 25}, {6, 26}, {7, 21}, {8, 31},                    // delay-mode pairs
        {5, 28}, {9, 29}, {7, 23}, {8, 33},                    // speaker levels
        {1, 63}, {1, 64}, {1, 66}, {1, 67}, {1, 68},  {1, 70}, // mic boost gains and levels
        {4, 15},                                               // music pass with its fade
        {1, 21}, {1, 56}, {4, 20}, {0, 20}, {10, 14}, {-1, 0}, {300, 1}, // nothing there
    };
    for (const auto& [block, param] : refused) {
        EXPECT_FALSE(SendParam(block, param)) << block << "," << param;
    }
    EXPECT_EQ(sink_.Count(), 0u);
}

TEST_F(WriteMap, AgcWordsGoOnlyToCommandSetNineOrNewer)
{
    ParamStore.SetInt(PRM_MUSIC_AGC_ON, 1);
    ParamStore.SetFloat(PRM_MUSIC_AGC_LEVEL, -10.0f);
    g_nCmdVersion.store(8);
    EXPECT_TRUE(SendParam(4, 17));
    EXPECT_TRUE(SendParam(4, 18));
    EXPECT_EQ(sink_.Count(), 0u);
    g_nCmdVersion.store(9);
    SendParam(4, 17);
    SendParam(4, 18);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"02 09 00 04 11 01 00 00 00 01",
                                                "02 09 00 04 12 01 C1 20 00 00"}));
}

TEST_F(WriteMap, FloatCellsWithoutAFiniteNumberSendNothing)
{
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity()};
    for (const float f : bad) {
        ParamStore.SetFloat(PRM_REVA_TIME, f);
        ParamStore.SetFloat(PRM_ECHOA_TIME, f);
        ParamStore.SetFloat(PRM_MAINL_DELAY, f);
        ParamStore.SetFloat(PRM_MUSIC_AGC_LEVEL, f);
        EXPECT_TRUE(SendParam(3, 18));
        EXPECT_TRUE(SendParam(2, 18));
        EXPECT_TRUE(SendParam(5, 21));
        EXPECT_TRUE(SendParam(4, 18));
    }
    EXPECT_EQ(sink_.Count(), 0u);
}

TEST_F(WriteMap, FrequencyShiftSendsOnlyTheOffWordWhenOff)
{
    struct Case
    {
        int channel;
        int32_t f;
        int32_t offFlag;
        std::vector<std::string> frames;
    };
    const std::vector<Case> cases = {
        {0, 1, 1, {"02 09 00 01 1E 01 00 00 00 01"}},
        {0,
         5,
         0,
         {"02 09 00 01 1E 01 00 00 00 00", "02 09 00 01 1C 01 3A 2B 92 A6",
          "02 09 00 01 1D 01 00 00 04 B0"}},
        {0,
         2,
         0,
         {"02 09 00 01 1E 01 00 00 00 00", "02 09 00 01 1C 01 39 89 42 1E",
          "02 09 00 01 1D 01 00 00 12 C0"}},
        {1,
         8,
         0,
         {"02 09 00 01 2B 01 00 00 00 00", "02 09 00 01 29 01 3A 89 42 1E",
          "02 09 00 01 2A 01 00 00 01 2C"}},
        {1, 1, 1, {"02 09 00 01 2B 01 00 00 00 01"}},
        // A shift the processor cannot make (0 at start-up would divide by zero) is off.
        {0, 0, 1, {"02 09 00 01 1E 01 00 00 00 01"}},
        {1, 9, 1, {"02 09 00 01 2B 01 00 00 00 01"}},
        {1, -4, 1, {"02 09 00 01 2B 01 00 00 00 01"}},
    };
    for (const auto& c : cases) {
        const int cell = c.channel == 0 ? PRM_MICA_SHIFT : PRM_MICB_SHIFT;
        const int flag = c.channel == 0 ? PRM_MICA_SHIFT_OFF : PRM_MICB_SHIFT_OFF;
        ParamStore.SetInt(cell, c.f);
        ParamStore.SetInt(flag, 7);
        sink_.Clear();
        SendFrequencyShift(c.channel);
        EXPECT_EQ(Sent(), c.frames) << c.channel << " " << c.f;
        EXPECT_EQ(ParamStore.GetInt(flag), c.offFlag);
        EXPECT_EQ(ParamStore.GetInt(cell), c.f); // sending never rewrites the stored shift
    }
}

TEST_F(WriteMap, ShiftWordsSendNothingWhileTheShiftIsOff)
{
    for (const int32_t f : {0, 1, 9}) {
        ParamStore.SetInt(PRM_MICA_SHIFT, f);
        EXPECT_TRUE(SendParam(1, 28));
        EXPECT_TRUE(SendParam(1, 29));
    }
    EXPECT_EQ(sink_.Count(), 0u);
}
