#include "link/controller/DeviceModes.h"

#include "files/ModeFile.h"
#include "i18n/Language.h"
#include "link/LinkState.h"
#include "link/Protocol.h"
#include "link/controller/ConnectionController.h"
#include "link/controller/ModeFileNames.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

namespace {

constexpr TextPair kInfoCaption = {"信息", "Information"};
constexpr TextPair kStoreQuestion = {"确定要保存至机器模式", "Save to machine mode "};
constexpr TextPair kRecallQuestion = {"参数已更改，确定要直接载入模式",
                                      "Setting changed ! Are you sure load mode"};
constexpr TextPair kStoringNotice = {"正在储存模式%s,请稍等", "Saving Mode %s ……"};
constexpr TextPair kNotConnected = {"请先连接设备!", "Please connect device!"};
constexpr TextPair kRestartQuestion = {"您确定要将机器复位吗? \n机器复位后将自动重新启动并连接.",
                                       "Are you sure reset machine? "};
constexpr const char* kRestartCaption = "提示";
constexpr TextPair kRestarting = {"机器正在重启……", "Restarting……"};
constexpr TextPair kClosePrompt = {
    "参数已改动，请问是否需要保存?\r\n提示：保存成电脑文件并同时保存至机器的当前模式",
    "parameter value is changed, do you want save it ?"};
constexpr TextPair kCloseCaption = {"保存?", "Save?"};
constexpr const char* kNoSuchFile = "文件不存在！";
constexpr const char* kOpenErrorCaption = "文件打开错误";

constexpr int kNotConnectedMs = 1100;
constexpr int kStoringNoticeMs = 2500;
constexpr int kRestartingMs = 20000;

constexpr std::array<TextPair, kLinkModeCount> kModeNumbers = {{
    {"一", "1"},
    {"二", "2"},
    {"三", "3"},
    {"四", "4"},
}};

int ClampMode(int mode)
{
    return std::clamp(mode, 0, kLinkModeCount - 1);
}

std::string ModeNumber(int mode)
{
    return kModeNumbers[static_cast<size_t>(mode)].Text();
}

std::string StoringNotice(int mode)
{
    std::string text = kStoringNotice.Text();
    text.replace(text.find("%s"), 2, ModeNumber(mode));
    return text;
}

bool ReadIntoSetting(const std::string& path)
{
    ModeFileDeviceInfo info{};
    if (!ReadModeFile(path, info).Ok()) {
        return false; // the reader has told the user
    }
    DeviceInfoBytes.Write(0, info);
    return true;
}

} // namespace

void DeviceModes::RecallMode(int mode)
{
    mode = ClampMode(mode);
    if (!controller_.IsConnected()) {
        return;
    }
    UiPort& ui = controller_.Ui();
    if (g_bParamChanged.load() != 0 &&
        ui.AskUser(kRecallQuestion.Text() + ModeNumber(mode) + "?", kInfoCaption.Text(),
                   UiButtons::YesNo, UiIcon::Question) != UiAnswer::Yes) {
        return;
    }
    g_nCurMode = mode;
    SendCommand({kCmdLoadMode, mode, -1});
    controller_.StartSynchronisation(SyncDirection::Read);
}

void DeviceModes::StoreMode(int mode, bool fromKey)
{
    mode = ClampMode(mode);
    if (!controller_.IsConnected()) {
        return;
    }
    UiPort& ui = controller_.Ui();
    if (ui.AskUser(kStoreQuestion.Text() + ModeNumber(mode) + "?", kInfoCaption.Text(),
                   UiButtons::YesNo, UiIcon::Question) != UiAnswer::Yes) {
        return;
    }
    g_nCurMode = mode;
    g_bParamChanged = 0;
    SendCommand({kCmdStoreMode, mode, -1});
    if (fromKey) {
        ui.ShowInfo(StoringNotice(mode), kStoringNoticeMs);
        controller_.Pause(controller_.Pauses().storeKey);
    } else {
        controller_.Pause(controller_.Pauses().storeMenu);
        ui.ShowInfo(StoringNotice(mode), kStoringNoticeMs);
    }
}

void DeviceModes::ResetMode(int mode)
{
    mode = ClampMode(mode);
    if (!controller_.IsConnected()) {
        return;
    }
    g_nCurMode = mode;
    SendCommand({kCmdResetMode, mode, -1});
    controller_.StartSynchronisation(SyncDirection::Read);
}

