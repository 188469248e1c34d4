#include "model/CellRanges.h"

#include "model/ParamIds.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
using K = CellKind;

constexpr CellRange Row(int cell, CellKind kind, double min, double max, double step,
                        const char* what)
{
    return CellRange{cell, kind, min, max, step, what};
}
constexpr CellRange Percent(int cell, double max, const char* what)
{
    return Row(cell, K::Percent, 0, max, 1, what);
}
constexpr CellRange Switch(int cell, const char* what)
{
    return Row(cell, K::Switch, 0, 1, 1, what);
}
constexpr CellRange Routing(int cell, const char* what)
{
    return Row(cell, K::Routing, 0, 100, 100, what);
}
constexpr CellRange Delay(int cell, const char* what)
{
    return Row(cell, K::Milliseconds, 1.5, 100, 0.1, what);
}
// Each half of a predelay: the effects list sets the total, 3..200 ms, in whole ms.
constexpr CellRange PredelayHalf(int cell, const char* what)
{
    return Row(cell, K::Milliseconds, 1.5, 100, 0.5, what);
}
constexpr CellRange GateTime(int cell, const char* what)
{
    return Row(cell, K::GateTime, 1, 100, 1, what);
}

// The cells every output has, from its mix cells on: the compressor group, the delays and
// the mute. Main, Rear and Top are stereo (two delays and a surround cell); Center and Sub
// are mono.
struct OutputCells
{
    int mix;      // first of the four mix cells
    int eqBypass; // then compressor bypass and its four cells follow
    int delay;    // first delay cell
    bool stereo;
    double musicMixMax;
};

constexpr void AddOutput(std::array<CellRange, kCellCount>& t, const OutputCells& o)
{
    auto put = [&t](const CellRange& r) { t[static_cast<size_t>(r.cell - kFirstCell)] = r; };
    put(Percent(o.mix + 0, 100, "output mix of the direct mic sound"));
    put(Percent(o.mix + 1, 100, "output mix of the reverb"));
    put(Percent(o.mix + 2, 100, "output mix of the echo"));
    if (o.musicMixMax > 100) {
        // The Sub's music cell holds three times its slider position (0..100).
        put(Row(o.mix + 3, K::Percent, 0, o.musicMixMax, 3, "output mix of the music"));
    } else {
        put(Percent(o.mix + 3, 100, "output mix of the music"));
    }
    put(Switch(o.eqBypass, "output EQ bypassed"));
    put(Switch(o.eqBypass + 1, "output compressor off (1) or on (0)"));
    put(Row(o.eqBypass + 2, K::Decibels, -60, 0, 1, "compressor threshold"));
    put(Row(o.eqBypass + 3, K::Ratio, 1, 30, 0.1, "compressor ratio"));
    put(Row(o.eqBypass + 4, K::Milliseconds, 1, 100, 1, "compressor attack time"));
    put(Row(o.eqBypass + 5, K::Milliseconds, 1, 1000, 1, "compressor release time"));
    int at = o.delay;
    if (o.stereo) {
        put(Delay(at++, "left delay"));
        put(Delay(at++, "right delay"));
        put(Switch(at++, "left delay switched off"));
        put(Switch(at++, "right delay switched off"));
        put(Switch(at++, "left delay mode (1 = whole channel)"));
        put(Switch(at++, "right delay mode (1 = whole channel)"));
        put(Switch(at++, "output mute"));
        put(Row(at++, K::Percent, 0, 50, 1, "SRS 3D surround width"));
    } else {
        put(Delay(at++, "delay"));
        put(Switch(at++, "delay switched off"));
        put(Switch(at++, "delay mode (1 = whole channel)"));
        put(Switch(at++, "output mute"));
    }
}

