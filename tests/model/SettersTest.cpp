#include "model/Setters.h"

#include "ModelFixture.h"
#include "model/ParamIds.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using Setters = ModelFixture;
using V = std::vector<std::string>;

TEST_F(Setters, StoreFirstThenSendEveryTargetOfTheCell)
{
    SetMicVolume(80);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_VOL), 80);
    SetMicMute(1);
    SetMusicVolume(100);
    EXPECT_EQ(Sent(), (V{
                          "02 09 00 01 14 01 3F 4C CC CD",
                          "02 09 00 01 21 01 3F 4C CC CD",
                          "02 09 00 01 20 01 00 00 00 00",
                          "02 09 00 01 2D 01 00 00 00 00",
                          "02 09 00 04 0B 06 3F 80 00 00 3F 80 00 00 3F 80 00 00 3F 80 00 00 "
                          "3F 80 00 00 3F 80 00 00",
                      }));
}

TEST(SettersWithoutProcessor, OnlyStore)
{
    ScopedReportSink none(nullptr);
    ParamStore.ResetToDefaults();
    SetMicVolume(55);
    SetEchoTime(0, 100);
    SetFrequencyShift(1, 4);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_VOL), 55);
    EXPECT_EQ(ParamStore.GetFloat(PRM_ECHOA_TIME), 100.0f);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICB_SHIFT), 4);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICB_SHIFT_OFF), 0);
    ParamStore.ResetToDefaults();
}

TEST_F(Setters, MicPortRoutingChoosesOneChannel)
{
    SetMicPortRouting(1, 1); // port 2 to channel B
    EXPECT_EQ(ParamStore.GetInt(PRM_MICPORT2_TO_A), 0);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICPORT2_TO_B), 100);
    SetMicPortRouting(3, 0); // port 4 to channel A
    EXPECT_EQ(Sent(), (V{
                          "02 09 00 01 18 01 00 00 00 00",
                          "02 09 00 01 25 01 3F 80 00 00",
                          "02 09 00 01 1A 01 3F 80 00 00",
                          "02 09 00 01 27 01 00 00 00 00",
                      }));
}

TEST_F(Setters, EchoTimeIsAtLeastTwoMilliseconds)
{
    SetEchoTime(0, 1);
    EXPECT_EQ(ParamStore.GetFloat(PRM_ECHOA_TIME), 2.0f);
    SetEchoTime(1, 217);
    EXPECT_EQ(ParamStore.GetFloat(PRM_ECHOB_TIME), 217.0f);
    EXPECT_EQ(Sent(), (V{"02 09 00 02 12 01 00 00 00 60", "02 09 00 02 19 01 00 00 28 B0"}));
}

TEST_F(Setters, PredelaysStoreHalfTheTotalInEachCell)
{
    struct Case
    {
        bool reverb;
        int channel;
        float total;
        int cell1;
        float half;
        V frames;
    };
    const std::vector<Case> cases = {
        {true,
         0,
         2.0f,
         PRM_REVA_PREDELAY1,
         1.5f,
         {"02 09 00 03 10 01 00 00 00 48", "02 09 00 03 11 01 00 00 00 48"}},
        {true,
         1,
         41.0f,
         PRM_REVB_PREDELAY1,
         20.5f,
         {"02 09 00 03 16 01 00 00 03 D8", "02 09 00 03 17 01 00 00 03 D8"}},
        {false,
         0,
         3.0f,
         PRM_ECHOA_PREDELAY1,
         1.5f,
         {"02 09 00 02 10 01 00 00 00 48", "02 09 00 02 11 01 00 00 00 48"}},
        {false,
         1,
         40.0f,
         PRM_ECHOB_PREDELAY1,
         20.0f,
         {"02 09 00 02 17 01 00 00 03 C0", "02 09 00 02 18 01 00 00 03 C0"}},
        {false,
         1,
         std::numeric_limits<float>::quiet_NaN(),
         PRM_ECHOB_PREDELAY1,
         1.5f,
         {"02 09 00 02 17 01 00 00 00 48", "02 09 00 02 18 01 00 00 00 48"}},
    };
    for (const auto& c : cases) {
        sink_.Clear();
        if (c.reverb) {
            SetReverbPredelay(c.channel, c.total);
        } else {
            SetEchoPredelay(c.channel, c.total);
        }
        EXPECT_EQ(ParamStore.GetFloat(c.cell1), c.half) << c.total;
        EXPECT_EQ(ParamStore.GetFloat(c.cell1 + 1), c.half) << c.total;
        EXPECT_EQ(Sent(), c.frames) << c.total;
    }
}

