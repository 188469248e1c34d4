#pragma once
// Level, dynamics and time values that the PC computes for the processor: compressors, the
// six-value level blocks (speaker levels, mic boost), the volume ramp after a full push, the
// music mute with its fade-in and the delays with their high-frequency split.

#include "dsp/Crossover.h"

#include <array>
#include <cstdint>
#include <functional>

// ---- Pauses -------------------------------------------------------------------------------

// The volume ramp and the music fade-in pause between reports. The pause goes through a
// replaceable function (default: sleep the calling thread) so tests can record pauses.
using PauseFunction = std::function<void(int ms)>;
// Installs a pause function (an empty one restores the real sleep); returns the previous one.
PauseFunction SetPauseFunction(PauseFunction pause);
void DspPause(int ms);

inline constexpr int kRampStepPauseMs = 100;
inline constexpr int kFadeStepPauseMs = 30;

// ---- Levels ------------------------------------------------------------------------------

// g = 10^(x/20) in double precision, converted to single.
float DbToGain(double x);
// s = 10^((0.0022594517 x^2 + 0.799902 x) / 20): x^2 in double then single, the products and
// their sum in single with the single constants, the division and power in double, result
// in single.
float ShapedLevel(float x);

enum LevelBlockKind : int
{
    LEVEL_SPEAKER = 0,
    LEVEL_MIC_BOOST = 1,
};

// [g, s, k1, k2, g, s] for a level x in dB. A non-finite x counts as 0 dB, and x is held
// within +-200 dB so every value stays finite.
std::array<float, 6> LevelBlock(float x, LevelBlockKind kind);
// The same six values as 24 bytes in transmission order.
std::array<uint8_t, 24> LevelBlockWords(float x, LevelBlockKind kind);

// ---- Compressors -------------------------------------------------------------------------

enum CompressorOutput : int
{
    COMP_MAIN = 0,
    COMP_REAR,
    COMP_TOP,
    COMP_CENTER,
    COMP_SUB,
    COMP_OUTPUT_COUNT,
};

struct CompressorSettings
{
    float threshold = 0.0f; // dB
    float ratio = 1.0f;     // R of R:1
    float attack = 1.0f;    // ms
    float release = 1.0f;   // ms
};

// Mends values the processor must never see: a ratio below 1 or NaN becomes 1 (the start-up
// cells hold 0); an attack or release that is NaN or not above 0 becomes the compressor
// page's minimum of 1 ms; a non-finite threshold becomes 0 dB, or -60 dB for -infinity.
CompressorSettings SanitiseCompressor(CompressorSettings s);

// The seven values: T, 0.0, 1 - 1/r, 20.0, 0.05, 1 - e^(-1/(48 a)), 1 - e^(-1/(48 l)),
// computed from the mended settings.
std::array<float, 7> CompressorValues(const CompressorSettings& s);

// Stores the (mended) four cells of the output and sends its compressor block.
void WriteCompressor(CompressorOutput output, float threshold, float ratio, float attack,
                     float release);
void WriteMainCompressor(float threshold, float ratio, float attack, float release);
void WriteRearCompressor(float threshold, float ratio, float attack, float release);
void WriteTopCompressor(float threshold, float ratio, float attack, float release);
void WriteCenterCompressor(float threshold, float ratio, float attack, float release);
void WriteSubCompressor(float threshold, float ratio, float attack, float release);
// Sends the output's compressor block from its cells without storing (the full push).
void SendCompressor(CompressorOutput output);

// Bypass switch (1 = compressor off): stores the cell and sends it as an integer word.
void SetCompressorBypass(CompressorOutput output, int off);
void SetMainCompressorBypass(int off);
void SetRearCompressorBypass(int off);
void SetTopCompressorBypass(int off);
void SetCenterCompressorBypass(int off);
void SetSubCompressorBypass(int off);

// ---- Speaker levels ----------------------------------------------------------------------

// The eight slots of Block965, in slot order.
enum Speaker : int
{
    SPK_MAIN_L = 0,
    SPK_MAIN_R,
    SPK_REAR_L,
    SPK_REAR_R,
    SPK_CENTER,
    SPK_SUB,
    SPK_TOP_L,
    SPK_TOP_R,
    SPK_COUNT,
};

// Writes x into the speaker's slot of Block965, writes the 32 bytes of Block965 to the
// processor's memory and sends the speaker-level block to the speaker's level parameter.
void WriteSpeakerLevel(Speaker speaker, float x);
void WriteMainLLevel(float x);
void WriteMainRLevel(float x);
void WriteRearLLevel(float x);
void WriteRearRLevel(float x);
void WriteCenterLevel(float x);
void WriteSubLevel(float x);
void WriteTopLLevel(float x);
void WriteTopRLevel(float x);
// The level stored in a slot (0 for a bad speaker).
float SpeakerLevel(Speaker speaker);

// ---- Mic boost ---------------------------------------------------------------------------

// Keeps the upper 16 bits of x in Block997 and writes them to the processor's memory, then
// sends (1,70) level block, (1,68) g, (1,67) 1/g, (1,66) level block, (1,64) g, (1,63) 1/g.
void WriteMicBoost(float x);
// The level kept in Block997 (upper 16 bits, lower bits zero).
float MicBoostLevel();
// The full push: writes Block997 to the processor's memory and sends the six mic-boost
// writes for the level kept there.
void SendMicBoostLevel();
// The mic boost switch (cells 181, 182 and (1,65), (1,69)) is a plain cell: SetMicBoostOn.

// ---- Music mute --------------------------------------------------------------------------

// Stores cell 88 and sends it: muted sends (4,15) = 0.0, 0.0; un-muted fades in with
// (4,15) = i/10 for i = 0..8, a 30 ms pause after each, then 1.0.
void SetMusicMute(int on);
void SendMusicMute();

// ---- Volume ramp -------------------------------------------------------------------------

// After a full push with the ramp switch on: the mic volume (1,20) then (1,33) from 80 up to
// cell 26 (or once when below 80), then the music volume (4,11) x6 from 70 up to cell 84 with
// a 100 ms pause after each report (or once when below 70).
void RampVolumes();

// ---- Delays ------------------------------------------------------------------------------

// Raises ms to at least 1.5 (a non-finite value counts as 1.5), stores the side's delay cell and
// sends the delay in samples.
void SetDelay(DelaySide side, float ms);
// Stores the delay-off switch (1 = off) and sends it as an integer word.
void SetDelayOff(DelaySide side, int off);
// Stores the delay mode (0 high-frequency split, 1 whole channel), sends the mode pair 1.0,
// (1.0 or 0.0), then rebuilds the side's split stages.
void SetDelayMode(DelaySide side, int mode);
// Sends the mode pair and the split stages from the side's cell (the full push).
void SendDelayMode(DelaySide side);

// Cells and DSP parameters of a delayed side.
struct DelaySideCells
{
    int block = 0;
    int delayCell = 0, delayParam = 0;
    int offCell = 0, offParam = 0;
    int modeCell = 0, modeParam = 0;
};
DelaySideCells DelayCellsOf(DelaySide side);
