#pragma once
// The two language tables compiled into the program, as stored: GBK text, CR LF line ends.

#include <cstdint>
#include <span>

// Language 1 gives the English table, any other value the Chinese one.
std::span<const uint8_t> LanguageResource(int language);
