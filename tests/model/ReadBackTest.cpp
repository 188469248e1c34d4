#include "model/ReadBack.h"

#include "ModelFixture.h"
#include "model/Encodings.h"
#include "model/ParamIds.h"
#include "model/WriteMap.h"
#include "model/Writer.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

namespace {
using Triple = std::tuple<int, int, int>;

// Expands "(b,p)", "(b,p,c)" and "(b,p)–(b,q)" items separated by ';'.
std::vector<Triple> ParseList(const std::string& text)
{
    std::vector<Triple> out;
    const std::regex item(R"(\((\d+),(\d+)(?:,(\d+))?\)(?:\s*–\s*\((\d+),(\d+)\))?)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), item);
         it != std::sregex_iterator(); ++it) {
        const auto& m = *it;
        const int block = std::stoi(m[1]);
        const int first = std::stoi(m[2]);
        const int count = m[3].matched ? std::stoi(m[3]) : 1;
        const int last = m[5].matched ? std::stoi(m[5]) : first;
        for (int p = first; p <= last; ++p) {
            out.emplace_back(block, p, count);
        }
    }
    return out;
}

// The read-back order as the processor's parameter list gives it.
std::vector<Triple> ListedOrder()
{
    const std::string head =
        "(1,20); (1,23)–(1,26); (1,33); (1,36)–(1,39); (2,15); (2,22); (2,28,2); (3,15); (3,21); "
        "(3,26,2); (4,11,6); (4,12,2); (4,13,2); (4,14,2); (5,14)–(5,17); (5,28,6); (5,29,6); "
        "(6,14)–(6,17); (6,28,6); (6,29,6); (9,14)–(9,17); (9,28,6); (9,29,6); (7,12)–(7,15); "
        "(7,23,6); (8,22)–(8,25); (8,33,6); (1,27)–(1,30); (1,50)–(1,55); (1,46)–(1,49); (1,32); "
        "(1,40); (1,41); (1,42); (1,43); (1,45); (1,65); (3,14); (3,16)–(3,19); (3,27,2); "
        "(3,20); (3,22)–(3,25); (2,14); (2,16); (2,17); (2,29,2); (2,21); (2,23); (2,24); "
        "(4,16)–(4,19); (4,15,2); (4,21)–(4,26); (4,30); (4,31);";
    // "for block 5, then 6, then 9:"
    const std::string perOutput =
        "(18); (20); (21); (22); (19,7); (23); (24); (25,2); (26,2); (27,2); (30,2)";
    const std::string tail =
        "(7,16); (7,18); (7,19); (7,17,7); (7,20); (7,21,2); (7,22); (8,26); (8,28); (8,29); "
        "(8,27,7); (8,30); (8,31,2); (8,32); (1,31); (1,44); (1,57); (1,58); (2,18); (2,19); "
        "(2,20); (2,25); (2,26); (2,27).";
    std::vector<Triple> out = ParseList(head);
    for (const int block : {5, 6, 9}) {
        std::string withBlock;
        const std::regex p(R"(\((\d+)(,\d+)?\))");
        withBlock = std::regex_replace(perOutput, p, "(" + std::to_string(block) + ",$1$2)");
        const auto items = ParseList(withBlock);
        out.insert(out.end(), items.begin(), items.end());
    }
    const auto last = ParseList(tail);
    out.insert(out.end(), last.begin(), last.end());
    return out;
}

Report Reply(int block, int param, std::initializer_list<uint32_t> words, uint8_t status = 0)
{
    Report r = MakeReport(0x0A);
    r[2] = status;
    r[3] = static_cast<uint8_t>(block);
    r[4] = static_cast<uint8_t>(param);
    size_t at = 6;
    for (const uint32_t w : words) {
        PutU32BE(&r[at], w);
        at += 4;
    }
    return r;
}

uint32_t F(float f)
{
    return std::bit_cast<uint32_t>(f);
}

std::array<uint32_t, kCellCount> Snapshot()
{
    std::array<uint32_t, kCellCount> s{};
    for (int c = kFirstCell; c <= kLastCell; ++c) {
        s[static_cast<size_t>(c - kFirstCell)] = ParamStore.GetBits(c);
    }
    return s;
}
} // namespace

using ReadBack = ModelFixture;

