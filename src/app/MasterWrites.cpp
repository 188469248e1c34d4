#include "app/MasterWrites.h"

#include "model/ParamStore.h"
#include "model/Writer.h"

#include <algorithm>

namespace {
constexpr int kBlockMic = 1;
constexpr int kBlockEcho = 2;
constexpr int kBlockReverb = 3;
constexpr int kBlockMusic = 4;

float Percent(int position)
{
    return static_cast<float>(position) / 100.0f;
}

float Pass(bool muted)
{
    return muted ? 0.0f : 1.0f;
}
} // namespace

int MasterVolumeCell(MasterVolume channel)
{
    switch (channel) {
    case MasterVolume::Mic: return PRM_MIC_VOL;
    case MasterVolume::Reverb: return PRM_REVERB_VOL;
    case MasterVolume::Echo: return PRM_ECHO_VOL;
    case MasterVolume::Music: return PRM_MUSIC_VOL;
    }
    return PRM_MIC_VOL;
}

int MasterMuteCell(MasterVolume channel)
{
    switch (channel) {
    case MasterVolume::Mic: return PRM_MIC_MUTE;
    case MasterVolume::Reverb: return PRM_REVERB_MUTE;
    case MasterVolume::Echo: return PRM_ECHO_MUTE;
    case MasterVolume::Music: return PRM_MUSIC_MUTE;
    }
    return PRM_MIC_MUTE;
}

int MusicInputLevelCell(MusicInput input)
{
    switch (input) {
    case MusicInput::Spdif: return PRM_SPDIF_GAIN;
    case MusicInput::Aux1: return PRM_AUX1_GAIN;
    case MusicInput::Aux2: return PRM_AUX2_GAIN;
    }
    return PRM_SPDIF_GAIN;
}

int MusicInputOnCell(MusicInput input)
{
    switch (input) {
    case MusicInput::Spdif: return PRM_SPDIF_ON;
    case MusicInput::Aux1: return PRM_AUX1_ON;
    case MusicInput::Aux2: return PRM_AUX2_ON;
    }
    return PRM_SPDIF_ON;
}

void SetMasterVolume(MasterVolume channel, int position)
{
    position = std::clamp(position, 0, 99);
    ParamStore.SetInt(MasterVolumeCell(channel), position);
    const float value = Percent(position);
    switch (channel) {
    case MasterVolume::Mic:
        WriteParamFloat(kBlockMic, 0x14, value, 1);
        WriteParamFloat(kBlockMic, 0x21, value, 1);
        break;
    case MasterVolume::Reverb: WriteParamFloat(kBlockReverb, 0x1A, value, 2); break;
    case MasterVolume::Echo: WriteParamFloat(kBlockEcho, 0x1C, value, 2); break;
    case MasterVolume::Music: WriteParamFloat(kBlockMusic, 0x0B, value, 6); break;
    }
}

void SetMasterMute(MasterVolume channel, bool muted, const PauseFn& pause)
{
    ParamStore.SetInt(MasterMuteCell(channel), muted ? 1 : 0);
    switch (channel) {
    case MasterVolume::Mic:
        WriteParamFloat(kBlockMic, 0x20, Pass(muted), 1);
        WriteParamFloat(kBlockMic, 0x2D, Pass(muted), 1);
        break;
    case MasterVolume::Reverb: WriteParamFloat(kBlockReverb, 0x1B, Pass(muted), 2); break;
    case MasterVolume::Echo: WriteParamFloat(kBlockEcho, 0x1D, Pass(muted), 2); break;
    case MasterVolume::Music:
        if (muted) {
            WriteParamFloat(kBlockMusic, 0x0F, 0.0f, 2);
            break;
        }
        // Fade the music back in rather than switching it on with a click.
        for (int step = 0; step < 9; ++step) {
            WriteParamFloat(kBlockMusic, 0x0F, static_cast<float>(step) / 10.0f, 2);
            if (pause) {
                pause(30);
            }
        }
        WriteParamFloat(kBlockMusic, 0x0F, 1.0f, 2);
        break;
    }
}

void SetMusicInputLevel(MusicInput input, int position)
{
    position = std::clamp(position, 0, 100);
    ParamStore.SetInt(MusicInputLevelCell(input), position);
    const int param = input == MusicInput::Spdif ? 0x0C : input == MusicInput::Aux1 ? 0x0D : 0x0E;
    WriteParamFloat(kBlockMusic, param, Percent(position), 2);
}

void SetMusicInputOn(MusicInput input, bool on)
{
    ParamStore.SetInt(MusicInputOnCell(input), on ? 100 : 0);
    const int param = input == MusicInput::Spdif ? 0x15 : input == MusicInput::Aux1 ? 0x16 : 0x17;
    WriteParamFloat(kBlockMusic, param, on ? 1.0f : 0.0f, 1);
}

void SetMusicNoiseGate(int position)
{
    position = std::clamp(position, 0, 100);
    ParamStore.SetInt(PRM_MUSIC_NG_THRESHOLD, position);
    WriteParamFloat(kBlockMusic, 0x18, static_cast<float>(position) / 10000.0f, 1);
}
