#include "dsp/EditableEqBands.h"

#include "dsp/Crossover.h"
#include "dsp/DspFixture.h"
#include "dsp/EqBands.h"

namespace {
class EditableEqBandsTest : public DspFixture
{
};

struct KindCase
{
    int kind;
    int block;      // DSP block of its biquads
    int firstParam; // biquad parameter of band 0
    int address;    // band memory address of band 0
    int bands;
};
} // namespace

// Every band of the page goes out once, to its own memory address and biquad parameter, and
// reads back as written.
TEST_F(EditableEqBandsTest, EachBandIsWrittenOnceToItsEqualiser)
{
    const KindCase cases[] = {
        {EQ_KIND_MIC_B, 1, 10, 70, 10}, {EQ_KIND_ECHO_B, 2, 7, 189, 7},
        {EQ_KIND_MUSIC, 4, 0, 336, 10}, {EQ_KIND_MAIN, 5, 0, 413, 10},
        {EQ_KIND_TOP, 9, 0, 847, 10},   {EQ_KIND_REVERB_A, 3, 0, 238, 7},
    };
    for (const KindCase& c : cases) {
        sink.Clear();
        std::vector<EqBand> bands;
        for (int i = 0; i < c.bands; ++i) {
            bands.push_back(EqBand{-2.0 - i, 40 * (i + 1), 0.5 + 0.1 * i, i % 2 == 0 ? 1 : 4});
        }
        ASSERT_TRUE(WriteEditableEqBands(c.kind, bands));
        const std::vector<SentReport> sent = Sent();
        ASSERT_EQ(sent.size(), static_cast<size_t>(2 * c.bands)) << "kind " << c.kind;
        for (int i = 0; i < c.bands; ++i) {
            const SentReport& memory = sent[static_cast<size_t>(2 * i)];
            const SentReport& biquad = sent[static_cast<size_t>(2 * i + 1)];
            EXPECT_EQ(memory.command, kCmdWriteBlock);
            EXPECT_EQ(memory.address, c.address + 7 * i) << "kind " << c.kind << " band " << i;
            EXPECT_TRUE(biquad.Is(c.block, c.firstParam + i)) << "kind " << c.kind << " band " << i;
        }
        EXPECT_EQ(ReadEditableEqBands(c.kind).size(), bands.size());
        for (size_t i = 0; i < bands.size(); ++i) {
            EXPECT_EQ(EncodeEqBand(ReadEditableEqBands(c.kind)[i]), EncodeEqBand(bands[i]));
        }
    }
}

// On the Sub a band is a slot: a pass filter builds the slot's default crossover over its four
// stages, a peak fills the slot's first stage and flattens the other three.
TEST_F(EditableEqBandsTest, SubBandsSetWholeSlots)
{
    ASSERT_TRUE(WriteEditableEqBands(EQ_KIND_SUB,
                                     {{0.0, 25, 0.707, EQ_TYPE_HP}, {-6.0, 45, 4.0, EQ_TYPE_PEQ}}));
    EXPECT_EQ(LoadSubSlotStages(0), SubUserTypeStages(EQ_TYPE_HP));
    EXPECT_EQ(LoadSubSlotStages(1), SubUserTypeStages(EQ_TYPE_PEQ));
    const std::vector<EqBand> slots = ReadEditableEqBands(EQ_KIND_SUB);
    ASSERT_EQ(slots.size(), 5u);
    EXPECT_EQ(slots[0].freq, 25);
    EXPECT_EQ(slots[1].freq, 45);
    EXPECT_NEAR(slots[1].gain, -6.0, 1e-9);
    EXPECT_EQ(LoadEqBand(8, 5).gain, 0.0); // a hidden stage of slot 1 stays flat
}

TEST_F(EditableEqBandsTest, TooManyBandsOrABadKindWriteNothing)
{
    EXPECT_FALSE(WriteEditableEqBands(EQ_KIND_ECHO_A, std::vector<EqBand>(8)));
    EXPECT_FALSE(WriteEditableEqBands(12, std::vector<EqBand>(1)));
    EXPECT_EQ(sink.Count(), 0u);
    EXPECT_TRUE(ReadEditableEqBands(-1).empty());
}