constexpr std::array<CellRange, kCellCount> BuildTable()
{
    std::array<CellRange, kCellCount> t{};
    auto put = [&t](const CellRange& r) { t[static_cast<size_t>(r.cell - kFirstCell)] = r; };

    // Mic inputs.
    put(Percent(PRM_MIC_VOL, 99, "mic master volume"));
    put(Routing(PRM_MICPORT1_TO_A, "mic 1 feeds channel A"));
    put(Routing(PRM_MICPORT2_TO_A, "mic 2 feeds channel A"));
    put(Routing(PRM_MICPORT3_TO_A, "mic 3 feeds channel A"));
    put(Routing(PRM_MICPORT4_TO_A, "mic 4 feeds channel A"));
    put(Switch(PRM_MICA_EQ_BYPASS, "channel A mic EQ bypassed"));
    put(Switch(PRM_MICA_PHASE, "channel A phase (0 = reversed)"));
    put(Row(PRM_MICA_SHIFT, K::Hertz, 1, 8, 1, "channel A frequency shift (1 = off)"));
    put(Switch(PRM_MICA_SHIFT_OFF, "channel A frequency shift off"));
    put(Routing(PRM_MICPORT1_TO_B, "mic 1 feeds channel B"));
    put(Routing(PRM_MICPORT2_TO_B, "mic 2 feeds channel B"));
    put(Routing(PRM_MICPORT3_TO_B, "mic 3 feeds channel B"));
    put(Routing(PRM_MICPORT4_TO_B, "mic 4 feeds channel B"));
    put(Switch(PRM_MICB_EQ_BYPASS, "channel B mic EQ bypassed"));
    put(Switch(PRM_MICB_PHASE, "channel B phase (0 = reversed)"));
    put(Row(PRM_MICB_SHIFT, K::Hertz, 1, 8, 1, "channel B frequency shift (1 = off)"));
    put(Switch(PRM_MICB_SHIFT_OFF, "channel B frequency shift off"));
    put(Switch(PRM_MIC_MUTE, "mic mute"));
    put(Percent(PRM_MICPORT1_VOL, 100, "mic 1 volume"));
    put(Percent(PRM_MICPORT2_VOL, 100, "mic 2 volume"));
    put(Percent(PRM_MICPORT3_VOL, 100, "mic 3 volume"));
    put(Percent(PRM_MICPORT4_VOL, 100, "mic 4 volume"));
    put(Row(PRM_MICPORT1_NG, K::Level, 0, 100, 1, "mic 1 noise gate"));
    put(Row(PRM_MICPORT2_NG, K::Level, 0, 100, 1, "mic 2 noise gate"));
    put(Row(PRM_MICPORT3_NG, K::Level, 0, 100, 1, "mic 3 noise gate"));
    put(Row(PRM_MICPORT4_NG, K::Level, 0, 100, 1, "mic 4 noise gate"));
    put(GateTime(PRM_MIC_NG_ATTACK, "mic noise gate attack (101 - slider)"));
    put(GateTime(PRM_MIC_NG_RELEASE, "mic noise gate release (101 - slider)"));
    put(Switch(PRM_AUTOSUB_ON, "auto SUB volume decay on"));
    put(Percent(PRM_AUTOSUB_LEVEL, 100, "SUB volume while a mic is active"));

    // Echo and reverb.
    put(Switch(PRM_ECHOA_EQ_BYPASS, "channel A echo EQ bypassed"));
    put(Percent(PRM_ECHOA_LEVEL, 100, "channel A echo level"));
    put(PredelayHalf(PRM_ECHOA_PREDELAY1, "channel A echo predelay, first half"));
    put(PredelayHalf(PRM_ECHOA_PREDELAY2, "channel A echo predelay, second half"));
    put(Row(PRM_ECHOA_TIME, K::Milliseconds, 2, 260, 1, "channel A echo time"));
    put(Percent(PRM_ECHOA_P19, 100, "channel A echo parameter 19 (no editor)"));
    put(Row(PRM_ECHOA_DECAY, K::Percent, 20, 90, 1, "channel A echo volume decay"));
    put(Switch(PRM_ECHOB_EQ_BYPASS, "channel B echo EQ bypassed"));
    put(Percent(PRM_ECHOB_LEVEL, 100, "channel B echo level"));
    put(PredelayHalf(PRM_ECHOB_PREDELAY1, "channel B echo predelay, first half"));
    put(PredelayHalf(PRM_ECHOB_PREDELAY2, "channel B echo predelay, second half"));
    put(Row(PRM_ECHOB_TIME, K::Milliseconds, 2, 260, 1, "channel B echo time"));
    put(Percent(PRM_ECHOB_P26, 100, "channel B echo parameter 26 (no editor)"));
    put(Row(PRM_ECHOB_DECAY, K::Percent, 20, 90, 1, "channel B echo volume decay"));
    put(Percent(PRM_ECHO_VOL, 99, "echo volume"));
    put(Switch(PRM_ECHO_MUTE, "echo mute"));
    put(Switch(PRM_REVA_EQ_BYPASS, "channel A reverb EQ bypassed"));
    put(Percent(PRM_REVA_LEVEL, 100, "channel A reverb level"));
    put(PredelayHalf(PRM_REVA_PREDELAY1, "channel A reverb predelay, first half"));
    put(PredelayHalf(PRM_REVA_PREDELAY2, "channel A reverb predelay, second half"));
    put(Row(PRM_REVA_TIME, K::Hundredths, 0, 100, 1, "channel A reverb time"));
    put(Switch(PRM_REVB_EQ_BYPASS, "channel B reverb EQ bypassed"));
    put(Percent(PRM_REVB_LEVEL, 100, "channel B reverb level"));
    put(PredelayHalf(PRM_REVB_PREDELAY1, "channel B reverb predelay, first half"));
    put(PredelayHalf(PRM_REVB_PREDELAY2, "channel B reverb predelay, second half"));
    put(Row(PRM_REVB_TIME, K::Hundredths, 0, 100, 1, "channel B reverb time"));
    put(Percent(PRM_REVERB_VOL, 99, "reverb volume"));
    put(Switch(PRM_REVERB_MUTE, "reverb mute"));

    // Music input.
    put(Percent(PRM_MUSIC_VOL, 99, "music volume"));
    put(Percent(PRM_SPDIF_GAIN, 100, "SPDIF input level"));
    put(Percent(PRM_AUX1_GAIN, 100, "Aux 1 input level"));
    put(Percent(PRM_AUX2_GAIN, 100, "Aux 2 input level"));
    put(Switch(PRM_MUSIC_MUTE, "music mute"));
    put(Switch(PRM_MUSIC_EQ_BYPASS, "music EQ bypassed"));
    put(Row(PRM_MUSIC_PITCH, K::Steps, -5, 5, 1, "music pitch"));
    put(Routing(PRM_SPDIF_ON, "SPDIF source on"));
    put(Routing(PRM_AUX1_ON, "Aux 1 source on"));
    put(Routing(PRM_AUX2_ON, "Aux 2 source on"));
    put(Row(PRM_MUSIC_NG_THRESHOLD, K::Level, 0, 100, 1, "music noise gate"));
    put(GateTime(PRM_MUSIC_NG_ATTACK, "music noise gate attack (101 - slider)"));
    put(GateTime(PRM_MUSIC_NG_RELEASE, "music noise gate release (101 - slider)"));

    // Outputs.
    AddOutput(t, {PRM_MAIN_MIX_DIRECT, PRM_MAIN_EQ_BYPASS, PRM_MAINL_DELAY, true, 100});
    AddOutput(t, {PRM_REAR_MIX_DIRECT, PRM_REAR_EQ_BYPASS, PRM_REARL_DELAY, true, 100});
    AddOutput(t, {PRM_TOP_MIX_DIRECT, PRM_TOP_EQ_BYPASS, PRM_TOPL_DELAY, true, 100});
    AddOutput(t, {PRM_CENTER_MIX_DIRECT, PRM_CENTER_EQ_BYPASS, PRM_CENTER_DELAY, false, 100});
    AddOutput(t, {PRM_SUB_MIX_DIRECT, PRM_SUB_EQ_BYPASS, PRM_SUB_DELAY, false, 300});

    // Features.
    put(Switch(PRM_MUSIC_AGC_ON, "music AGC on"));
    put(Row(PRM_MUSIC_AGC_LEVEL, K::Decibels, -50, 0, 0.1, "music AGC target level"));
    put(Switch(PRM_MIC_BOOST_ON, "mic boost on"));
    put(Switch(PRM_MIC_BOOST_ON2, "copy of the mic boost switch"));
    put(Row(PRM_MUSIC_LPF_DELAY, K::Milliseconds, 0, 20, 1, "music low-frequency delay"));
    put(Percent(PRM_MUSIC_LPF_GAIN, 800, "music low-frequency gain"));
    return t;
}

