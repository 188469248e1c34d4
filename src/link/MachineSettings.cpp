#include "link/MachineSettings.h"

#include "link/Protocol.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "model/Setters.h"

#include <algorithm>

namespace {
int StartByte(StartVolume which)
{
    return which == StartVolume::Mic ? MS_MIC_START : MS_MUSIC_START;
}

int MaxByte(StartVolume which)
{
    return which == StartVolume::Mic ? MS_MIC_MAX : MS_MUSIC_MAX;
}

int LimitMax(int m)
{
    return std::clamp(m, kMaxVolumeBottom, kStartVolumeTop);
}

StartVolumeShown ShowStart(uint8_t start, int max)
{
    StartVolumeShown s;
    s.rangeMax = LimitMax(max);
    s.enabled = start != kStartVolumeOff;
    s.value = start;
    s.position = s.enabled ? std::min<int>(start, s.rangeMax) : 0;
    return s;
}

StartVolumeShown ShowWorkingStart(StartVolume which)
{
    return ShowStart(g_MachineSettingsWork.Get(static_cast<size_t>(StartByte(which))),
                     g_MachineSettingsWork.Get(static_cast<size_t>(MaxByte(which))));
}

void SetWork(int index, uint8_t value)
{
    g_MachineSettingsWork.Set(static_cast<size_t>(index), value);
}

uint8_t Work(int index)
{
    return g_MachineSettingsWork.Get(static_cast<size_t>(index));
}

void CopyRecord(const LinkBytes<kLinkMachineSettingsSize>& from,
                LinkBytes<kLinkMachineSettingsSize>& to)
{
    const MachineSettingsRecord record = from.Snapshot();
    to.Write(0, record);
}
} // namespace

MachineSettingsRecord CommittedMachineSettings()
{
    return g_MachineSettings.Snapshot();
}

MachineSettingsRecord WorkingMachineSettings()
{
    return g_MachineSettingsWork.Snapshot();
}

MachineSettingsShown ShowMachineSettings(const MachineSettingsRecord& record)
{
    MachineSettingsShown s;
    s.micMax = LimitMax(record[MS_MIC_MAX]);
    s.musicMax = LimitMax(record[MS_MUSIC_MAX]);
    s.mic = ShowStart(record[MS_MIC_START], s.micMax);
    s.music = ShowStart(record[MS_MUSIC_START], s.musicMax);
    s.saveMode = record[MS_VOLUME_SAVE_MODE] != 0 ? 1 : 0;
    s.panelLock = record[MS_PANEL_LOCK] != 0;
    s.lockVolume = (record[MS_LOCK_FLAGS] & 0x01) != 0;
    s.lockMode = (record[MS_LOCK_FLAGS] & kLockModeBit) != 0;
    s.powerOnMode = std::min<int>(record[MS_POWER_ON_MODE], kPowerOnModeCount - 1);
    s.micAReversed = ParamStore.GetInt(PRM_MICA_PHASE) == 0;
    s.micBReversed = ParamStore.GetInt(PRM_MICB_PHASE) == 0;
    return s;
}

MachineSettingsShown BeginMachineSettingsEdit()
{
    CopyRecord(g_MachineSettings, g_MachineSettingsWork);
    return ShowMachineSettings(WorkingMachineSettings());
}

StartVolumeShown SetStartVolume(StartVolume which, int v)
{
    const int max = LimitMax(Work(MaxByte(which)));
    v = std::clamp(v, 0, max);
    SetWork(StartByte(which), static_cast<uint8_t>(v));
    if (which == StartVolume::Mic) {
        SetMicVolume(v);
    } else {
        SetMusicVolume(v);
    }
    return ShowWorkingStart(which);
}

StartVolumeShown SetStartVolumeEnabled(StartVolume which, bool on)
{
    if (on) {
        const int volume =
            ParamStore.GetInt(which == StartVolume::Mic ? PRM_MIC_VOL : PRM_MUSIC_VOL);
        // The byte never holds more than the maximum the slider can show.
        const int max = LimitMax(Work(MaxByte(which)));
        SetWork(StartByte(which), static_cast<uint8_t>(std::clamp(volume, 0, max)));
    } else {
        SetWork(StartByte(which), kStartVolumeOff);
    }
    return ShowWorkingStart(which);
}

StartVolumeShown SetMaxVolume(StartVolume which, int m)
{
    m = LimitMax(m);
    SetWork(MaxByte(which), static_cast<uint8_t>(m));
    const uint8_t start = Work(StartByte(which));
    if (start != kStartVolumeOff && start > m) {
        return SetStartVolume(which, m);
    }
    return ShowWorkingStart(which);
}

void SetVolumeSaveMode(int mode)
{
    SetWork(MS_VOLUME_SAVE_MODE, mode != 0 ? 1 : 0);
}

void SetPanelLock(bool on)
{
    SetWork(MS_PANEL_LOCK, on ? 1 : 0);
}

void SetLockVolume(bool on)
{
    const uint8_t flags = Work(MS_LOCK_FLAGS);
    SetWork(MS_LOCK_FLAGS, on ? static_cast<uint8_t>(flags | kLockVolumeBits)
                              : static_cast<uint8_t>(flags & ~kLockVolumeBits));
}

void SetLockMode(bool on)
{
    const uint8_t flags = Work(MS_LOCK_FLAGS);
    SetWork(MS_LOCK_FLAGS, on ? static_cast<uint8_t>(flags | kLockModeBit)
                              : static_cast<uint8_t>(flags & ~kLockModeBit));
}

void SetPowerOnMode(int mode)
{
    SetWork(MS_POWER_ON_MODE, static_cast<uint8_t>(std::clamp(mode, 0, kPowerOnModeCount - 1)));
}

void SetMicPhaseReversed(int channel, bool reversed)
{
    SetParamCell(channel == 0 ? PRM_MICA_PHASE : PRM_MICB_PHASE, reversed ? 0 : 1);
}

int ApplyMachineSettings()
{
    CopyRecord(g_MachineSettingsWork, g_MachineSettings);
    const MachineSettingsRecord record = CommittedMachineSettings();
    std::array<int, kLinkMachineSettingsSize + 2> values{};
    values[0] = kCmdWriteMachineSettings;
    for (size_t i = 0; i < record.size(); ++i) {
        values[i + 1] = record[i];
    }
    values[record.size() + 1] = -1;
    return SendCommand(values);
}

void CancelMachineSettingsEdit()
{
    CopyRecord(g_MachineSettings, g_MachineSettingsWork);
}