TEST_F(ReadBack, RequestsTheListedParametersInOrder)
{
    const std::vector<Triple> listed = ListedOrder();
    ASSERT_EQ(listed.size(), 157u);
    EXPECT_EQ(RequestAllParams(), 157);
    const auto reports = sink_.Reports();
    ASSERT_EQ(reports.size(), 157u);
    for (size_t i = 0; i < reports.size(); ++i) {
        const auto& [block, param, count] = listed[i];
        char want[32];
        std::snprintf(want, sizeof want, "02 0A 00 %02X %02X %02X", block, param, count);
        EXPECT_EQ(Frame(reports[i]), want) << "request " << i;
    }
}

TEST(ReadBackWithoutProcessor, NoRequestGoesOut)
{
    ScopedReportSink none(nullptr);
    EXPECT_EQ(RequestAllParams(), 0);
    EXPECT_EQ(ReadRequestList().size(), 157u);
}

TEST_F(ReadBack, DecodesEveryKindOfReply)
{
    struct Case
    {
        const char* what;
        Report reply;
        int cell;
        bool isFloat;
        double want;
    };
    const uint32_t attack10 = F(static_cast<float>(1.0 - std::exp(-1.0 / 480.0)));
    const Case cases[] = {
        {"mic volume A", Reply(1, 20, {F(0.8f)}), PRM_MIC_VOL, false, 80},
        {"mic volume B", Reply(1, 33, {F(0.5f)}), PRM_MIC_VOL, false, 50},
        {"port 3 to A", Reply(1, 25, {F(1.0f)}), PRM_MICPORT3_TO_A, false, 100},
        {"port 4 to B", Reply(1, 39, {F(1.0f)}), PRM_MICPORT4_TO_B, false, 100},
        {"EQ bypass, low byte only", Reply(1, 27, {0x00000101}), PRM_MICA_EQ_BYPASS, false, 1},
        {"phase B", Reply(1, 44, {1}), PRM_MICB_PHASE, false, 1},
        {"mic pass A", Reply(1, 32, {F(0.0f)}), PRM_MIC_MUTE, false, 1},
        {"mic pass B", Reply(1, 45, {F(1.0f)}), PRM_MIC_MUTE, false, 0},
        {"shift omega A", Reply(1, 28, {F(FrequencyShiftOmega(5))}), PRM_MICA_SHIFT, false, 5},
        {"shift omega B", Reply(1, 41, {F(FrequencyShiftOmega(3))}), PRM_MICB_SHIFT, false, 3},
        {"port 2 volume", Reply(1, 47, {F(0.2f)}), PRM_MICPORT2_VOL, false, 20},
        {"port 1 gate", Reply(1, 50, {F(0.005f)}), PRM_MICPORT1_NG, false, 50},
        {"mic gate attack", Reply(1, 54, {F(0.00001f)}), PRM_MIC_NG_ATTACK, false, 1},
        {"mic gate release", Reply(1, 55, {F(0.00001f)}), PRM_MIC_NG_RELEASE, false, 100},
        {"auto sub", Reply(1, 57, {1}), PRM_AUTOSUB_ON, false, 1},
        {"auto sub level", Reply(1, 58, {F(0.3f)}), PRM_AUTOSUB_LEVEL, false, 30},
        {"mic boost off word 0", Reply(1, 65, {0}), PRM_MIC_BOOST_ON, false, 1},
        {"mic boost off word 1", Reply(1, 65, {1}), PRM_MIC_BOOST_ON, false, 0},
        {"echo A level", Reply(2, 15, {F(0.999f)}), PRM_ECHOA_LEVEL, false, 100},
        {"echo A predelay", Reply(2, 17, {72}), PRM_ECHOA_PREDELAY2, true, 1.5},
        {"echo A time", Reply(2, 18, {10416}), PRM_ECHOA_TIME, true, 217.0},
        {"echo A p19", Reply(2, 19, {F(0.6f)}), PRM_ECHOA_P19, false, 60},
        {"echo A decay", Reply(2, 20, {F(-0.3f)}), PRM_ECHOA_DECAY, false, 30},
        {"echo B decay positive", Reply(2, 27, {F(0.4f)}), PRM_ECHOB_DECAY, false, 40},
        {"echo B time", Reply(2, 25, {96}), PRM_ECHOB_TIME, true, 2.0},
        {"echo volume", Reply(2, 28, {F(0.7f), F(0.7f)}), PRM_ECHO_VOL, false, 70},
        {"echo pass", Reply(2, 29, {F(0.0f), F(0.0f)}), PRM_ECHO_MUTE, false, 1},
        {"reverb A bypass", Reply(3, 14, {1}), PRM_REVA_EQ_BYPASS, false, 1},
        {"reverb B predelay", Reply(3, 23, {960}), PRM_REVB_PREDELAY2, true, 20.0},
        {"reverb A time", Reply(3, 18, {F(2.5f)}), PRM_REVA_TIME, true, 250.0},
        {"reverb B time", Reply(3, 24, {F(0.37f)}), PRM_REVB_TIME, true, 37.0},
        {"reverb pass", Reply(3, 27, {F(1.0f), F(1.0f)}), PRM_REVERB_MUTE, false, 0},
        {"music volume", Reply(4, 11, {F(0.5f)}), PRM_MUSIC_VOL, false, 50},
        {"aux 2 gain", Reply(4, 14, {F(1.5f)}), PRM_AUX2_GAIN, false, 150},
        {"music pass", Reply(4, 15, {F(0.0f), F(0.0f)}), PRM_MUSIC_MUTE, false, 1},
        {"music EQ bypass", Reply(4, 16, {1}), PRM_MUSIC_EQ_BYPASS, false, 1},
        {"music pitch", Reply(4, 19, {8}), PRM_MUSIC_PITCH, false, 3},
        {"aux 1 on", Reply(4, 22, {F(1.0f)}), PRM_AUX1_ON, false, 100},
        {"music gate", Reply(4, 24, {F(0.0123f)}), PRM_MUSIC_NG_THRESHOLD, false, 123},
        {"music gate attack", Reply(4, 25, {F(0.001f)}), PRM_MUSIC_NG_ATTACK, false, 100},
        {"music gate release", Reply(4, 26, {F(0.0000055f)}), PRM_MUSIC_NG_RELEASE, false, 55},
        {"music lpf delay", Reply(4, 30, {500}), PRM_MUSIC_LPF_DELAY, false, 10},
        {"music lpf gain", Reply(4, 31, {F(0.9f)}), PRM_MUSIC_LPF_GAIN, false, 90},
        {"main mix echo", Reply(5, 16, {F(0.25f)}), PRM_MAIN_MIX_ECHO, false, 25},
        {"rear EQ bypass", Reply(6, 18, {1}), PRM_REAR_EQ_BYPASS, false, 1},
        {"top comp bypass", Reply(9, 20, {1}), PRM_TOP_COMP_BYPASS, false, 1},
        {"main delay R", Reply(5, 22, {72}), PRM_MAINR_DELAY, true, 1.5},
        {"rear delay off L", Reply(6, 23, {1}), PRM_REARL_DELAY_OFF, false, 1},
        {"top delay mode R", Reply(9, 26, {F(1.0f), F(0.0f)}), PRM_TOPR_DELAY_MODE, false, 1},
        {"main delay mode L", Reply(5, 25, {F(1.0f), F(1.0f)}), PRM_MAINL_DELAY_MODE, false, 0},
        {"rear pass", Reply(6, 27, {F(0.0f), F(0.0f)}), PRM_REAR_MUTE, false, 1},
        {"main surround", Reply(5, 30, {F(-0.25f), F(-0.25f)}), PRM_MAIN_SURROUND, false, 25},
        {"top surround", Reply(9, 30, {F(0.1f), F(0.1f)}), PRM_TOP_SURROUND, false, -10},
        // A reply beyond int32 saturates, and its negation or magnitude saturates too.
        {"huge surround", Reply(5, 30, {F(-1e30f), F(-1e30f)}), PRM_MAIN_SURROUND, false,
         std::numeric_limits<int32_t>::max()},
        {"huge echo decay", Reply(2, 20, {F(-1e30f)}), PRM_ECHOA_DECAY, false,
         std::numeric_limits<int32_t>::max()},
        {"center mix music", Reply(7, 15, {F(0.6f)}), PRM_CENTER_MIX_MUSIC, false, 60},
        {"center EQ bypass", Reply(7, 16, {1}), PRM_CENTER_EQ_BYPASS, false, 1},
        {"center comp bypass", Reply(7, 18, {1}), PRM_CENTER_COMP_BYPASS, false, 1},
        {"center delay", Reply(7, 19, {480}), PRM_CENTER_DELAY, true, 10.0},
        {"center delay off", Reply(7, 20, {1}), PRM_CENTER_DELAY_OFF, false, 1},
        {"center delay mode", Reply(7, 21, {F(1.0f), F(0.0f)}), PRM_CENTER_DELAY_MODE, false, 1},
        {"center pass", Reply(7, 22, {F(0.0f)}), PRM_CENTER_MUTE, false, 1},
        {"sub mix music", Reply(8, 25, {F(3.0f)}), PRM_SUB_MIX_MUSIC, false, 300},
        {"sub EQ bypass", Reply(8, 26, {1}), PRM_SUB_EQ_BYPASS, false, 1},
        {"sub comp bypass", Reply(8, 28, {1}), PRM_SUB_COMP_BYPASS, false, 1},
        {"sub delay", Reply(8, 29, {72}), PRM_SUB_DELAY, true, 1.5},
        {"sub delay off", Reply(8, 30, {1}), PRM_SUB_DELAY_OFF, false, 1},
        {"sub delay mode", Reply(8, 31, {F(1.0f), F(0.0f)}), PRM_SUB_DELAY_MODE, false, 1},
        {"sub pass", Reply(8, 32, {F(0.0f)}), PRM_SUB_MUTE, false, 1},
        {"non-zero status still decoded", Reply(1, 58, {F(0.45f)}, 0x7F), PRM_AUTOSUB_LEVEL, false,
         45},
        {"main comp ratio", Reply(5, 19, {F(-20.0f), 0, F(0.75f), 0, 0, attack10, 0}),
         PRM_MAIN_COMP_RATIO, true, 4.0},
    };
    for (const auto& c : cases) {
        ParamStore.ResetToDefaults();
        DecodeParamReply(c.reply);
        if (c.isFloat) {
            EXPECT_EQ(static_cast<double>(ParamStore.GetFloat(c.cell)), c.want) << c.what;
        } else {
            EXPECT_EQ(ParamStore.GetInt(c.cell), static_cast<int32_t>(c.want)) << c.what;
        }
    }
}

