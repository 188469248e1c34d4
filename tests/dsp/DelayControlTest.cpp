#include "dsp/DelayControl.h"

#include "dsp/DspFixture.h"
#include "dsp/EqBands.h"
#include "model/ParamIds.h"

#include <gtest/gtest.h>

#include <limits>

namespace {
using DelayControlTest = DspFixture;

TEST(DelayChannels, RowsMapToTheirSidesBothWays)
{
    const DelaySide expected[kDelayChannelCount] = {DELAY_MAIN_L, DELAY_MAIN_R, DELAY_CENTER,
                                                    DELAY_SUB,    DELAY_REAR_L, DELAY_REAR_R,
                                                    DELAY_TOP_L,  DELAY_TOP_R};
    for (int ch = 0; ch < kDelayChannelCount; ++ch) {
        EXPECT_EQ(DelaySideOfChannel(ch), expected[ch]) << ch;
        EXPECT_EQ(DelayChannelOfSide(expected[ch]), ch) << ch;
    }
    EXPECT_EQ(DelaySideOfChannel(-1), DELAY_SIDE_COUNT);
    EXPECT_EQ(DelaySideOfChannel(8), DELAY_SIDE_COUNT);
    EXPECT_EQ(DelayChannelOfSide(DELAY_SIDE_COUNT), -1);
}

TEST(DelayLimits, TypedSteppedAndRawValues)
{
    struct Row
    {
        const char* text;
        float ms;
    };
    const Row typed[] = {{"0.5", 1.5f},     {"100", 100.0f}, {"100.04", 100.0f}, {"250", 100.0f},
                         {"12.5ms", 12.5f}, {"abc", 1.5f},   {"", 1.5f},         {"-7", 1.5f},
                         {"1.54", 1.5f},    {"1.56", 1.6f},  {" 33.3", 33.3f},   {"nan", 1.5f},
                         {"1e9", 100.0f},   {"49.95", 50.0f}};
    for (const Row& r : typed) {
        EXPECT_EQ(DelayFromText(r.text), r.ms) << r.text;
    }
    EXPECT_EQ(StepDelay(1.6f, -1), 1.5f);
    EXPECT_EQ(StepDelay(1.5f, -1), 1.5f);
    EXPECT_EQ(StepDelay(1.5f, 1), 1.6f);
    EXPECT_EQ(StepDelay(99.9f, 1), 100.0f);
    EXPECT_EQ(StepDelay(100.0f, 1), 100.0f);
    EXPECT_EQ(StepDelay(std::numeric_limits<float>::quiet_NaN(), 1), 1.5f);
    EXPECT_EQ(LimitDelayMs(std::numeric_limits<double>::infinity()), 1.5f);
    EXPECT_EQ(DelayText(1.5f), "1.5ms");
    EXPECT_EQ(DelayText(100.0f), "100.0ms");
}

TEST(DelayRows, EnablingFollowsSwitchAndMode)
{
    EXPECT_TRUE(DelayRowEnabled(true, 0).controls);
    EXPECT_TRUE(DelayRowEnabled(true, 0).split);
    EXPECT_TRUE(DelayRowEnabled(true, 1).controls);
    EXPECT_FALSE(DelayRowEnabled(true, 1).split);
    EXPECT_FALSE(DelayRowEnabled(false, 0).controls);
    EXPECT_FALSE(DelayRowEnabled(false, 0).split);
}

TEST_F(DelayControlTest, TypedDelaysAreLimitedAndSentInSamples)
{
    bool sent = false;
    EXPECT_EQ(ApplyChannelDelay(DELAY_CH_MAIN_L, 0.5, &sent), 1.5f);
    EXPECT_TRUE(sent);
    EXPECT_EQ(ApplyChannelDelay(DELAY_CH_SUB, 100.0, &sent), 100.0f);
    EXPECT_TRUE(sent);
    const auto w = ParamWrites();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_TRUE(w[0].Is(5, 21));
    EXPECT_EQ(w[0].Word(0), 72u);
    EXPECT_TRUE(w[1].Is(8, 29));
    EXPECT_EQ(w[1].Word(0), 4800u);
    EXPECT_EQ(ParamStore.GetFloat(PRM_MAINL_DELAY), 1.5f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_DELAY), 100.0f);
}