constexpr std::array<CellRange, kCellCount> kTable = BuildTable();

constexpr bool EveryCellHasItsRow()
{
    for (size_t i = 0; i < kTable.size(); ++i) {
        if (kTable[i].cell != kFirstCell + static_cast<int>(i) || kTable[i].what == nullptr ||
            kTable[i].min > kTable[i].max) {
            return false;
        }
    }
    return true;
}
static_assert(EveryCellHasItsRow(), "every cell 26..184 needs its own row");

constexpr std::array<int, 2> kSwitchChoices{0, 1};
constexpr std::array<int, 2> kRoutingChoices{0, 100};

std::string Number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

uint16_t GetU16(std::span<const uint8_t> b, size_t at)
{
    return static_cast<uint16_t>(b[at] << 8 | b[at + 1]);
}

bool PutU16(std::span<uint8_t> b, size_t at, int value)
{
    const auto v = static_cast<uint16_t>(value);
    if (GetU16(b, at) == v) {
        return false;
    }
    b[at] = static_cast<uint8_t>(v >> 8);
    b[at + 1] = static_cast<uint8_t>(v & 0xFF);
    return true;
}

float GetFloatBE(std::span<const uint8_t> b, size_t at)
{
    const uint32_t bits = static_cast<uint32_t>(b[at]) << 24 |
                          static_cast<uint32_t>(b[at + 1]) << 16 |
                          static_cast<uint32_t>(b[at + 2]) << 8 | static_cast<uint32_t>(b[at + 3]);
    return std::bit_cast<float>(bits);
}

