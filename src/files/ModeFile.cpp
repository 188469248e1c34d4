#include "files/ModeFile.h"

#include "files/FileMessages.h"
#include "files/SafeFileWriter.h"
#include "i18n/Language.h"
#include "model/CellRanges.h"
#include "model/ParamIds.h"

#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {
constexpr size_t kStoreOffset = 4;

uint32_t GetU32LE(std::span<const uint8_t> bytes, size_t at)
{
    return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
           static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

// Cells a version carries, from cell 26 on.
int CellCountForVersion(int32_t version)
{
    switch (version) {
    case 1:
        return PRM_SUB_MUTE - kFirstCell + 1; // 26..178
    case 2:
        return PRM_MUSIC_AGC_LEVEL - kFirstCell + 1; // 26..180
    case 4:
        return kCellCount; // 26..184
    default:
        return 0;
    }
}

template <size_t N>
void CopyOut(std::span<const uint8_t> bytes, size_t& at, std::array<uint8_t, N>& out)
{
    std::memcpy(out.data(), bytes.data() + at, N);
    at += N;
}

std::string ShortFileText(size_t have, size_t need)
{
    char text[160];
    if (CurrentLanguage() == kLanguageEnglish) {
        std::snprintf(text, sizeof text,
                      "The file is incomplete (%zu of %zu bytes). Nothing was loaded.", have, need);
    } else {
        std::snprintf(text, sizeof text,
                      "文件不完整（%zu 字节，应为 %zu 字节），没有载入任何内容。", have, need);
    }
    return text;
}

// Why a file is not a mode file, in the current language, for the warning box.
std::string NotAModeFileText(size_t size, int32_t version)
{
    char text[200];
    const bool en = CurrentLanguage() == kLanguageEnglish;
    if (size == 0) {
        return en ? "The file is empty. Nothing was loaded." : "文件是空的，没有载入任何内容。";
    }
    if (size < 4) {
        std::snprintf(text, sizeof text,
                      en ? "Not a mode file: only %zu bytes. Nothing was loaded."
                         : "不是模式文件：只有 %zu 个字节，没有载入任何内容。",
                      size);
    } else {
        std::snprintf(text, sizeof text,
                      en ? "Not a mode file: unknown version %d. Nothing was loaded."
                         : "不是模式文件：未知的版本 %d，没有载入任何内容。",
                      version);
    }
    return text;
}

struct FileCloser
{
    void operator()(std::FILE* f) const { std::fclose(f); }
};
} // namespace

size_t ModeFileSizeForVersion(int32_t version)
{
    switch (version) {
    case 1:
        return kModeFileSizeV1;
    case 2:
        return kModeFileSizeV2;
    case 4:
        return kModeFileSize;
    default:
        return 0;
    }
}

std::vector<uint8_t> BuildModeFile(const ModeFileDeviceInfo& deviceInfo)
{
    std::vector<uint8_t> bytes(kModeFileSize);
    const std::span<uint8_t> out(bytes);
    const auto version = static_cast<uint32_t>(kModeFileVersion);
    for (size_t b = 0; b < 4; ++b) {
        out[b] = static_cast<uint8_t>(version >> (8 * b));
    }
    size_t at = kStoreOffset;
    ParamStore.ExportBytes(kFirstCell, kCellCount, out.subspan(at, 4 * kCellCount));
    at += 4 * kCellCount;
    at += DeviceImage.Read(0, out.subspan(at, kDeviceImageSize));
    std::memcpy(out.data() + at, deviceInfo.data(), deviceInfo.size());
    at += deviceInfo.size();
    at += Block965.Read(0, out.subspan(at, Block965.Size()));
    at += Block945.Read(0, out.subspan(at, Block945.Size()));
    at += Block997.Read(0, out.subspan(at, Block997.Size()));
    bytes.resize(at); // equals kModeFileSize while the mirrors have their fixed sizes
    return bytes;
}

