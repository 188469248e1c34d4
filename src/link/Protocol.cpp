#include "link/Protocol.h"

#include "link/LinkState.h"
#include "link/LinkUi.h"
#include "link/UsbTransport.h"
#include "model/CmdVersion.h"
#include "model/DeviceMemory.h"
#include "model/ReadBack.h"
#include "model/SoundFieldGeometry.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr size_t kFirstPayload = 2;
constexpr size_t kBlockData = 5;                           // first data byte of 0x86 / 0xDB
constexpr size_t kMaxBlockData = kReportSize - kBlockData; // 56

// Identification texts: one byte per character from byte 2 up to the first zero byte or the
// end of the report, kept zero-terminated within the field.
void ApplyTextRule(const Report& report, LinkText& field)
{
    std::u16string text;
    const size_t keep = field.Capacity() - 1;
    for (size_t i = kFirstPayload; i < kReportSize && report[i] != 0 && text.size() < keep; ++i) {
        text += static_cast<char16_t>(report[i]);
    }
    field.Set(text);
}

// Copies the data of a memory-block reply into one mirror, never past the mirror's end nor
// past the bytes the report carries.
void CopyBlock(const Report& report, MemoryMirror& mirror, size_t offset, size_t length)
{
    const size_t n = std::min(length, kMaxBlockData);
    mirror.Write(offset, std::span<const uint8_t>(report.data() + kBlockData, n));
}

void ApplyBlockRule(const Report& report)
{
    const int address = report[2] * 256 + report[3];
    const size_t length = report[4];
    if (address < kDeviceImageSize) {
        if (report[5] == 0xFF && report[6] == 0xFF) {
            DeviceImage.Fill(0); // blank processor memory
            return;
        }
        CopyBlock(report, DeviceImage, static_cast<size_t>(address), length);
    } else if (address == Block945.Address()) {
        CopyBlock(report, Block945, 0, length);
        DecodeBlock945IntoGeometry();
    } else if (address == Block965.Address()) {
        CopyBlock(report, Block965, 0, length);
    } else if (address == Block997.Address()) {
        CopyBlock(report, Block997, 0, length);
    }
}

void ApplyModeNameRule(const Report& report)
{
    if (report[5] == 0xFF && report[6] == 0xFF && report[7] == 0xFF && report[8] == 0xFF) {
        return; // blank name memory: the old name stays
    }
    const int address = report[2] * 256 + report[3];
    const size_t length = report[4];
    int mode = -1;
    for (int m = 0; m < kLinkModeCount; ++m) {
        if (address == ModeNameAddress(m)) {
            mode = m;
        }
    }
    if (mode < 0) {
        return;
    }
    std::u16string name;
    for (size_t read = 0; read < length && kBlockData + read + 1 < kReportSize; read += 2) {
        const auto c =
            static_cast<char16_t>(report[kBlockData + read] << 8 | report[kBlockData + read + 1]);
        if (c == 0) {
            break;
        }
        name += c;
    }
    g_szModeName[static_cast<size_t>(mode)].Set(name); // cut to 23 characters
}

void ApplyParamReply(const Report& report)
{
    if (report[2] != 0 && g_bErrorShown.exchange(1) == 0) {
        LinkMessageBox(ParamErrorText(report), "Error", LinkBoxIcon::None);
    }
    DecodeParamReply(report);
}

void Interpret(const Report& report)
{
    switch (report[1]) {
    case kCmdCurrentMode:
        g_nCurMode = report[2];
        break;
    case 0x09: // answer to a parameter write
    case kCmdChangeReport:
        g_bParamChanged = 1;
        break;
    case 0x0A:
        ApplyParamReply(report);
        break;
    case kCmdStatus:
        g_StatusBlock.Write(0, std::span<const uint8_t>(report.data() + 2, kLinkStatusBlockSize));
        break;
    case kCmdDeviceInfo:
        if (report[2] == 1) {
            DeviceInfoBytes.Write(0, std::span<const uint8_t>(report.data() + 3, 3));
        }
        break;
    case kCmdLearnKey:
        g_RemoteTable.Set(0, report[2]);
        if (report[3] < kLinkRemoteTableSize) {
            g_RemoteTable.Set(report[3], report[4]);
        }
        LinkSendViewMessage(MSG_REMOTE_KEY, report[4]);
        break;
    case kCmdReadRemoteTable:
        g_RemoteTable.Write(0, std::span<const uint8_t>(report.data() + 2, kLinkRemoteTableSize));
        break;
    case kCmdDspVersion:
        ApplyTextRule(report, g_szDspVer);
        break;
    case kCmdCmdVersion:
        g_nCmdVersion = report[2];
        break;
    case kCmdModel:
        ApplyTextRule(report, g_szModel);
        break;
    case kCmdMcuVersion:
        ApplyTextRule(report, g_szMcuVer);
        break;
    case kCmdReadBlock:
        ApplyBlockRule(report);
        break;
    case kCmdDeviceInfo2:
        DeviceInfoBytes.Set(5, report[3]);
        break;
    case kCmdReadMachineSettings: {
        const std::span<const uint8_t> record(report.data() + 2, kLinkMachineSettingsSize);
        g_MachineSettings.Write(0, record);
        g_MachineSettingsWork.Write(0, record);
        break;
    }
    case kCmdReadModeName:
        ApplyModeNameRule(report);
        break;
    default:
        break; // not ours to interpret, but it still releases the next writer
    }
}

} // namespace

Report BuildCommandReport(std::span<const int> values)
{
    Report report{};
    report[0] = kReportId;
    for (size_t i = 0; i < values.size() && i < kReportSize - 1; ++i) {
        if (values[i] == -1) {
            break;
        }
        report[i + 1] = static_cast<uint8_t>(values[i]); // modulo 256
    }
    return report;
}

int SendCommand(std::span<const int> values)
{
    return WriteUsbData(BuildCommandReport(values));
}

int SendCommand(std::initializer_list<int> values)
{
    return SendCommand(std::span<const int>(values.begin(), values.size()));
}

Report BuildModeNameReport(int mode, std::u16string_view name)
{
    Report report = MakeReport(kCmdWriteModeName);
    const int address = ModeNameAddress(std::clamp(mode, 0, kLinkModeCount - 1));
    report[2] = static_cast<uint8_t>(address >> 8);
    report[3] = static_cast<uint8_t>(address & 0xFF);
    report[4] = kModeNameLengthByte;
    const size_t chars = std::min(name.size(), kModeNameMaxChars);
    for (size_t i = 0; i < chars; ++i) {
        report[kBlockData + 2 * i] = static_cast<uint8_t>(name[i] >> 8);
        report[kBlockData + 2 * i + 1] = static_cast<uint8_t>(name[i] & 0xFF);
    }
    return report;
}

int WriteModeName(int mode, std::u16string_view name)
{
    if (mode < 0 || mode >= kLinkModeCount) {
        return 0;
    }
    return WriteUsbData(BuildModeNameReport(mode, name));
}

void ParseInputReport(const Report& report)
{
    Interpret(report);
    SignalUsbReply();
}

std::string ParamErrorText(const Report& report)
{
    char text[96];
    std::snprintf(text, sizeof text, "参数错误,代码0x:%02X,指令1:0x%02X,指令2:0x%02X ", report[2],
                  report[3], report[4]);
    return text;
}
