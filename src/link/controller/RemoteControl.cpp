#include "link/controller/RemoteControl.h"

#include "i18n/Language.h"
#include "link/Protocol.h"
#include "link/UsbTransport.h"

#include <array>
#include <cstdio>

namespace {
// clang-format off
constexpr std::array<TextPair, kRemoteFunctionCount> kLearningTexts = {{
    {"您正在学习的键：载入模式一", "Learning key: load user mode 1"},
    {"您正在学习的键：载入模式二", "Learning key: load user mode 2"},
    {"您正在学习的键：载入模式三", "Learning key: load user mode 3"},
    {"您正在学习的键：载入模式四", "Learning key: load user mode 4"},
    {"您正在学习的键：增加话筒音量", "Learning key: mic vol+,increment mic vol"},
    {"您正在学习的键：降低话筒音量", "Learning key: mic vol-,decrement mic vol"},
    {"您正在学习的键：增加音乐音量", "Learning key: music vol+,increment music vol"},
    {"您正在学习的键：降低音乐音量", "Learning key: music vol-,decrement music vol"},
    {"您正在学习的键：音乐静音", "Learning key:  music mute"},
    {"您正在学习的键：升调", "Learning key: tone increment "},
    {"您正在学习的键：原调", "Learning key:  reset tone"},
    {"您正在学习的键：降调", "Learning key: tone decrement"},
    {"您正在学习的键：音乐输入切换", "Learning key: Change music input"},
    {"您正在学习的键：增加效果音量", "Learning key: Effect vol+,increment effect vol"},
    {"您正在学习的键：降低效果音量", "Learning key: Effect vol-,decrement effect vol"},
}};
// clang-format on
} // namespace

std::string RemoteLearningText(int function, int language)
{
    if (function < 1 || function > kRemoteFunctionCount) {
        return {};
    }
    return kLearningTexts[static_cast<size_t>(function - 1)][language];
}

std::string RemoteKeyCodeText(int code)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(code & 0xFF));
    return text;
}

int StartLearningKey(int function)
{
    if (function < 1 || function > kRemoteFunctionCount) {
        return 0;
    }
    return SendCommand({kCmdLearnKey, function, -1});
}

int StopLearningKey()
{
    // A write still waiting for the answer to the learning command would hold the stop
    // command back until its pacing ran out.
    SignalUsbReply();
    return SendCommand({kCmdStopLearning, -1});
}

int SendRemoteTable()
{
    const RemoteTableBytes table = g_RemoteTable.Snapshot();
    std::array<int, kRemoteTableSize + 2> values{};
    values[0] = kCmdWriteRemoteTable;
    for (size_t i = 0; i < table.size(); ++i) {
        values[i + 1] = table[i];
    }
    values[table.size() + 1] = -1;
    return SendCommand(values);
}

RemoteFileResult LoadRemoteTable(const std::filesystem::path& path)
{
    RemoteTableBytes table = g_RemoteTable.Snapshot();
    RemoteFileResult result = ReadRemoteFile(path, table);
    g_RemoteTable.Write(0, std::span<const uint8_t>(table.data(), result.bytesRead));
    if (result.ok) {
        SendRemoteTable();
    }
    return result;
}

RemoteFileResult SaveRemoteTable(const std::filesystem::path& path)
{
    return WriteRemoteFile(path, g_RemoteTable.Snapshot());
}
