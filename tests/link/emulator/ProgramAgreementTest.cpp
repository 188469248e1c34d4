// The emulated processor against the program's own writers and read-back decoder: what the
// full push sends is accepted whole, and reading back gives the store that was pushed.

#include "dsp/FullPush.h"
#include "link/emulator/LinkedProcessor.h"
#include "model/CmdVersion.h"
#include "model/DeviceMemory.h"
#include "model/ParamStore.h"
#include "model/ReadBack.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <vector>

namespace {
class ProgramAgreement : public ::testing::Test
{
protected:
    void SetUp() override
    {
        savedVersion_ = g_nCmdVersion.load();
        g_nCmdVersion.store(0x15);
        ParamStore.ResetToDefaults();
        ResetDeviceMemoryToStartup();
    }
    void TearDown() override
    {
        g_nCmdVersion.store(savedVersion_);
        ParamStore.ResetToDefaults();
        ResetDeviceMemoryToStartup();
    }

    // The program's full read-back against `p`, decoded into the store.
    static void ReadBackInto(LinkedProcessor& p)
    {
        for (const ReadRequest& r : ReadRequestList()) {
            const Report reply = p.Ask({0x0A, 0x00, r.block, r.param, r.count});
            ASSERT_EQ(reply[1], 0x0A);
            EXPECT_EQ(reply[2], 0) << int{r.block} << "," << int{r.param};
            DecodeParamReply(reply);
        }
    }

    static std::vector<uint32_t> Cells()
    {
        std::vector<uint32_t> v;
        for (int c = kFirstCell; c <= kLastCell; ++c) {
            v.push_back(ParamStore.GetBits(c));
        }
        return v;
    }

    int savedVersion_ = 1;
};

// Equal bits, or floats equal to a few parts in a million (times go through exp and log).
bool SameCell(uint32_t a, uint32_t b)
{
    if (a == b) {
        return true;
    }
    const float fa = std::bit_cast<float>(a);
    const float fb = std::bit_cast<float>(b);
    return std::isfinite(fa) &&
           std::fabs(fa - fb) <= 1e-5F * std::max(std::fabs(fa), std::fabs(fb));
}
} // namespace

TEST_F(ProgramAgreement, FactorySettingDecodesToPlausibleCells)
{
    LinkedProcessor p;
    ReadBackInto(p);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_VOL), 80);
    EXPECT_EQ(ParamStore.GetInt(84), 70); // music volume
    EXPECT_FLOAT_EQ(ParamStore.GetFloat(PRM_ECHOA_TIME), 217.0F);
    EXPECT_FLOAT_EQ(ParamStore.GetFloat(PRM_ECHOB_TIME), 217.0F);
    for (int cell :
         {PRM_MAINL_DELAY, PRM_MAINR_DELAY, PRM_REARL_DELAY, PRM_REARR_DELAY, PRM_TOPL_DELAY}) {
        EXPECT_GE(ParamStore.GetFloat(cell), 1.5F) << cell;
    }
    for (int cell : {PRM_MAIN_COMP_RATIO, PRM_REAR_COMP_RATIO, PRM_TOP_COMP_RATIO}) {
        EXPECT_GE(ParamStore.GetFloat(cell), 1.0F) << cell;
    }
    EXPECT_NEAR(ParamStore.GetFloat(PRM_MAIN_COMP_ATTACK), 10.0F, 0.01F);
    EXPECT_NEAR(ParamStore.GetFloat(PRM_MAIN_COMP_RELEASE), 100.0F, 0.1F);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_MUTE), 0);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICA_PHASE), 1);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICA_SHIFT), 1); // frequency shift off
}

TEST_F(ProgramAgreement, FullPushIsAcceptedAndReadsBackAsPushed)
{
    // A setting the program holds: the factory one read back, then edited.
    {
        LinkedProcessor source;
        ReadBackInto(source);
    }
    ParamStore.SetInt(PRM_MIC_VOL, 55);
    ParamStore.SetInt(84, 33);
    ParamStore.SetFloat(PRM_ECHOA_TIME, 300.0F);
    ParamStore.SetFloat(PRM_MAINL_DELAY, 12.5F);
    ParamStore.SetFloat(PRM_MAIN_COMP_RATIO, 4.0F);
    ParamStore.SetInt(PRM_MIC_MUTE, 1);
    DeviceImage.Set(3, 0x42);
    const std::vector<uint32_t> pushed = Cells();

    RecordingSink sink;
    {
        ScopedReportSink attach(&sink);
        // With the ramp the volumes go out too (without it the processor keeps its own);
        // below 80 and 70 each is one report, without pauses.
        PushWholeSetting(1);
    }
    LinkedProcessor target;
    for (const Report& r : sink.Reports()) {
        if (r[1] == 0x09) {
            const Report ack = target.Ask(r);
            ASSERT_EQ(ack[1], 0x09);
            EXPECT_EQ(ack[2], 0) << "(" << int{r[3]} << "," << int{r[4]} << ") x" << int{r[5]};
        } else {
            ASSERT_EQ(target.Acked(r), 0) << "command 0x" << std::hex << int{r[1]};
        }
    }
    target.Ask({0x07});
    EXPECT_EQ(target.processor->ParameterErrors(), 0U);

    // The processor's memory is the PC's mirrors.
    const ProcessorState st = target.processor->State();
    for (MemoryMirror* m : {&DeviceImage, &Block945, &Block965, &Block997}) {
        const std::vector<uint8_t> bytes = m->Snapshot();
        EXPECT_TRUE(
            std::equal(bytes.begin(), bytes.end(), st.working.memory.begin() + m->Address()))
            << "region at " << m->Address();
    }

    // Every cell the read-back fills comes back as it was pushed.
    for (int c = kFirstCell; c <= kLastCell; ++c) {
        ParamStore.SetBits(c, 0xA5A5A5A5U);
    }
    ReadBackInto(target);
    const std::vector<uint32_t> back = Cells();
    int covered = 0;
    for (size_t i = 0; i < back.size(); ++i) {
        if (back[i] == 0xA5A5A5A5U) {
            continue; // not read back
        }
        ++covered;
        EXPECT_TRUE(SameCell(back[i], pushed[i]))
            << "cell " << kFirstCell + static_cast<int>(i) << ": pushed " << pushed[i]
            << ", read back " << back[i];
    }
    EXPECT_GT(covered, 120);
}
