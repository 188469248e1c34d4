#include "dsp/Crossover.h"

#include "dsp/DspFixture.h"
#include "dsp/EqBands.h"

#include <gtest/gtest.h>

#include <string>

namespace {
using CrossoverTest = DspFixture;

// The crossover kinds as the output page offers them, with the stage codes of both sides.
struct KindRow
{
    int kind;
    const char* label;
    SubSlotStages lowPass;
    SubSlotStages highPass;
};
const KindRow kKinds[] = {
    {0, "LinkwitzRiely 12dB", {10, 10, 1, 1}, {11, 11, 1, 1}},
    {1, "LinkwitzRiely 24dB", {12, 12, 1, 1}, {13, 13, 1, 1}},
    {2, "LinkwitzRiely 36dB", {14, 10, 14, 10}, {15, 11, 15, 11}},
    {3, "LinkwitzRiely 48dB", {18, 20, 18, 20}, {19, 21, 19, 21}},
    {4, "Bessel 12dB", {8, 1, 1, 1}, {9, 1, 1, 1}},
    {5, "Bessel 18dB", {8, 10, 1, 1}, {9, 11, 1, 1}},
    {6, "Bessel 24dB", {8, 8, 1, 1}, {9, 9, 1, 1}},
    {7, "Butterworth 12dB", {12, 1, 1, 1}, {13, 1, 1, 1}},
    {8, "Butterworth 18dB", {14, 10, 1, 1}, {15, 11, 1, 1}},
    {9, "Butterworth 24dB", {18, 20, 1, 1}, {19, 21, 1, 1}},
    {10, "Chebyshev 12dB", {6, 1, 1, 1}, {7, 1, 1, 1}},
    {11, "", {1, 1, 1, 1}, {1, 1, 1, 1}},
};
} // namespace

TEST(CrossoverKinds, LabelsAndStagesOfEveryKindOnBothSides)
{
    for (const KindRow& row : kKinds) {
        EXPECT_EQ(std::string(CrossoverKindLabel(row.kind)), row.label);
        EXPECT_EQ(CrossoverStages(row.kind, CROSSOVER_LOW_PASS), row.lowPass) << row.kind;
        EXPECT_EQ(CrossoverStages(row.kind, CROSSOVER_HIGH_PASS), row.highPass) << row.kind;
    }
    EXPECT_EQ(std::string(CrossoverKindLabel(12)), "");
    EXPECT_EQ(std::string(CrossoverKindLabel(-1)), "");
}

TEST(CrossoverKinds, KindsOutsideOneToElevenBuildKindZero)
{
    for (int kind : {-1, 12, 99}) {
        EXPECT_EQ(CrossoverStages(kind, CROSSOVER_LOW_PASS), (SubSlotStages{10, 10, 1, 1}));
        EXPECT_EQ(CrossoverStages(kind, CROSSOVER_HIGH_PASS), (SubSlotStages{11, 11, 1, 1}));
    }
}

TEST(CrossoverKinds, SideFollowsTheParityOfTheCurrentType)
{
    struct Row
    {
        int type;
        CrossoverSide side;
    };
    const Row rows[] = {{2, CROSSOVER_LOW_PASS},   {3, CROSSOVER_HIGH_PASS},
                        {1, CROSSOVER_HIGH_PASS},  {18, CROSSOVER_LOW_PASS},
                        {21, CROSSOVER_HIGH_PASS}, {6, CROSSOVER_LOW_PASS},
                        {0, CROSSOVER_LOW_PASS}};
    for (const Row& r : rows) {
        EXPECT_EQ(CrossoverSideOfType(r.type), r.side) << "type " << r.type;
    }
}

TEST(CrossoverKinds, PlainUserTypesOnASubSlot)
{
    EXPECT_EQ(SubUserTypeStages(EQ_TYPE_OFF), (SubSlotStages{1, 1, 1, 1}));
    EXPECT_EQ(SubUserTypeStages(EQ_TYPE_PEQ), (SubSlotStages{1, 1, 1, 1}));
    EXPECT_EQ(SubUserTypeStages(EQ_TYPE_LP), (SubSlotStages{18, 20, 1, 1}));
    EXPECT_EQ(SubUserTypeStages(EQ_TYPE_HP), (SubSlotStages{19, 21, 1, 1}));
    EXPECT_EQ(SubUserTypeStages(EQ_TYPE_LS), (SubSlotStages{4, 1, 1, 1}));
    EXPECT_EQ(SubUserTypeStages(EQ_TYPE_HS), (SubSlotStages{5, 1, 1, 1}));
}