TEST_F(DelayControlTest, AnUnchangedDelaySendsNothing)
{
    ApplyChannelDelay(DELAY_CH_REAR_R, 20.0);
    sink.Clear();
    bool sent = true;
    EXPECT_EQ(ApplyChannelDelay(DELAY_CH_REAR_R, 20.04, &sent), 20.0f);
    EXPECT_FALSE(sent);
    EXPECT_EQ(sink.Count(), 0u);
}

TEST_F(DelayControlTest, EveryRowWritesItsOwnSide)
{
    struct Row
    {
        int channel, block, param, cell;
    };
    const Row rows[] = {
        {DELAY_CH_MAIN_L, 5, 21, PRM_MAINL_DELAY},  {DELAY_CH_MAIN_R, 5, 22, PRM_MAINR_DELAY},
        {DELAY_CH_CENTER, 7, 19, PRM_CENTER_DELAY}, {DELAY_CH_SUB, 8, 29, PRM_SUB_DELAY},
        {DELAY_CH_REAR_L, 6, 21, PRM_REARL_DELAY},  {DELAY_CH_REAR_R, 6, 22, PRM_REARR_DELAY},
        {DELAY_CH_TOP_L, 9, 21, PRM_TOPL_DELAY},    {DELAY_CH_TOP_R, 9, 22, PRM_TOPR_DELAY}};
    for (const Row& r : rows) {
        sink.Clear();
        ApplyChannelDelay(r.channel, 10.0);
        const auto w = ParamWrites();
        ASSERT_EQ(w.size(), 1u) << r.channel;
        EXPECT_TRUE(w[0].Is(r.block, r.param)) << r.channel;
        EXPECT_EQ(w[0].Word(0), 480u);
        EXPECT_EQ(ChannelDelay(r.channel), 10.0f);
        EXPECT_EQ(ParamStore.GetFloat(r.cell), 10.0f);
    }
}

TEST_F(DelayControlTest, SwitchModeAndSplitStep)
{
    SetChannelDelayOn(DELAY_CH_CENTER, false);
    EXPECT_FALSE(ChannelDelayOn(DELAY_CH_CENTER));
    EXPECT_EQ(ParamStore.GetInt(PRM_CENTER_DELAY_OFF), 1);
    SetChannelDelayOn(DELAY_CH_CENTER, true);
    EXPECT_TRUE(ChannelDelayOn(DELAY_CH_CENTER));
    auto w = ParamWrites();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_TRUE(w[0].Is(7, 20));
    EXPECT_EQ(w[0].Word(0), 1u);
    EXPECT_EQ(w[1].Word(0), 0u);

    sink.Clear();
    EXPECT_EQ(SetChannelSplitStep(DELAY_CH_TOP_R, 25), 3000);
    EXPECT_EQ(ChannelSplitStep(DELAY_CH_TOP_R), 25);
    EXPECT_EQ(LoadEqBand(9, 12), (EqBand{0.0, 3000, 0.707, EQ_TYPE_HP}));
    EXPECT_EQ(LoadEqBand(9, 13), (EqBand{0.0, 3500, 0.707, EQ_TYPE_LP}));
    w = ParamWrites();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_TRUE(w[0].Is(9, 12));
    EXPECT_TRUE(w[1].Is(9, 13));
    EXPECT_EQ(SetChannelSplitStep(DELAY_CH_TOP_R, 40), 3000);
    EXPECT_EQ(SetChannelSplitStep(DELAY_CH_TOP_R, -3), 500);

    sink.Clear();
    SetChannelSplitStep(DELAY_CH_MAIN_L, 7);
    SetChannelDelayMode(DELAY_CH_MAIN_L, 1);
    EXPECT_EQ(ChannelDelayMode(DELAY_CH_MAIN_L), 1);
    EXPECT_EQ(LoadEqBand(5, 10), (EqBand{0.0, 1200, 0.707, EQ_TYPE_PEQ}));
    EXPECT_EQ(LoadEqBand(5, 11), (EqBand{0.0, 1700, 0.707, EQ_TYPE_PEQ}));
    SetChannelDelayMode(DELAY_CH_MAIN_L, 0);
    EXPECT_EQ(LoadEqBand(5, 10), (EqBand{0.0, 1200, 0.707, EQ_TYPE_HP}));
    EXPECT_EQ(LoadEqBand(5, 11), (EqBand{0.0, 1700, 0.707, EQ_TYPE_LP}));
}
} // namespace
