// The two compiled-in tables: every key the windows rely on is present in both, decodes, and
// carries the window's caption; the files keep their stored form (GBK, CR LF).
#include "i18n/DialogIds.h"
#include "i18n/LanguageResources.h"
#include "i18n/LanguageTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <map>
#include <string>

namespace {
struct ExpectedText
{
    int dialog;
    int control; // 0 for the title
    const char* zh;
    const char* en;
};

// clang-format off
const ExpectedText kExpected[] = {
    // Input page: mic ports, music peak group, view buttons, small panels, band editor.
    {313, 1185, "话筒口1", "Mic 1"}, {313, 1186, "话筒口2", "Mic 2"},
    {313, 1187, "话筒口3", "Mic 3"}, {313, 1188, "话筒口4", "Mic 4"},
    {313, 1190, "通道A", "CH A"}, {313, 1191, "通道B", "CH B"},
    {313, 1192, "通道A", "CH A"}, {313, 1193, "通道B", "CH B"},
    {313, 1194, "通道A", "CH A"}, {313, 1195, "通道B", "CH B"},
    {313, 1196, "通道A", "CH A"}, {313, 1197, "通道B", "CH B"},
    {313, 1153, "噪声门", "MNG"}, {313, 1155, "噪声门", "MNG"},
    {313, 1157, "噪声门", "MNG"}, {313, 1159, "噪声门", "MNG"},
    {313, 1161, "音量", "Vol"}, {313, 1163, "音量", "Vol"},
    {313, 1165, "音量", "Vol"}, {313, 1167, "音量", "Vol"},
    {313, 1142, "音乐电平", "Music Peak"},
    {313, 1182, "光纤/同轴", "SPDIF"}, {313, 1183, "模拟输入1", "Aux 1"},
    {313, 1184, "模拟输入2", "Aux 2"},
    {313, 1068, "话筒通道A", "Mic CH A"}, {313, 1069, "话筒通道B", "Mic CH B"},
    {313, 1070, "音乐", "Music"},
    {313, 1132, "混响均衡", "Reverb EQ"}, {313, 1145, "回声均衡", "Echo EQ"},
    {313, 1146, "点击下面方框进入混响均衡调节界面", "Click to enter reverb EQ"},
    {313, 1189, "点击下面方框进入回声均衡调节界面", "Click to enter echo EQ"},
    {313, 1199, "类型", "EQ Type"}, {313, 1201, "增益", "Gain"},
    {313, 1200, "频率", "F"}, {313, 1202, "Q值", "Q"},
    {313, 1204, "参量", "PEQ"}, {313, 1205, "低通", "LP"}, {313, 1206, "高通", "HP"},
    {313, 1207, "低架", "LS"}, {313, 1208, "高架", "HS"},
    // Echo and reverb EQ page: the band editor.
    {421, 1199, "类型", "EQ Type"}, {421, 1201, "增益", "Gain"},
    {421, 1200, "频率", "F"}, {421, 1202, "Q值", "Q"},
    {421, 1204, "参量", "PEQ"}, {421, 1205, "低通", "LP"}, {421, 1206, "高通", "HP"},
    {421, 1207, "低架", "LS"}, {421, 1208, "高架", "HS"},
    // Noise gate dialog.
    {423, 0, "噪声门设置", "Noise gate setting"},
    {423, 1178, "话筒噪声门", "Mic "}, {423, 1123, "启动时间", "Attack time"},
    {423, 1124, "关闭时间", "Release time"}, {423, 1179, "音乐噪声门", "Music "},
    {423, 1125, "启动时间", "Attack time"}, {423, 1126, "关闭时间", "Release time"},
    {423, 1, "确定", "OK"}, {423, 2, "取消", "Cancel"},
    // Sound-field page: room size, buttons and the position captions.
    {334, IDC_SSVC_UNIT, "长度单位:米(m)", "Length unit: Meter"},
    {334, IDC_SSVC_ROOM, "房间大小", "Room size"},
    {334, IDC_SSVC_WIDTH, "宽(m)", "Width(m)"}, {334, IDC_SSVC_LENGTH, "长(m)", "Height(m)"},
    {334, IDC_SSVC_MODIFY, "立即修改", "Modify"}, {334, IDC_SSVC_RESET, "复位", "Reset all"},
    {334, IDC_SSVC_CENTER, "居中", "Center"},
    {334, IDC_SSVC_LISTENER, "听众位置", "Listener location"},
    {334, IDC_SSVC_SOURCES, "声源的位置", "Audio source location"},
    {334, IDC_SSVC_SPEAKER_FIRST + 0, "前置左", "Main.L"},
    {334, IDC_SSVC_SPEAKER_FIRST + 1, "中置", "Center"},
    {334, IDC_SSVC_SPEAKER_FIRST + 2, "前置右", "Main.R"},
    {334, IDC_SSVC_SPEAKER_FIRST + 3, "后置左", "Rear.L"},
    {334, IDC_SSVC_SPEAKER_FIRST + 4, "超低", "Sub"},
    {334, IDC_SSVC_SPEAKER_FIRST + 5, "后置右", "Rear.R"},
    {334, IDC_SSVC_SPEAKER_FIRST + 6, "顶置左", "Top.L"},
    {334, IDC_SSVC_SPEAKER_FIRST + 7, "顶置右", "Top.R"},
    // Tool windows.
    {335, 0, "机器设置", "Machine Set"},
    {372, 0, "学习中……", "Learning"},
    {372, IDC_STUDY_PROMPT, "请您按下遥控器上的对应的按键", "Key code:"},
    {372, IDC_STUDY_CANCEL, "放弃学习", "Cancel"}, {372, IDC_STUDY_CLOSE, "关闭", "Close"},
    {373, 0, "遥控学习", "Learn remoter control "},
    {373, IDC_REMOTE_LOAD, "载入参数", "Load file"}, {373, IDC_REMOTE_SAVE, "保存参数", "Save file"},
    {373, IDC_REMOTE_APPLY, "应用参数", "Apply"},
    {457, 0, "特色功能", "Features"},
};
// clang-format on

std::string KeyOf(const ExpectedText& e)
{
    return e.control == 0 ? LanguageTable::TitleKey(e.dialog)
                          : LanguageTable::CaptionKey(e.dialog, e.control);
}

LanguageTable Table(int language)
{
    return LanguageTable::FromGbk(LanguageResource(language));
}
} // namespace