TEST_F(ReadBack, ShiftOffFlagAlsoSetsTheShiftToOff)
{
    ParamStore.SetInt(PRM_MICA_SHIFT, 5);
    DecodeParamReply(Reply(1, 30, {0}));
    EXPECT_EQ(ParamStore.GetInt(PRM_MICA_SHIFT_OFF), 0);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICA_SHIFT), 5);
    DecodeParamReply(Reply(1, 30, {1}));
    EXPECT_EQ(ParamStore.GetInt(PRM_MICA_SHIFT_OFF), 1);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICA_SHIFT), 1);

    ParamStore.SetInt(PRM_MICB_SHIFT, 7);
    DecodeParamReply(Reply(1, 43, {1}));
    EXPECT_EQ(ParamStore.GetInt(PRM_MICB_SHIFT_OFF), 1);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICB_SHIFT), 1);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICA_SHIFT), 1);
}

TEST_F(ReadBack, CompressorBlockFillsItsFourCells)
{
    const auto word = [](double ms) { return F(static_cast<float>(1 - std::exp(-1 / (ms * 48)))); };
    struct Case
    {
        int block;
        int param;
        int first;
    };
    for (const Case c :
         {Case{5, 19, PRM_MAIN_COMP_THRESHOLD}, Case{6, 19, PRM_REAR_COMP_THRESHOLD},
          Case{9, 19, PRM_TOP_COMP_THRESHOLD}, Case{7, 17, PRM_CENTER_COMP_THRESHOLD},
          Case{8, 27, PRM_SUB_COMP_THRESHOLD}}) {
        ParamStore.ResetToDefaults();
        DecodeParamReply(Reply(c.block, c.param,
                               {F(-24.0f), 0, F(0.75f), F(20.0f), F(0.05f), word(10), word(100)}));
        EXPECT_EQ(ParamStore.GetFloat(c.first), -24.0f) << c.block;
        EXPECT_EQ(ParamStore.GetFloat(c.first + 1), 4.0f) << c.block;
        EXPECT_NEAR(ParamStore.GetFloat(c.first + 2), 10.0f, 1e-3f) << c.block;
        EXPECT_NEAR(ParamStore.GetFloat(c.first + 3), 100.0f, 1e-2f) << c.block;
        EXPECT_EQ(ParamStore.GetInt(c.first - 1), 0) << "bypass untouched, block " << c.block;
    }
}

