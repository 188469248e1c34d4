#include "dsp/DelayControl.h"

#include "dsp/Dynamics.h"
#include "model/ParamStore.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
// Row order to side order, the one place the two meet.
constexpr std::array<DelaySide, kDelayChannelCount> kChannelSides = {
    DELAY_MAIN_L, DELAY_MAIN_R, DELAY_CENTER, DELAY_SUB,
    DELAY_REAR_L, DELAY_REAR_R, DELAY_TOP_L,  DELAY_TOP_R,
};

bool ValidChannel(int channel)
{
    return channel >= 0 && channel < kDelayChannelCount;
}
} // namespace

DelaySide DelaySideOfChannel(int channel)
{
    return ValidChannel(channel) ? kChannelSides[static_cast<size_t>(channel)] : DELAY_SIDE_COUNT;
}

int DelayChannelOfSide(DelaySide side)
{
    for (int i = 0; i < kDelayChannelCount; ++i) {
        if (kChannelSides[static_cast<size_t>(i)] == side) {
            return i;
        }
    }
    return -1;
}

float LimitDelayMs(double ms)
{
    if (!std::isfinite(ms)) {
        return kDelayMinMs;
    }
    const double tenths = std::clamp(std::round(ms * 10.0), static_cast<double>(kDelayTenthsMin),
                                     static_cast<double>(kDelayTenthsMax));
    return static_cast<float>(tenths / 10.0);
}

float DelayFromText(const std::string& text)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    const double v = std::strtod(begin, &end);
    return LimitDelayMs(end == begin ? 0.0 : v);
}

float StepDelay(float ms, int steps)
{
    const double tenths = std::isfinite(ms) ? std::round(static_cast<double>(ms) * 10.0) : 0.0;
    return LimitDelayMs((tenths + steps) / 10.0);
}

std::string DelayText(float ms)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.1fms", static_cast<double>(ms));
    return buffer;
}

float ChannelDelay(int channel)
{
    const DelaySideCells c = DelayCellsOf(DelaySideOfChannel(channel));
    return c.block == 0 ? 0.0f : ParamStore.GetFloat(c.delayCell);
}

bool ChannelDelayOn(int channel)
{
    const DelaySideCells c = DelayCellsOf(DelaySideOfChannel(channel));
    return c.block != 0 && ParamStore.GetInt(c.offCell) == 0;
}

int ChannelDelayMode(int channel)
{
    const DelaySideCells c = DelayCellsOf(DelaySideOfChannel(channel));
    return c.block != 0 && ParamStore.GetInt(c.modeCell) != 0 ? 1 : 0;
}

int ChannelSplitStep(int channel)
{
    return ValidChannel(channel) ? CurrentSplitStep(DelaySideOfChannel(channel)) : 0;
}

float ApplyChannelDelay(int channel, double ms, bool* sent)
{
    const float value = LimitDelayMs(ms);
    bool changed = false;
    if (ValidChannel(channel) && value != ChannelDelay(channel)) {
        SetDelay(DelaySideOfChannel(channel), value);
        changed = true;
    }
    if (sent) {
        *sent = changed;
    }
    return value;
}

void SetChannelDelayOn(int channel, bool on)
{
    if (ValidChannel(channel)) {
        SetDelayOff(DelaySideOfChannel(channel), on ? 0 : 1);
    }
}

void SetChannelDelayMode(int channel, int mode)
{
    if (ValidChannel(channel)) {
        SetDelayMode(DelaySideOfChannel(channel), mode != 0 ? 1 : 0);
    }
}

int SplitStepHz(int step)
{
    return HfDelaySplitTable[static_cast<size_t>(std::clamp(step, 0, kHfSplitStepCount - 1))]
        .highPassHz;
}

int SetChannelSplitStep(int channel, int step)
{
    const int limited = std::clamp(step, 0, kHfSplitStepCount - 1);
    if (ValidChannel(channel)) {
        SetDelaySplit(DelaySideOfChannel(channel), limited, false);
    }
    return SplitStepHz(limited);
}

DelayRowEnabling DelayRowEnabled(bool on, int mode)
{
    return DelayRowEnabling{on, on && mode == 0};
}
