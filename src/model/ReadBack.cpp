#include "model/ReadBack.h"

#include "model/CmdVersion.h"
#include "model/Encodings.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "model/Writer.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {
// A decoding that saturated at the lowest int32 has no negation or magnitude in int32: the
// result saturates at the highest instead (the range limits bring it in afterwards).
int32_t SaturatingNegate(int32_t v)
{
    return v == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max() : -v;
}

int32_t SaturatingAbs(int32_t v)
{
    return v < 0 ? SaturatingNegate(v) : v;
}

// Runs of consecutive parameters with the same count, in the order they are read.
struct ReadRun
{
    uint8_t block;
    uint8_t first;
    uint8_t last;
    uint8_t count;
};

constexpr std::array kRuns = {
    ReadRun{1, 20, 20, 1},
    ReadRun{1, 23, 26, 1},
    ReadRun{1, 33, 33, 1},
    ReadRun{1, 36, 39, 1},
    ReadRun{2, 15, 15, 1},
    ReadRun{2, 22, 22, 1},
    ReadRun{2, 28, 28, 2},
    ReadRun{3, 15, 15, 1},
    ReadRun{3, 21, 21, 1},
    ReadRun{3, 26, 26, 2},
    ReadRun{4, 11, 11, 6},
    ReadRun{4, 12, 12, 2},
    ReadRun{4, 13, 13, 2},
    ReadRun{4, 14, 14, 2},
    // output mixes and speaker levels
    ReadRun{5, 14, 17, 1},
    ReadRun{5, 28, 28, 6},
    ReadRun{5, 29, 29, 6},
    ReadRun{6, 14, 17, 1},
    ReadRun{6, 28, 28, 6},
    ReadRun{6, 29, 29, 6},
    ReadRun{9, 14, 17, 1},
    ReadRun{9, 28, 28, 6},
    ReadRun{9, 29, 29, 6},
    ReadRun{7, 12, 15, 1},
    ReadRun{7, 23, 23, 6},
    ReadRun{8, 22, 25, 1},
    ReadRun{8, 33, 33, 6},
    // mic channels
    ReadRun{1, 27, 30, 1},
    ReadRun{1, 50, 55, 1},
    ReadRun{1, 46, 49, 1},
    ReadRun{1, 32, 32, 1},
    ReadRun{1, 40, 40, 1},
    ReadRun{1, 41, 41, 1},
    ReadRun{1, 42, 42, 1},
    ReadRun{1, 43, 43, 1},
    ReadRun{1, 45, 45, 1},
    ReadRun{1, 65, 65, 1},
    // reverb and echo
    ReadRun{3, 14, 14, 1},
    ReadRun{3, 16, 19, 1},
    ReadRun{3, 27, 27, 2},
    ReadRun{3, 20, 20, 1},
    ReadRun{3, 22, 25, 1},
    ReadRun{2, 14, 14, 1},
    ReadRun{2, 16, 16, 1},
    ReadRun{2, 17, 17, 1},
    ReadRun{2, 29, 29, 2},
    ReadRun{2, 21, 21, 1},
    ReadRun{2, 23, 23, 1},
    ReadRun{2, 24, 24, 1},
    // music
    ReadRun{4, 16, 19, 1},
    ReadRun{4, 15, 15, 2},
    ReadRun{4, 21, 26, 1},
    ReadRun{4, 30, 30, 1},
    ReadRun{4, 31, 31, 1},
    // Main, Rear, Top
    ReadRun{5, 18, 18, 1},
    ReadRun{5, 20, 20, 1},
    ReadRun{5, 21, 21, 1},
    ReadRun{5, 22, 22, 1},
    ReadRun{5, 19, 19, 7},
    ReadRun{5, 23, 23, 1},
    ReadRun{5, 24, 24, 1},
    ReadRun{5, 25, 25, 2},
    ReadRun{5, 26, 26, 2},
    ReadRun{5, 27, 27, 2},
    ReadRun{5, 30, 30, 2},
    ReadRun{6, 18, 18, 1},
    ReadRun{6, 20, 20, 1},
    ReadRun{6, 21, 21, 1},
    ReadRun{6, 22, 22, 1},
    ReadRun{6, 19, 19, 7},
    ReadRun{6, 23, 23, 1},
    ReadRun{6, 24, 24, 1},
    ReadRun{6, 25, 25, 2},
    ReadRun{6, 26, 26, 2},
    ReadRun{6, 27, 27, 2},
    ReadRun{6, 30, 30, 2},
    ReadRun{9, 18, 18, 1},
    ReadRun{9, 20, 20, 1},
    ReadRun{9, 21, 21, 1},
    ReadRun{9, 22, 22, 1},
    ReadRun{9, 19, 19, 7},
    ReadRun{9, 23, 23, 1},
    ReadRun{9, 24, 24, 1},
    ReadRun{9, 25, 25, 2},
    ReadRun{9, 26, 26, 2},
    ReadRun{9, 27, 27, 2},
    ReadRun{9, 30, 30, 2},
    // Center, Sub
    ReadRun{7, 16, 16, 1},
    ReadRun{7, 18, 18, 1},
    ReadRun{7, 19, 19, 1},
    ReadRun{7, 17, 17, 7},
    ReadRun{7, 20, 20, 1},
    ReadRun{7, 21, 21, 2},
    ReadRun{7, 22, 22, 1},
    ReadRun{8, 26, 26, 1},
    ReadRun{8, 28, 28, 1},
    ReadRun{8, 29, 29, 1},
    ReadRun{8, 27, 27, 7},
    ReadRun{8, 30, 30, 1},
    ReadRun{8, 31, 31, 2},
    ReadRun{8, 32, 32, 1},
    // the rest
    ReadRun{1, 31, 31, 1},
    ReadRun{1, 44, 44, 1},
    ReadRun{1, 57, 57, 1},
    ReadRun{1, 58, 58, 1},
    ReadRun{2, 18, 20, 1},
    ReadRun{2, 25, 27, 1},
};

