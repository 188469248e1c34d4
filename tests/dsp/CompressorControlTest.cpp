#include "dsp/CompressorControl.h"

#include "dsp/DspFixture.h"
#include "model/ParamIds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
using CompressorControlTest = DspFixture;

TEST(CompressorSliders, RangesValuesAndTexts)
{
    struct Row
    {
        int slider, minimum, maximum, position;
        float value;
        const char* text;
    };
    const Row rows[] = {{COMP_SLIDER_THRESHOLD, -60, 0, -24, -24.0f, "-24dB"},
                        {COMP_SLIDER_RATIO, 10, 300, 10, 1.0f, "1.0:1"},
                        {COMP_SLIDER_RATIO, 10, 300, 300, 30.0f, "30.0:1"},
                        {COMP_SLIDER_RATIO, 10, 300, 45, 4.5f, "4.5:1"},
                        {COMP_SLIDER_ATTACK, 1, 100, 37, 37.0f, "37ms"},
                        {COMP_SLIDER_RELEASE, 1, 1000, 1000, 1000.0f, "1000ms"}};
    for (const Row& r : rows) {
        EXPECT_EQ(CompressorSliderRange(r.slider).minimum, r.minimum);
        EXPECT_EQ(CompressorSliderRange(r.slider).maximum, r.maximum);
        EXPECT_EQ(CompressorSliderValue(r.slider, r.position), r.value);
        EXPECT_EQ(CompressorSliderPosition(r.slider, r.value), r.position);
        EXPECT_EQ(CompressorValueText(r.slider, r.value), r.text);
    }
}

TEST(CompressorSliders, StoredValuesLoadTruncatedAndLimited)
{
    EXPECT_EQ(CompressorSliderPosition(COMP_SLIDER_THRESHOLD, -12.9f), -12);
    EXPECT_EQ(CompressorSliderPosition(COMP_SLIDER_THRESHOLD, -80.0f), -60);
    EXPECT_EQ(CompressorSliderPosition(COMP_SLIDER_THRESHOLD, 5.0f), 0);
    EXPECT_EQ(CompressorSliderPosition(COMP_SLIDER_RATIO, 0.0f), 10);
    EXPECT_EQ(CompressorSliderPosition(COMP_SLIDER_RATIO, 2.57f), 25);
    EXPECT_EQ(CompressorSliderPosition(COMP_SLIDER_RATIO, 50.0f), 300);
    EXPECT_EQ(CompressorSliderPosition(COMP_SLIDER_ATTACK, 9.99f), 9);
    EXPECT_EQ(CompressorSliderPosition(COMP_SLIDER_RELEASE, 5000.0f), 1000);
    EXPECT_EQ(
        CompressorSliderPosition(COMP_SLIDER_RELEASE, std::numeric_limits<float>::quiet_NaN()), 1);
    // The value box shows the stored value unchanged.
    EXPECT_EQ(CompressorValueText(COMP_SLIDER_RATIO, 0.0f), "0.0:1");
    EXPECT_EQ(CompressorValueText(COMP_SLIDER_THRESHOLD, -80.0f), "-80dB");
}

TEST(CompressorGroups, ShownOrderMapsToTheCompressors)
{
    EXPECT_EQ(CompressorOfGroup(COMP_GROUP_MAIN), COMP_MAIN);
    EXPECT_EQ(CompressorOfGroup(COMP_GROUP_REAR), COMP_REAR);
    EXPECT_EQ(CompressorOfGroup(COMP_GROUP_CENTER), COMP_CENTER);
    EXPECT_EQ(CompressorOfGroup(COMP_GROUP_SUB), COMP_SUB);
    EXPECT_EQ(CompressorOfGroup(COMP_GROUP_TOP), COMP_TOP);
    EXPECT_EQ(CompressorOfGroup(5), COMP_OUTPUT_COUNT);
}

