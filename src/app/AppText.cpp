#include "app/AppText.h"

#include "i18n/Language.h"

int AppLanguage()
{
    return CurrentLanguage();
}

void SetAppLanguage(int language)
{
    SetLanguage(language);
}

QString PairText(const char* chinese, const char* english)
{
    return QString::fromUtf8(TextPair{chinese, english}.Text());
}
