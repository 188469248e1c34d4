#include "i18n/Language.h"

std::atomic<int> g_nLanguage{kLanguageChinese};

int CurrentLanguage()
{
    return g_nLanguage.load(std::memory_order_relaxed) == kLanguageEnglish ? kLanguageEnglish
                                                                           : kLanguageChinese;
}

void SetLanguage(int language)
{
    g_nLanguage.store(language == kLanguageEnglish ? kLanguageEnglish : kLanguageChinese,
                      std::memory_order_relaxed);
}
