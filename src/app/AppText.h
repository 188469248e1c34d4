#pragma once
// The language index and the Chinese/English text pairs chosen by it. Every text the shell
// draws goes through TextPair, so the language tables can take over in one place.

#include <QString>

#include <atomic>

// 0 = Chinese, 1 = English.
int AppLanguage();
void SetAppLanguage(int language);

// The text of the current language (Chinese first, English second).
QString TextPair(const char* chinese, const char* english);
// The same pair for an explicit language index (0 or 1; anything else counts as 0).
QString TextPair(int language, const char* chinese, const char* english);