// Every delay-mode pair lands in its own side's cell and nowhere else: a second word of 0
// is whole-channel mode (1), any other the high-frequency split (0).
TEST_F(ReadBack, DelayModePairsOfEverySide)
{
    struct Case
    {
        int block;
        int param;
        int cell;
    };
    const Case cases[] = {{5, 25, 111}, {5, 26, 112}, {6, 25, 129}, {6, 26, 130},
                          {9, 25, 147}, {9, 26, 148}, {7, 21, 163}, {8, 31, 177}};
    for (const Case& c : cases) {
        ParamStore.ResetToDefaults();
        const auto before = Snapshot();
        DecodeParamReply(Reply(c.block, c.param, {F(1.0f), F(0.0f)}));
        auto after = Snapshot();
        EXPECT_EQ(ParamStore.GetInt(c.cell), 1) << c.block << "," << c.param;
        after[static_cast<size_t>(c.cell - kFirstCell)] = 0;
        EXPECT_EQ(after, before) << "only cell " << c.cell << " changes";
        DecodeParamReply(Reply(c.block, c.param, {F(1.0f), F(1.0f)}));
        EXPECT_EQ(ParamStore.GetInt(c.cell), 0) << c.block << "," << c.param;
    }
}

TEST_F(ReadBack, CompressorWordsWithoutMeaningLandAsLimitedValues)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // ratio word 1.0 (1/0), attack word 0 (-1/ln 1), release word 1.0 (ln 0)
    DecodeParamReply(Reply(5, 19, {F(nan), 0, F(1.0f), 0, 0, 0, F(1.0f)}));
    EXPECT_EQ(ParamStore.GetFloat(PRM_MAIN_COMP_THRESHOLD), 0.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_MAIN_COMP_RATIO), 30.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_MAIN_COMP_ATTACK), 100.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_MAIN_COMP_RELEASE), 1.0f);
    // ratio NaN, attack above 1 (ln of a negative number), release 0
    DecodeParamReply(
        Reply(8, 27, {F(-std::numeric_limits<float>::infinity()), 0, F(nan), 0, 0, F(2.0f), 0}));
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_COMP_THRESHOLD), -60.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_COMP_RATIO), 1.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_COMP_ATTACK), 1.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_COMP_RELEASE), 1000.0f);
    for (int c = kFirstCell; c <= kLastCell; ++c) {
        if (IsFloatCell(c)) {
            EXPECT_TRUE(std::isfinite(ParamStore.GetFloat(c))) << ParamCellName(c);
        }
    }
}

