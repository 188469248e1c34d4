#include "dsp/Features.h"

#include "dsp/Dynamics.h"
#include "dsp/EqBands.h"
#include "model/CmdVersion.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "model/Setters.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kMusicEq = 4; // the music equaliser's block

// Limits to lo..hi after truncating (or rounding) towards an integer; NaN gives lo.
int Limit(double v, int lo, int hi, bool round = false)
{
    if (std::isnan(v)) {
        return lo;
    }
    return static_cast<int>(std::clamp(round ? std::round(v) : std::trunc(v),
                                       static_cast<double>(lo), static_cast<double>(hi)));
}
} // namespace

bool AgcAvailableNow()
{
    return g_nCmdVersion.load() >= kMusicAgcFirstCmdSet;
}

FeaturesShown ReadFeatures()
{
    FeaturesShown s;
    s.boostOn = ParamStore.GetInt(PRM_MIC_BOOST_ON) != 0;
    s.boostDb = Limit(-static_cast<double>(MicBoostLevel()), 0, kMicBoostMax);

    const EqBand band = LoadEqBand(kMusicEq, kMusicLowPassBand);
    s.lowPassStoredHz = band.freq;
    s.lowPassHz = std::clamp(band.freq, kMusicLowPassMinHz, kMusicLowPassMaxHz);

    s.lowPassDelayStored = ParamStore.GetInt(PRM_MUSIC_LPF_DELAY);
    s.lowPassDelayMs = std::clamp(s.lowPassDelayStored, 0, kMusicLowPassDelayMax);
    s.lowPassGainStored = ParamStore.GetInt(PRM_MUSIC_LPF_GAIN);
    s.lowPassGain = std::clamp(s.lowPassGainStored, 0, kMusicLowPassGainMax);

    s.agcAvailable = AgcAvailableNow();
    if (s.agcAvailable) {
        s.agcOn = ParamStore.GetInt(PRM_MUSIC_AGC_ON) != 0;
        s.agcDb = ParamStore.GetFloat(PRM_MUSIC_AGC_LEVEL);
    } else {
        s.agcOn = false;
        s.agcDb = kMusicAgcShownWithout;
    }
    // Rounded: a level set from the slider as s / 10 shows s again.
    s.agcTenths =
        Limit(static_cast<double>(s.agcDb) * 10.0, kMusicAgcMinTenths, kMusicAgcMaxTenths, true);

    s.autoSubOn = ParamStore.GetInt(PRM_AUTOSUB_ON) != 0;
    s.autoSubStored = ParamStore.GetInt(PRM_AUTOSUB_LEVEL);
    s.autoSubLevel = std::clamp(s.autoSubStored, 0, kAutoSubMax);
    return s;
}

void SetFeatureMicBoostOn(bool on)
{
    SetMicBoostOn(on ? 1 : 0);
}

void SetFeatureMicBoost(int dB)
{
    WriteMicBoost(-static_cast<float>(std::clamp(dB, 0, kMicBoostMax)));
}

void SetMusicLowPassFrequency(int hz)
{
    SetMusicEqBand(kMusicLowPassBand, EQ_TYPE_LP, 0.0,
                   std::clamp(hz, kMusicLowPassMinHz, kMusicLowPassMaxHz), kMusicLowPassQ);
}

void SetMusicLowPassDelay(int ms)
{
    SetParamCell(PRM_MUSIC_LPF_DELAY, std::clamp(ms, 0, kMusicLowPassDelayMax));
}

void SetMusicLowPassGain(int percent)
{
    SetParamCell(PRM_MUSIC_LPF_GAIN, std::clamp(percent, 0, kMusicLowPassGainMax));
}

bool SetFeatureMusicAgcOn(bool on)
{
    if (!AgcAvailableNow()) {
        return false;
    }
    SetMusicAgcOn(on ? 1 : 0);
    return true;
}

bool SetFeatureMusicAgcTenths(int tenths)
{
    if (!AgcAvailableNow()) {
        return false;
    }
    SetMusicAgcLevel(
        static_cast<float>(std::clamp(tenths, kMusicAgcMinTenths, kMusicAgcMaxTenths)) / 10.0f);
    return true;
}

void SetAutoSubOn(bool on)
{
    SetParamCell(PRM_AUTOSUB_ON, on ? 1 : 0);
}

void SetAutoSubLevel(int percent)
{
    SetParamCell(PRM_AUTOSUB_LEVEL, std::clamp(percent, 0, kAutoSubMax));
}

int MusicInputLevelDb(uint8_t statusByte14)
{
    return static_cast<int8_t>(statusByte14);
}