const std::vector<ReadRequest>& Requests()
{
    static const std::vector<ReadRequest> list = [] {
        std::vector<ReadRequest> out;
        for (const auto& run : kRuns) {
            for (int p = run.first; p <= run.last; ++p) {
                out.push_back(ReadRequest{run.block, static_cast<uint8_t>(p), run.count});
            }
        }
        return out;
    }();
    return list;
}

// How a read-back value lands in its cell.
enum class Decode : uint8_t
{
    Pct,      // d
    AbsPct,   // |d| (echo vol decay)
    MinusPct, // -d (surround)
    Div4,
    Div5,
    Div7,
    Switch,     // b
    On,         // 1 when d is 0
    Ms,         // float ms from samples
    MsTrunc,    // whole ms from samples (integer cell)
    ReverbTime, // float(d)
    Shift,      // f from omega
    ShiftOff,   // b; the shift cell becomes 1 when b is 1
    BoostOn,    // 1 when b is 0
    Pitch,      // b - 5, command set above 8
    AgcOn,      // b, command set above 8
    AgcLevel,   // raw float, command set 9 or newer
    Compressor, // four cells from values 1, 3, 6, 7
    DelayMode,  // from the second value
};

struct DecodeEntry
{
    uint8_t block;
    uint8_t param;
    int cell;
    Decode kind;
};

using D = Decode;