TEST_F(ReadBack, VersionRules)
{
    struct Case
    {
        int version;
        bool agcOn;
        bool agcLevel;
        bool pitch;
    };
    for (const Case c : {Case{1, false, false, false}, Case{8, false, false, false},
                         Case{9, true, true, true}, Case{0x15, true, true, true}}) {
        ParamStore.ResetToDefaults();
        g_nCmdVersion.store(c.version);
        DecodeParamReply(Reply(4, 17, {1}));
        DecodeParamReply(Reply(4, 18, {F(-12.5f)}));
        DecodeParamReply(Reply(4, 19, {10}));
        EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_AGC_ON), c.agcOn ? 1 : 0) << c.version;
        EXPECT_EQ(ParamStore.GetFloat(PRM_MUSIC_AGC_LEVEL), c.agcLevel ? -12.5f : 0.0f)
            << c.version;
        EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_PITCH), c.pitch ? 5 : 0) << c.version;
    }
}

TEST_F(ReadBack, RepliesThatAreNotReadBackChangeNothing)
{
    const Report ignored[] = {
        Reply(1, 0, {F(1.0f), F(1.0f), F(1.0f), F(1.0f), F(1.0f)}), // biquad
        Reply(8, 21, {F(1.0f)}),                                    // biquad
        Reply(5, 28, {F(1.0f), F(1.0f), 0, 0, F(1.0f), F(1.0f)}),   // speaker level
        Reply(7, 23, {F(1.0f)}),                                    // speaker level
        Reply(1, 29, {1200}),                                       // shift delay
        Reply(1, 42, {1200}),                                       // shift delay
        Reply(1, 63, {F(2.0f)}),                                    // mic boost gains
        Reply(1, 64, {F(2.0f)}),
        Reply(1, 66, {F(2.0f)}),
        Reply(1, 67, {F(2.0f)}),
        Reply(1, 68, {F(2.0f)}),
        Reply(1, 69, {0}),
        Reply(1, 70, {F(2.0f)}),
        Reply(3, 19, {F(2.0f)}),
        Reply(3, 25, {F(2.0f)}), // the second reverb-time words
        Reply(1, 21, {1}),
        Reply(4, 20, {1}),
        Reply(0, 20, {F(1.0f)}),
        Reply(10, 14, {F(1.0f)}),
        Reply(255, 255, {0xFFFFFFFF}),
    };
    ParamStore.SetInt(PRM_MIC_BOOST_ON2, 1);
    const auto before = Snapshot();
    for (const auto& r : ignored) {
        DecodeParamReply(r);
    }
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ReadBack, WordsWithoutAFiniteNumberChangeNothing)
{
    const uint32_t nan = F(std::numeric_limits<float>::quiet_NaN());
    const uint32_t inf = F(std::numeric_limits<float>::infinity());
    ParamStore.SetInt(PRM_MIC_VOL, 42);
    ParamStore.SetInt(PRM_MIC_MUTE, 1);
    ParamStore.SetFloat(PRM_MUSIC_AGC_LEVEL, -3.0f);
    ParamStore.SetInt(PRM_MAINL_DELAY_MODE, 1);
    const auto before = Snapshot();
    for (const uint32_t w : {nan, inf}) {
        DecodeParamReply(Reply(1, 20, {w}));
        DecodeParamReply(Reply(1, 32, {w}));
        DecodeParamReply(Reply(3, 18, {w}));
        DecodeParamReply(Reply(4, 18, {w}));
        DecodeParamReply(Reply(1, 28, {w}));
        DecodeParamReply(Reply(1, 50, {w}));
        DecodeParamReply(Reply(5, 25, {F(1.0f), w}));
    }
    EXPECT_EQ(Snapshot(), before);
}

