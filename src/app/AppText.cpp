#include "app/AppText.h"

namespace {
std::atomic<int> g_language{0};
} // namespace

int AppLanguage()
{
    return g_language.load();
}

void SetAppLanguage(int language)
{
    g_language.store(language == 1 ? 1 : 0);
}

QString TextPair(const char* chinese, const char* english)
{
    return TextPair(AppLanguage(), chinese, english);
}

QString TextPair(int language, const char* chinese, const char* english)
{
    return QString::fromUtf8(language == 1 ? english : chinese);
}
