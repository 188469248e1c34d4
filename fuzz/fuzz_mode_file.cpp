// LIBS: dsp4620_files
// Any bytes as a mode file: parsing never crashes, a version 4 file whose values are all in
// range is written back byte for byte after it was applied, and a limited one comes back in
// range.
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
        if (written.size() != kModeFileSize) {
            __builtin_trap();
        }
        // A file with every value in range is written back byte for byte; a limited one is
        // written back with nothing left to limit.
        if (result.limited == 0 && std::memcmp(written.data(), data, kModeFileSize) != 0) {
            __builtin_trap();
        }
        ModeSetting again;
        if (result.limited != 0 && ParseModeFile(written, again).limited != 0) {
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
