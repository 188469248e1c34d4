#pragma once
// The shell's side of the language index: the index itself is g_nLanguage of the language
// tables; PairText gives a Chinese/English pair as a QString for the widgets.

#include <QString>

// 0 = Chinese, 1 = English.
int AppLanguage();
void SetAppLanguage(int language);

// The text of the current language (Chinese first, English second, both UTF-8).
QString PairText(const char* chinese, const char* english);
