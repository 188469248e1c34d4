#pragma once
// The compressor rules of the five output groups as the compressor page (and any other front
// end) applies them: the groups in the order they are shown, the four sliders with their
// ranges and value texts, and what a slider move or the on/off box sends.

#include "dsp/Dynamics.h"

#include <string>

// The groups in the order they are shown: Main, Rear, Center, Sub, Top. This differs from the
// order of CompressorOutput.
inline constexpr int kCompGroupCount = 5;

enum CompGroup : int
{
    COMP_GROUP_MAIN = 0,
    COMP_GROUP_REAR,
    COMP_GROUP_CENTER,
    COMP_GROUP_SUB,
    COMP_GROUP_TOP,
};

// The compressor of a shown group (COMP_OUTPUT_COUNT for a group outside 0..4).
CompressorOutput CompressorOfGroup(int group);

enum CompSlider : int
{
    COMP_SLIDER_THRESHOLD = 0, // -60..0, dB
    COMP_SLIDER_RATIO,         // 10..300, ratio x 10
    COMP_SLIDER_ATTACK,        // 1..100, ms
    COMP_SLIDER_RELEASE,       // 1..1000, ms
    COMP_SLIDER_COUNT,
};

struct CompSliderRange
{
    int minimum = 0;
    int maximum = 0;
};
// The range of a slider ({0, 0} for a bad slider).
CompSliderRange CompressorSliderRange(int slider);

// The value a slider position stands for: the position, or position / 10 for the ratio.
float CompressorSliderValue(int slider, int position);
// The slider position for a value: threshold, attack and release truncated to whole numbers,
// the ratio times 10 (truncated), limited to the slider's range; a non-finite value gives the
// range's minimum.
int CompressorSliderPosition(int slider, float value);
// The value text: "%.0fdB", "%.1f:1", "%.0fms", "%.0fms".
std::string CompressorValueText(int slider, float value);

// The group's four cells (as stored) and whether its compressor works (bypass cell 0).
CompressorSettings GroupCompressor(int group);
float GroupCompressorValue(int group, int slider);
bool GroupCompressorOn(int group);

// A slider moved to `position` (limited to its range): the group's WriteCompressor member is
// called with the moved value and the other three from the cells, threshold and ratio as
// stored, attack and release truncated to whole milliseconds. Returns the moved value.
float MoveCompressorSlider(int group, int slider, int position);
// The on/off box: on stores bypass 0, off 1, and sends it as one integer word.
void SetGroupCompressorOn(int group, bool on);
