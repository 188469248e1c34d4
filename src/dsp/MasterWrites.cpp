#include "dsp/MasterWrites.h"

#include "dsp/Dynamics.h"
#include "model/ParamIds.h"
#include "model/Setters.h"

#include <algorithm>

int MasterVolumeCell(MasterVolume channel)
{
    switch (channel) {
    case MasterVolume::Mic:
        return PRM_MIC_VOL;
    case MasterVolume::Reverb:
        return PRM_REVERB_VOL;
    case MasterVolume::Echo:
        return PRM_ECHO_VOL;
    case MasterVolume::Music:
        return PRM_MUSIC_VOL;
    }
    return PRM_MIC_VOL;
}

int MasterMuteCell(MasterVolume channel)
{
    switch (channel) {
    case MasterVolume::Mic:
        return PRM_MIC_MUTE;
    case MasterVolume::Reverb:
        return PRM_REVERB_MUTE;
    case MasterVolume::Echo:
        return PRM_ECHO_MUTE;
    case MasterVolume::Music:
        return PRM_MUSIC_MUTE;
    }
    return PRM_MIC_MUTE;
}

int MusicInputLevelCell(MusicInput input)
{
    switch (input) {
    case MusicInput::Spdif:
        return PRM_SPDIF_GAIN;
    case MusicInput::Aux1:
        return PRM_AUX1_GAIN;
    case MusicInput::Aux2:
        return PRM_AUX2_GAIN;
    }
    return PRM_SPDIF_GAIN;
}

int MusicInputOnCell(MusicInput input)
{
    switch (input) {
    case MusicInput::Spdif:
        return PRM_SPDIF_ON;
    case MusicInput::Aux1:
        return PRM_AUX1_ON;
    case MusicInput::Aux2:
        return PRM_AUX2_ON;
    }
    return PRM_SPDIF_ON;
}

void SetMasterVolume(MasterVolume channel, int position)
{
    position = std::clamp(position, 0, 99);
    switch (channel) {
    case MasterVolume::Mic:
        SetMicVolume(position);
        break;
    case MasterVolume::Reverb:
        SetReverbVolume(position);
        break;
    case MasterVolume::Echo:
        SetEchoVolume(position);
        break;
    case MasterVolume::Music:
        SetMusicVolume(position);
        break;
    }
}

void SetMasterMute(MasterVolume channel, bool muted, const PauseFn& pause)
{
    const int value = muted ? 1 : 0;
    switch (channel) {
    case MasterVolume::Mic:
        SetMicMute(value);
        break;
    case MasterVolume::Reverb:
        SetReverbMute(value);
        break;
    case MasterVolume::Echo:
        SetEchoMute(value);
        break;
    case MasterVolume::Music: {
        // The fade-in pauses through the DSP layer's pause; a given one stands in for it.
        PauseFunction previous = pause ? SetPauseFunction(pause) : PauseFunction{};
        SetMusicMute(value);
        if (pause) {
            SetPauseFunction(previous);
        }
        break;
    }
    }
}

void SetMusicInputLevel(MusicInput input, int position)
{
    SetParamCell(MusicInputLevelCell(input), std::clamp(position, 0, 100));
}

void SetMusicInputOn(MusicInput input, bool on)
{
    SetParamCell(MusicInputOnCell(input), on ? 100 : 0);
}

void SetRibbonNoiseGate(int position)
{
    SetMusicNoiseGateThreshold(std::clamp(position, 0, 100));
}

void SetRibbonPitch(int position)
{
    SetMusicPitch(std::clamp(position, -5, 5));
}
