#include "app/DeviceSession.h"

#include "app/AppText.h"
#include "link/LinkState.h"
#include "link/UsbTransport.h"
#include "link/controller/UiPort.h"
#include "model/CmdVersion.h"

#include <algorithm>
#include <filesystem>

namespace {
const char* Pick(int language, const char* chinese, const char* english)
{
    return language == 1 ? english : chinese;
}
} // namespace

DisconnectedSession::DisconnectedSession(UiPort& ui) : ui_(ui) {}

bool DisconnectedSession::IsConnected() const
{
    return g_bConnected.load() != 0;
}

int DisconnectedSession::CurrentMode() const
{
    return std::clamp(g_nCurMode.load(), 0, 3);
}

std::string DisconnectedSession::ModeName(int mode) const
{
    return g_szModeName[static_cast<size_t>(std::clamp(mode, 0, 3))].Utf8();
}

uint8_t DisconnectedSession::StatusByte(int offset) const
{
    return offset < 0 ? 0 : g_StatusBlock.Get(static_cast<size_t>(offset));
}

// Bytes 3 and 4 of the committed machine-settings record.
int DisconnectedSession::MicMaxVolume() const
{
    return g_MachineSettings.Get(3);
}

int DisconnectedSession::MusicMaxVolume() const
{
    return g_MachineSettings.Get(4);
}

std::string DisconnectedSession::Model() const
{
    return g_szModel.Utf8();
}

std::string DisconnectedSession::McuVersion() const
{
    return g_szMcuVer.Utf8();
}

std::string DisconnectedSession::DspVersion() const
{
    return g_szDspVer.Utf8();
}

int DisconnectedSession::CmdVersion() const
{
    return g_nCmdVersion.load();
}

void DisconnectedSession::LoadModeFile()
{
    ui_.ShowInfo(Pick(AppLanguage(), "请先连接设备!", "Please connect device!"), 1100);
}

void DisconnectedSession::SaveModeFile()
{
    ui_.ShowInfo(Pick(AppLanguage(), "请先连接设备!", "Please connect device!"), 1100);
}

void DisconnectedSession::OpenDocument(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), ec)) {
        ui_.AskUser("文件不存在！", "文件打开错误", UiButtons::Ok, UiIcon::Information);
    }
    // With the link closed an existing file is not pushed anywhere.
}