constexpr std::array kDecode = {
    // Block 1
    DecodeEntry{1, 20, PRM_MIC_VOL, D::Pct},
    DecodeEntry{1, 33, PRM_MIC_VOL, D::Pct},
    DecodeEntry{1, 23, PRM_MICPORT1_TO_A, D::Pct},
    DecodeEntry{1, 24, PRM_MICPORT2_TO_A, D::Pct},
    DecodeEntry{1, 25, PRM_MICPORT3_TO_A, D::Pct},
    DecodeEntry{1, 26, PRM_MICPORT4_TO_A, D::Pct},
    DecodeEntry{1, 36, PRM_MICPORT1_TO_B, D::Pct},
    DecodeEntry{1, 37, PRM_MICPORT2_TO_B, D::Pct},
    DecodeEntry{1, 38, PRM_MICPORT3_TO_B, D::Pct},
    DecodeEntry{1, 39, PRM_MICPORT4_TO_B, D::Pct},
    DecodeEntry{1, 27, PRM_MICA_EQ_BYPASS, D::Switch},
    DecodeEntry{1, 40, PRM_MICB_EQ_BYPASS, D::Switch},
    DecodeEntry{1, 31, PRM_MICA_PHASE, D::Switch},
    DecodeEntry{1, 44, PRM_MICB_PHASE, D::Switch},
    DecodeEntry{1, 32, PRM_MIC_MUTE, D::On},
    DecodeEntry{1, 45, PRM_MIC_MUTE, D::On},
    DecodeEntry{1, 28, PRM_MICA_SHIFT, D::Shift},
    DecodeEntry{1, 41, PRM_MICB_SHIFT, D::Shift},
    DecodeEntry{1, 30, PRM_MICA_SHIFT_OFF, D::ShiftOff},
    DecodeEntry{1, 43, PRM_MICB_SHIFT_OFF, D::ShiftOff},
    DecodeEntry{1, 46, PRM_MICPORT1_VOL, D::Pct},
    DecodeEntry{1, 47, PRM_MICPORT2_VOL, D::Pct},
    DecodeEntry{1, 48, PRM_MICPORT3_VOL, D::Pct},
    DecodeEntry{1, 49, PRM_MICPORT4_VOL, D::Pct},
    DecodeEntry{1, 50, PRM_MICPORT1_NG, D::Div4},
    DecodeEntry{1, 51, PRM_MICPORT2_NG, D::Div4},
    DecodeEntry{1, 52, PRM_MICPORT3_NG, D::Div4},
    DecodeEntry{1, 53, PRM_MICPORT4_NG, D::Div4},
    DecodeEntry{1, 54, PRM_MIC_NG_ATTACK, D::Div5},
    DecodeEntry{1, 55, PRM_MIC_NG_RELEASE, D::Div7},
    DecodeEntry{1, 57, PRM_AUTOSUB_ON, D::Switch},
    DecodeEntry{1, 58, PRM_AUTOSUB_LEVEL, D::Pct},
    DecodeEntry{1, 65, PRM_MIC_BOOST_ON, D::BoostOn},
    // Block 2
    DecodeEntry{2, 14, PRM_ECHOA_EQ_BYPASS, D::Switch},
    DecodeEntry{2, 15, PRM_ECHOA_LEVEL, D::Pct},
    DecodeEntry{2, 16, PRM_ECHOA_PREDELAY1, D::Ms},
    DecodeEntry{2, 17, PRM_ECHOA_PREDELAY2, D::Ms},
    DecodeEntry{2, 18, PRM_ECHOA_TIME, D::Ms},
    DecodeEntry{2, 19, PRM_ECHOA_P19, D::Pct},
    DecodeEntry{2, 20, PRM_ECHOA_DECAY, D::AbsPct},
    DecodeEntry{2, 21, PRM_ECHOB_EQ_BYPASS, D::Switch},
    DecodeEntry{2, 22, PRM_ECHOB_LEVEL, D::Pct},
    DecodeEntry{2, 23, PRM_ECHOB_PREDELAY1, D::Ms},
    DecodeEntry{2, 24, PRM_ECHOB_PREDELAY2, D::Ms},
    DecodeEntry{2, 25, PRM_ECHOB_TIME, D::Ms},
    DecodeEntry{2, 26, PRM_ECHOB_P26, D::Pct},
    DecodeEntry{2, 27, PRM_ECHOB_DECAY, D::AbsPct},
    DecodeEntry{2, 28, PRM_ECHO_VOL, D::Pct},
    DecodeEntry{2, 29, PRM_ECHO_MUTE, D::On},
    // Block 3
    DecodeEntry{3, 14, PRM_REVA_EQ_BYPASS, D::Switch},
    DecodeEntry{3, 15, PRM_REVA_LEVEL, D::Pct},
    DecodeEntry{3, 16, PRM_REVA_PREDELAY1, D::Ms},
    DecodeEntry{3, 17, PRM_REVA_PREDELAY2, D::Ms},
    DecodeEntry{3, 18, PRM_REVA_TIME, D::ReverbTime},
    DecodeEntry{3, 20, PRM_REVB_EQ_BYPASS, D::Switch},
    DecodeEntry{3, 21, PRM_REVB_LEVEL, D::Pct},
    DecodeEntry{3, 22, PRM_REVB_PREDELAY1, D::Ms},
    DecodeEntry{3, 23, PRM_REVB_PREDELAY2, D::Ms},
    DecodeEntry{3, 24, PRM_REVB_TIME, D::ReverbTime},
    DecodeEntry{3, 26, PRM_REVERB_VOL, D::Pct},
    DecodeEntry{3, 27, PRM_REVERB_MUTE, D::On},
    // Block 4
    DecodeEntry{4, 11, PRM_MUSIC_VOL, D::Pct},
    DecodeEntry{4, 12, PRM_SPDIF_GAIN, D::Pct},
    DecodeEntry{4, 13, PRM_AUX1_GAIN, D::Pct},
    DecodeEntry{4, 14, PRM_AUX2_GAIN, D::Pct},
    DecodeEntry{4, 15, PRM_MUSIC_MUTE, D::On},
    DecodeEntry{4, 16, PRM_MUSIC_EQ_BYPASS, D::Switch},
    DecodeEntry{4, 17, PRM_MUSIC_AGC_ON, D::AgcOn},
    DecodeEntry{4, 18, PRM_MUSIC_AGC_LEVEL, D::AgcLevel},
    DecodeEntry{4, 19, PRM_MUSIC_PITCH, D::Pitch},
    DecodeEntry{4, 21, PRM_SPDIF_ON, D::Pct},
    DecodeEntry{4, 22, PRM_AUX1_ON, D::Pct},
    DecodeEntry{4, 23, PRM_AUX2_ON, D::Pct},
    DecodeEntry{4, 24, PRM_MUSIC_NG_THRESHOLD, D::Div4},
    DecodeEntry{4, 25, PRM_MUSIC_NG_ATTACK, D::Div5},
    DecodeEntry{4, 26, PRM_MUSIC_NG_RELEASE, D::Div7},
    DecodeEntry{4, 30, PRM_MUSIC_LPF_DELAY, D::MsTrunc},
    DecodeEntry{4, 31, PRM_MUSIC_LPF_GAIN, D::Pct},
    // Block 5
    DecodeEntry{5, 14, PRM_MAIN_MIX_DIRECT, D::Pct},
    DecodeEntry{5, 15, PRM_MAIN_MIX_REVERB, D::Pct},
    DecodeEntry{5, 16, PRM_MAIN_MIX_ECHO, D::Pct},
    DecodeEntry{5, 17, PRM_MAIN_MIX_MUSIC, D::Pct},
    DecodeEntry{5, 18, PRM_MAIN_EQ_BYPASS, D::Switch},
    DecodeEntry{5, 19, PRM_MAIN_COMP_THRESHOLD, D::Compressor},
    DecodeEntry{5, 20, PRM_MAIN_COMP_BYPASS, D::Switch},
    DecodeEntry{5, 21, PRM_MAINL_DELAY, D::Ms},
    DecodeEntry{5, 22, PRM_MAINR_DELAY, D::Ms},
    DecodeEntry{5, 23, PRM_MAINL_DELAY_OFF, D::Switch},
    DecodeEntry{5, 24, PRM_MAINR_DELAY_OFF, D::Switch},
    DecodeEntry{5, 25, PRM_MAINL_DELAY_MODE, D::DelayMode},
    DecodeEntry{5, 26, PRM_MAINR_DELAY_MODE, D::DelayMode},
    DecodeEntry{5, 27, PRM_MAIN_MUTE, D::On},
    DecodeEntry{5, 30, PRM_MAIN_SURROUND, D::MinusPct},
    // Block 6
    DecodeEntry{6, 14, PRM_REAR_MIX_DIRECT, D::Pct},
    DecodeEntry{6, 15, PRM_REAR_MIX_REVERB, D::Pct},
    DecodeEntry{6, 16, PRM_REAR_MIX_ECHO, D::Pct},
    DecodeEntry{6, 17, PRM_REAR_MIX_MUSIC, D::Pct},
    DecodeEntry{6, 18, PRM_REAR_EQ_BYPASS, D::Switch},
    DecodeEntry{6, 19, PRM_REAR_COMP_THRESHOLD, D::Compressor},
    DecodeEntry{6, 20, PRM_REAR_COMP_BYPASS, D::Switch},
    DecodeEntry{6, 21, PRM_REARL_DELAY, D::Ms},
    DecodeEntry{6, 22, PRM_REARR_DELAY, D::Ms},
    DecodeEntry{6, 23, PRM_REARL_DELAY_OFF, D::Switch},
    DecodeEntry{6, 24, PRM_REARR_DELAY_OFF, D::Switch},
    DecodeEntry{6, 25, PRM_REARL_DELAY_MODE, D::DelayMode},
    DecodeEntry{6, 26, PRM_REARR_DELAY_MODE, D::DelayMode},
    DecodeEntry{6, 27, PRM_REAR_MUTE, D::On},
    DecodeEntry{6, 30, PRM_REAR_SURROUND, D::MinusPct},
    // Block 7
    DecodeEntry{7, 12, PRM_CENTER_MIX_DIRECT, D::Pct},
    DecodeEntry{7, 13, PRM_CENTER_MIX_REVERB, D::Pct},
    DecodeEntry{7, 14, PRM_CENTER_MIX_ECHO, D::Pct},
    DecodeEntry{7, 15, PRM_CENTER_MIX_MUSIC, D::Pct},
    DecodeEntry{7, 16, PRM_CENTER_EQ_BYPASS, D::Switch},
    DecodeEntry{7, 17, PRM_CENTER_COMP_THRESHOLD, D::Compressor},
    DecodeEntry{7, 18, PRM_CENTER_COMP_BYPASS, D::Switch},
    DecodeEntry{7, 19, PRM_CENTER_DELAY, D::Ms},
    DecodeEntry{7, 20, PRM_CENTER_DELAY_OFF, D::Switch},
    DecodeEntry{7, 21, PRM_CENTER_DELAY_MODE, D::DelayMode},
    DecodeEntry{7, 22, PRM_CENTER_MUTE, D::On},
    // Block 8
    DecodeEntry{8, 22, PRM_SUB_MIX_DIRECT, D::Pct},
    DecodeEntry{8, 23, PRM_SUB_MIX_REVERB, D::Pct},
    DecodeEntry{8, 24, PRM_SUB_MIX_ECHO, D::Pct},
    DecodeEntry{8, 25, PRM_SUB_MIX_MUSIC, D::Pct},
    DecodeEntry{8, 26, PRM_SUB_EQ_BYPASS, D::Switch},
    DecodeEntry{8, 27, PRM_SUB_COMP_THRESHOLD, D::Compressor},
    DecodeEntry{8, 28, PRM_SUB_COMP_BYPASS, D::Switch},
    DecodeEntry{8, 29, PRM_SUB_DELAY, D::Ms},
    DecodeEntry{8, 30, PRM_SUB_DELAY_OFF, D::Switch},
    DecodeEntry{8, 31, PRM_SUB_DELAY_MODE, D::DelayMode},
    DecodeEntry{8, 32, PRM_SUB_MUTE, D::On},
    // Block 9
    DecodeEntry{9, 14, PRM_TOP_MIX_DIRECT, D::Pct},
    DecodeEntry{9, 15, PRM_TOP_MIX_REVERB, D::Pct},
    DecodeEntry{9, 16, PRM_TOP_MIX_ECHO, D::Pct},
    DecodeEntry{9, 17, PRM_TOP_MIX_MUSIC, D::Pct},
    DecodeEntry{9, 18, PRM_TOP_EQ_BYPASS, D::Switch},
    DecodeEntry{9, 19, PRM_TOP_COMP_THRESHOLD, D::Compressor},
    DecodeEntry{9, 20, PRM_TOP_COMP_BYPASS, D::Switch},
    DecodeEntry{9, 21, PRM_TOPL_DELAY, D::Ms},
    DecodeEntry{9, 22, PRM_TOPR_DELAY, D::Ms},
    DecodeEntry{9, 23, PRM_TOPL_DELAY_OFF, D::Switch},
    DecodeEntry{9, 24, PRM_TOPR_DELAY_OFF, D::Switch},
    DecodeEntry{9, 25, PRM_TOPL_DELAY_MODE, D::DelayMode},
    DecodeEntry{9, 26, PRM_TOPR_DELAY_MODE, D::DelayMode},
    DecodeEntry{9, 27, PRM_TOP_MUTE, D::On},
    DecodeEntry{9, 30, PRM_TOP_SURROUND, D::MinusPct},
};

