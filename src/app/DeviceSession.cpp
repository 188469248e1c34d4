#include "app/DeviceSession.h"

#include "app/UiPort.h"
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

std::string DisconnectedSession::ModeName(int mode) const
{
    return "Mode" + std::to_string(std::clamp(mode, 0, 3) + 1);
}

int DisconnectedSession::CmdVersion() const
{
    return g_nCmdVersion.load();
}

void DisconnectedSession::LoadModeFile()
{
    ui_.ShowInfo(Pick(ui_.Language(), "请先连接设备!", "Please connect device!"), 1100);
}

void DisconnectedSession::SaveModeFile()
{
    ui_.ShowInfo(Pick(ui_.Language(), "请先连接设备!", "Please connect device!"), 1100);
}

void DisconnectedSession::OpenDocument(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), ec)) {
        ui_.AskUser("文件不存在！", "文件打开错误", UiButtons::Ok, UiIcon::Information);
    }
    // With the link closed an existing file is not pushed anywhere.
}
