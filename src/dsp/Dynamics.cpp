#include "dsp/Dynamics.h"

#include "model/DeviceMemory.h"
#include "model/Encodings.h"
#include "model/ParamStore.h"
#include "model/Writer.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

// ---- Pauses -------------------------------------------------------------------------------

namespace {
std::mutex g_pauseMutex;
PauseFunction g_pause; // empty: sleep

void Sleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
} // namespace

PauseFunction SetPauseFunction(PauseFunction pause)
{
    std::lock_guard lock(g_pauseMutex);
    PauseFunction previous = std::move(g_pause);
    g_pause = std::move(pause);
    return previous;
}

void DspPause(int ms)
{
    PauseFunction pause;
    {
        std::lock_guard lock(g_pauseMutex);
        pause = g_pause;
    }
    if (pause) {
        pause(ms);
    } else {
        Sleep(ms);
    }
}

// ---- Levels ------------------------------------------------------------------------------

namespace {
constexpr float kLevelLimitDb = 200.0f;

float SaneLevel(float x)
{
    if (!std::isfinite(x)) {
        return 0.0f;
    }
    return std::clamp(x, -kLevelLimitDb, kLevelLimitDb);
}

struct LevelPair
{
    uint32_t k1;
    uint32_t k2;
};
constexpr LevelPair kSpeakerPair = {0x3F7EFF25u, 0xBFFF7EF1u};  // 0.99608070, -1.99606144
constexpr LevelPair kMicBoostPair = {0x3F7D554Au, 0xBFFEA8DCu}; // 0.98958266, -1.98952818
} // namespace

float DbToGain(double x)
{
    return static_cast<float>(std::pow(10.0, x / 20.0));
}

float ShapedLevel(float x)
{
    const float x2 = static_cast<float>(static_cast<double>(x) * static_cast<double>(x));
    const float sum = 0.0022594517f * x2 + 0.799902f * x;
    return static_cast<float>(std::pow(10.0, static_cast<double>(sum) / 20.0));
}

std::array<float, 6> LevelBlock(float x, LevelBlockKind kind)
{
    const float level = SaneLevel(x);
    const LevelPair pair = kind == LEVEL_MIC_BOOST ? kMicBoostPair : kSpeakerPair;
    const float g = DbToGain(static_cast<double>(level));
    const float s = ShapedLevel(level);
    return {g, s, std::bit_cast<float>(pair.k1), std::bit_cast<float>(pair.k2), g, s};
}

std::array<uint8_t, 24> LevelBlockWords(float x, LevelBlockKind kind)
{
    const std::array<float, 6> v = LevelBlock(x, kind);
    std::array<uint8_t, 24> words{};
    for (size_t i = 0; i < v.size(); ++i) {
        PutFloatBE(&words[4 * i], v[i]);
    }
    return words;
}

// ---- Compressors -------------------------------------------------------------------------

namespace {
struct CompressorCells
{
    int block;
    int param;
    int bypassParam;
    int bypassCell;
    int thresholdCell; // ratio, attack and release follow
};

constexpr std::array<CompressorCells, COMP_OUTPUT_COUNT> kCompressors = {{
    {5, 19, 20, PRM_MAIN_COMP_BYPASS, PRM_MAIN_COMP_THRESHOLD},
    {6, 19, 20, PRM_REAR_COMP_BYPASS, PRM_REAR_COMP_THRESHOLD},
    {9, 19, 20, PRM_TOP_COMP_BYPASS, PRM_TOP_COMP_THRESHOLD},
    {7, 17, 18, PRM_CENTER_COMP_BYPASS, PRM_CENTER_COMP_THRESHOLD},
    {8, 27, 28, PRM_SUB_COMP_BYPASS, PRM_SUB_COMP_THRESHOLD},
}};

const CompressorCells* CompressorOf(CompressorOutput output)
{
    if (output < 0 || output >= COMP_OUTPUT_COUNT) {
        return nullptr;
    }
    return &kCompressors[static_cast<size_t>(output)];
}

// The compressor page's lowest time (1 ms) for a time the processor cannot use.
float SaneTime(float ms, float minimum)
{
    return (std::isnan(ms) || ms <= 0.0f) ? minimum : ms;
}

float TimeWord(float ms)
{
    return static_cast<float>(1.0 - std::exp(-1.0 / (static_cast<double>(ms) * 48.0)));
}

void SendCompressorValues(const CompressorCells& c, const CompressorSettings& s)
{
    const std::array<float, 7> v = CompressorValues(s);
    std::array<uint8_t, 28> words{};
    for (size_t i = 0; i < v.size(); ++i) {
        PutFloatBE(&words[4 * i], v[i]);
    }
    WriteParamWords(c.block, c.param, words);
}
} // namespace

