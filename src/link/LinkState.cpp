#include "link/LinkState.h"

#include "model/CmdVersion.h"

std::atomic<int> g_bParamChanged{0};
std::atomic<int> g_bErrorShown{0};
std::atomic<int> g_nCurMode{0};
std::atomic<int> g_bMeterEnable{1};

LinkText g_szModel(kLinkModelTextSize, u"KW4620");
LinkText g_szMcuVer(kLinkVersionTextSize, u"2012-10-03");
LinkText g_szDspVer(kLinkVersionTextSize, u"2012-11-30");
std::array<LinkText, kLinkModeCount> g_szModeName{
    LinkText(kLinkModeNameSize, u"Mode1"), LinkText(kLinkModeNameSize, u"Mode2"),
    LinkText(kLinkModeNameSize, u"Mode3"), LinkText(kLinkModeNameSize, u"Mode4")};

LinkBytes<kLinkStatusBlockSize> g_StatusBlock;
LinkBytes<kLinkRemoteTableSize> g_RemoteTable;
LinkBytes<kLinkDeviceInfoSize> DeviceInfoBytes;

namespace {
// Until the processor reports its record, the maximum volumes allow everything.
void CommittedSettingsAtStart(LinkBytes<kLinkMachineSettingsSize>& record)
{
    record.Fill(0);
    record.Set(3, 99);
    record.Set(4, 99);
}
} // namespace

LinkBytes<kLinkMachineSettingsSize> g_MachineSettings;
LinkBytes<kLinkMachineSettingsSize> g_MachineSettingsWork;
namespace {
[[maybe_unused]] const bool g_settingsAtStart = (CommittedSettingsAtStart(g_MachineSettings), true);
} // namespace

LinkText::LinkText(size_t capacity, std::u16string_view initial)
    : capacity_(capacity), initial_(initial.substr(0, capacity > 0 ? capacity - 1 : 0)),
      value_(initial_)
{
}

void LinkText::Set(std::u16string_view value)
{
    const size_t keep = capacity_ > 0 ? capacity_ - 1 : 0;
    std::lock_guard lock(mutex_);
    value_.assign(value.substr(0, keep));
}

std::u16string LinkText::Get() const
{
    std::lock_guard lock(mutex_);
    return value_;
}

std::string LinkText::Utf8() const
{
    return Utf16ToUtf8(Get());
}

void LinkText::Reset()
{
    std::lock_guard lock(mutex_);
    value_ = initial_;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

void ResetLinkState()
{
    g_bParamChanged = 0;
    g_bErrorShown = 0;
    g_nCurMode = 0;
    g_bMeterEnable = 1;
    g_nCmdVersion = 1;
    g_szModel.Reset();
    g_szMcuVer.Reset();
    g_szDspVer.Reset();
    for (LinkText& name : g_szModeName) {
        name.Reset();
    }
    g_StatusBlock.Fill(0);
    g_RemoteTable.Fill(0);
    DeviceInfoBytes.Fill(0);
    CommittedSettingsAtStart(g_MachineSettings);
    g_MachineSettingsWork.Fill(0);
}
