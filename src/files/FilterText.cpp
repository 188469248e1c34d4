#include "files/FilterText.h"

#include "i18n/Language.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <system_error>

namespace {

// Band limits of the EQ editors: gain in dB, frequency in Hz, Q by type.
constexpr double kMaxGainDb = 15.0;
constexpr double kMinFreq = 20.0;
constexpr double kMaxFreq = 20000.0;
constexpr double kMinQ = 0.1;
constexpr double kMaxPeakQ = 30.0;
constexpr double kMaxOtherQ = 2.0;
constexpr double kDefaultQ = 0.707;
constexpr double kFlatQ = 1.41;
// Type codes above this design an all-pass: nothing a filter file can say.
constexpr int kLastCrossoverCode = 21;
// Lines a summary names one by one; the rest are counted.
constexpr std::size_t kNotesListed = 12;

std::string Lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string_view Trim(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f'; };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::vector<std::string> Tokens(std::string_view s)
{
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) {
            ++i;
        }
        const std::size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') {
            ++i;
        }
        if (i > start) {
            out.emplace_back(s.substr(start, i - start));
        }
    }
    return out;
}

// A number as these files write it: '.' or ',' as the decimal mark. Only finite values.
std::optional<double> Number(std::string_view token)
{
    std::string t(token);
    std::replace(t.begin(), t.end(), ',', '.');
    if (!t.empty() && t.front() == '+') {
        t.erase(t.begin());
    }
    double v = 0.0;
    const char* end = t.data() + t.size();
    const auto [ptr, ec] = std::from_chars(t.data(), end, v);
    if (ec != std::errc() || ptr != end || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

// "12dB" or "12" followed by "dB": a shelf slope in dB per octave.
std::optional<double> SlopeAt(const std::vector<std::string>& t, std::size_t& i)
{
    if (i >= t.size()) {
        return std::nullopt;
    }
    const std::string low = Lower(t[i]);
    if (low.size() > 2 && low.ends_with("db")) {
        if (auto v = Number(std::string_view(t[i]).substr(0, t[i].size() - 2))) {
            ++i;
            return v;
        }
        return std::nullopt;
    }
    if (i + 1 < t.size() && Lower(t[i + 1]) == "db") {
        if (auto v = Number(t[i])) {
            i += 2;
            return v;
        }
    }
    return std::nullopt;
}

// Shelf Q from a slope S (12 dB/octave is S = 1) and the shelf's gain.
double ShelfQFromSlope(double slopeDb, double gainDb)
{
    const double s = slopeDb / 12.0;
    const double a = std::pow(10.0, gainDb / 40.0);
    const double inverse = (a + 1.0 / a) * (1.0 / s - 1.0) + 2.0;
    if (!(s > 0.0) || !(inverse > 0.0)) {
        return kDefaultQ;
    }
    return 1.0 / std::sqrt(inverse);
}

// Q of a peak whose bandwidth is n octaves. The bandwidth is first kept where the result
// is a finite number (a vanishing width would divide by zero, a huge one overflows); the Q
// limits of the band then report what the file asked for.
double QFromOctaves(double n)
{
    constexpr double kNarrowest = 1e-3;
    constexpr double kWidest = 100.0;
    const double p = std::pow(2.0, std::clamp(n, kNarrowest, kWidest));
    return std::sqrt(p) / (p - 1.0);
}

struct ShapeName
{
    const char* name;
    FilterShape shape;
    bool takesQ;
};

constexpr std::array kShapes = {
    ShapeName{"pk", FilterShape::Peak, true},       ShapeName{"peq", FilterShape::Peak, true},
    ShapeName{"ls", FilterShape::LowShelf, true},   ShapeName{"lsc", FilterShape::LowShelf, true},
    ShapeName{"lsq", FilterShape::LowShelf, true},  ShapeName{"hs", FilterShape::HighShelf, true},
    ShapeName{"hsc", FilterShape::HighShelf, true}, ShapeName{"hsq", FilterShape::HighShelf, true},
    ShapeName{"lp", FilterShape::LowPass, true},    ShapeName{"lpq", FilterShape::LowPass, true},
    ShapeName{"hp", FilterShape::HighPass, true},   ShapeName{"hpq", FilterShape::HighPass, true},
};

const ShapeName* FindShape(const std::string& lowName)
{
    for (const ShapeName& s : kShapes) {
        if (lowName == s.name) {
            return &s;
        }
    }
    return nullptr;
}

struct Texts
{
    TextPair notText{"不是文本文件（含有二进制数据）", "not a text file (it holds binary data)"};
    TextPair tooLarge{"文件太大，不是滤波器文件", "the file is too large to be a filter file"};
    TextPair filterOff{"滤波器已关闭", "filter is off"};
    TextPair unsupportedType{"不支持的滤波器类型", "filter type not supported"};
    TextPair unreadable{"无法识别的滤波器行", "filter line not understood"};
    TextPair unsupportedLine{"不支持的指令", "not supported"};
    TextPair unknownLine{"无法识别的行", "line not understood"};
    TextPair noFilters{"文件中没有可导入的滤波器", "no filter to import was found in the file"};
    TextPair tooMany{"文件有 %1 个滤波器，此均衡器只有 %2 段：未导入",
                     "the file has %1 filters but this EQ takes %2: nothing imported"};
    TextPair imported{"已导入 %1 个滤波器", "Imported %1 filters"};
    TextPair flatRest{"，其余 %1 段设为平直", ", the other %1 bands set flat"};
    TextPair preamp{"前级增益 %1 dB 无法放入均衡器：请用输出音量或混音推子调整电平",
                    "The preamp of %1 dB cannot be set in an EQ: use the output's level "
                    "controls (mix sliders, master volume) instead"};
    TextPair skipped{"已跳过：", "Skipped:"};
    TextPair limited{"已限制：", "Limited:"};
    TextPair refused{"未导入：", "Not imported: "};
    TextPair line{"第 %1 行：", "line %1: "};
    TextPair more{"……另有 %1 条", "... and %1 more"};
    TextPair gainLimit{"增益 %1 dB 限制为 %2 dB", "gain %1 dB limited to %2 dB"};
    TextPair freqLimit{"频率 %1 Hz 限制为 %2 Hz", "frequency %1 Hz limited to %2 Hz"};
    TextPair qLimit{"Q %1 限制为 %2", "Q %1 limited to %2"};
};

const Texts& T()
{
    static const Texts texts;
    return texts;
}

std::string Fill(std::string pattern, const std::string& a, const std::string& b = {})
{
    const auto put = [&](std::string_view mark, const std::string& value) {
        const std::size_t at = pattern.find(mark);
        if (at != std::string::npos) {
            pattern.replace(at, mark.size(), value);
        }
    };
    put("%1", a);
    put("%2", b);
    return pattern;
}

std::string Fixed(double v, int decimals)
{
    std::array<char, 64> buffer{};
    const auto [ptr, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v,
                                         std::chars_format::fixed, decimals);
    if (ec != std::errc()) {
        return "?";
    }
    std::string out(buffer.data(), ptr);
    if (out.starts_with('-') && out.find_first_not_of("-0.") == std::string::npos) {
        out.erase(out.begin()); // no "-0.0"
    }
    return out;
}

void Note(std::vector<FilterTextNote>& notes, int line, const TextPair& what,
          const std::string& detail = {})
{
    notes.push_back({line, std::string(what.Text()) + (detail.empty() ? "" : ": " + detail)});
}

// "Filter 3: ON PK Fc 1000 Hz Gain 2 dB Q 4" (the part after the colon in `body`).
void ParseFilterLine(std::string_view body, int line, FilterTextParse& out)
{
    const std::vector<std::string> t = Tokens(body);
    if (t.empty()) {
        Note(out.skipped, line, T().unreadable);
        return;
    }
    std::size_t i = 0;
    const std::string state = Lower(t[i]);
    if (state == "off") {
        Note(out.skipped, line, T().filterOff);
        return;
    }
    if (state == "on") {
        ++i;
    }
    if (i >= t.size()) {
        Note(out.skipped, line, T().unreadable);
        return;
    }
    const std::string typeName = Lower(t[i]);
    if (typeName == "none") {
        return; // an empty slot of the measurement program's list
    }
    const ShapeName* shape = FindShape(typeName);
    if (shape == nullptr) {
        Note(out.skipped, line, T().unsupportedType, t[i]);
        return;
    }
    ++i;
    TextFilter f;
    f.shape = shape->shape;
    f.line = line;
    std::optional<double> slope = SlopeAt(t, i);
    std::optional<double> freq;
    std::optional<double> gain;
    std::optional<double> q;
    std::optional<double> octaves;
    while (i < t.size()) {
        const std::string key = Lower(t[i]);
        if (key == "fc" && i + 1 < t.size()) {
            freq = Number(t[i + 1]);
            if (!freq) {
                break;
            }
            i += 2;
            if (i < t.size()) {
                const std::string unit = Lower(t[i]);
                if (unit == "khz") {
                    *freq *= 1000.0;
                    ++i;
                } else if (unit == "hz") {
                    ++i;
                }
            }
        } else if (key == "gain" && i + 1 < t.size()) {
            gain = Number(t[i + 1]);
            if (!gain) {
                break;
            }
            i += 2;
            if (i < t.size() && Lower(t[i]) == "db") {
                ++i;
            }
        } else if (key == "q" && i + 1 < t.size()) {
            q = Number(t[i + 1]);
            if (!q) {
                break;
            }
            i += 2;
        } else if (key == "bw" && i + 2 < t.size() && Lower(t[i + 1]) == "oct") {
            octaves = Number(t[i + 2]);
            if (!octaves) {
                break;
            }
            i += 3;
        } else if (!slope && (slope = SlopeAt(t, i))) {
            // a slope written after the frequency
        } else {
            break;
        }
    }
    if (i < t.size() || !freq) {
        Note(out.skipped, line, T().unreadable);
        return;
    }
    f.freqHz = *freq;
    f.gainDb = gain.value_or(0.0);
    if (q && *q > 0.0) {
        f.q = *q;
    } else if (octaves && *octaves > 0.0) {
        f.q = QFromOctaves(*octaves);
    } else if (slope && (f.shape == FilterShape::LowShelf || f.shape == FilterShape::HighShelf)) {
        f.q = ShelfQFromSlope(*slope, f.gainDb);
    } else {
        f.q = kDefaultQ;
    }
    out.filters.push_back(f);
}

// A NUL byte, or more than one control character in a hundred, is no text file.
bool LooksBinary(std::string_view text)
{
    std::size_t control = 0;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u == 0) {
            return true;
        }
        if (u < 0x20 && c != '\n' && c != '\r' && c != '\t' && c != '\f') {
            ++control;
        }
    }
    return control * 100 > text.size();
}