TEST(CrossoverKinds, RecognitionFindsKindSideOrPlainType)
{
    for (const KindRow& row : kKinds) {
        if (row.kind == 11) {
            continue;
        }
        SubSlotMatch m = RecogniseSubSlot(row.lowPass);
        EXPECT_TRUE(m.found);
        EXPECT_EQ(m.kind, row.kind);
        EXPECT_EQ(m.side, CROSSOVER_LOW_PASS);
        m = RecogniseSubSlot(row.highPass);
        EXPECT_EQ(m.kind, row.kind);
        EXPECT_EQ(m.side, CROSSOVER_HIGH_PASS);
    }
    // 12, 1, 1, 1 is "Butterworth 12dB", not a partial "LinkwitzRiely 24dB".
    EXPECT_EQ(RecogniseSubSlot({12, 1, 1, 1}).kind, 7);
    const SubSlotMatch peq = RecogniseSubSlot({1, 1, 1, 1});
    EXPECT_TRUE(peq.found);
    EXPECT_EQ(peq.kind, -1);
    EXPECT_EQ(peq.userType, EQ_TYPE_PEQ);
    EXPECT_EQ(RecogniseSubSlot({4, 1, 1, 1}).userType, EQ_TYPE_LS);
    EXPECT_EQ(RecogniseSubSlot({5, 1, 1, 1}).userType, EQ_TYPE_HS);
    EXPECT_FALSE(RecogniseSubSlot({2, 1, 1, 1}).found);
    EXPECT_FALSE(RecogniseSubSlot({12, 13, 1, 1}).found);
}

TEST_F(CrossoverTest, StartUpSubSlots)
{
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(LoadSubSlotStages(slot), (SubSlotStages{1, 1, 1, 1})) << slot;
    }
    EXPECT_EQ(LoadSubSlotStages(4), (SubSlotStages{18, 20, 1, 1}));
    const SubSlotMatch m = RecogniseSubSlot(LoadSubSlotStages(4));
    EXPECT_EQ(m.kind, 9);
    EXPECT_EQ(m.side, CROSSOVER_LOW_PASS);
}

TEST_F(CrossoverTest, BuildingACrossoverKeepsFrequencyAndQAndZeroesTheGains)
{
    struct Row
    {
        int currentType;
        int kind;
        SubSlotStages expected;
    };
    const Row rows[] = {
        {EQ_TYPE_HP, 3, {19, 21, 19, 21}}, {EQ_TYPE_LP, 2, {14, 10, 14, 10}},
        {EQ_TYPE_HP, 2, {15, 11, 15, 11}}, {EQ_TYPE_PEQ, 4, {9, 1, 1, 1}},
        {EQ_TYPE_LP, 4, {8, 1, 1, 1}},     {14, 10, {6, 1, 1, 1}},
        {EQ_TYPE_LP, 42, {10, 10, 1, 1}},
    };
    for (const Row& r : rows) {
        sink.Clear();
        SetSubEqBand(8, r.currentType, 4.5, 150, 0.9); // slot 2's first stage
        sink.Clear();
        ASSERT_TRUE(BuildSubCrossover(2, r.kind));
        EXPECT_EQ(LoadSubSlotStages(2), r.expected) << "kind " << r.kind;
        for (int i = 0; i < 4; ++i) {
            const EqBand b = LoadEqBand(8, 8 + i);
            EXPECT_EQ(b.freq, 150);
            EXPECT_NEAR(b.q, 0.9, 1e-9);
            EXPECT_NEAR(b.gain, 0.0, 1e-9);
        }
        const auto sent = Sent();
        ASSERT_EQ(sent.size(), 8u);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(sent[static_cast<size_t>(2 * i)].address, 693 + 7 * (8 + i));
            EXPECT_TRUE(sent[static_cast<size_t>(2 * i + 1)].Is(8, 8 + i));
        }
    }
    sink.Clear();
    EXPECT_FALSE(BuildSubCrossover(5, 1));
    EXPECT_FALSE(BuildSubCrossover(-1, 1));
    EXPECT_EQ(sink.Count(), 0u);
}

TEST_F(CrossoverTest, PlainTypeOnASlotPutsTheGainOnTheFirstStageOnly)
{
    ASSERT_TRUE(SetSubSlotType(1, EQ_TYPE_LS, 6.0, 45, 0.8));
    EXPECT_EQ(LoadSubSlotStages(1), (SubSlotStages{4, 1, 1, 1}));
    EXPECT_NEAR(LoadEqBand(8, 4).gain, 6.0, 1e-9);
    for (int band = 5; band < 8; ++band) {
        EXPECT_NEAR(LoadEqBand(8, band).gain, 0.0, 1e-9);
        EXPECT_EQ(LoadEqBand(8, band).freq, 45);
    }
    ASSERT_TRUE(SetSubSlotType(1, EQ_TYPE_HP, 0.0, 80, 0.7));
    EXPECT_EQ(LoadSubSlotStages(1), (SubSlotStages{19, 21, 1, 1}));
    EXPECT_FALSE(SetSubSlotType(5, EQ_TYPE_LP, 0.0, 80, 0.7));
}

