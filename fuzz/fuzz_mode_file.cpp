// LIBS: dsp4620_files
// Any bytes as a mode file: parsing never crashes, and whatever a version 4 file held is
// written back byte for byte after it was applied.
#include "files/ModeFile.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    ModeSetting setting;
    const ModeFileResult result = ParseModeFile(bytes, setting);
    if (!result.Ok()) {
        return 0;
    }
    if (size < ModeFileSizeForVersion(result.version)) {
        __builtin_trap(); // a short file must be refused
    }
    ApplyModeSetting(setting);
    if (result.version == kModeFileVersion) {
        const std::vector<uint8_t> written = BuildModeFile(setting.deviceInfo);
        if (written.size() != kModeFileSize ||
            std::memcmp(written.data(), data, kModeFileSize) != 0) {
            __builtin_trap();
        }
    }
    // The geometry decoded from any block encodes back into a valid block.
    const Block945Bytes again = EncodeSoundFieldGeometry(CurrentSoundFieldGeometry());
    if (again[0] < 1 || again[0] > 10 || again[1] < 1 || again[1] > 10) {
        __builtin_trap();
    }
    return 0;
}
