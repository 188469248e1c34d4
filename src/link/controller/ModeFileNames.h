#pragma once
// What a mode file's name decides when it is loaded: the mode name written to the current
// mode, the mode the setting is stored into afterwards (the pending mode), and whether the
// shell's open-document entry takes the file at all.

#include <string>
#include <string_view>

inline constexpr int kNoPendingMode = -1;

// The file name without its folder, cut at the last "." (the whole name when there is none).
std::string ModeFileBaseName(std::string_view path);
// The mode name for a loaded file: its base name cut to the first 20 characters, case kept,
// as UTF-16 (a character outside the basic plane is never split).
std::u16string ModeNameFromFileName(std::string_view path);
// The pending mode for a base name, compared in lower case at the very start of the name:
// "默认1", "velmora1", "m1" give 0, and so on up to 3; anything else gives kNoPendingMode.
int PendingModeFromBaseName(std::string_view baseName);
// The open-document entry takes a file only when the text after its last "." is exactly
// "W6v8" or "W6v9" (case-sensitive).
bool HasModeFileExtension(std::string_view path);

// UTF-8 to UTF-16; malformed bytes become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
