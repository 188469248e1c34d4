#include "model/Setters.h"

#include "model/CmdVersion.h"
#include "model/Encodings.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "model/WriteMap.h"

#include <algorithm>
#include <cmath>

namespace {
int Channel(int channel)
{
    return channel == 0 ? 0 : 1;
}

bool AgcAvailable()
{
    return g_nCmdVersion.load() >= 9;
}

// SRS 3D (the surround width of Main, Rear and Top) is written from command set 7 on; below
// it the cell is only stored. A full push sends it whatever the version.
bool SurroundAvailable()
{
    return g_nCmdVersion.load() >= 7;
}

// Sends every plain DSP parameter fed by the cell, in the order of the map.
void SendCellTargets(int cell)
{
    for (const auto& e : ParamMap()) {
        if (e.cell == cell) {
            SendParam(e.block, e.param);
        }
    }
}

// Cells whose setters live in the DSP layer (they need designs or more than one cell),
// and cells that only move with a partner: the generic setter leaves them alone.
bool SetElsewhere(int cell)
{
    switch (cell) {
    case PRM_MICA_SHIFT_OFF:
    case PRM_MICB_SHIFT_OFF:
    case PRM_ECHOA_PREDELAY1:
    case PRM_ECHOA_PREDELAY2:
    case PRM_ECHOB_PREDELAY1:
    case PRM_ECHOB_PREDELAY2:
    case PRM_REVA_PREDELAY1:
    case PRM_REVA_PREDELAY2:
    case PRM_REVB_PREDELAY1:
    case PRM_REVB_PREDELAY2:
    case PRM_MUSIC_MUTE:
        return true;
    default:
        break;
    }
    // The eighteen cells of Main, Rear and Top: compressor bypass .. delay modes.
    for (const int first : {PRM_MAIN_MIX_DIRECT, PRM_REAR_MIX_DIRECT, PRM_TOP_MIX_DIRECT}) {
        const int k = cell - first;
        if (k >= 5 && k <= 15) {
            return true;
        }
    }
    if (cell >= PRM_CENTER_COMP_BYPASS && cell <= PRM_CENTER_DELAY_MODE) {
        return true;
    }
    if (cell >= PRM_SUB_COMP_BYPASS && cell <= PRM_SUB_DELAY_MODE) {
        return true;
    }
    return false;
}

void StoreAndSend(int cell, int32_t value)
{
    ParamStore.SetInt(cell, value);
    SendCellTargets(cell);
}

void SetPredelay(int cell1, int cell2, float totalMs)
{
    const float half = PredelayHalf(totalMs);
    ParamStore.SetFloat(cell1, half);
    ParamStore.SetFloat(cell2, half);
    SendCellTargets(cell1);
    SendCellTargets(cell2);
}
} // namespace

bool SetParamCell(int cell, int32_t value)
{
    if (!ParamStoreCells::IsCell(cell) || SetElsewhere(cell)) {
        return false;
    }
    switch (cell) {
    case PRM_MICA_SHIFT:
        SetFrequencyShift(0, value);
        return true;
    case PRM_MICB_SHIFT:
        SetFrequencyShift(1, value);
        return true;
    case PRM_ECHOA_TIME:
        SetEchoTime(0, value);
        return true;
    case PRM_ECHOB_TIME:
        SetEchoTime(1, value);
        return true;
    case PRM_REVA_TIME:
        SetReverbTime(0, static_cast<float>(value));
        return true;
    case PRM_REVB_TIME:
        SetReverbTime(1, static_cast<float>(value));
        return true;
    case PRM_MUSIC_PITCH:
        SetMusicPitch(value);
        return true;
    case PRM_MUSIC_AGC_ON:
        SetMusicAgcOn(value);
        return true;
    case PRM_MUSIC_AGC_LEVEL:
        SetMusicAgcLevel(static_cast<float>(value));
        return true;
    case PRM_MIC_BOOST_ON:
    case PRM_MIC_BOOST_ON2:
        SetMicBoostOn(value);
        return true;
    case PRM_MAIN_SURROUND:
    case PRM_REAR_SURROUND:
    case PRM_TOP_SURROUND:
        ParamStore.SetInt(cell, value);
        if (SurroundAvailable()) {
            SendCellTargets(cell);
        }
        return true;
    default:
        break;
    }
    StoreAndSend(cell, value);
    return true;
}

bool SetParamCellFloat(int cell, float value)
{
    if (!std::isfinite(value) || !ParamStoreCells::IsCell(cell) || SetElsewhere(cell)) {
        return false;
    }
    switch (cell) {
    case PRM_REVA_TIME:
        SetReverbTime(0, value);
        return true;
    case PRM_REVB_TIME:
        SetReverbTime(1, value);
        return true;
    case PRM_MUSIC_AGC_LEVEL:
        SetMusicAgcLevel(value);
        return true;
    default:
        break;
    }
    return SetParamCell(cell, TruncToInt32(static_cast<double>(value)));
}

