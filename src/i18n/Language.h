#pragma once
// The language index and the Chinese/English text pairs chosen by it.

#include <atomic>

inline constexpr int kLanguageChinese = 0;
inline constexpr int kLanguageEnglish = 1;

// 0 Chinese, 1 English. Read by every thread that formats a text; written on a switch.
extern std::atomic<int> g_nLanguage;

// The current language, with any value other than 1 counted as Chinese.
int CurrentLanguage();
// Sets g_nLanguage; values other than 0 and 1 become 0 (a corrupt setting shows Chinese).
void SetLanguage(int language);

// A text written into the code in both languages, Chinese first. Texts are UTF-8.
struct TextPair
{
    const char* zh;
    const char* en;

    const char* operator[](int language) const { return language == kLanguageEnglish ? en : zh; }
    // The text of the current language.
    const char* Text() const { return (*this)[CurrentLanguage()]; }
};