// What a write sends, read back as a reply, gives the cell its value again.
TEST_F(ReadBack, EveryPlainWriteReadsBackToItsCell)
{
    for (const ParamMapEntry& e : ParamMap()) {
        const bool secondCopy =
            (e.block == 3 && (e.param == 19 || e.param == 25)) || (e.block == 1 && e.param == 69);
        if (secondCopy || e.encoding == Encoding::ShiftDelay) {
            continue; // second copies (reverb time, mic boost) and the shift delay are not read
        }
        ParamStore.ResetToDefaults();
        switch (e.encoding) {
        case Encoding::Smp:
            if (IsFloatCell(e.cell)) {
                ParamStore.SetFloat(e.cell, 20.5f);
            } else {
                ParamStore.SetInt(e.cell, 20);
            }
            break;
        case Encoding::Float:
            ParamStore.SetFloat(e.cell, -12.5f);
            break;
        case Encoding::ReverbTime:
            ParamStore.SetFloat(e.cell, 37.0f);
            break;
        case Encoding::ShiftOmega:
        case Encoding::Pitch:
            ParamStore.SetInt(e.cell, 3);
            break;
        case Encoding::Int:
        case Encoding::On:
        case Encoding::MicBoostOn:
            ParamStore.SetInt(e.cell, 1);
            break;
        default:
            ParamStore.SetInt(e.cell, 37);
            break;
        }
        const uint32_t value = ParamStore.GetBits(e.cell);
        sink_.Clear();
        ASSERT_TRUE(SendParam(e.block, e.param));
        ASSERT_EQ(sink_.Count(), 1u) << e.block << "," << e.param;
        Report reply = sink_.Reports()[0];
        reply[1] = 0x0A;
        ParamStore.SetBits(e.cell, 0x12345678);
        DecodeParamReply(reply);
        EXPECT_EQ(ParamStore.GetBits(e.cell), value)
            << e.block << "," << e.param << " cell " << ParamCellName(e.cell);
    }
}
