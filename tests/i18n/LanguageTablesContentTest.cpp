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
    // Output page: the band editor, SRS 3D and the five mutes.
    {385, 1199, "类型", "EQ Type"}, {385, 1201, "增益", "Gain"},
    {385, 1200, "频率", "F"}, {385, 1202, "Q值", "Q"},
    {385, 1204, "参量", "PEQ"}, {385, 1205, "低通", "LP"}, {385, 1206, "高通", "HP"},
    {385, 1207, "低架", "LS"}, {385, 1208, "高架", "HS"},
    {385, 1099, "SRS 3D音效", "SRS 3D"},
    {385, 1215, "前置静音", "Main Mute"}, {385, 1216, "后置静音", "Rear Mute"},
    {385, 1217, "中置静音", "Center Mute"}, {385, 1218, "超低静音", "Sub Mute"},
    {385, 1219, "顶置静音", "Top Mute"},
    {385, 1095, "直达音量", "Direct"}, {385, 1096, "混响音量", "Reverb"},
    {385, 1097, "回声音量", "Echo"}, {385, 1098, "音乐音量", "Music"},
    // The output group's eight navigation buttons, on each of its four pages.
#define NAV_BUTTONS(dialog) \
    {dialog, IDC_NAV_FIRST + 0, "前置音箱", "Main"}, {dialog, IDC_NAV_FIRST + 1, "中置音箱", "Center"}, \
    {dialog, IDC_NAV_FIRST + 2, "超低音箱", "Sub"}, {dialog, IDC_NAV_FIRST + 3, "后置音箱", "Rear"}, \
    {dialog, IDC_NAV_FIRST + 4, "顶置音箱", "Top"}, {dialog, IDC_NAV_FIRST + 5, "声场定位", "Location"}, \
    {dialog, IDC_NAV_FIRST + 6, "延时调整", "Delay"}, {dialog, IDC_NAV_FIRST + 7, "输出压限", "Comp"}
    NAV_BUTTONS(385), NAV_BUTTONS(333), NAV_BUTTONS(346), NAV_BUTTONS(334),