CompressorSettings SanitiseCompressor(CompressorSettings s)
{
    if (!std::isfinite(s.threshold)) {
        s.threshold =
            (std::isinf(s.threshold) && s.threshold < 0.0f) ? kCompThresholdMin : kCompThresholdMax;
    }
    if (!(s.ratio >= kCompRatioMin)) { // also NaN
        s.ratio = kCompRatioMin;
    }
    s.attack = SaneTime(s.attack, kCompAttackMin);
    s.release = SaneTime(s.release, kCompReleaseMin);
    return s;
}

std::array<float, 7> CompressorValues(const CompressorSettings& settings)
{
    const CompressorSettings s = SanitiseCompressor(settings);
    const float ratioWord = static_cast<float>(1.0 - 1.0 / static_cast<double>(s.ratio));
    return {s.threshold, 0.0f, ratioWord, 20.0f, 0.05f, TimeWord(s.attack), TimeWord(s.release)};
}

void WriteCompressor(CompressorOutput output, float threshold, float ratio, float attack,
                     float release)
{
    const CompressorCells* c = CompressorOf(output);
    if (c == nullptr) {
        return;
    }
    const CompressorSettings s = SanitiseCompressor({threshold, ratio, attack, release});
    ParamStore.SetFloat(c->thresholdCell, s.threshold);
    ParamStore.SetFloat(c->thresholdCell + 1, s.ratio);
    ParamStore.SetFloat(c->thresholdCell + 2, s.attack);
    ParamStore.SetFloat(c->thresholdCell + 3, s.release);
    SendCompressorValues(*c, s);
}

void WriteMainCompressor(float threshold, float ratio, float attack, float release)
{
    WriteCompressor(COMP_MAIN, threshold, ratio, attack, release);
}
void WriteRearCompressor(float threshold, float ratio, float attack, float release)
{
    WriteCompressor(COMP_REAR, threshold, ratio, attack, release);
}
void WriteTopCompressor(float threshold, float ratio, float attack, float release)
{
    WriteCompressor(COMP_TOP, threshold, ratio, attack, release);
}
void WriteCenterCompressor(float threshold, float ratio, float attack, float release)
{
    WriteCompressor(COMP_CENTER, threshold, ratio, attack, release);
}
void WriteSubCompressor(float threshold, float ratio, float attack, float release)
{
    WriteCompressor(COMP_SUB, threshold, ratio, attack, release);
}

void SendCompressor(CompressorOutput output)
{
    const CompressorCells* c = CompressorOf(output);
    if (c == nullptr) {
        return;
    }
    SendCompressorValues(*c, CompressorSettings{ParamStore.GetFloat(c->thresholdCell),
                                                ParamStore.GetFloat(c->thresholdCell + 1),
                                                ParamStore.GetFloat(c->thresholdCell + 2),
                                                ParamStore.GetFloat(c->thresholdCell + 3)});
}

void SetCompressorBypass(CompressorOutput output, int off)
{
    const CompressorCells* c = CompressorOf(output);
    if (c == nullptr) {
        return;
    }
    ParamStore.SetInt(c->bypassCell, off);
    WriteParamInt(c->block, c->bypassParam, off & 0xFF);
}

void SetMainCompressorBypass(int off)
{
    SetCompressorBypass(COMP_MAIN, off);
}
void SetRearCompressorBypass(int off)
{
    SetCompressorBypass(COMP_REAR, off);
}
void SetTopCompressorBypass(int off)
{
    SetCompressorBypass(COMP_TOP, off);
}
void SetCenterCompressorBypass(int off)
{
    SetCompressorBypass(COMP_CENTER, off);
}
void SetSubCompressorBypass(int off)
{
    SetCompressorBypass(COMP_SUB, off);
}

// ---- Speaker levels ----------------------------------------------------------------------

namespace {
struct LevelParam
{
    int block;
    int param;
};
constexpr std::array<LevelParam, SPK_COUNT> kSpeakerParams = {
    {{5, 28}, {5, 29}, {6, 28}, {6, 29}, {7, 23}, {8, 33}, {9, 28}, {9, 29}}};
} // namespace