void SetEchoTime(int channel, int ms)
{
    const int cell = Channel(channel) == 0 ? PRM_ECHOA_TIME : PRM_ECHOB_TIME;
    ParamStore.SetFloat(cell, ClampEchoTime(ms));
    SendCellTargets(cell);
}

void SetEchoPredelay(int channel, float totalMs)
{
    if (Channel(channel) == 0) {
        SetPredelay(PRM_ECHOA_PREDELAY1, PRM_ECHOA_PREDELAY2, totalMs);
    } else {
        SetPredelay(PRM_ECHOB_PREDELAY1, PRM_ECHOB_PREDELAY2, totalMs);
    }
}

void SetReverbPredelay(int channel, float totalMs)
{
    if (Channel(channel) == 0) {
        SetPredelay(PRM_REVA_PREDELAY1, PRM_REVA_PREDELAY2, totalMs);
    } else {
        SetPredelay(PRM_REVB_PREDELAY1, PRM_REVB_PREDELAY2, totalMs);
    }
}

void SetReverbTime(int channel, float hundredths)
{
    if (!std::isfinite(hundredths)) {
        return;
    }
    const int cell = Channel(channel) == 0 ? PRM_REVA_TIME : PRM_REVB_TIME;
    ParamStore.SetFloat(cell, hundredths);
    SendCellTargets(cell);
}

void SetFrequencyShift(int channel, int hz)
{
    const int ch = Channel(channel);
    // A shift the processor cannot make (0 would divide by zero) is stored as off.
    const int f = (hz < 1 || hz > 8) ? 1 : hz;
    ParamStore.SetInt(ch == 0 ? PRM_MICA_SHIFT : PRM_MICB_SHIFT, f);
    SendFrequencyShift(ch);
}

void SetMusicPitch(int steps)
{
    StoreAndSend(PRM_MUSIC_PITCH, std::clamp(steps, -5, 5));
}

void SetMusicAgcOn(int on)
{
    if (!AgcAvailable()) {
        return;
    }
    StoreAndSend(PRM_MUSIC_AGC_ON, on);
}

void SetMusicAgcLevel(float dB)
{
    if (!AgcAvailable() || !std::isfinite(dB)) {
        return;
    }
    ParamStore.SetFloat(PRM_MUSIC_AGC_LEVEL, dB);
    SendCellTargets(PRM_MUSIC_AGC_LEVEL);
}

void SetMicBoostOn(int on)
{
    ParamStore.SetInt(PRM_MIC_BOOST_ON, on);
    ParamStore.SetInt(PRM_MIC_BOOST_ON2, on);
    SendCellTargets(PRM_MIC_BOOST_ON);
}

void SetMicPortNoiseGate(int port, int value)
{
    StoreAndSend(PRM_MICPORT1_NG + std::clamp(port, 0, 3), value);
}

void SetMicNoiseGateAttack(int stored)
{
    StoreAndSend(PRM_MIC_NG_ATTACK, stored);
}

void SetMicNoiseGateRelease(int stored)
{
    StoreAndSend(PRM_MIC_NG_RELEASE, stored);
}

void SetMusicNoiseGateThreshold(int value)
{
    StoreAndSend(PRM_MUSIC_NG_THRESHOLD, value);
}

void SetMusicNoiseGateAttack(int stored)
{
    StoreAndSend(PRM_MUSIC_NG_ATTACK, stored);
}

void SetMusicNoiseGateRelease(int stored)
{
    StoreAndSend(PRM_MUSIC_NG_RELEASE, stored);
}

void SetMicVolume(int percent)
{
    StoreAndSend(PRM_MIC_VOL, percent);
}

void SetMicMute(int muted)
{
    StoreAndSend(PRM_MIC_MUTE, muted);
}

void SetMusicVolume(int percent)
{
    StoreAndSend(PRM_MUSIC_VOL, percent);
}

void SetEchoVolume(int percent)
{
    StoreAndSend(PRM_ECHO_VOL, percent);
}

void SetEchoMute(int muted)
{
    StoreAndSend(PRM_ECHO_MUTE, muted);
}

void SetReverbVolume(int percent)
{
    StoreAndSend(PRM_REVERB_VOL, percent);
}

void SetReverbMute(int muted)
{
    StoreAndSend(PRM_REVERB_MUTE, muted);
}

void SetMicPortRouting(int port, int channel)
{
    const int p = std::clamp(port, 0, 3);
    const bool toA = Channel(channel) == 0;
    StoreAndSend(PRM_MICPORT1_TO_A + p, toA ? 100 : 0);
    StoreAndSend(PRM_MICPORT1_TO_B + p, toA ? 0 : 100);
}

void SetMicPortVolume(int port, int percent)
{
    StoreAndSend(PRM_MICPORT1_VOL + std::clamp(port, 0, 3), percent);
}