TEST_F(CompressorControlTest, OnOffBoxWritesTheBypassAsOneInteger)
{
    SetGroupCompressorOn(COMP_GROUP_MAIN, false);
    EXPECT_EQ(ParamStore.GetInt(PRM_MAIN_COMP_BYPASS), 1);
    EXPECT_FALSE(GroupCompressorOn(COMP_GROUP_MAIN));
    SetGroupCompressorOn(COMP_GROUP_MAIN, true);
    EXPECT_TRUE(GroupCompressorOn(COMP_GROUP_MAIN));
    SetGroupCompressorOn(COMP_GROUP_CENTER, false);
    const auto w = ParamWrites();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_TRUE(w[0].Is(5, 20));
    EXPECT_EQ(w[0].count, 1);
    EXPECT_EQ(w[0].Word(0), 1u);
    EXPECT_EQ(w[1].Word(0), 0u);
    EXPECT_TRUE(w[2].Is(7, 18));
    EXPECT_EQ(w[2].Word(0), 1u);
}

TEST_F(CompressorControlTest, RatioEndsSendOneAndThirty)
{
    ParamStore.SetFloat(PRM_REAR_COMP_ATTACK, 10.0f);
    ParamStore.SetFloat(PRM_REAR_COMP_RELEASE, 100.0f);
    EXPECT_EQ(MoveCompressorSlider(COMP_GROUP_REAR, COMP_SLIDER_RATIO, 10), 1.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_REAR_COMP_RATIO), 1.0f);
    EXPECT_EQ(MoveCompressorSlider(COMP_GROUP_REAR, COMP_SLIDER_RATIO, 300), 30.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_REAR_COMP_RATIO), 30.0f);
    const auto w = ParamWrites();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_TRUE(w[0].Is(6, 19));
    EXPECT_EQ(w[0].count, 7);
    EXPECT_EQ(w[0].Float(2), 0.0f); // 1 - 1/1
    EXPECT_EQ(w[1].Float(2), static_cast<float>(1.0f - 1.0f / 30.0f));
}

TEST_F(CompressorControlTest, AMoveSendsTheOtherThreeFromTheCells)
{
    ParamStore.SetFloat(PRM_SUB_COMP_THRESHOLD, -17.5f);
    ParamStore.SetFloat(PRM_SUB_COMP_RATIO, 4.0f);
    ParamStore.SetFloat(PRM_SUB_COMP_ATTACK, 12.9f);
    ParamStore.SetFloat(PRM_SUB_COMP_RELEASE, 250.7f);
    // Another group's cells must stay out of it.
    ParamStore.SetFloat(PRM_MAIN_COMP_RATIO, 8.0f);
    MoveCompressorSlider(COMP_GROUP_SUB, COMP_SLIDER_ATTACK, 37);
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_COMP_THRESHOLD), -17.5f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_COMP_RATIO), 4.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_COMP_ATTACK), 37.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_COMP_RELEASE), 250.0f);
    auto w = ParamWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_TRUE(w[0].Is(8, 27));
    EXPECT_EQ(w[0].Float(0), -17.5f);
    EXPECT_EQ(w[0].Float(2), 0.75f);
    EXPECT_EQ(w[0].Float(5), static_cast<float>(1.0 - std::exp(-1.0 / (37.0 * 48.0))));
    EXPECT_EQ(w[0].Float(6), static_cast<float>(1.0 - std::exp(-1.0 / (250.0 * 48.0))));

    // The threshold slider keeps the stored ratio and truncates the stored times.
    sink.Clear();
    ParamStore.SetFloat(PRM_SUB_COMP_ATTACK, 5.8f);
    MoveCompressorSlider(COMP_GROUP_SUB, COMP_SLIDER_THRESHOLD, -70);
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_COMP_THRESHOLD), -60.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_COMP_ATTACK), 5.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_COMP_RATIO), 4.0f);
    w = ParamWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].Float(0), -60.0f);
}
} // namespace
