#pragma once
// Mode files: one complete setting of the processor on the PC (parameter store, EQ band
// memory, the small memory blocks). Version 4 is written (1645 bytes, extension "W6v9");
// versions 1, 2 and 4 are read. Numbers are little-endian; the band memory and the blocks
// are stored byte for byte as the processor holds them.
//
// Reading is all or nothing: a file that cannot be read, is shorter than its version's
// layout or has an unknown version changes nothing. A longer file is read as its layout says.
// Values outside their valid ranges (model/CellRanges.h) are limited before they are applied,
// and counted.

#include "model/DeviceMemory.h"
#include "model/ParamStore.h"
#include "model/SoundFieldGeometry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

inline constexpr int32_t kModeFileVersion = 4;
inline constexpr size_t kModeFileSize = 1645;   // version 4
inline constexpr size_t kModeFileSizeV1 = 1815; // 4 + 612 + 1141 + 58
inline constexpr size_t kModeFileSizeV2 = 1823; // 4 + 620 + 1141 + 58
inline constexpr const char* kModeFileExtension = "W6v9";
inline constexpr const char* kOldModeFileExtension = "W6v8";
inline constexpr const char* kModeFileSaveFilter = "Mode Files (*.W6v9)";
inline constexpr const char* kModeFileOpenFilter = "Mode Files (*.W6v8 ;*.W6v9)";

inline constexpr size_t kOldEqLayoutSize = 1141;
inline constexpr size_t kDeviceInfoSize = 6;

// The six identification bytes the link layer keeps as DeviceInfoBytes. This layer does not
// depend on the link: the writer takes them and the reader hands them back.
using ModeFileDeviceInfo = std::array<uint8_t, kDeviceInfoSize>;

// The layout length of a version, or 0 when the version cannot be read.
size_t ModeFileSizeForVersion(int32_t version);

// Where the old (version 1 and 2) EQ layout's bytes go in DeviceImage. The bytes between the
// ranges are not carried: DeviceImage keeps its own there (the music low-pass band and the
// Main delay-split bands).
struct OldEqRange
{
    size_t imageFirst;
    size_t oldFirst;
    size_t count;
};
inline constexpr std::array<OldEqRange, 5> kOldEqLayout{{
    {0, 0, 70},      // mic channel A
    {70, 105, 70},   // mic channel B
    {140, 210, 266}, // echo A and B, reverb A and B, music bands 0..9
    {413, 511, 70},  // Main bands 0..9
    {511, 707, 434}, // Rear, Center, Sub and Top
}};

// A file's contents before they are applied.
struct ModeSetting
{
    int32_t version = 0;
    int lastCell = kLastCell;                 // cells 26..lastCell are carried
    std::array<uint32_t, kCellCount> cells{}; // indexed by cell - 26
    bool oldEqLayout = false;                 // only the kOldEqLayout ranges are carried
    std::array<uint8_t, kDeviceImageSize> deviceImage{};
    ModeFileDeviceInfo deviceInfo{};
    std::array<uint8_t, 32> block965{};
    Block945Bytes block945{};
    bool hasBlock997 = false;
    std::array<uint8_t, 2> block997{};
};

enum class ModeFileStatus
{
    Ok,
    CannotWrite, // the file could not be created or written (the old file is unchanged)
    CannotRead,  // the file could not be opened or read
    TooShort,    // shorter than its version's layout
    BadVersion,  // not version 1, 2 or 4 (also a file shorter than 4 bytes)
};

struct ModeFileResult
{
    ModeFileStatus status = ModeFileStatus::Ok;
    int32_t version = 0;
    int systemError = 0;
    std::string reason; // one line, without the path
    int limited = 0;    // values of the file that were out of range and have been limited
    bool Ok() const { return status == ModeFileStatus::Ok; }
};

// The current setting (store, band memory, blocks) as a version 4 file.
std::vector<uint8_t> BuildModeFile(const ModeFileDeviceInfo& deviceInfo);

// Decodes a file's bytes into `out` without touching the program's state. Version 1 gets AGC
// off, AGC level -12.0 dB and a pitch outside -5..5 set to 0. Every carried value is then
// limited to its range; the result counts them.
ModeFileResult ParseModeFile(std::span<const uint8_t> bytes, ModeSetting& out);

// Replaces what the setting carries: cells, band memory, blocks; then decodes Block945 into
// the sound-field geometry. Cells, bands and blocks it does not carry keep their values.
void ApplyModeSetting(const ModeSetting& setting);

// Writes the current setting as version 4. On failure shows "Can't write to file" through the
// file message sink; the previous file is left untouched.
ModeFileResult WriteModeFile(const std::filesystem::path& path,
                             const ModeFileDeviceInfo& deviceInfo);

// Reads a file and applies it. On success `deviceInfo` receives the file's six bytes. A file
// that cannot be read or is not a mode file (empty, unknown version, too short) shows a
// warning naming the file and the reason, and changes nothing. A file with values out of
// range is applied limited, and a warning tells how many values were limited.
ModeFileResult ReadModeFile(const std::filesystem::path& path, ModeFileDeviceInfo& deviceInfo);

// Limits what a setting carries to the valid ranges; returns how many values were changed.
int LimitModeSetting(ModeSetting& setting);