TEST_F(Setters, ReverbTimeGoesToBothParametersInHundredths)
{
    SetReverbTime(1, 50.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_REVB_TIME), 50.0f);
    SetReverbTime(0, std::numeric_limits<float>::infinity()); // ignored
    EXPECT_EQ(ParamStore.GetFloat(PRM_REVA_TIME), 0.0f);
    EXPECT_EQ(Sent(), (V{"02 09 00 03 18 01 3F 00 00 00", "02 09 00 03 19 01 3F 00 00 00"}));
}

TEST_F(Setters, FrequencyShift)
{
    SetFrequencyShift(0, 5);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICA_SHIFT), 5);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICA_SHIFT_OFF), 0);
    EXPECT_EQ(Sent(), (V{"02 09 00 01 1E 01 00 00 00 00", "02 09 00 01 1C 01 3A 2B 92 A6",
                         "02 09 00 01 1D 01 00 00 04 B0"}));
    sink_.Clear();
    SetFrequencyShift(0, 1);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICA_SHIFT_OFF), 1);
    EXPECT_EQ(Sent(), (V{"02 09 00 01 1E 01 00 00 00 01"}));
}

TEST_F(Setters, FrequencyShiftThatCannotBeMadeIsStoredAsOff)
{
    for (const int hz : {0, 9, -2}) {
        ParamStore.SetInt(PRM_MICB_SHIFT, 5);
        ParamStore.SetInt(PRM_MICB_SHIFT_OFF, 0);
        sink_.Clear();
        SetFrequencyShift(1, hz);
        EXPECT_EQ(ParamStore.GetInt(PRM_MICB_SHIFT), 1) << hz;
        EXPECT_EQ(ParamStore.GetInt(PRM_MICB_SHIFT_OFF), 1) << hz;
        EXPECT_EQ(Sent(), (V{"02 09 00 01 2B 01 00 00 00 01"})) << hz;
    }
}

TEST_F(Setters, MusicPitchIsSentAsStepsPlusFive)
{
    SetMusicPitch(3);
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_PITCH), 3);
    SetMusicPitch(-9); // beyond the ribbon's range: the lowest step, never a wrapped byte
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_PITCH), -5);
    EXPECT_EQ(Sent(), (V{"02 09 00 04 13 01 00 00 00 08", "02 09 00 04 13 01 00 00 00 00"}));
}

TEST_F(Setters, MusicAgcNeedsCommandSetNine)
{
    g_nCmdVersion.store(8);
    SetMusicAgcOn(1);
    SetMusicAgcLevel(-12.0f);
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_AGC_ON), 0);
    EXPECT_EQ(ParamStore.GetFloat(PRM_MUSIC_AGC_LEVEL), 0.0f);
    EXPECT_EQ(sink_.Count(), 0u);

    g_nCmdVersion.store(9);
    SetMusicAgcOn(1);
    SetMusicAgcLevel(-12.0f);
    SetMusicAgcLevel(std::numeric_limits<float>::quiet_NaN()); // ignored
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_AGC_ON), 1);
    EXPECT_EQ(ParamStore.GetFloat(PRM_MUSIC_AGC_LEVEL), -12.0f);
    EXPECT_EQ(Sent(), (V{"02 09 00 04 11 01 00 00 00 01", "02 09 00 04 12 01 C1 40 00 00"}));
}

TEST_F(Setters, MicBoostSwitchKeepsItsCopyAndIsSentInverted)
{
    SetMicBoostOn(1);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_BOOST_ON), 1);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_BOOST_ON2), 1);
    SetMicBoostOn(0);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_BOOST_ON2), 0);
    EXPECT_EQ(Sent(), (V{"02 09 00 01 41 01 00 00 00 00", "02 09 00 01 45 01 00 00 00 00",
                         "02 09 00 01 41 01 00 00 00 01", "02 09 00 01 45 01 00 00 00 01"}));
}

TEST_F(Setters, NoiseGatesTakeTheStoredForm)
{
    SetMicNoiseGateAttack(1);   // slider at 100
    SetMicNoiseGateAttack(100); // slider at 1
    SetMusicNoiseGateRelease(100);
    SetMicPortNoiseGate(3, 50);
    SetMusicNoiseGateThreshold(50);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_NG_ATTACK), 100);
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_NG_RELEASE), 100);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICPORT4_NG), 50);
    EXPECT_EQ(Sent(), (V{
                          "02 09 00 01 36 01 37 27 C5 AC",
                          "02 09 00 01 36 01 3A 83 12 6F",
                          "02 09 00 04 1A 01 37 27 C5 AC",
                          "02 09 00 01 35 01 3B A3 D7 0A",
                          "02 09 00 04 18 01 3B A3 D7 0A",
                      }));
}

