// LIBS: dsp4620_i18n
// Any bytes as a language table: decoding gives valid UTF-8, parsing never crashes and no
// text is longer than the reader's buffer.
#include "i18n/GbkDecoder.h"
#include "i18n/LanguageTable.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {
bool ValidUtf8(const std::string& s, size_t& characters)
{
    characters = 0;
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        size_t n = 0;
        if (b < 0x80) {
            n = 1;
        } else if ((b & 0xE0) == 0xC0 && b >= 0xC2) {
            n = 2;
        } else if ((b & 0xF0) == 0xE0) {
            n = 3;
        } else if ((b & 0xF8) == 0xF0 && b <= 0xF4) {
            n = 4;
        } else {
            return false;
        }
        if (i + n > s.size()) {
            return false;
        }
        for (size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += n;
        ++characters;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    size_t characters = 0;
    if (!ValidUtf8(DecodeGbk(bytes), characters)) {
        __builtin_trap();
    }
    const LanguageTable table = LanguageTable::FromGbk(bytes);
    for (const auto& [key, text] : table.Entries()) {
        if (key.empty() || !ValidUtf8(text, characters) ||
            characters > LanguageTable::kMaxTextLength || table.Lookup(key) != text) {
            __builtin_trap();
        }
    }
    (void)table.Title(373);
    (void)table.Caption(313, 1185);
    return 0;
}