bool IsHeaderLine(const std::string& low)
{
    static const char* const kHeaders[] = {
        "filter settings file", "room eq v",  "dated:",  "notes:",
        "equaliser:",           "equalizer:", "average", "generic"};
    for (const char* h : kHeaders) {
        if (low.starts_with(h)) {
            return true;
        }
    }
    return false;
}

int Type(FilterShape s)
{
    switch (s) {
    case FilterShape::Peak:
        return EQ_TYPE_PEQ;
    case FilterShape::LowShelf:
        return EQ_TYPE_LS;
    case FilterShape::HighShelf:
        return EQ_TYPE_HS;
    case FilterShape::LowPass:
        return EQ_TYPE_LP;
    case FilterShape::HighPass:
        return EQ_TYPE_HP;
    }
    return EQ_TYPE_PEQ;
}

double Clamp(double v, double lo, double hi, int line, const TextPair& what, int decimals,
             std::vector<FilterTextNote>& limited)
{
    const double c = std::clamp(v, lo, hi);
    if (c != v) {
        limited.push_back({line, Fill(what.Text(), Fixed(v, decimals), Fixed(c, decimals))});
    }
    return c;
}

void AppendNotes(std::string& out, const char* heading, const std::vector<FilterTextNote>& notes)
{
    if (notes.empty()) {
        return;
    }
    out += "\n";
    out += heading;
    for (std::size_t i = 0; i < notes.size() && i < kNotesListed; ++i) {
        out += "\n  ";
        if (notes[i].line > 0) {
            out += Fill(T().line.Text(), std::to_string(notes[i].line));
        }
        out += notes[i].text;
    }
    if (notes.size() > kNotesListed) {
        out += "\n  " + Fill(T().more.Text(), std::to_string(notes.size() - kNotesListed));
    }
}

} // namespace