const DecodeEntry* FindDecode(int block, int param)
{
    for (const auto& e : kDecode) {
        if (e.block == block && e.param == param) {
            return &e;
        }
    }
    return nullptr;
}

// Value k (0-based) of a reply, from byte 6 on.
float Value(const Report& reply, size_t k)
{
    return GetFloatBE(&reply[6 + 4 * k]);
}

// Reply words that are floats but hold no finite number change nothing: no decoding of them
// means anything.
void DecodeFloatKind(const DecodeEntry& e, float v)
{
    if (!std::isfinite(v)) {
        return;
    }
    switch (e.kind) {
    case D::Pct:
        ParamStore.SetInt(e.cell, DecodePercentLike(v));
        break;
    case D::AbsPct:
        ParamStore.SetInt(e.cell, SaturatingAbs(DecodePercentLike(v)));
        break;
    case D::MinusPct:
        ParamStore.SetInt(e.cell, SaturatingNegate(DecodePercentLike(v)));
        break;
    case D::Div4:
        ParamStore.SetInt(e.cell, DecodeDiv4(v));
        break;
    case D::Div5:
        ParamStore.SetInt(e.cell, DecodeDiv5(v));
        break;
    case D::Div7:
        ParamStore.SetInt(e.cell, DecodeDiv7(v));
        break;
    case D::On:
        ParamStore.SetInt(e.cell, DecodeOn(v));
        break;
    case D::ReverbTime:
        ParamStore.SetFloat(e.cell, DecodeReverbTime(v));
        break;
    case D::Shift:
        ParamStore.SetInt(e.cell, DecodeFrequencyShift(v));
        break;
    case D::AgcLevel:
        if (g_nCmdVersion.load() >= 9) {
            ParamStore.SetFloat(e.cell, v);
        }
        break;
    default:
        break;
    }
}
} // namespace

