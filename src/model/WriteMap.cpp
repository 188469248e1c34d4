#include "model/WriteMap.h"

#include "model/CmdVersion.h"
#include "model/Encodings.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "model/Writer.h"

#include <array>
#include <cmath>

namespace {
using E = Encoding;

// The plain parameters of every block. Parameters missing here (biquads, compressor blocks,
// delay-mode pairs, speaker and mic boost level blocks, the mic boost gains, the music pass)
// are sent by the DSP layer.
constexpr std::array kMap = {
    // Block 1, MIC
    ParamMapEntry{1, 20, 1, PRM_MIC_VOL, E::Pct},
    ParamMapEntry{1, 23, 1, PRM_MICPORT1_TO_A, E::Pct},
    ParamMapEntry{1, 24, 1, PRM_MICPORT2_TO_A, E::Pct},
    ParamMapEntry{1, 25, 1, PRM_MICPORT3_TO_A, E::Pct},
    ParamMapEntry{1, 26, 1, PRM_MICPORT4_TO_A, E::Pct},
    ParamMapEntry{1, 27, 1, PRM_MICA_EQ_BYPASS, E::Int},
    ParamMapEntry{1, 28, 1, PRM_MICA_SHIFT, E::ShiftOmega},
    ParamMapEntry{1, 29, 1, PRM_MICA_SHIFT, E::ShiftDelay},
    ParamMapEntry{1, 30, 1, PRM_MICA_SHIFT_OFF, E::Int},
    ParamMapEntry{1, 31, 1, PRM_MICA_PHASE, E::Int},
    ParamMapEntry{1, 32, 1, PRM_MIC_MUTE, E::On},
    ParamMapEntry{1, 33, 1, PRM_MIC_VOL, E::Pct},
    ParamMapEntry{1, 36, 1, PRM_MICPORT1_TO_B, E::Pct},
    ParamMapEntry{1, 37, 1, PRM_MICPORT2_TO_B, E::Pct},
    ParamMapEntry{1, 38, 1, PRM_MICPORT3_TO_B, E::Pct},
    ParamMapEntry{1, 39, 1, PRM_MICPORT4_TO_B, E::Pct},
    ParamMapEntry{1, 40, 1, PRM_MICB_EQ_BYPASS, E::Int},
    ParamMapEntry{1, 41, 1, PRM_MICB_SHIFT, E::ShiftOmega},
    ParamMapEntry{1, 42, 1, PRM_MICB_SHIFT, E::ShiftDelay},
    ParamMapEntry{1, 43, 1, PRM_MICB_SHIFT_OFF, E::Int},
    ParamMapEntry{1, 44, 1, PRM_MICB_PHASE, E::Int},
    ParamMapEntry{1, 45, 1, PRM_MIC_MUTE, E::On},
    ParamMapEntry{1, 46, 1, PRM_MICPORT1_VOL, E::Pct},
    ParamMapEntry{1, 47, 1, PRM_MICPORT2_VOL, E::Pct},
    ParamMapEntry{1, 48, 1, PRM_MICPORT3_VOL, E::Pct},
    ParamMapEntry{1, 49, 1, PRM_MICPORT4_VOL, E::Pct},
    ParamMapEntry{1, 50, 1, PRM_MICPORT1_NG, E::Div4},
    ParamMapEntry{1, 51, 1, PRM_MICPORT2_NG, E::Div4},
    ParamMapEntry{1, 52, 1, PRM_MICPORT3_NG, E::Div4},
    ParamMapEntry{1, 53, 1, PRM_MICPORT4_NG, E::Div4},
    ParamMapEntry{1, 54, 1, PRM_MIC_NG_ATTACK, E::Div5},
    ParamMapEntry{1, 55, 1, PRM_MIC_NG_RELEASE, E::Div7},
    ParamMapEntry{1, 57, 1, PRM_AUTOSUB_ON, E::Int},
    ParamMapEntry{1, 58, 1, PRM_AUTOSUB_LEVEL, E::Pct},
    ParamMapEntry{1, 65, 1, PRM_MIC_BOOST_ON, E::MicBoostOn},
    ParamMapEntry{1, 69, 1, PRM_MIC_BOOST_ON, E::MicBoostOn},
    // Block 2, ECHO
    ParamMapEntry{2, 14, 1, PRM_ECHOA_EQ_BYPASS, E::Int},
    ParamMapEntry{2, 15, 1, PRM_ECHOA_LEVEL, E::Pct},
    ParamMapEntry{2, 16, 1, PRM_ECHOA_PREDELAY1, E::Smp},
    ParamMapEntry{2, 17, 1, PRM_ECHOA_PREDELAY2, E::Smp},
    ParamMapEntry{2, 18, 1, PRM_ECHOA_TIME, E::Smp},
    ParamMapEntry{2, 19, 1, PRM_ECHOA_P19, E::Pct},
    ParamMapEntry{2, 20, 1, PRM_ECHOA_DECAY, E::NegPct},
    ParamMapEntry{2, 21, 1, PRM_ECHOB_EQ_BYPASS, E::Int},
    ParamMapEntry{2, 22, 1, PRM_ECHOB_LEVEL, E::Pct},
    ParamMapEntry{2, 23, 1, PRM_ECHOB_PREDELAY1, E::Smp},
    ParamMapEntry{2, 24, 1, PRM_ECHOB_PREDELAY2, E::Smp},
    ParamMapEntry{2, 25, 1, PRM_ECHOB_TIME, E::Smp},
    ParamMapEntry{2, 26, 1, PRM_ECHOB_P26, E::Pct},
    ParamMapEntry{2, 27, 1, PRM_ECHOB_DECAY, E::NegPct},
    ParamMapEntry{2, 28, 2, PRM_ECHO_VOL, E::Pct},
    ParamMapEntry{2, 29, 2, PRM_ECHO_MUTE, E::On},
    // Block 3, REVERB
    ParamMapEntry{3, 14, 1, PRM_REVA_EQ_BYPASS, E::Int},
    ParamMapEntry{3, 15, 1, PRM_REVA_LEVEL, E::Pct},
    ParamMapEntry{3, 16, 1, PRM_REVA_PREDELAY1, E::Smp},
    ParamMapEntry{3, 17, 1, PRM_REVA_PREDELAY2, E::Smp},
    ParamMapEntry{3, 18, 1, PRM_REVA_TIME, E::ReverbTime},
    ParamMapEntry{3, 19, 1, PRM_REVA_TIME, E::ReverbTime},
    ParamMapEntry{3, 20, 1, PRM_REVB_EQ_BYPASS, E::Int},
    ParamMapEntry{3, 21, 1, PRM_REVB_LEVEL, E::Pct},
    ParamMapEntry{3, 22, 1, PRM_REVB_PREDELAY1, E::Smp},
    ParamMapEntry{3, 23, 1, PRM_REVB_PREDELAY2, E::Smp},
    ParamMapEntry{3, 24, 1, PRM_REVB_TIME, E::ReverbTime},
    ParamMapEntry{3, 25, 1, PRM_REVB_TIME, E::ReverbTime},
    ParamMapEntry{3, 26, 2, PRM_REVERB_VOL, E::Pct},
    ParamMapEntry{3, 27, 2, PRM_REVERB_MUTE, E::On},
    // Block 4, MUSIC
    ParamMapEntry{4, 11, 6, PRM_MUSIC_VOL, E::Pct},
    ParamMapEntry{4, 12, 2, PRM_SPDIF_GAIN, E::Pct},
    ParamMapEntry{4, 13, 2, PRM_AUX1_GAIN, E::Pct},
    ParamMapEntry{4, 14, 2, PRM_AUX2_GAIN, E::Pct},
    ParamMapEntry{4, 16, 1, PRM_MUSIC_EQ_BYPASS, E::Int},
    ParamMapEntry{4, 17, 1, PRM_MUSIC_AGC_ON, E::Int},
    ParamMapEntry{4, 18, 1, PRM_MUSIC_AGC_LEVEL, E::Float},
    ParamMapEntry{4, 19, 1, PRM_MUSIC_PITCH, E::Pitch},
    ParamMapEntry{4, 21, 1, PRM_SPDIF_ON, E::Pct},
    ParamMapEntry{4, 22, 1, PRM_AUX1_ON, E::Pct},
    ParamMapEntry{4, 23, 1, PRM_AUX2_ON, E::Pct},
    ParamMapEntry{4, 24, 1, PRM_MUSIC_NG_THRESHOLD, E::Div4},
    ParamMapEntry{4, 25, 1, PRM_MUSIC_NG_ATTACK, E::Div5},
    ParamMapEntry{4, 26, 1, PRM_MUSIC_NG_RELEASE, E::Div7},
    ParamMapEntry{4, 30, 1, PRM_MUSIC_LPF_DELAY, E::Smp},
    ParamMapEntry{4, 31, 1, PRM_MUSIC_LPF_GAIN, E::Pct},
    // Block 5, MAIN
    ParamMapEntry{5, 14, 1, PRM_MAIN_MIX_DIRECT, E::Pct},
    ParamMapEntry{5, 15, 1, PRM_MAIN_MIX_REVERB, E::Pct},
    ParamMapEntry{5, 16, 1, PRM_MAIN_MIX_ECHO, E::Pct},
    ParamMapEntry{5, 17, 1, PRM_MAIN_MIX_MUSIC, E::Pct},
    ParamMapEntry{5, 18, 1, PRM_MAIN_EQ_BYPASS, E::Int},
    ParamMapEntry{5, 20, 1, PRM_MAIN_COMP_BYPASS, E::Int},
    ParamMapEntry{5, 21, 1, PRM_MAINL_DELAY, E::Smp},
    ParamMapEntry{5, 22, 1, PRM_MAINR_DELAY, E::Smp},
    ParamMapEntry{5, 23, 1, PRM_MAINL_DELAY_OFF, E::Int},
    ParamMapEntry{5, 24, 1, PRM_MAINR_DELAY_OFF, E::Int},
    ParamMapEntry{5, 27, 2, PRM_MAIN_MUTE, E::On},
    ParamMapEntry{5, 30, 2, PRM_MAIN_SURROUND, E::NegPct},
    // Block 6, REAR
    ParamMapEntry{6, 14, 1, PRM_REAR_MIX_DIRECT, E::Pct},
    ParamMapEntry{6, 15, 1, PRM_REAR_MIX_REVERB, E::Pct},
    ParamMapEntry{6, 16, 1, PRM_REAR_MIX_ECHO, E::Pct},
    ParamMapEntry{6, 17, 1, PRM_REAR_MIX_MUSIC, E::Pct},
    ParamMapEntry{6, 18, 1, PRM_REAR_EQ_BYPASS, E::Int},
    ParamMapEntry{6, 20, 1, PRM_REAR_COMP_BYPASS, E::Int},
    ParamMapEntry{6, 21, 1, PRM_REARL_DELAY, E::Smp},
    ParamMapEntry{6, 22, 1, PRM_REARR_DELAY, E::Smp},
    ParamMapEntry{6, 23, 1, PRM_REARL_DELAY_OFF, E::Int},
    ParamMapEntry{6, 24, 1, PRM_REARR_DELAY_OFF, E::Int},
    ParamMapEntry{6, 27, 2, PRM_REAR_MUTE, E::On},
    ParamMapEntry{6, 30, 2, PRM_REAR_SURROUND, E::NegPct},
    // Block 7, CENTER
    ParamMapEntry{7, 12, 1, PRM_CENTER_MIX_DIRECT, E::Pct},
    ParamMapEntry{7, 13, 1, PRM_CENTER_MIX_REVERB, E::Pct},
    ParamMapEntry{7, 14, 1, PRM_CENTER_MIX_ECHO, E::Pct},
    ParamMapEntry{7, 15, 1, PRM_CENTER_MIX_MUSIC, E::Pct},
    ParamMapEntry{7, 16, 1, PRM_CENTER_EQ_BYPASS, E::Int},
    ParamMapEntry{7, 18, 1, PRM_CENTER_COMP_BYPASS, E::Int},
    ParamMapEntry{7, 19, 1, PRM_CENTER_DELAY, E::Smp},
    ParamMapEntry{7, 20, 1, PRM_CENTER_DELAY_OFF, E::Int},
    ParamMapEntry{7, 22, 1, PRM_CENTER_MUTE, E::On},
    // Block 8, SUB
    ParamMapEntry{8, 22, 1, PRM_SUB_MIX_DIRECT, E::Pct},
    ParamMapEntry{8, 23, 1, PRM_SUB_MIX_REVERB, E::Pct},
    ParamMapEntry{8, 24, 1, PRM_SUB_MIX_ECHO, E::Pct},
    ParamMapEntry{8, 25, 1, PRM_SUB_MIX_MUSIC, E::Pct},
    ParamMapEntry{8, 26, 1, PRM_SUB_EQ_BYPASS, E::Int},
    ParamMapEntry{8, 28, 1, PRM_SUB_COMP_BYPASS, E::Int},
    ParamMapEntry{8, 29, 1, PRM_SUB_DELAY, E::Smp},
    ParamMapEntry{8, 30, 1, PRM_SUB_DELAY_OFF, E::Int},
    ParamMapEntry{8, 32, 1, PRM_SUB_MUTE, E::On},
    // Block 9, TOP
    ParamMapEntry{9, 14, 1, PRM_TOP_MIX_DIRECT, E::Pct},
    ParamMapEntry{9, 15, 1, PRM_TOP_MIX_REVERB, E::Pct},
    ParamMapEntry{9, 16, 1, PRM_TOP_MIX_ECHO, E::Pct},
    ParamMapEntry{9, 17, 1, PRM_TOP_MIX_MUSIC, E::Pct},
    ParamMapEntry{9, 18, 1, PRM_TOP_EQ_BYPASS, E::Int},
    ParamMapEntry{9, 20, 1, PRM_TOP_COMP_BYPASS, E::Int},
    ParamMapEntry{9, 21, 1, PRM_TOPL_DELAY, E::Smp},
    ParamMapEntry{9, 22, 1, PRM_TOPR_DELAY, E::Smp},
    ParamMapEntry{9, 23, 1, PRM_TOPL_DELAY_OFF, E::Int},
    ParamMapEntry{9, 24, 1, PRM_TOPR_DELAY_OFF, E::Int},
    ParamMapEntry{9, 27, 2, PRM_TOP_MUTE, E::On},
    ParamMapEntry{9, 30, 2, PRM_TOP_SURROUND, E::NegPct},
};

struct ShiftChannel
{
    int cell;
    int offCell;
    int omegaParam;
    int delayParam;
    int offParam;
};

constexpr std::array<ShiftChannel, 2> kShift = {
    ShiftChannel{PRM_MICA_SHIFT, PRM_MICA_SHIFT_OFF, 28, 29, 30},
    ShiftChannel{PRM_MICB_SHIFT, PRM_MICB_SHIFT_OFF, 41, 42, 43},
};

bool AgcAvailable()
{
    return g_nCmdVersion.load() >= 9;
}

// A float cell that holds no finite number sends nothing: such a word would only confuse
// the processor.
bool FiniteFloatCell(int cell, float& out)
{
    out = ParamStore.GetFloat(cell);
    return std::isfinite(out);
}

void SendEntry(const ParamMapEntry& e)
{
    const int32_t cellInt = ParamStore.GetInt(e.cell);
    float f = 0.0f;
    switch (e.encoding) {
    case E::Pct:
        WriteParamFloat(e.block, e.param, EncodePct(cellInt), e.count);
        break;
    case E::Div4:
        WriteParamFloat(e.block, e.param, EncodeDiv4(cellInt), e.count);
        break;
    case E::Div5:
        WriteParamFloat(e.block, e.param, EncodeDiv5(cellInt), e.count);
        break;
    case E::Div7:
        WriteParamFloat(e.block, e.param, EncodeDiv7(cellInt), e.count);
        break;
    case E::NegPct:
        WriteParamFloat(e.block, e.param, EncodeNegPct(cellInt), e.count);
        break;
    case E::Int:
        WriteParamInt(e.block, e.param, EncodeInt(cellInt));
        break;
    case E::On:
        WriteParamFloat(e.block, e.param, EncodeOn(cellInt), e.count);
        break;
    case E::Smp:
        if (!IsFloatCell(e.cell)) {
            WriteParamInt(e.block, e.param, MsToSamples(cellInt));
        } else if (FiniteFloatCell(e.cell, f)) {
            WriteParamInt(e.block, e.param, MsToSamples(static_cast<double>(f)));
        }
        break;
    case E::Float:
        if (FiniteFloatCell(e.cell, f)) {
            WriteParamFloat(e.block, e.param, f, e.count);
        }
        break;
    case E::ReverbTime:
        if (FiniteFloatCell(e.cell, f)) {
            WriteParamFloat(e.block, e.param, EncodeReverbTime(f), e.count);
        }
        break;
    case E::Pitch:
        WriteParamInt(e.block, e.param, EncodePitch(cellInt));
        break;
    case E::MicBoostOn:
        WriteParamInt(e.block, e.param, EncodeMicBoostSwitch(cellInt));
        break;
    case E::ShiftOmega:
        if (!FrequencyShiftIsOff(cellInt)) {
            WriteParamFloat(e.block, e.param, FrequencyShiftOmega(cellInt), e.count);
        }
        break;
    case E::ShiftDelay:
        if (!FrequencyShiftIsOff(cellInt)) {
            WriteParamInt(e.block, e.param, FrequencyShiftDelaySamples(cellInt));
        }
        break;
    }
}
} // namespace