FilterTextParse ParseFilterText(std::string_view text)
{
    FilterTextParse out;
    if (text.size() > kMaxFilterTextBytes) {
        out.refused = T().tooLarge.Text();
        return out;
    }
    if (LooksBinary(text)) {
        out.refused = T().notText.Text();
        return out;
    }
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == '#' || line.front() == ';') {
            continue;
        }
        const std::string low = Lower(line);
        const std::size_t colon = line.find(':');
        const std::string head =
            colon == std::string_view::npos ? std::string() : Lower(Trim(line.substr(0, colon)));
        if (head == "preamp") {
            const std::vector<std::string> t = Tokens(line.substr(colon + 1));
            std::optional<double> v = t.empty() ? std::nullopt : Number(t[0]);
            if (v) {
                out.preampDb = *v;
            } else {
                Note(out.skipped, lineNumber, T().unknownLine);
            }
        } else if (head.starts_with("filter") &&
                   (head.size() == 6 || Number(Trim(head.substr(6))).has_value())) {
            ParseFilterLine(line.substr(colon + 1), lineNumber, out);
        } else if (IsHeaderLine(low)) {
            continue;
        } else if (!head.empty() && head.find(' ') == std::string::npos) {
            Note(out.skipped, lineNumber, T().unsupportedLine, std::string(line.substr(0, colon)));
        } else {
            Note(out.skipped, lineNumber, T().unknownLine);
        }
    }
    return out;
}

