#pragma once
// One language table: the INI-style text of dialog titles and control captions, parsed in
// memory. Only section "String" is read; keys are "IDD<dialog>_title" and
// "IDD<dialog>_<control>".

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>

class LanguageTable
{
public:
    // Longest text a lookup gives, in characters: the profile reader's buffer of 1000
    // characters less its terminator.
    static constexpr size_t kMaxTextLength = 999;

    LanguageTable() = default;

    // Parses a table stored in GBK (lines ending in CR LF or LF). Never fails: lines that are
    // not "key=value" inside [String] are ignored.
    static LanguageTable FromGbk(std::span<const uint8_t> gbk);
    // The same for text already decoded to UTF-8.
    static LanguageTable FromUtf8(std::string_view text);

    // The UTF-8 text of a key (case-insensitive, first occurrence wins), or an empty text when
    // the key is missing or empty: the caller then keeps its own caption.
    std::string Lookup(std::string_view key) const;
    std::string Title(int dialogId) const;
    std::string Caption(int dialogId, int controlId) const;

    bool Contains(std::string_view key) const;
    size_t Size() const { return entries_.size(); }
    // Every entry, keys lower-cased (for checks and tools).
    const std::map<std::string, std::string>& Entries() const { return entries_; }

    static std::string TitleKey(int dialogId);
    static std::string CaptionKey(int dialogId, int controlId);

private:
    std::map<std::string, std::string> entries_; // lower-case key -> text
};
