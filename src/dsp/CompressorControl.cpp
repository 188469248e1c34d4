#include "dsp/CompressorControl.h"

#include "model/ParamIds.h"
#include "model/ParamStore.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace {
struct GroupInfo
{
    CompressorOutput output;
    int bypassCell;
    int thresholdCell; // ratio, attack and release follow
    void (*writer)(float threshold, float ratio, float attack, float release);
};

constexpr std::array<GroupInfo, kCompGroupCount> kGroups = {{
    {COMP_MAIN, PRM_MAIN_COMP_BYPASS, PRM_MAIN_COMP_THRESHOLD, &WriteMainCompressor},
    {COMP_REAR, PRM_REAR_COMP_BYPASS, PRM_REAR_COMP_THRESHOLD, &WriteRearCompressor},
    {COMP_CENTER, PRM_CENTER_COMP_BYPASS, PRM_CENTER_COMP_THRESHOLD, &WriteCenterCompressor},
    {COMP_SUB, PRM_SUB_COMP_BYPASS, PRM_SUB_COMP_THRESHOLD, &WriteSubCompressor},
    {COMP_TOP, PRM_TOP_COMP_BYPASS, PRM_TOP_COMP_THRESHOLD, &WriteTopCompressor},
}};

constexpr std::array<CompSliderRange, COMP_SLIDER_COUNT> kRanges = {{
    {-60, 0},
    {10, 300},
    {1, 100},
    {1, 1000},
}};

const GroupInfo* GroupOf(int group)
{
    return group >= 0 && group < kCompGroupCount ? &kGroups[static_cast<size_t>(group)] : nullptr;
}

bool ValidSlider(int slider)
{
    return slider >= 0 && slider < COMP_SLIDER_COUNT;
}

// Whole milliseconds; a value too large for an int is held at the largest the page offers.
float TruncatedMs(float ms)
{
    if (!std::isfinite(ms)) {
        return ms;
    }
    return std::trunc(std::clamp(ms, -1.0e6f, 1.0e6f));
}
} // namespace

CompressorOutput CompressorOfGroup(int group)
{
    const GroupInfo* g = GroupOf(group);
    return g ? g->output : COMP_OUTPUT_COUNT;
}

CompSliderRange CompressorSliderRange(int slider)
{
    return ValidSlider(slider) ? kRanges[static_cast<size_t>(slider)] : CompSliderRange{};
}

float CompressorSliderValue(int slider, int position)
{
    return slider == COMP_SLIDER_RATIO ? static_cast<float>(position) / 10.0f
                                       : static_cast<float>(position);
}

int CompressorSliderPosition(int slider, float value)
{
    const CompSliderRange r = CompressorSliderRange(slider);
    if (!std::isfinite(value)) {
        return r.minimum;
    }
    const double scaled = slider == COMP_SLIDER_RATIO ? static_cast<double>(value) * 10.0
                                                      : static_cast<double>(value);
    const double t = std::trunc(scaled);
    return static_cast<int>(
        std::clamp(t, static_cast<double>(r.minimum), static_cast<double>(r.maximum)));
}

std::string CompressorValueText(int slider, float value)
{
    char buffer[64];
    const double v = static_cast<double>(value);
    switch (slider) {
    case COMP_SLIDER_THRESHOLD:
        std::snprintf(buffer, sizeof buffer, "%.0fdB", v);
        break;
    case COMP_SLIDER_RATIO:
        std::snprintf(buffer, sizeof buffer, "%.1f:1", v);
        break;
    case COMP_SLIDER_ATTACK:
    case COMP_SLIDER_RELEASE:
        std::snprintf(buffer, sizeof buffer, "%.0fms", v);
        break;
    default:
        return {};
    }
    return buffer;
}

CompressorSettings GroupCompressor(int group)
{
    const GroupInfo* g = GroupOf(group);
    if (!g) {
        return {};
    }
    return CompressorSettings{
        ParamStore.GetFloat(g->thresholdCell), ParamStore.GetFloat(g->thresholdCell + 1),
        ParamStore.GetFloat(g->thresholdCell + 2), ParamStore.GetFloat(g->thresholdCell + 3)};
}

float GroupCompressorValue(int group, int slider)
{
    const CompressorSettings s = GroupCompressor(group);
    switch (slider) {
    case COMP_SLIDER_THRESHOLD:
        return s.threshold;
    case COMP_SLIDER_RATIO:
        return s.ratio;
    case COMP_SLIDER_ATTACK:
        return s.attack;
    case COMP_SLIDER_RELEASE:
        return s.release;
    default:
        return 0.0f;
    }
}

bool GroupCompressorOn(int group)
{
    const GroupInfo* g = GroupOf(group);
    return g && ParamStore.GetInt(g->bypassCell) == 0;
}

float MoveCompressorSlider(int group, int slider, int position)
{
    const CompSliderRange r = CompressorSliderRange(slider);
    const float value = CompressorSliderValue(slider, std::clamp(position, r.minimum, r.maximum));
    const GroupInfo* g = GroupOf(group);
    if (!g || !ValidSlider(slider)) {
        return value;
    }
    CompressorSettings s = GroupCompressor(group);
    s.attack = TruncatedMs(s.attack);
    s.release = TruncatedMs(s.release);
    switch (slider) {
    case COMP_SLIDER_THRESHOLD:
        s.threshold = value;
        break;
    case COMP_SLIDER_RATIO:
        s.ratio = value;
        break;
    case COMP_SLIDER_ATTACK:
        s.attack = value;
        break;
    default:
        s.release = value;
        break;
    }
    g->writer(s.threshold, s.ratio, s.attack, s.release);
    return value;
}

void SetGroupCompressorOn(int group, bool on)
{
    const GroupInfo* g = GroupOf(group);
    if (g) {
        SetCompressorBypass(g->output, on ? 0 : 1);
    }
}
