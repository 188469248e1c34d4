#include "app/MasterControls.h"

#include "app/AppText.h"
#include "model/ParamStore.h"

#include <algorithm>

namespace {
QString ValueText(const QString& prefix, int value)
{
    return prefix + QString("%1").arg(value, 3);
}
} // namespace

MasterControls::MasterControls(Hooks hooks) : hooks_(std::move(hooks)) {}

int MasterControls::MoveVolume(MasterVolume channel, int position)
{
    position = std::clamp(position, 0, 99);
    if (channel == MasterVolume::Mic || channel == MasterVolume::Music) {
        const bool mic = channel == MasterVolume::Mic;
        const auto& maxFn = mic ? hooks_.micMax : hooks_.musicMax;
        const int maximum = maxFn ? std::clamp(maxFn(), 0, 99) : 99;
        if (position > maximum) {
            if (hooks_.showInfo) {
                hooks_.showInfo(
                    mic ? PairText("不能超过最大话筒音量!", "Mic vol can't over max value!")
                        : PairText("不能超过最大音乐音量!", "Music vol can't over max value!"),
                    1100);
            }
            position = maximum;
        }
    }
    SetMasterVolume(channel, position);
    if (Muted(channel) && hooks_.showInfo) {
        hooks_.showInfo(PairText("当前是静音状态", "vol is mute"), 1100);
    }
    return position;
}

int MasterControls::MoveInputLevel(MusicInput input, int position)
{
    position = std::clamp(position, 0, 100);
    SetMusicInputLevel(input, position);
    if (!InputOn(input) && hooks_.showInfo) {
        hooks_.showInfo(PairText("该输入未启用", "Inactive Input"), 1100);
    }
    return position;
}

int MasterControls::MoveNoiseGate(int position)
{
    position = std::clamp(position, 0, 100);
    SetRibbonNoiseGate(position);
    return position;
}

int MasterControls::MovePitch(int position)
{
    position = std::clamp(position, -5, 5);
    SetRibbonPitch(position);
    return position;
}

bool MasterControls::ToggleMute(MasterVolume channel, bool fromKey)
{
    const bool muted = !Muted(channel);
    SetMasterMute(channel, muted, hooks_.pause);
    if (fromKey && muted && hooks_.showInfo) {
        switch (channel) {
        case MasterVolume::Mic:
            hooks_.showInfo(PairText("话筒已静音", "Mic Muted"), 1100);
            break;
        case MasterVolume::Music:
            hooks_.showInfo(PairText("音乐已静音", "Music Muted"), 1100);
            break;
        case MasterVolume::Echo:
            hooks_.showInfo(PairText("回声已静音", "Echo muted"), 1100);
            break;
        case MasterVolume::Reverb:
            hooks_.showInfo(PairText("混响已静音", "Reverb muted"), 1100);
            break;
        }
    }
    return muted;
}

bool MasterControls::ToggleInput(MusicInput input)
{
    const bool on = !InputOn(input);
    SetMusicInputOn(input, on);
    return on;
}

int MasterControls::KeyStep(int stored, bool leftCtrl)
{
    if (leftCtrl) {
        return 1;
    }
    return stored < 50 ? 5 : 2;
}

int MasterControls::StepVolume(MasterVolume channel, bool up, bool leftCtrl)
{
    const int stored = Volume(channel);
    const int step = KeyStep(stored, leftCtrl);
    return MoveVolume(channel, std::clamp(stored + (up ? step : -step), 0, 99));
}

int MasterControls::Volume(MasterVolume channel)
{
    return ParamStore.GetInt(MasterVolumeCell(channel));
}

bool MasterControls::Muted(MasterVolume channel)
{
    return ParamStore.GetInt(MasterMuteCell(channel)) != 0;
}

int MasterControls::InputLevel(MusicInput input)
{
    return ParamStore.GetInt(MusicInputLevelCell(input));
}

bool MasterControls::InputOn(MusicInput input)
{
    return ParamStore.GetInt(MusicInputOnCell(input)) != 0;
}

int MasterControls::NoiseGate()
{
    return ParamStore.GetInt(PRM_MUSIC_NG_THRESHOLD);
}

int MasterControls::Pitch()
{
    return ParamStore.GetInt(PRM_MUSIC_PITCH);
}

QString MasterControls::VolumeLabel(MasterVolume channel, int value)
{
    switch (channel) {
    case MasterVolume::Mic:
        return ValueText(PairText("话筒音量:", "Mic    Vol: "), value);
    case MasterVolume::Reverb:
        return ValueText(PairText("混响音量:  ", "Reverb Vol:"), value);
    case MasterVolume::Echo:
        return ValueText(PairText("回声音量:", "Echo Vol:"), value);
    case MasterVolume::Music:
        return ValueText(PairText("音乐音量:", "Music Vol:"), value);
    }
    return {};
}

QString MasterControls::InputLabel(int value, bool afterMove)
{
    return ValueText(PairText("输入音量:", afterMove ? "Input Vol:" : "Input vol:"), value);
}

QString MasterControls::NoiseGateLabel(int value)
{
    return ValueText(PairText("音乐噪声门:", "Noisegate:   "), value);
}

QString MasterControls::PitchCaption(int value)
{
    return PairText("音乐变调:", "Music Pitch:") + (value < 0 ? "-" : "+") +
           QString::number(value < 0 ? -value : value);
}