TEST_F(Setters, GenericSetterFollowsTheCellsOwnRule)
{
    EXPECT_TRUE(SetParamCell(PRM_ECHOA_TIME, 1)); // a float cell, raised to 2 ms
    EXPECT_EQ(ParamStore.GetFloat(PRM_ECHOA_TIME), 2.0f);
    EXPECT_TRUE(SetParamCell(PRM_MICB_SHIFT, 0));
    EXPECT_EQ(ParamStore.GetInt(PRM_MICB_SHIFT), 1);
    EXPECT_TRUE(SetParamCell(PRM_MIC_BOOST_ON, 1));
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_BOOST_ON2), 1);
    EXPECT_TRUE(SetParamCellFloat(PRM_REVA_TIME, 37.0f));
    EXPECT_EQ(ParamStore.GetFloat(PRM_REVA_TIME), 37.0f);
    EXPECT_TRUE(SetParamCell(PRM_REVB_TIME, 20)); // stored as a float, not as integer bits
    EXPECT_EQ(ParamStore.GetFloat(PRM_REVB_TIME), 20.0f);
    EXPECT_TRUE(SetParamCellFloat(PRM_MAIN_MIX_MUSIC, 42.9f));
    EXPECT_EQ(ParamStore.GetInt(PRM_MAIN_MIX_MUSIC), 42);
    EXPECT_TRUE(SetParamCell(PRM_ECHOB_P26, 70));
    EXPECT_EQ(Sent(), (V{
                          "02 09 00 02 12 01 00 00 00 60",
                          "02 09 00 01 2B 01 00 00 00 01",
                          "02 09 00 01 41 01 00 00 00 00",
                          "02 09 00 01 45 01 00 00 00 00",
                          "02 09 00 03 12 01 3E BD 70 A4",
                          "02 09 00 03 13 01 3E BD 70 A4",
                          "02 09 00 03 18 01 3E 4C CC CD",
                          "02 09 00 03 19 01 3E 4C CC CD",
                          "02 09 00 05 11 01 3E D7 0A 3D",
                          "02 09 00 02 1A 01 3F 33 33 33",
                      }));
}

TEST_F(Setters, GenericSetterLeavesCellsSetElsewhere)
{
    const int cells[] = {
        PRM_MICA_SHIFT_OFF,
        PRM_MICB_SHIFT_OFF,
        PRM_ECHOA_PREDELAY1,
        PRM_REVB_PREDELAY2,
        PRM_MUSIC_MUTE,
        PRM_MAIN_COMP_BYPASS,
        PRM_MAIN_COMP_RATIO,
        PRM_REARL_DELAY,
        PRM_TOPR_DELAY_OFF,
        PRM_TOPL_DELAY_MODE,
        PRM_CENTER_COMP_BYPASS,
        PRM_CENTER_DELAY_MODE,
        PRM_SUB_COMP_THRESHOLD,
        PRM_SUB_DELAY,
        PRM_SUB_DELAY_MODE,
        25,
        185,
    };
    for (const int cell : cells) {
        const uint32_t before = ParamStore.GetBits(cell);
        EXPECT_FALSE(SetParamCell(cell, 3)) << cell;
        EXPECT_FALSE(SetParamCellFloat(cell, 3.0f)) << cell;
        EXPECT_EQ(ParamStore.GetBits(cell), before) << cell;
    }
    EXPECT_FALSE(SetParamCellFloat(PRM_MIC_VOL, std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_VOL), 0);
    EXPECT_EQ(sink_.Count(), 0u);
    // The neighbours of the groups set elsewhere stay with the generic setter.
    EXPECT_TRUE(SetParamCell(PRM_MAIN_EQ_BYPASS, 1));
    EXPECT_TRUE(SetParamCell(PRM_MAIN_MUTE, 1));
    EXPECT_TRUE(SetParamCell(PRM_CENTER_EQ_BYPASS, 1));
    EXPECT_TRUE(SetParamCell(PRM_CENTER_MUTE, 1));
    EXPECT_TRUE(SetParamCell(PRM_SUB_MUTE, 1));
    EXPECT_EQ(sink_.Count(), 5u);
}

TEST_F(Setters, SurroundNeedsCommandSetSevenAndIsSentNegated)
{
    struct Case
    {
        int cell;
        int block;
    };
    for (const Case c :
         {Case{PRM_MAIN_SURROUND, 5}, Case{PRM_REAR_SURROUND, 6}, Case{PRM_TOP_SURROUND, 9}}) {
        sink_.Clear();
        g_nCmdVersion.store(6);
        SetParamCell(c.cell, 50);
        EXPECT_EQ(ParamStore.GetInt(c.cell), 50); // stored all the same
        EXPECT_EQ(sink_.Count(), 0u);
        g_nCmdVersion.store(7);
        SetParamCell(c.cell, 50);
        // -0.5 twice to parameter 30 of the output's block.
        char expected[64];
        std::snprintf(expected, sizeof expected, "02 09 00 %02X 1E 02 BF 00 00 00 BF 00 00 00",
                      c.block);
        EXPECT_EQ(Sent(), (V{expected}));
    }
}
