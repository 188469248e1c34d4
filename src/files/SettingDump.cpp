#include "files/SettingDump.h"

#include "model/DeviceMemory.h"
#include "model/EqBandRecord.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "model/SoundFieldGeometry.h"
#include "model/Writer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <iterator>
#include <string_view>

const EqRegionInfo kEqRegions[12] = {
    {1, "Mic channel A", 0, 10},
    {8, "Mic channel B", 70, 10},
    {7, "Echo channel A", 140, 7},
    {10, "Echo channel B", 189, 7},
    {6, "Reverb channel A", 238, 7},
    {9, "Reverb channel B", 287, 7},
    {0, "Music", 336, 11},
    {5, "Main", 413, 14},
    {4, "Rear", 511, 14},
    {3, "Center", 609, 12},
    {2, "Sub", 693, 22},
    {11, "Top", 847, 14},
};

namespace {
const char* const kSpeakerNames[8] = {"Main L", "Main R", "Rear L", "Rear R",
                                      "Center", "Sub",    "Top L",  "Top R"};
const char* const kPointNames[kSoundFieldPointCount] = {
    "Listener", "Main L", "Center", "Main R", "Rear L", "Sub", "Rear R", "Top L", "Top R"};

bool EndsWith(std::string_view s, std::string_view tail)
{
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

bool Has(std::string_view s, std::string_view part)
{
    return s.find(part) != std::string_view::npos;
}

const char* TypeName(int type)
{
    static const char* const names[] = {"OFF", "PEQ", "LP", "HP", "LS", "HS"};
    if (type >= 0 && type <= 5) {
        return names[type];
    }
    return type <= 21 ? "fixed" : "all-pass";
}

void Append(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(std::string& out, const char* format, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n > 0) {
        out.append(buffer, std::min(static_cast<size_t>(n), sizeof buffer - 1));
    }
}

// A float as JSON: exact to single precision; null for values JSON cannot hold.
std::string JsonNumber(double v)
{
    if (!std::isfinite(v)) {
        return "null";
    }
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.9g", v);
    return buffer;
}

std::string JsonString(std::string_view s)
{
    std::string out = "\"";
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", u);
            out += esc;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

EqBand BandAt(int firstByte, int band)
{
    EqBandRecord r{};
    DeviceImage.Read(static_cast<size_t>(firstByte + kBandRecordSize * band), r);
    return DecodeEqBand(r);
}

float SpeakerLevel(int entry)
{
    uint8_t b[4] = {};
    Block965.Read(static_cast<size_t>(4 * entry), b);
    return GetFloatBE(b);
}

// The mic boost level: the float whose upper 16 bits are Block997 (big-endian).
float MicBoostLevel()
{
    const uint32_t bits =
        static_cast<uint32_t>(Block997.Get(0)) << 24 | static_cast<uint32_t>(Block997.Get(1)) << 16;
    return std::bit_cast<float>(bits);
}

double CellValue(int cell)
{
    return IsFloatCell(cell) ? static_cast<double>(ParamStore.GetFloat(cell))
                             : static_cast<double>(ParamStore.GetInt(cell));
}

std::string DeviceInfoHex(const ModeFileDeviceInfo& info)
{
    std::string out;
    for (uint8_t b : info) {
        Append(out, "%s%02x", out.empty() ? "" : " ", b);
    }
    return out;
}
} // namespace

const char* CellUnit(int cell)
{
    switch (cell) {
    case PRM_MICA_SHIFT:
    case PRM_MICB_SHIFT:
        return "Hz";
    case PRM_MUSIC_PITCH:
        return "steps";
    case PRM_REVA_TIME:
    case PRM_REVB_TIME:
        return "1/100 s";
    case PRM_MUSIC_AGC_LEVEL:
        return "dB";
    case PRM_MUSIC_LPF_DELAY:
        return "ms";
    case PRM_ECHOA_P19:
    case PRM_ECHOB_P26:
        return "";
    case PRM_SPDIF_ON:
    case PRM_AUX1_ON:
    case PRM_AUX2_ON:
        return "routing";
    default:
        break;
    }
    const char* name = ParamCellName(cell);
    if (name == nullptr) {
        return "";
    }
    const std::string_view n = name;
    if (EndsWith(n, "_TO_A") || EndsWith(n, "_TO_B")) {
        return "routing";
    }
    if (Has(n, "_COMP_THRESHOLD")) {
        return "dB";
    }
    if (Has(n, "_COMP_RATIO")) {
        return ":1";
    }
    if (IsFloatCell(cell)) {
        return "ms"; // attack, release, delays, predelays, echo times
    }
    if (EndsWith(n, "_NG") || Has(n, "_NG_")) {
        return "";
    }
    for (std::string_view flag : {"_BYPASS", "_MUTE", "_OFF", "_ON", "_ON2", "_PHASE", "_MODE"}) {
        if (EndsWith(n, flag)) {
            return "flag";
        }
    }
    return "%";
}

std::string DumpSettingText(const DumpHeader& h)
{
    std::string out;
    Append(out, "file: %s\nversion: %d\ndevice info: %s\n\ncells:\n", h.file.c_str(),
           static_cast<int>(h.version), DeviceInfoHex(h.deviceInfo).c_str());
    for (int cell = kFirstCell; cell <= kLastCell; ++cell) {
        const char* unit = CellUnit(cell);
        if (IsFloatCell(cell)) {
            Append(out, "  %3d %-26s %g%s%s\n", cell, ParamCellName(cell), CellValue(cell),
                   *unit != '\0' ? " " : "", unit);
        } else {
            Append(out, "  %3d %-26s %d%s%s\n", cell, ParamCellName(cell), ParamStore.GetInt(cell),
                   *unit != '\0' ? " " : "", unit);
        }
    }
    out += "\neq:\n";
    for (const EqRegionInfo& r : kEqRegions) {
        Append(out, "  %s (page kind %d, %d bands)\n", r.name, r.pageKind, r.bands);
        for (int b = 0; b < r.bands; ++b) {
            const EqBand band = BandAt(r.firstByte, b);
            Append(out, "    band %2d  type %2d %-8s gain %+5.1f dB  freq %5d Hz  Q %.3f\n", b,
                   band.type, TypeName(band.type), band.gain, band.freq, band.q);
        }
    }
    out += "\nspeaker levels:\n";
    for (int s = 0; s < 8; ++s) {
        Append(out, "  %-6s %+.2f dB\n", kSpeakerNames[s], static_cast<double>(SpeakerLevel(s)));
    }
    const SoundFieldGeometry g = CurrentSoundFieldGeometry();
    Append(out, "\nsound field: room %d m x %d m\n", static_cast<int>(g.width),
           static_cast<int>(g.length));
    for (int p = 0; p < kSoundFieldPointCount; ++p) {
        const SoundFieldPosition& pos = g.points[static_cast<size_t>(p)];
        Append(out, "  %-8s x %+.1f m  y %+.1f m\n", kPointNames[p], static_cast<double>(pos.x),
               static_cast<double>(pos.y));
    }
    Append(out, "\nmic boost level: %g dB (bytes %02x %02x)\n",
           static_cast<double>(MicBoostLevel()), Block997.Get(0), Block997.Get(1));
    return out;
}

std::string DumpSettingJson(const DumpHeader& h)
{
    std::string out = "{\n";
    out += "  \"file\": " + JsonString(h.file) + ",\n";
    out += "  \"version\": " + std::to_string(h.version) + ",\n";
    out += "  \"deviceInfo\": [";
    for (size_t i = 0; i < h.deviceInfo.size(); ++i) {
        out += (i ? ", " : "") + std::to_string(h.deviceInfo[i]);
    }
    out += "],\n  \"cells\": {\n";
    for (int cell = kFirstCell; cell <= kLastCell; ++cell) {
        out += "    " + JsonString(ParamCellName(cell)) + ": ";
        out += IsFloatCell(cell) ? JsonNumber(CellValue(cell))
                                 : std::to_string(ParamStore.GetInt(cell));
        out += cell < kLastCell ? ",\n" : "\n";
    }
    out += "  },\n  \"eq\": {\n";
    for (size_t i = 0; i < std::size(kEqRegions); ++i) {
        const EqRegionInfo& r = kEqRegions[i];
        out += "    \"" + std::to_string(r.pageKind) + "\": [";
        for (int b = 0; b < r.bands; ++b) {
            const EqBand band = BandAt(r.firstByte, b);
            out += b ? ",\n      " : "\n      ";
            out +=
                "{\"type\": " + std::to_string(band.type) + ", \"gain\": " + JsonNumber(band.gain) +
                ", \"freq\": " + std::to_string(band.freq) + ", \"q\": " + JsonNumber(band.q) + "}";
        }
        out += i + 1 < std::size(kEqRegions) ? "],\n" : "]\n";
    }
    out += "  },\n  \"speakerLevels\": {";
    for (int s = 0; s < 8; ++s) {
        out += (s ? ", " : "") + JsonString(kSpeakerNames[s]) + ": " +
               JsonNumber(static_cast<double>(SpeakerLevel(s)));
    }
    const SoundFieldGeometry g = CurrentSoundFieldGeometry();
    out += "},\n  \"soundField\": {\"width\": " + std::to_string(g.width) +
           ", \"length\": " + std::to_string(g.length) + ", \"points\": {";
    for (int p = 0; p < kSoundFieldPointCount; ++p) {
        const SoundFieldPosition& pos = g.points[static_cast<size_t>(p)];
        out += (p ? ", " : "") + JsonString(kPointNames[p]) +
               ": {\"x\": " + JsonNumber(static_cast<double>(pos.x)) +
               ", \"y\": " + JsonNumber(static_cast<double>(pos.y)) + "}";
    }
    out +=
        "}},\n  \"micBoostLevel\": " + JsonNumber(static_cast<double>(MicBoostLevel())) + "\n}\n";
    return out;
}