void DeviceModes::SelectAndStoreMode(int mode)
{
    mode = ClampMode(mode);
    g_nCurMode = mode;
    SendCommand({kCmdSelectMode, mode, -1});
    controller_.Pause(controller_.Pauses().selectToStore);
    g_bParamChanged = 0;
    SendCommand({kCmdStoreMode, mode, -1});
}

void DeviceModes::WriteModeName(int mode, const std::u16string& name)
{
    mode = ClampMode(mode);
    const std::u16string cut = name.substr(0, std::min(name.size(), kModeNameMaxChars));
    ::WriteModeName(mode, cut);
    g_szModeName[static_cast<size_t>(mode)].Set(cut);
}

void DeviceModes::RestartProcessor()
{
    if (!controller_.IsConnected()) {
        return;
    }
    UiPort& ui = controller_.Ui();
    if (ui.AskUser(kRestartQuestion.Text(), kRestartCaption, UiButtons::YesNo, UiIcon::Question) !=
        UiAnswer::Yes) {
        return;
    }
    SendCommand({kCmdRestart, 0xAA, -1});
    ui.ShowInfo(kRestarting.Text(), kRestartingMs);
}

void DeviceModes::LoadModeFile()
{
    UiPort& ui = controller_.Ui();
    if (!controller_.IsConnected()) {
        ui.ShowInfo(kNotConnected.Text(), kNotConnectedMs);
        return;
    }
    const std::string path = ui.AskOpenModeFile();
    if (path.empty()) {
        return;
    }
    LoadModeFileNamed(path);
}

bool DeviceModes::LoadModeFileNamed(const std::string& path)
{
    UiPort& ui = controller_.Ui();
    if (!controller_.IsConnected()) {
        ui.ShowInfo(kNotConnected.Text(), kNotConnectedMs);
        return false;
    }
    const std::u16string modeName = ModeNameFromFileName(path);
    if (!ReadIntoSetting(path)) {
        return false; // the pending mode stays as it was
    }
    pendingMode_ = PendingModeFromBaseName(ModeFileBaseName(path));
    WriteModeName(g_nCurMode.load(), modeName);
    controller_.StartSynchronisation(SyncDirection::Write);
    ui.AddRecentFile(path);
    return true;
}

void DeviceModes::RunPendingMode()
{
    if (pendingMode_ == kNoPendingMode) {
        return;
    }
    const int mode = pendingMode_;
    pendingMode_ = kNoPendingMode;
    SelectAndStoreMode(mode);
}

bool DeviceModes::SaveTo(const std::string& path)
{
    // Into the current mode first, without asking.
    g_bParamChanged = 0;
    SendCommand({kCmdStoreMode, ClampMode(g_nCurMode.load()), -1});
    return WriteModeFile(path, DeviceInfoBytes.Snapshot()).Ok();
}

void DeviceModes::SaveModeFile()
{
    UiPort& ui = controller_.Ui();
    if (!controller_.IsConnected()) {
        ui.ShowInfo(kNotConnected.Text(), kNotConnectedMs);
        return;
    }
    const std::string path = ui.AskSaveModeFile("name");
    if (path.empty()) {
        return;
    }
    // A file that could not be written is not offered again from the recent-file list.
    if (SaveTo(path)) {
        ui.AddRecentFile(path);
    }
}

void DeviceModes::OpenDocument(const std::string& path)
{
    UiPort& ui = controller_.Ui();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        ui.AskUser(kNoSuchFile, kOpenErrorCaption, UiButtons::Ok, UiIcon::Information);
        return;
    }
    if (!HasModeFileExtension(path) || !controller_.IsConnected()) {
        return;
    }
    if (!ReadIntoSetting(path)) {
        return;
    }
    controller_.StartSynchronisation(SyncDirection::Write);
}

bool DeviceModes::ConfirmClose()
{
    if (g_bParamChanged.load() == 0) {
        return true;
    }
    UiPort& ui = controller_.Ui();
    const UiAnswer answer = ui.AskUser(kClosePrompt.Text(), kCloseCaption.Text(),
                                       UiButtons::YesNoCancel, UiIcon::Question);
    if (answer == UiAnswer::Cancel) {
        return false;
    }
    if (answer == UiAnswer::Yes) {
        const std::string path = ui.AskSaveModeFile("preset");
        if (!path.empty()) {
            SaveTo(path);
        }
    }
    return true;
}