void PutFloatBE(std::span<uint8_t> b, size_t at, float v)
{
    const auto bits = std::bit_cast<uint32_t>(v);
    for (size_t i = 0; i < 4; ++i) {
        b[at + i] = static_cast<uint8_t>(bits >> (24 - 8 * i));
    }
}

// A level that is not a number becomes `fallback`; others are clamped. True when changed.
bool LimitLevel(float& v, float min, float max, float fallback)
{
    const float limited = std::isnan(v) ? fallback : std::clamp(v, min, max);
    if (std::bit_cast<uint32_t>(limited) == std::bit_cast<uint32_t>(v)) {
        return false;
    }
    v = limited;
    return true;
}

// One coordinate byte (sign and magnitude in tenths) limited to +-kMaxPositionTenths.
uint8_t LimitCoordinate(uint8_t byte)
{
    const int magnitude = byte & 0x7F;
    if (magnitude <= kMaxPositionTenths) {
        return byte;
    }
    return static_cast<uint8_t>((byte & 0x80) | kMaxPositionTenths);
}
} // namespace

std::span<const CellRange> AllCellRanges()
{
    return kTable;
}

const CellRange* FindCellRange(int cell)
{
    if (!ParamStoreCells::IsCell(cell)) {
        return nullptr;
    }
    return &kTable[static_cast<size_t>(cell - kFirstCell)];
}

