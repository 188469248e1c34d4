#pragma once
// Chinese/English text pairs drawn or formatted by the EQ widgets, chosen by a language
// index (pair[language]: 1 English, anything else Chinese).

#include "i18n/Language.h"

using EqTextPair = TextPair;

inline constexpr int kEqPanelKinds = 12;

// Titles of the panel kinds 0..11.
inline constexpr EqTextPair kEqKindTitles[kEqPanelKinds] = {
    {"音乐均衡", "Music EQ"},
    {"话筒通道A均衡", "CH A Mic EQ"},
    {"超低均衡", "SUB EQ"},
    {"中置均衡", "Center EQ"},
    {"后置均衡", "REAR EQ"},
    {"前置均衡", "MAIN EQ"},
    {"混响通道A均衡", "CH A Reverb EQ"},
    {"回声通道A均衡", "CH A Echo EQ"},
    {"话筒通道B均衡", "CH B Mic EQ"},
    {"混响通道B均衡", "CH B Reverb EQ"},
    {"回声通道B均衡", "CH B Echo EQ"},
    {"顶置均衡", "TOP EQ"},
};

// Items of the filter type menu, types 1..5.
inline constexpr EqTextPair kEqTypeMenuItems[5] = {
    {"参量(PEQ)", "PEQ"}, {"低通(LP)", "LP"}, {"高通(HP)", "HP"},
    {"低架(LS)", "LS"},   {"高架(HS)", "HS"},
};

inline constexpr EqTextPair kEqImportFiltersItem = {"导入滤波器…", "Import filters…"};
inline constexpr EqTextPair kEqExportFiltersItem = {"导出滤波器…", "Export filters…"};
inline constexpr EqTextPair kEqCopyItem = {"复制均衡", "Copy EQ"};
inline constexpr EqTextPair kEqPasteItem = {"粘贴均衡", "Paste EQ"};

// Type names of the band list, codes 0..5.
inline constexpr EqTextPair kEqTypeNames[6] = {
    {"关闭", "OFF"}, {"参量", "PEQ"}, {"低通", "LP"},
    {"高通", "HP"},  {"低架", "LS"},  {"高架", "HS"},
};

// Band list column titles: number, type, gain, frequency, Q.
inline constexpr EqTextPair kEqListColumns[5] = {
    {"", ""}, {"类型", "Type"}, {"增益", "Gain"}, {"频率", "Freq"}, {"Q值", "Q"},
};

// Band editor group boxes (type, gain, frequency, Q) and radios (PEQ .. HS).
inline constexpr EqTextPair kEqEditorGroups[4] = {
    {"类型", "EQ Type"}, {"增益", "Gain"}, {"频率", "F"}, {"Q值", "Q"}};
inline constexpr EqTextPair kEqEditorRadios[5] = {
    {"参量", "PEQ"}, {"低通", "LP"}, {"高通", "HP"}, {"低架", "LS"}, {"高架", "HS"}};