TEST(HfDelaySplit, TableAndStepLookup)
{
    ASSERT_EQ(HfDelaySplitTable.size(), 26u);
    EXPECT_EQ(HfDelaySplitTable[0].highPassHz, 500);
    EXPECT_EQ(HfDelaySplitTable[0].lowPassHz, 1000);
    EXPECT_EQ(HfDelaySplitTable[7].highPassHz, 1200);
    EXPECT_EQ(HfDelaySplitTable[7].lowPassHz, 1700);
    EXPECT_EQ(HfDelaySplitTable[25].highPassHz, 3000);
    EXPECT_EQ(HfDelaySplitTable[25].lowPassHz, 3500);
    struct Row
    {
        int freq;
        int step;
    };
    const Row rows[] = {{500, 0},  {600, 1}, {1000, 5}, {3000, 25}, {750, 0},
                        {3100, 0}, {0, 0},   {499, 0},  {-500, 0},  {2400, 19}};
    for (const Row& r : rows) {
        EXPECT_EQ(HfSplitStepOf(r.freq), r.step) << r.freq << " Hz";
    }
}

TEST_F(CrossoverTest, SplitStagesOfEverySide)
{
    struct Row
    {
        DelaySide side;
        int block;
        int band;
    };
    const Row rows[] = {{DELAY_MAIN_L, 5, 10}, {DELAY_MAIN_R, 5, 12}, {DELAY_REAR_L, 6, 10},
                        {DELAY_REAR_R, 6, 12}, {DELAY_TOP_L, 9, 10},  {DELAY_TOP_R, 9, 12},
                        {DELAY_CENTER, 7, 10}, {DELAY_SUB, 8, 20}};
    for (const Row& r : rows) {
        sink.Clear();
        SetDelaySplit(r.side, 3, false);
        EqBand hp = LoadEqBand(r.block, r.band);
        EqBand lp = LoadEqBand(r.block, r.band + 1);
        EXPECT_EQ(hp, (EqBand{0.0, 800, 0.707, EQ_TYPE_HP})) << r.side;
        EXPECT_EQ(lp, (EqBand{0.0, 1300, 0.707, EQ_TYPE_LP})) << r.side;
        const auto w = ParamWrites();
        ASSERT_EQ(w.size(), 2u);
        EXPECT_TRUE(w[0].Is(r.block, r.band));
        EXPECT_TRUE(w[1].Is(r.block, r.band + 1));
        EXPECT_EQ(CurrentSplitStep(r.side), 3);

        SetDelaySplit(r.side, 3, true);
        EXPECT_EQ(LoadEqBand(r.block, r.band), (EqBand{0.0, 800, 0.707, EQ_TYPE_PEQ}));
        EXPECT_EQ(LoadEqBand(r.block, r.band + 1), (EqBand{0.0, 1300, 0.707, EQ_TYPE_PEQ}));
    }
}

TEST_F(CrossoverTest, SplitAtAnUnknownFrequencyIsRebuiltAtStepZero)
{
    SetMainEqBand(10, EQ_TYPE_HP, 0.0, 750, 0.707);
    SetMainEqBand(11, EQ_TYPE_LP, 0.0, 1250, 0.707);
    RebuildDelaySplit(DELAY_MAIN_L, 0);
    EXPECT_EQ(LoadEqBand(5, 10), (EqBand{0.0, 500, 0.707, EQ_TYPE_HP}));
    EXPECT_EQ(LoadEqBand(5, 11), (EqBand{0.0, 1000, 0.707, EQ_TYPE_LP}));
    // The right side's stages are untouched.
    EXPECT_EQ(LoadEqBand(5, 12), (EqBand{0.0, 500, 0.707, EQ_TYPE_HP}));
}

TEST_F(CrossoverTest, MusicLowPass)
{
    SetMusicLowPass(180);
    EXPECT_EQ(LoadEqBand(4, 10), (EqBand{0.0, 180, 0.707, EQ_TYPE_LP}));
    const auto w = ParamWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_TRUE(w[0].Is(4, 10));
    // Music bands 0..9 are untouched.
    EXPECT_EQ(LoadEqBand(4, 9), (EqBand{0.0, 16000, 1.414, EQ_TYPE_PEQ}));
}
