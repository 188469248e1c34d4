#include "dsp/InputParams.h"

#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "model/Setters.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace {
constexpr TextPair kNames[kInputParamRows] = {
    {"混响电平", "Reverb Level"},       {"混响预延时", "Reverb Predelay"},
    {"混响时长", "Reverb Time"},        {"回声电平", "Echo Level"},
    {"回声预延时", "Echo Predelay"},    {"回声间隔", "Echo Time"},
    {"回声衰减比例", "Echo Vol Decay"}, {"话筒移频", "Shift Frequency"},
};

constexpr ParamRange kRanges[kInputParamRows] = {
    {0, 100}, {3, 200}, {0, 100}, {0, 100}, {3, 200}, {2, 260}, {20, 90}, {1, 8},
};

constexpr TextPair kReverbMuted = {"混响已静音", "Reverb vol is mute"};
constexpr TextPair kEchoMuted = {"回声已静音", "Echo vol is mute"};
constexpr TextPair kShiftOff = {"关闭", "Off"};

int Pick(int channel, int a, int b)
{
    return channel == 0 ? a : b;
}

// A float cell as the list shows it: truncated, with anything that is not a number as 0.
int Truncated(double v)
{
    if (!std::isfinite(v)) {
        return 0;
    }
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    return v <= lo ? std::numeric_limits<int>::min()
                   : (v >= hi ? std::numeric_limits<int>::max() : static_cast<int>(v));
}

int FloatCell(int cell)
{
    return Truncated(static_cast<double>(ParamStore.GetFloat(cell)));
}

int PredelaySum(int first, int second)
{
    return Truncated(static_cast<double>(ParamStore.GetFloat(first)) +
                     static_cast<double>(ParamStore.GetFloat(second)));
}

std::string WithUnit(int v, const char* unit)
{
    return std::to_string(v) + unit;
}
} // namespace

TextPair InputParamName(int row)
{
    if (row < 0 || row >= kInputParamRows) {
        return {"", ""};
    }
    return kNames[row];
}

ParamRange InputParamRange(int row)
{
    if (row < 0 || row >= kInputParamRows) {
        return {0, 100};
    }
    return kRanges[row];
}

int InputParamValue(int row, int channel)
{
    switch (row) {
    case PARAM_REVERB_LEVEL:
        return ParamStore.GetInt(Pick(channel, PRM_REVA_LEVEL, PRM_REVB_LEVEL));
    case PARAM_REVERB_PREDELAY:
        return channel == 0 ? PredelaySum(PRM_REVA_PREDELAY1, PRM_REVA_PREDELAY2)
                            : PredelaySum(PRM_REVB_PREDELAY1, PRM_REVB_PREDELAY2);
    case PARAM_REVERB_TIME:
        return FloatCell(Pick(channel, PRM_REVA_TIME, PRM_REVB_TIME));
    case PARAM_ECHO_LEVEL:
        return ParamStore.GetInt(Pick(channel, PRM_ECHOA_LEVEL, PRM_ECHOB_LEVEL));
    case PARAM_ECHO_PREDELAY:
        return channel == 0 ? PredelaySum(PRM_ECHOA_PREDELAY1, PRM_ECHOA_PREDELAY2)
                            : PredelaySum(PRM_ECHOB_PREDELAY1, PRM_ECHOB_PREDELAY2);
    case PARAM_ECHO_TIME:
        return FloatCell(Pick(channel, PRM_ECHOA_TIME, PRM_ECHOB_TIME));
    case PARAM_ECHO_DECAY:
        return ParamStore.GetInt(Pick(channel, PRM_ECHOA_DECAY, PRM_ECHOB_DECAY));
    case PARAM_SHIFT:
        return ParamStore.GetInt(Pick(channel, PRM_MICA_SHIFT, PRM_MICB_SHIFT));
    default:
        return 0;
    }
}

std::string InputParamText(int row, int value)
{
    switch (row) {
    case PARAM_REVERB_LEVEL:
    case PARAM_ECHO_LEVEL:
    case PARAM_ECHO_DECAY:
        return WithUnit(value, "%");
    case PARAM_REVERB_PREDELAY:
    case PARAM_ECHO_PREDELAY:
    case PARAM_ECHO_TIME:
        return WithUnit(value, "ms");
    case PARAM_REVERB_TIME: {
        char buf[48];
        std::snprintf(buf, sizeof buf, "%.0fms", value * 49.6 + 40.0);
        return buf;
    }
    case PARAM_SHIFT:
        if (value == 0 || value == 1) {
            return kShiftOff.Text();
        }
        return WithUnit(value, "Hz");
    default:
        return {};
    }
}

ParamApplyResult ApplyInputParam(int row, int channel, int v)
{
    ParamApplyResult result;
    const int ch = channel == 0 ? 0 : 1;
    switch (row) {
    case PARAM_REVERB_LEVEL:
        SetParamCell(Pick(ch, PRM_REVA_LEVEL, PRM_REVB_LEVEL), v);
        if (v != 0 && ParamStore.GetInt(PRM_REVERB_MUTE) != 0) {
            result.notice = &kReverbMuted;
        }
        break;
    case PARAM_REVERB_PREDELAY:
        SetReverbPredelay(ch, static_cast<float>(v));
        break;
    case PARAM_REVERB_TIME:
        SetReverbTime(ch, static_cast<float>(v));
        break;
    case PARAM_ECHO_LEVEL:
        SetParamCell(Pick(ch, PRM_ECHOA_LEVEL, PRM_ECHOB_LEVEL), v);
        if (v != 0 && ParamStore.GetInt(PRM_ECHO_MUTE) != 0) {
            result.notice = &kEchoMuted;
        }
        break;
    case PARAM_ECHO_PREDELAY:
        SetEchoPredelay(ch, static_cast<float>(v));
        break;
    case PARAM_ECHO_TIME:
        SetEchoTime(ch, v);
        // Very short echo times bring the reverb's predelay along, ten times as long.
        if (v >= 2 && v <= 6) {
            SetReverbPredelay(ch, static_cast<float>(v * 10));
            result.reverbPredelay = v * 10;
        }
        break;
    case PARAM_ECHO_DECAY:
        SetParamCell(Pick(ch, PRM_ECHOA_DECAY, PRM_ECHOB_DECAY), v);
        break;
    case PARAM_SHIFT:
        SetFrequencyShift(ch, v);
        break;
    default:
        break;
    }
    return result;
}