std::span<const ReadRequest> ReadRequestList()
{
    return Requests();
}

int RequestAllParams()
{
    int sent = 0;
    for (const auto& r : Requests()) {
        if (ReadParam(r.block, r.param, r.count)) {
            ++sent;
        }
    }
    return sent;
}

void DecodeParamReply(const Report& reply)
{
    const DecodeEntry* e = FindDecode(reply[3], reply[4]);
    if (e == nullptr) {
        return;
    }
    const uint32_t word = GetU32BE(&reply[6]);
    const int32_t b = DecodeSwitch(word);
    switch (e->kind) {
    case D::Switch:
        ParamStore.SetInt(e->cell, b);
        break;
    case D::ShiftOff:
        ParamStore.SetInt(e->cell, b);
        if (b == 1) {
            ParamStore.SetInt(e->cell - 1, 1); // the shift cell sits just before its flag
        }
        break;
    case D::BoostOn:
        ParamStore.SetInt(e->cell, b == 0 ? 1 : 0);
        break;
    case D::Pitch:
        if (g_nCmdVersion.load() > 8) {
            ParamStore.SetInt(e->cell, DecodePitch(word));
        }
        break;
    case D::AgcOn:
        if (g_nCmdVersion.load() > 8) {
            ParamStore.SetInt(e->cell, b);
        }
        break;
    case D::Ms:
        ParamStore.SetFloat(e->cell, SamplesToMs(word));
        break;
    case D::MsTrunc:
        ParamStore.SetInt(e->cell, TruncToInt32(static_cast<double>(SamplesToMs(word))));
        break;
    case D::Compressor:
        // threshold, ratio, attack, release are four consecutive cells
        ParamStore.SetFloat(e->cell, DecodeCompressorThreshold(Value(reply, 0)));
        ParamStore.SetFloat(e->cell + 1, DecodeCompressorRatio(Value(reply, 2)));
        ParamStore.SetFloat(e->cell + 2, DecodeCompressorAttack(Value(reply, 5)));
        ParamStore.SetFloat(e->cell + 3, DecodeCompressorRelease(Value(reply, 6)));
        break;
    case D::DelayMode: {
        const float second = Value(reply, 1);
        if (std::isfinite(second)) {
            ParamStore.SetInt(e->cell, DecodeDelayMode(second));
        }
        break;
    }
    default:
        DecodeFloatKind(*e, Value(reply, 0));
        break;
    }
}
