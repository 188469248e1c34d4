#include "i18n/LanguageResources.h"

#include "i18n/Language.h"

#include <cstddef>

// Defined in the sources generated from resources/lang.
extern const unsigned char g_languageTableZh[];
extern const std::size_t g_languageTableZh_size;
extern const unsigned char g_languageTableEn[];
extern const std::size_t g_languageTableEn_size;

std::span<const uint8_t> LanguageResource(int language)
{
    if (language == kLanguageEnglish) {
        return {g_languageTableEn, g_languageTableEn_size};
    }
    return {g_languageTableZh, g_languageTableZh_size};
}
