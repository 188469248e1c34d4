#include "link/controller/ModeFileNames.h"

#include "link/Protocol.h"

#include <array>
#include <cstdint>

namespace {

std::string_view FileNamePart(std::string_view path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Length of the UTF-8 sequence starting with `lead`, 0 when it cannot start one.
size_t SequenceLength(unsigned char lead)
{
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

} // namespace

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t n = SequenceLength(lead);
        uint32_t cp = 0;
        bool ok = n != 0 && i + n <= text.size();
        if (ok) {
            cp = n == 1 ? lead : static_cast<uint32_t>(lead & (0x7F >> n));
            for (size_t k = 1; k < n && ok; ++k) {
                const auto c = static_cast<unsigned char>(text[i + k]);
                ok = (c & 0xC0) == 0x80;
                cp = (cp << 6) | (c & 0x3Fu);
            }
            // Overlong forms, surrogates and values beyond U+10FFFF are malformed.
            static constexpr std::array<uint32_t, 5> kMin = {0, 0, 0x80, 0x800, 0x10000};
            ok = ok && cp >= kMin[n] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
        }
        if (!ok) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += n;
    }
    return out;
}

std::string ModeFileBaseName(std::string_view path)
{
    const std::string_view name = FileNamePart(path);
    const size_t dot = name.find_last_of('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::u16string ModeNameFromFileName(std::string_view path)
{
    const std::u16string name = Utf8ToUtf16(ModeFileBaseName(path));
    std::u16string out;
    size_t characters = 0;
    for (size_t i = 0; i < name.size() && characters < kModeNameMaxChars; ++characters) {
        const bool pair = name[i] >= 0xD800 && name[i] <= 0xDBFF && i + 1 < name.size();
        // The processor takes 20 units: a pair that no longer fits is left out whole.
        if (pair && out.size() + 2 > kModeNameMaxChars) {
            break;
        }
        out.push_back(name[i++]);
        if (pair) {
            out.push_back(name[i++]);
        }
    }
    return out;
}

int PendingModeFromBaseName(std::string_view baseName)
{
    std::string lower(baseName);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    static constexpr std::array<std::array<std::string_view, 3>, 4> kPrefixes = {{
        {"默认1", "velmora1", "m1"},
        {"默认2", "velmora2", "m2"},
        {"默认3", "velmora3", "m3"},
        {"默认4", "velmora4", "m4"},
    }};
    for (size_t mode = 0; mode < kPrefixes.size(); ++mode) {
        for (std::string_view prefix : kPrefixes[mode]) {
            if (std::string_view(lower).starts_with(prefix)) {
                return static_cast<int>(mode);
            }
        }
    }
    return kNoPendingMode;
}

bool HasModeFileExtension(std::string_view path)
{
    const std::string_view name = FileNamePart(path);
    const size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    const std::string_view ext = name.substr(dot + 1);
    return ext == "W6v8" || ext == "W6v9";
}