ModeFileResult ParseModeFile(std::span<const uint8_t> bytes, ModeSetting& out)
{
    ModeFileResult result;
    result.version = bytes.size() >= 4 ? static_cast<int32_t>(GetU32LE(bytes, 0)) : 0;
    const size_t need = ModeFileSizeForVersion(result.version);
    if (need == 0) {
        result.status = ModeFileStatus::BadVersion;
        result.reason = bytes.empty() ? "not a mode file (empty)"
                        : bytes.size() < 4
                            ? "not a mode file (shorter than its version word)"
                            : "unsupported mode file version " + std::to_string(result.version);
        return result;
    }
    if (bytes.size() < need) {
        result.status = ModeFileStatus::TooShort;
        result.reason = "too short for a version " + std::to_string(result.version) +
                        " mode file (" + std::to_string(bytes.size()) + " of " +
                        std::to_string(need) + " bytes)";
        return result;
    }

    ModeSetting s;
    s.version = result.version;
    const int cellCount = CellCountForVersion(s.version);
    size_t at = kStoreOffset;
    for (int i = 0; i < cellCount; ++i) {
        s.cells[static_cast<size_t>(i)] = GetU32LE(bytes, at);
        at += 4;
    }
    s.lastCell = kFirstCell + cellCount - 1;
    if (s.version == 1) {
        // Files from before the music AGC existed: AGC off at -12 dB, and pitch values from
        // before the -5..5 range are reset.
        s.cells[PRM_MUSIC_AGC_ON - kFirstCell] = 0;
        s.cells[PRM_MUSIC_AGC_LEVEL - kFirstCell] = std::bit_cast<uint32_t>(-12.0f);
        s.lastCell = PRM_MUSIC_AGC_LEVEL;
        const auto pitch = static_cast<int32_t>(s.cells[PRM_MUSIC_PITCH - kFirstCell]);
        if (pitch < -5 || pitch > 5) {
            s.cells[PRM_MUSIC_PITCH - kFirstCell] = 0;
        }
    }

    if (s.version == 4) {
        CopyOut(bytes, at, s.deviceImage);
    } else {
        s.oldEqLayout = true;
        for (const OldEqRange& r : kOldEqLayout) {
            std::memcpy(s.deviceImage.data() + r.imageFirst, bytes.data() + at + r.oldFirst,
                        r.count);
        }
        at += kOldEqLayoutSize;
    }
    CopyOut(bytes, at, s.deviceInfo);
    CopyOut(bytes, at, s.block965);
    CopyOut(bytes, at, s.block945);
    if (s.version > 2) {
        CopyOut(bytes, at, s.block997);
        s.hasBlock997 = true;
    }
    result.limited = LimitModeSetting(s);
    out = s;
    return result;
}

int LimitModeSetting(ModeSetting& s)
{
    int changed = 0;
    for (int cell = kFirstCell; cell <= s.lastCell && cell <= kLastCell; ++cell) {
        uint32_t& bits = s.cells[static_cast<size_t>(cell - kFirstCell)];
        const uint32_t limited = LimitCellBits(cell, bits);
        changed += limited != bits;
        bits = limited;
    }
    const std::span<uint8_t> image(s.deviceImage);
    if (s.oldEqLayout) {
        // Only the carried ranges: the rest of the image is not applied.
        for (const OldEqRange& r : kOldEqLayout) {
            changed += LimitBandImage(image.subspan(r.imageFirst, r.count));
        }
    } else {
        changed += LimitBandImage(image);
    }
    changed += LimitBlock965(s.block965);
    changed += LimitBlock945(s.block945);
    if (s.hasBlock997) {
        changed += LimitBlock997(s.block997);
    }
    return changed;
}

void ApplyModeSetting(const ModeSetting& s)
{
    for (int cell = kFirstCell; cell <= s.lastCell && cell <= kLastCell; ++cell) {
        ParamStore.SetBits(cell, s.cells[static_cast<size_t>(cell - kFirstCell)]);
    }
    const std::span<const uint8_t> image(s.deviceImage);
    if (s.oldEqLayout) {
        for (const OldEqRange& r : kOldEqLayout) {
            DeviceImage.Write(r.imageFirst, image.subspan(r.imageFirst, r.count));
        }
    } else {
        DeviceImage.Write(0, image);
    }
    Block965.Write(0, s.block965);
    Block945.Write(0, s.block945);
    if (s.hasBlock997) {
        Block997.Write(0, s.block997);
    }
    DecodeBlock945IntoGeometry();
}

ModeFileResult WriteModeFile(const std::filesystem::path& path,
                             const ModeFileDeviceInfo& deviceInfo)
{
    const std::vector<uint8_t> bytes = BuildModeFile(deviceInfo);
    const FileWriteResult written = WriteFileReplacing(path, bytes);
    ModeFileResult result;
    result.version = kModeFileVersion;
    if (!written.ok) {
        result.status = ModeFileStatus::CannotWrite;
        result.systemError = written.systemError;
        result.reason = written.reason;
        ShowWriteFailure(written.systemError, path);
    }
    return result;
}

ModeFileResult ReadModeFile(const std::filesystem::path& path, ModeFileDeviceInfo& deviceInfo)
{
    ModeFileResult result;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        result.status = ModeFileStatus::CannotRead;
        result.systemError = errno;
        result.reason = std::string("cannot open: ") + std::strerror(result.systemError);
        ShowReadFailure(path, std::strerror(result.systemError));
        return result;
    }
    // The longest layout is all a read ever uses; anything after it is ignored.
    std::vector<uint8_t> bytes(kModeFileSizeV2);
    const size_t n = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get())) {
        result.status = ModeFileStatus::CannotRead;
        result.systemError = errno;
        result.reason = std::string("cannot read: ") + std::strerror(result.systemError);
        ShowReadFailure(path, std::strerror(result.systemError));
        return result;
    }
    bytes.resize(n);

    ModeSetting setting;
    result = ParseModeFile(bytes, setting);
    if (result.status == ModeFileStatus::TooShort) {
        ShowReadFailure(path, ShortFileText(n, ModeFileSizeForVersion(result.version)));
    } else if (result.status == ModeFileStatus::BadVersion) {
        ShowReadFailure(path, NotAModeFileText(n, result.version));
    }
    if (!result.Ok()) {
        return result;
    }
    ApplyModeSetting(setting);
    deviceInfo = setting.deviceInfo;
    if (result.limited > 0) {
        ShowOutOfRange(result.limited, path);
    }
    return result;
}