const CellRange* FindCellRange(std::string_view name)
{
    std::string upper;
    for (char c : name) {
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (upper.rfind("PRM_", 0) != 0) {
        upper = "PRM_" + upper;
    }
    for (const CellRange& r : kTable) {
        if (upper == ParamCellName(r.cell)) {
            return &r;
        }
    }
    return nullptr;
}

const char* CellName(const CellRange& range)
{
    return ParamCellName(range.cell);
}

const char* CellUnit(CellKind kind)
{
    switch (kind) {
    case K::Percent:
        return "%";
    case K::Steps:
        return "steps";
    case K::Hertz:
        return "Hz";
    case K::Milliseconds:
        return "ms";
    case K::Decibels:
        return "dB";
    case K::Ratio:
        return ":1";
    case K::Level:
    case K::GateTime:
    case K::Switch:
    case K::Routing:
    case K::Hundredths:
        return "";
    }
    return "";
}

std::span<const int> CellChoices(CellKind kind)
{
    switch (kind) {
    case K::Switch:
        return kSwitchChoices;
    case K::Routing:
        return kRoutingChoices;
    default:
        return {};
    }
}

bool IsFloatCellRange(const CellRange& range)
{
    return IsFloatCell(range.cell);
}

std::string CellRangeText(const CellRange& range)
{
    const std::span<const int> choices = CellChoices(range.kind);
    if (!choices.empty()) {
        return std::to_string(choices.front()) + " or " + std::to_string(choices.back());
    }
    std::string text = Number(range.min) + ".." + Number(range.max);
    const std::string unit = CellUnit(range.kind);
    if (!unit.empty()) {
        text += unit == "%" || unit == ":1" ? unit : " " + unit;
    }
    return text;
}

bool CellValueAllowed(const CellRange& range, double value)
{
    if (!std::isfinite(value) || value < range.min || value > range.max) {
        return false;
    }
    if (!IsFloatCellRange(range) && value != std::trunc(value)) {
        return false;
    }
    const std::span<const int> choices = CellChoices(range.kind);
    return choices.empty() ||
           std::find(choices.begin(), choices.end(), static_cast<int>(value)) != choices.end();
}

uint32_t StartupCellBits(int cell)
{
    static const ParamStoreCells startup;
    return startup.GetBits(cell);
}

uint32_t LimitCellBits(int cell, uint32_t bits)
{
    const CellRange* range = FindCellRange(cell);
    if (range == nullptr || bits == StartupCellBits(cell)) {
        return bits;
    }
    if (IsFloatCellRange(*range)) {
        const float v = std::bit_cast<float>(bits);
        if (std::isnan(v)) {
            return StartupCellBits(cell);
        }
        const float limited =
            std::clamp(v, static_cast<float>(range->min), static_cast<float>(range->max));
        return limited == v ? bits : std::bit_cast<uint32_t>(limited);
    }
    const auto v = static_cast<int32_t>(bits);
    const auto min = static_cast<int32_t>(range->min);
    const auto max = static_cast<int32_t>(range->max);
    int32_t limited = std::clamp(v, min, max);
    const std::span<const int> choices = CellChoices(range->kind);
    if (!choices.empty() && std::find(choices.begin(), choices.end(), limited) == choices.end()) {
        limited = limited <= choices.front() ? choices.front() : choices.back();
    }
    return static_cast<uint32_t>(limited);
}

bool CellBitsInRange(int cell, uint32_t bits)
{
    return LimitCellBits(cell, bits) == bits;
}

BandQRange BandQRangeForType(int type)
{
    if (type >= EQ_TYPE_LP && type <= EQ_TYPE_HS) {
        return {100, 2000};
    }
    // Peaking; off and the fixed crossover sections keep whatever Q their band had.
    return {100, 30000};
}

int LimitEqBandRecord(EqBandRecord& record)
{
    return LimitBandImage(record);
}

int LimitBandImage(std::span<uint8_t> image)
{
    int changed = 0;
    for (size_t at = 0; at + kBandRecordSize <= image.size(); at += kBandRecordSize) {
        const std::span<uint8_t> r = image.subspan(at, kBandRecordSize);
        if (r[6] > kBandTypeMax) {
            r[6] = EQ_TYPE_OFF;
            ++changed;
        }
        changed += PutU16(r, 0, std::min<int>(GetU16(r, 0), kBandGainRawMax));
        changed += PutU16(r, 2, std::clamp<int>(GetU16(r, 2), kBandFreqMin, kBandFreqMax));
        const BandQRange q = BandQRangeForType(r[6]);
        changed += PutU16(r, 4, std::clamp<int>(GetU16(r, 4), q.minRaw, q.maxRaw));
    }
    return changed;
}

int LimitBlock945(std::span<uint8_t, kBlock945Size> block)
{
    int changed = 0;
    for (size_t i = 0; i < 2; ++i) {
        const auto room =
            static_cast<uint8_t>(std::clamp<int>(block[i], kMinRoomMetres, kMaxRoomMetres));
        changed += room != block[i];
        block[i] = room;
    }
    for (size_t i = 2; i < block.size(); ++i) {
        const uint8_t limited = LimitCoordinate(block[i]);
        changed += limited != block[i];
        block[i] = limited;
    }
    return changed;
}

int LimitBlock965(std::span<uint8_t, 32> block)
{
    int changed = 0;
    for (size_t at = 0; at < block.size(); at += 4) {
        float level = GetFloatBE(block, at);
        if (LimitLevel(level, kSpeakerLevelMinDb, kSpeakerLevelMaxDb, 0.0f)) {
            PutFloatBE(block, at, level);
            ++changed;
        }
    }
    return changed;
}

int LimitBlock997(std::span<uint8_t, 2> block)
{
    const uint8_t upper[4] = {block[0], block[1], 0, 0};
    float level = GetFloatBE(upper, 0);
    if (!LimitLevel(level, kMicBoostMinDb, 0.0f, 0.0f)) {
        return 0;
    }
    uint8_t bytes[4];
    PutFloatBE(bytes, 0, level);
    block[0] = bytes[0];
    block[1] = bytes[1];
    return 1;
}

int LimitCurrentSetting()
{
    int changed = 0;
    for (int cell = kFirstCell; cell <= kLastCell; ++cell) {
        const uint32_t bits = ParamStore.GetBits(cell);
        const uint32_t limited = LimitCellBits(cell, bits);
        if (limited != bits) {
            ParamStore.SetBits(cell, limited);
            ++changed;
        }
    }

    std::vector<uint8_t> image = DeviceImage.Snapshot();
    if (const int n = LimitBandImage(image); n > 0) {
        DeviceImage.Write(0, image);
        changed += n;
    }
    Block945Bytes geometry{};
    Block945.Read(0, geometry);
    if (const int n = LimitBlock945(geometry); n > 0) {
        Block945.Write(0, geometry);
        DecodeBlock945IntoGeometry();
        changed += n;
    }
    std::array<uint8_t, 32> levels{};
    Block965.Read(0, levels);
    if (const int n = LimitBlock965(levels); n > 0) {
        Block965.Write(0, levels);
        changed += n;
    }
    std::array<uint8_t, 2> boost{};
    Block997.Read(0, boost);
    if (const int n = LimitBlock997(boost); n > 0) {
        Block997.Write(0, boost);
        changed += n;
    }
    return changed;
}