void WriteSpeakerLevel(Speaker speaker, float x)
{
    if (speaker < 0 || speaker >= SPK_COUNT) {
        return;
    }
    const float level = SaneLevel(x);
    std::array<uint8_t, 4> slot{};
    PutFloatBE(slot.data(), level);
    Block965.Write(static_cast<size_t>(4 * speaker), slot);
    const std::vector<uint8_t> block = Block965.Snapshot();
    WriteDeviceBlock(Block965.Address(), block);
    const LevelParam p = kSpeakerParams[static_cast<size_t>(speaker)];
    WriteParamWords(p.block, p.param, LevelBlockWords(level, LEVEL_SPEAKER));
}

void WriteMainLLevel(float x)
{
    WriteSpeakerLevel(SPK_MAIN_L, x);
}
void WriteMainRLevel(float x)
{
    WriteSpeakerLevel(SPK_MAIN_R, x);
}
void WriteRearLLevel(float x)
{
    WriteSpeakerLevel(SPK_REAR_L, x);
}
void WriteRearRLevel(float x)
{
    WriteSpeakerLevel(SPK_REAR_R, x);
}
void WriteCenterLevel(float x)
{
    WriteSpeakerLevel(SPK_CENTER, x);
}
void WriteSubLevel(float x)
{
    WriteSpeakerLevel(SPK_SUB, x);
}
void WriteTopLLevel(float x)
{
    WriteSpeakerLevel(SPK_TOP_L, x);
}
void WriteTopRLevel(float x)
{
    WriteSpeakerLevel(SPK_TOP_R, x);
}

float SpeakerLevel(Speaker speaker)
{
    if (speaker < 0 || speaker >= SPK_COUNT) {
        return 0.0f;
    }
    std::array<uint8_t, 4> slot{};
    Block965.Read(static_cast<size_t>(4 * speaker), slot);
    return GetFloatBE(slot.data());
}

// ---- Mic boost ---------------------------------------------------------------------------

namespace {
void SendMicBoostWrites(float x)
{
    const float level = SaneLevel(x);
    const std::array<uint8_t, 24> block = LevelBlockWords(level, LEVEL_MIC_BOOST);
    const float g = DbToGain(static_cast<double>(level));
    const float inverse = 1.0f / g;
    WriteParamWords(1, 70, block);
    WriteParamFloat(1, 68, g);
    WriteParamFloat(1, 67, inverse);
    WriteParamWords(1, 66, block);
    WriteParamFloat(1, 64, g);
    WriteParamFloat(1, 63, inverse);
}
} // namespace

void WriteMicBoost(float x)
{
    const float level = SaneLevel(x);
    const uint32_t bits = std::bit_cast<uint32_t>(level);
    const std::array<uint8_t, 2> upper = {static_cast<uint8_t>(bits >> 24),
                                          static_cast<uint8_t>(bits >> 16)};
    Block997.Write(0, upper);
    WriteDeviceBlock(Block997.Address(), upper);
    SendMicBoostWrites(level);
}

float MicBoostLevel()
{
    const uint32_t bits = (static_cast<uint32_t>(Block997.Get(0)) << 24) |
                          (static_cast<uint32_t>(Block997.Get(1)) << 16);
    return std::bit_cast<float>(bits);
}

void SendMicBoostLevel()
{
    // The processor's memory gets the stored level too, so that a pushed setting reads back
    // with the level it was pushed with.
    const std::array<uint8_t, 2> upper = {Block997.Get(0), Block997.Get(1)};
    WriteDeviceBlock(Block997.Address(), upper);
    SendMicBoostWrites(MicBoostLevel());
}

// ---- Music mute --------------------------------------------------------------------------

void SetMusicMute(int on)
{
    ParamStore.SetInt(PRM_MUSIC_MUTE, on);
    SendMusicMute();
}

void SendMusicMute()
{
    if (ParamStore.GetInt(PRM_MUSIC_MUTE) != 0) {
        WriteParamFloat(4, 15, 0.0f, 2);
        return;
    }
    for (int i = 0; i <= 8; ++i) {
        WriteParamFloat(4, 15, static_cast<float>(i / 10.0), 2);
        DspPause(kFadeStepPauseMs);
    }
    WriteParamFloat(4, 15, 1.0f, 2);
}

// ---- Volume ramp -------------------------------------------------------------------------

