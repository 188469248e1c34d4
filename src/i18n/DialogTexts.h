#pragma once
// The current language table and how dialogs take their texts from it. Windows call
// ApplyLanguage with their own dialog id when they are created and after a language switch;
// the toolkit side only copies the resulting texts into its widgets.

#include <span>
#include <string>

// Makes the compiled-in table of g_nLanguage the current table. Returns whether a table was
// loaded. Until the first call the Chinese/English table of g_nLanguage at that moment is
// loaded on first use.
bool LoadLanguageTable();

// g_nLanguage = 1 - g_nLanguage, then LoadLanguageTable. Storing the setting "language" and
// relabelling the windows are the shell's part.
bool SwitchLanguage();

// Texts of the current table; empty when the key is missing (keep the caption you have).
std::string DialogTitleText(int dialogId);
std::string DialogCaptionText(int dialogId, int controlId);

struct DialogCaption
{
    int controlId;
    std::string text;
};

// Sets `title` and each caption that the current table holds for `dialogId`; texts without a
// key stay as they are. Safe to call from any thread.
void ApplyLanguage(int dialogId, std::string& title, std::span<DialogCaption> captions);
