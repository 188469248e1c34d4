// The outputs' mix, SRS 3D and mute as the page and the command-line tool set them: what is
// stored and what reaches the processor.
#include "model/Outputs.h"

#include "ModelFixture.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"

#include <string>
#include <vector>

namespace {
using V = std::vector<std::string>;
class Outputs : public ModelFixture
{
};
} // namespace

TEST_F(Outputs, SubMusicMix_StoresThreeTimesThePositionAndWritesThreePointZero)
{
    EXPECT_TRUE(SetOutputMix(2, MIX_MUSIC, 100));
    EXPECT_EQ(ParamStore.GetInt(PRM_SUB_MIX_MUSIC), 300);
    EXPECT_EQ(OutputMixPosition(2, MIX_MUSIC), 100);
    // 3.0 to (8,25); another output's music mix is the position itself.
    EXPECT_TRUE(SetOutputMix(5, MIX_MUSIC, 40));
    EXPECT_EQ(ParamStore.GetInt(PRM_MAIN_MIX_MUSIC), 40);
    EXPECT_EQ(Sent(), (V{"02 09 00 08 19 01 40 40 00 00", "02 09 00 05 11 01 3E CC CC CD"}));
    // Positions are limited to the slider's range; bad outputs and sources are refused.
    SetOutputMix(2, MIX_DIRECT, 250);
    EXPECT_EQ(ParamStore.GetInt(PRM_SUB_MIX_DIRECT), 100);
    EXPECT_FALSE(SetOutputMix(6, MIX_DIRECT, 10));
    EXPECT_FALSE(SetOutputMix(5, 4, 10));
}

TEST_F(Outputs, MuteWritesThePassValueToItsOwnOutput)
{
    EXPECT_TRUE(SetOutputMute(5, true));
    EXPECT_TRUE(OutputMuted(5));
    EXPECT_TRUE(SetOutputMute(5, false));
    EXPECT_TRUE(SetOutputMute(7 - 4, true)); // Center: one value
    EXPECT_EQ(Sent(),
              (V{"02 09 00 05 1B 02 00 00 00 00 00 00 00 00",
                 "02 09 00 05 1B 02 3F 80 00 00 3F 80 00 00", "02 09 00 07 16 01 00 00 00 00"}));
    EXPECT_FALSE(OutputMuted(5));
    EXPECT_TRUE(OutputMuted(3));
}

TEST_F(Outputs, SurroundOnlyOnTheStereoOutputs)
{
    EXPECT_FALSE(SetOutputSurround(3, 20));
    EXPECT_FALSE(SetOutputSurround(2, 20));
    EXPECT_EQ(sink_.Count(), 0u);
    EXPECT_TRUE(SetOutputSurround(11, 80)); // limited to 50
    EXPECT_EQ(OutputSurround(11), 50);
    EXPECT_EQ(Sent(), (V{"02 09 00 09 1E 02 BF 00 00 00 BF 00 00 00"}));
}

TEST_F(Outputs, TableNamesEveryOutputOnce)
{
    for (const OutputCells& o : AllOutputs()) {
        EXPECT_EQ(OutputOf(o.pageKind), &o);
        EXPECT_EQ(OutputNamed(o.name), &o);
    }
    EXPECT_EQ(OutputNamed("front"), nullptr);
    EXPECT_EQ(OutputOf(0), nullptr);
}