EqImport MapFiltersToEq(const FilterTextParse& parse, const EqImportTarget& target)
{
    EqImport out;
    if (!parse.refused.empty()) {
        out.refused = parse.refused;
        return out;
    }
    const int count = static_cast<int>(parse.filters.size());
    if (count == 0) {
        out.refused = T().noFilters.Text();
        return out;
    }
    if (count > target.bandCount) {
        out.refused =
            Fill(T().tooMany.Text(), std::to_string(count), std::to_string(target.bandCount));
        return out;
    }
    for (const TextFilter& f : parse.filters) {
        EqBand b;
        b.type = Type(f.shape);
        const bool pass = b.type == EQ_TYPE_LP || b.type == EQ_TYPE_HP;
        b.gain =
            pass ? 0.0
                 : Clamp(f.gainDb, -kMaxGainDb, kMaxGainDb, f.line, T().gainLimit, 1, out.limited);
        b.freq = static_cast<int>(std::lround(
            Clamp(f.freqHz, kMinFreq, kMaxFreq, f.line, T().freqLimit, 1, out.limited)));
        const double maxQ = b.type == EQ_TYPE_PEQ ? kMaxPeakQ : kMaxOtherQ;
        b.q = target.subSlots && pass ? f.q
                                      : Clamp(f.q, kMinQ, maxQ, f.line, T().qLimit, 3, out.limited);
        out.bands.push_back(b);
    }
    out.imported = count;
    // The rest become flat so the EQ's curve is the file's curve.
    for (int i = count; i < target.bandCount; ++i) {
        EqBand b;
        b.type = EQ_TYPE_PEQ;
        b.gain = 0.0;
        b.freq = 1000;
        b.q = kFlatQ;
        if (i < static_cast<int>(target.current.size())) {
            const EqBand& now = target.current[static_cast<size_t>(i)];
            b.freq = std::clamp(now.freq, static_cast<int>(kMinFreq), static_cast<int>(kMaxFreq));
            if (now.type == EQ_TYPE_PEQ && now.q >= kMinQ && now.q <= kMaxPeakQ) {
                b.q = now.q;
            }
        }
        out.bands.push_back(b);
    }
    return out;
}

std::string FilterImportSummary(const FilterTextParse& parse, const EqImport& import)
{
    std::string out;
    if (!import.refused.empty()) {
        out = std::string(T().refused.Text()) + import.refused;
    } else {
        out = Fill(T().imported.Text(), std::to_string(import.imported));
        const int flat = static_cast<int>(import.bands.size()) - import.imported;
        if (flat > 0) {
            out += Fill(T().flatRest.Text(), std::to_string(flat));
        }
        if (parse.preampDb && std::fabs(*parse.preampDb) >= 0.05) {
            out += "\n" + Fill(T().preamp.Text(), Fixed(*parse.preampDb, 1));
        }
    }
    AppendNotes(out, T().skipped.Text(), parse.skipped);
    AppendNotes(out, T().limited.Text(), import.limited);
    return out;
}

std::string FormatFilterText(std::string_view eqName, const std::vector<EqBand>& bands)
{
    std::string out =
        "# dsp4620 EQ: " + std::string(eqName) + " (" + std::to_string(bands.size()) + " bands)\n";
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const EqBand& b = bands[i];
        std::string kind;
        bool withGain = true;
        if (b.type == EQ_TYPE_PEQ) {
            kind = "PK";
        } else if (b.type == EQ_TYPE_LS) {
            kind = "LSC";
        } else if (b.type == EQ_TYPE_HS) {
            kind = "HSC";
        } else if (b.type >= EQ_TYPE_LP && b.type <= kLastCrossoverCode) {
            // Plain pass filters and the crossover sections: even codes pass the lows.
            kind = b.type % 2 == 0 ? "LPQ" : "HPQ";
            withGain = false;
        } else {
            continue; // a band that is off
        }
        if (withGain && std::fabs(b.gain) < 0.05) {
            continue; // flat: changes nothing
        }
        out += "Filter " + std::to_string(i + 1) + ": ON " + kind + " Fc " +
               std::to_string(b.freq) + " Hz";
        if (withGain) {
            out += " Gain " + Fixed(b.gain, 1) + " dB";
        }
        out += " Q " + Fixed(b.q, 3) + "\n";
    }
    return out;
}