std::span<const ParamMapEntry> ParamMap()
{
    return kMap;
}

const ParamMapEntry* FindParam(int block, int param)
{
    for (const auto& e : kMap) {
        if (e.block == block && e.param == param) {
            return &e;
        }
    }
    return nullptr;
}

bool SendParam(int block, int param)
{
    const ParamMapEntry* e = FindParam(block, param);
    if (e == nullptr) {
        return false;
    }
    if ((e->cell == PRM_MUSIC_AGC_ON || e->cell == PRM_MUSIC_AGC_LEVEL) && !AgcAvailable()) {
        return true; // older command sets have no AGC parameters
    }
    SendEntry(*e);
    return true;
}

void SendFrequencyShift(int channel)
{
    const ShiftChannel& ch = kShift[channel == 0 ? 0 : 1];
    const int32_t f = ParamStore.GetInt(ch.cell);
    if (FrequencyShiftIsOff(f)) {
        ParamStore.SetInt(ch.offCell, 1);
        WriteParamInt(DSP_MIC, ch.offParam, 1);
        return;
    }
    ParamStore.SetInt(ch.offCell, 0);
    WriteParamInt(DSP_MIC, ch.offParam, 0);
    WriteParamFloat(DSP_MIC, ch.omegaParam, FrequencyShiftOmega(f));
    WriteParamInt(DSP_MIC, ch.delayParam, FrequencyShiftDelaySamples(f));
}