TEST(LanguageTables, EveryKeyParsesAndDecodesToItsCaption)
{
    const LanguageTable zh = Table(0);
    const LanguageTable en = Table(1);
    for (const ExpectedText& e : kExpected) {
        EXPECT_EQ(zh.Lookup(KeyOf(e)), e.zh) << KeyOf(e);
        EXPECT_EQ(en.Lookup(KeyOf(e)), e.en) << KeyOf(e);
    }
}

TEST(LanguageTables, BothTablesHoldTheSameKeysAndNothingUndecodable)
{
    const LanguageTable zh = Table(0);
    const LanguageTable en = Table(1);
    ASSERT_EQ(zh.Size(), en.Size());
    for (const auto& [key, text] : zh.Entries()) {
        EXPECT_TRUE(en.Contains(key)) << key;
        EXPECT_FALSE(text.empty()) << key;
        EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos) << key;
    }
    for (const auto& [key, text] : en.Entries()) {
        EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos) << key;
    }
    // Every entry of the tables is one that a window asks for (no stray or misspelt keys).
    EXPECT_EQ(zh.Size(), std::size(kExpected));
}

TEST(LanguageTables, CompleteDialogsCarryAllTheirKeys)
{
    // Dialogs whose every key exists already; the others (pages 333, 334, 346, 385 and the
    // controls of 335 and 457) come with their windows.
    const std::map<int, size_t> keysPerDialog = {{313, 40}, {421, 9}, {423, 9}, {372, 4}, {373, 4}};
    for (int language : {0, 1}) {
        std::map<int, size_t> counted;
        const LanguageTable table = Table(language);
        for (const auto& [key, text] : table.Entries()) {
            int dialog = 0;
            ASSERT_EQ(std::sscanf(key.c_str(), "idd%d_", &dialog), 1) << key;
            ++counted[dialog];
        }
        for (const auto& [dialog, count] : keysPerDialog) {
            EXPECT_EQ(counted[dialog], count) << "dialog " << dialog << " language " << language;
        }
    }
}

TEST(LanguageTables, AreStoredAsGbkWithCrLfAndHeadedByTheStringSection)
{
    for (int language : {0, 1}) {
        const auto bytes = LanguageResource(language);
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_TRUE(text.starts_with("[String]\r\n"));
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                ASSERT_GT(i, 0u);
                EXPECT_EQ(text[i - 1], '\r') << "bare LF at byte " << i;
            }
        }
        // Not UTF-8: the machine-settings heading is GBK (BB FA C6 F7 C9 E8 D6 C3).
        EXPECT_NE(text.find("// \xBB\xFA\xC6\xF7\xC9\xE8\xD6\xC3\r\n"), std::string::npos);
    }
}
