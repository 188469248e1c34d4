#include "i18n/LanguageTable.h"

#include "i18n/GbkDecoder.h"

#include <cstdio>

namespace {
bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::string LowerAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

// Cuts a UTF-8 text after `limit` characters (continuation bytes do not count).
std::string_view CutToCharacters(std::string_view s, size_t limit)
{
    size_t chars = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80) {
            if (chars == limit) {
                return s.substr(0, i);
            }
            ++chars;
        }
    }
    return s;
}
} // namespace

LanguageTable LanguageTable::FromGbk(std::span<const uint8_t> gbk)
{
    return FromUtf8(DecodeGbk(gbk));
}

LanguageTable LanguageTable::FromUtf8(std::string_view text)
{
    LanguageTable table;
    bool inStrings = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }

        const std::string_view trimmed = TrimBlanks(line);
        if (trimmed.empty() || trimmed.starts_with("//") || trimmed.front() == ';') {
            continue;
        }
        if (trimmed.front() == '[') {
            const size_t close = trimmed.find(']');
            const std::string_view name =
                close == std::string_view::npos ? std::string_view{} : trimmed.substr(1, close - 1);
            inStrings = LowerAscii(TrimBlanks(name)) == "string";
            continue;
        }
        if (!inStrings) {
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            continue;
        }
        const std::string_view key = TrimBlanks(line.substr(0, eq));
        if (key.empty()) {
            continue;
        }
        // Leading blanks go, trailing blanks stay: some captions end in a blank on purpose.
        std::string_view value = line.substr(eq + 1);
        while (!value.empty() && IsBlank(value.front())) {
            value.remove_prefix(1);
        }
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        table.entries_.emplace(LowerAscii(key),
                               std::string(CutToCharacters(value, kMaxTextLength)));
    }
    return table;
}

std::string LanguageTable::Lookup(std::string_view key) const
{
    const auto it = entries_.find(LowerAscii(key));
    return it == entries_.end() ? std::string{} : it->second;
}

bool LanguageTable::Contains(std::string_view key) const
{
    return entries_.contains(LowerAscii(key));
}

std::string LanguageTable::Title(int dialogId) const
{
    return Lookup(TitleKey(dialogId));
}

std::string LanguageTable::Caption(int dialogId, int controlId) const
{
    return Lookup(CaptionKey(dialogId, controlId));
}

std::string LanguageTable::TitleKey(int dialogId)
{
    char key[32];
    std::snprintf(key, sizeof key, "IDD%d_title", dialogId);
    return key;
}

std::string LanguageTable::CaptionKey(int dialogId, int controlId)
{
    char key[48];
    std::snprintf(key, sizeof key, "IDD%d_%d", dialogId, controlId);
    return key;
}