#undef NAV_BUTTONS
    // Noise gate dialog.
    {423, 0, "噪声门设置", "Noise gate setting"},
    {423, 1178, "话筒噪声门", "Mic "}, {423, 1123, "启动时间", "Attack time"},
    {423, 1124, "关闭时间", "Release time"}, {423, 1179, "音乐噪声门", "Music "},
    {423, 1125, "启动时间", "Attack time"}, {423, 1126, "关闭时间", "Release time"},
    {423, 1, "确定", "OK"}, {423, 2, "取消", "Cancel"},
    // Delay page: per channel row the switch, the two mode radios and the caption.
    {333, 1100, "开关", "ON"}, {333, 1110, "高频延时", "High Freq "},
    {333, 1120, "通道延时", "Channel"}, {333, 1130, "前置左", "Main L"},
    {333, 1101, "开关", "ON"}, {333, 1111, "高频延时", "High Freq "},
    {333, 1121, "通道延时", "Channel"}, {333, 1131, "前置右", "Main R"},
    {333, 1102, "开关", "ON"}, {333, 1112, "高频延时", "High Freq "},
    {333, 1122, "通道延时", "Channel"}, {333, 1132, "中置", "Center"},
    {333, 1103, "开关", "ON"}, {333, 1113, "高频延时", "High Freq "},
    {333, 1123, "通道延时", "Channel"}, {333, 1133, "超低", "Sub"},
    {333, 1104, "开关", "ON"}, {333, 1114, "高频延时", "High Freq "},
    {333, 1124, "通道延时", "Channel"}, {333, 1134, "后置左", "Rear L"},
    {333, 1105, "开关", "ON"}, {333, 1115, "高频延时", "High Freq "},
    {333, 1125, "通道延时", "Channel"}, {333, 1135, "后置右", "Rear R"},
    {333, 1106, "开关", "ON"}, {333, 1116, "高频延时", "High Freq "},
    {333, 1126, "通道延时", "Channel"}, {333, 1136, "顶置左", "Top L"},
    {333, 1107, "开关", "ON"}, {333, 1117, "高频延时", "High Freq "},
    {333, 1127, "通道延时", "Channel"}, {333, 1137, "顶置右", "Top R"},
    // Compressor page: per group the on/off box and the four slider captions.
    {346, 1200, "前置压限启用", "Main Comp ON"},
    {346, 1210, "阀(阈)", "Threshold"}, {346, 1211, "衰减比例", "Ratio"},
    {346, 1212, "启动时间", "Attack time"}, {346, 1213, "释放时间", "Release time"},
    {346, 1201, "后置压限启用", "Rear Comp ON"},
    {346, 1214, "阀(阈)", "Threshold"}, {346, 1215, "衰减比例", "Ratio"},
    {346, 1216, "启动时间", "Attack time"}, {346, 1217, "释放时间", "Release time"},
    {346, 1202, "中置压限启用", "Center Comp ON"},
    {346, 1218, "阀(阈)", "Threshold"}, {346, 1219, "衰减比例", "Ratio"},
    {346, 1220, "启动时间", "Attack time"}, {346, 1221, "释放时间", "Release time"},
    {346, 1203, "超低压限启用", "Sub Comp ON"},
    {346, 1222, "阀(阈)", "Threshold"}, {346, 1223, "衰减比例", "Ratio"},
    {346, 1224, "启动时间", "Attack time"}, {346, 1225, "释放时间", "Release time"},
    {346, 1204, "顶置压限启用", "Top Comp ON"},
    {346, 1226, "阀(阈)", "Threshold"}, {346, 1227, "衰减比例", "Ratio"},
    {346, 1228, "启动时间", "Attack time"}, {346, 1229, "释放时间", "Release time"},
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
    {335, 1401, "开机音量", "Start vol"}, {335, 1402, "限制最大音量", "Limit vol"},
    {335, 1403, "主音量保存模式", "Vol save mode"}, {335, 1404, "话筒反相", "Mic Phase Reverse "},
    {335, 1405, "出厂机器模式", "Default mode"}, {335, 1406, "开机指定模式", "Power on mode"},
    {335, 1407, "话筒开机音量", "Mic start vol"}, {335, 1408, "启用", "Enable"},
    {335, 1409, "音乐开机音量", "Music start vol"}, {335, 1410, "启用", "Enable"},
    {335, 1411, "话筒最大音量", "Mic max vol"}, {335, 1412, "音乐最大音量", "Music max vol"},
    {335, 1413, "随开关机保存", "By power"}, {335, 1414, "随模式保存", "By mode "},
    {335, 1415, "话筒1组反相", "Mic1 reverse"}, {335, 1416, "话筒2组反相", "Mic2 reverse"},
    {335, 1417, "M1", "M1"}, {335, 1418, "M2", "M2"}, {335, 1419, "M3", "M3"}, {335, 1420, "M4", "M4"},
    {335, 1421, "锁定面板", "Lock panel"}, {335, 1422, "锁定音量", "Lock Vol"},
    {335, 1423, "锁定模式", "Lock Mode"}, {335, 1424, "应用设置", "Apply"},
    {335, 1425, "取消设置", "Cancel"},
    {372, 0, "学习中……", "Learning"},
    {372, IDC_STUDY_PROMPT, "请您按下遥控器上的对应的按键", "Key code:"},
    {372, IDC_STUDY_CANCEL, "放弃学习", "Cancel"}, {372, IDC_STUDY_CLOSE, "关闭", "Close"},
    {373, 0, "遥控学习", "Learn remoter control "},
    {373, IDC_REMOTE_LOAD, "载入参数", "Load file"}, {373, IDC_REMOTE_SAVE, "保存参数", "Save file"},
    {373, IDC_REMOTE_APPLY, "应用参数", "Apply"},
    {457, 0, "特色功能", "Features"},
    {457, 1451, "话筒激励", "Mic Boost"}, {457, 1452, "音乐", "Music"},
    {457, 1453, "音乐AGC", "Music AGC"}, {457, 1454, "自动超低", "Auto SUB vol decay"},
    {457, 1455, "启用", "ON "}, {457, 1456, "音乐低频频率", "LPF Frequency"},
    {457, 1457, "音乐低频延时", "LPF Delay"}, {457, 1458, "音乐低频增益", "LPF Gain"},
    {457, 1459, "启用", "ON"}, {457, 1460, "音乐输入增益自动调节", "Auto Music Level"},
    {457, 1461, "AGC目标电平", "AGC Level"}, {457, 1462, "音乐输入电平：", "Current Level"},
    {457, 1463, "启用", "ON"}, {457, 1464, "超低比例", "SUB Vol"},
    {457, 1465, "当检测到话筒信号时，超低音量自动调节成所设置的超低比例，1秒之后，超低音量逐渐恢复成正常比例",
     "When detected mic level,the SUB vol is auto decay."},
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
    // Every caption the windows name. The output page and the machine-settings window name
    // fewer captions (27 and 26) than their dialogs once held keys for.
    const std::map<int, size_t> keysPerDialog = {{313, 40}, {333, 40}, {334, 25}, {346, 33},
                                                 {385, 27}, {421, 9},  {423, 9},  {335, 26},
                                                 {372, 4},  {373, 4},  {457, 16}};
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
