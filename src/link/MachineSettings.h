#pragma once
// The machine-settings record and its editing rules: the settings dialog and the command-line
// tool edit the working copy through these functions, and Apply sends it as a whole. The start
// volumes are also written to the mic and music volumes at once, so they can be heard while
// they are set; everything else reaches the processor only with Apply.

#include "link/LinkState.h"

#include <array>
#include <cstdint>

using MachineSettingsRecord = std::array<uint8_t, kLinkMachineSettingsSize>;

// Byte positions in the record.
enum MachineSettingsByte : int
{
    MS_VOLUME_SAVE_MODE = 0, // 0 by power, 1 by mode
    MS_MIC_START = 1,        // 0..99, kStartVolumeOff = off
    MS_MUSIC_START = 2,
    MS_MIC_MAX = 3, // 1..99
    MS_MUSIC_MAX = 4,
    MS_PANEL_LOCK = 5,    // 0 or 1
    MS_LOCK_FLAGS = 6,    // kLockVolumeBits, kLockModeBit; other bits pass through
    MS_POWER_ON_MODE = 12 // 0 auto, 1..4 M1..M4
};

inline constexpr uint8_t kStartVolumeOff = 255;
inline constexpr uint8_t kLockVolumeBits = 0x83;
inline constexpr uint8_t kLockModeBit = 0x10;
inline constexpr int kStartVolumeTop = 99; // highest start and maximum volume
inline constexpr int kMaxVolumeBottom = 1;
inline constexpr int kPowerOnModeCount = 5; // Auto, M1..M4

// Which start volume: the mic's (bytes 1, 3) or the music's (bytes 2, 4).
enum class StartVolume
{
    Mic,
    Music
};

// What the dialog shows for one start volume.
struct StartVolumeShown
{
    bool enabled = false; // "Enable" ticked
    int position = 0;     // slider position, within 0..rangeMax
    int rangeMax = 99;    // the maximum volume
    int value = 0;        // the stored byte (meaningful when enabled)
};

// Everything the dialog shows, from one record and the store.
struct MachineSettingsShown
{
    StartVolumeShown mic;
    StartVolumeShown music;
    int micMax = 99;
    int musicMax = 99;
    int saveMode = 0;
    bool panelLock = false;
    bool lockVolume = false; // bit 0
    bool lockMode = false;   // bit 4
    int powerOnMode = 0;     // 0..4
    bool micAReversed = false;
    bool micBReversed = false;
};

MachineSettingsRecord CommittedMachineSettings();
MachineSettingsRecord WorkingMachineSettings();

// Opening the dialog: the working copy starts from the committed copy. Returns what to show.
MachineSettingsShown BeginMachineSettingsEdit();
// What a record shows (maxima limited to 1..99, start positions to 0..maximum).
MachineSettingsShown ShowMachineSettings(const MachineSettingsRecord& record);

// Editing the working copy. Each returns the shown state of what it changed.
// A start slider at v (limited to 0..maximum): the byte, and the mic or music volume written.
StartVolumeShown SetStartVolume(StartVolume which, int v);
// "Enable": ticked takes the current master volume (limited to 0..maximum) into the byte and
// writes nothing; cleared stores kStartVolumeOff.
StartVolumeShown SetStartVolumeEnabled(StartVolume which, bool on);
// A maximum slider at m (1..99): the byte; a start volume above it is pulled down to m and
// written again as a start change. Returns the start volume's shown state.
StartVolumeShown SetMaxVolume(StartVolume which, int m);
void SetVolumeSaveMode(int mode); // 0 or 1
void SetPanelLock(bool on);       // byte 5
void SetLockVolume(bool on);      // byte 6 | 0x83, & 0x7C
void SetLockMode(bool on);        // byte 6 | 0x10, & 0xEF
void SetPowerOnMode(int mode);    // byte 12, limited to 0..4

// Mic phase (channel 0 = A, 1 = B): reversed stores 0 and writes it, normal 1. Written at once.
void SetMicPhaseReversed(int channel, bool reversed);

// Apply: the working copy becomes the committed copy and is sent as 02 91 + 13 bytes.
// Returns what the report layer returned (0 when no processor is connected).
int ApplyMachineSettings();
// Cancel or closing the dialog: the working copy is restored from the committed copy.
void CancelMachineSettingsEdit();