namespace {
// Steps beyond this many are skipped and the stored value is sent at once, so a corrupt
// cell cannot start millions of reports.
constexpr int kMaxRampSteps = 100;

template <typename Send> void Ramp(int from, int cell, Send send)
{
    if (cell < from) {
        send(cell);
        return;
    }
    const int last = cell - from > kMaxRampSteps ? from + kMaxRampSteps : cell;
    for (int i = from; i <= last; ++i) {
        send(i);
    }
    if (last != cell) {
        send(cell);
    }
}

float Percent(int value)
{
    return static_cast<float>(value / 100.0);
}
} // namespace

void RampVolumes()
{
    const int mic = ParamStore.GetInt(PRM_MIC_VOL);
    Ramp(80, mic, [](int v) { WriteParamFloat(1, 20, Percent(v)); });
    Ramp(80, mic, [](int v) { WriteParamFloat(1, 33, Percent(v)); });
    const int music = ParamStore.GetInt(PRM_MUSIC_VOL);
    if (music < 70) {
        WriteParamFloat(4, 11, Percent(music), 6);
        return;
    }
    Ramp(70, music, [](int v) {
        WriteParamFloat(4, 11, Percent(v), 6);
        DspPause(kRampStepPauseMs);
    });
}

// ---- Delays ------------------------------------------------------------------------------

DelaySideCells DelayCellsOf(DelaySide side)
{
    switch (side) {
    case DELAY_MAIN_L:
        return {5, PRM_MAINL_DELAY, 21, PRM_MAINL_DELAY_OFF, 23, PRM_MAINL_DELAY_MODE, 25};
    case DELAY_MAIN_R:
        return {5, PRM_MAINR_DELAY, 22, PRM_MAINR_DELAY_OFF, 24, PRM_MAINR_DELAY_MODE, 26};
    case DELAY_REAR_L:
        return {6, PRM_REARL_DELAY, 21, PRM_REARL_DELAY_OFF, 23, PRM_REARL_DELAY_MODE, 25};
    case DELAY_REAR_R:
        return {6, PRM_REARR_DELAY, 22, PRM_REARR_DELAY_OFF, 24, PRM_REARR_DELAY_MODE, 26};
    case DELAY_TOP_L:
        return {9, PRM_TOPL_DELAY, 21, PRM_TOPL_DELAY_OFF, 23, PRM_TOPL_DELAY_MODE, 25};
    case DELAY_TOP_R:
        return {9, PRM_TOPR_DELAY, 22, PRM_TOPR_DELAY_OFF, 24, PRM_TOPR_DELAY_MODE, 26};
    case DELAY_CENTER:
        return {7, PRM_CENTER_DELAY, 19, PRM_CENTER_DELAY_OFF, 20, PRM_CENTER_DELAY_MODE, 21};
    case DELAY_SUB:
        return {8, PRM_SUB_DELAY, 29, PRM_SUB_DELAY_OFF, 30, PRM_SUB_DELAY_MODE, 31};
    default:
        return {};
    }
}

void SetDelay(DelaySide side, float ms)
{
    const DelaySideCells c = DelayCellsOf(side);
    if (c.block == 0) {
        return;
    }
    const float value = ClampDelay(ms);
    ParamStore.SetFloat(c.delayCell, value);
    WriteParamInt(c.block, c.delayParam, MsToSamples(static_cast<double>(value)));
}

void SetDelayOff(DelaySide side, int off)
{
    const DelaySideCells c = DelayCellsOf(side);
    if (c.block == 0) {
        return;
    }
    ParamStore.SetInt(c.offCell, off);
    WriteParamInt(c.block, c.offParam, off & 0xFF);
}

void SetDelayMode(DelaySide side, int mode)
{
    const DelaySideCells c = DelayCellsOf(side);
    if (c.block == 0) {
        return;
    }
    ParamStore.SetInt(c.modeCell, mode != 0 ? 1 : 0);
    SendDelayMode(side);
}

void SendDelayMode(DelaySide side)
{
    const DelaySideCells c = DelayCellsOf(side);
    if (c.block == 0) {
        return;
    }
    const int mode = ParamStore.GetInt(c.modeCell) != 0 ? 1 : 0;
    std::array<uint8_t, 8> words{};
    PutFloatBE(&words[0], 1.0f);
    PutFloatBE(&words[4], mode == 0 ? 1.0f : 0.0f);
    WriteParamWords(c.block, c.modeParam, words);
    RebuildDelaySplit(side, mode);
}
