#pragma once
// Conversions between a cell of the parameter store and the 32-bit words the processor's DSP
// takes and answers with. Arithmetic is double precision unless a rule says single; results
// are rounded to single precision at the end. Every conversion to an integer saturates and
// maps NaN to 0, so no input can reach undefined behaviour.

#include <cstdint>

inline constexpr double kSampleRate = 48000.0;
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;

// Forward encodings (cell -> DSP word).
float EncodePct(int32_t cell);    // float(cell / 100)
float EncodeDiv4(int32_t cell);   // float(cell / 10 000)
float EncodeDiv5(int32_t cell);   // float(cell / 100 000)
float EncodeDiv7(int32_t cell);   // float(cell / 10 000 000)
float EncodeNegPct(int32_t cell); // float(-cell / 100)
int32_t EncodeInt(int32_t cell);  // 00 00 00 and the low byte of the cell
float EncodeOn(int32_t cell);     // 1.0 (pass) when the cell is 0, else 0.0
// trunc(ms * 48000 / 1000 + 0.5), the full 32-bit integer (saturated; NaN gives 0).
int32_t MsToSamples(double ms);
// Reverb time: float(hundredths / 100).
float EncodeReverbTime(float hundredths);
// Music pitch: integer cell + 5 (0..10), low byte.
int32_t EncodePitch(int32_t steps);
// Mic boost switch: integer 1 when the cell is 0, else 0.
int32_t EncodeMicBoostSwitch(int32_t cell);

// Frequency shift of a mic channel, f in Hz. f = 1 means off; a value outside 1..8 cannot be
// shifted (f = 0 would divide by zero) and is treated as off as well.
bool FrequencyShiftIsOff(int32_t f);
float FrequencyShiftOmega(int32_t f);          // float(f * 2pi / 48000)
int32_t FrequencyShiftDelaySamples(int32_t f); // t = single(1000 / (4f) - 25) ms -> samples

// Clamps applied by the setters before storing.
float ClampEchoTime(int32_t ms);     // at least 2 ms
float ClampDelay(float ms);          // at least 1.5 ms; non-finite gives 1.5
float PredelayHalf(float totalMs);   // max(total, 3.0) / 2; non-finite total counts as 3.0
float AgcLevelFromSlider(int32_t x); // float(x / 10) dB

// Reverse decodings (DSP word -> cell). v is the first word of a reply as a float, b its
// lowest byte.
int32_t DecodePercentLike(float v);    // r = float(v +- 0.005); trunc(r * 100) in single precision
int32_t DecodeDiv4(float v);           // r = float(v +- 0.00005); trunc(r * 10 000)
int32_t DecodeDiv5(float v);           // r = float(v +- 0.000005); trunc(r * 100 000)
int32_t DecodeDiv7(float v);           // r = float(v +- 0.00000005); trunc(r * 10 000 000)
int32_t DecodeSwitch(uint32_t word);   // the lowest byte, unsigned
int32_t DecodeOn(float v);             // 1 when the percent-like decoding gives 0, else 0
float SamplesToMs(uint32_t samples);   // float(samples * 1000 / 48000)
int32_t DecodeDelayMode(float second); // 1 when trunc(second word) is 0, else 0
float DecodeReverbTime(float v);       // float(percent-like decoding)
int32_t DecodeFrequencyShift(float omega); // trunc(omega * 48000 / 2pi + 0.5)
int32_t DecodePitch(uint32_t word);        // b - 5, limited to -5..5

// Compressor read-back. The raw arithmetic (r = 1 / (1 - x), t = -1 / ln(1 - x) / 48) gives
// infinities or NaN at the ends of the word's range; the results are limited to what the
// compressor page can set: ratio 1..30, attack 1..100 ms, release 1..1000 ms, threshold
// -60..0 dB when not finite (a finite threshold is kept as read). NaN gives the lower limit
// (ratio 1: no compression) and 0 dB for the threshold.
inline constexpr float kCompRatioMin = 1.0f;
inline constexpr float kCompRatioMax = 30.0f;
inline constexpr float kCompAttackMin = 1.0f;
inline constexpr float kCompAttackMax = 100.0f;
inline constexpr float kCompReleaseMin = 1.0f;
inline constexpr float kCompReleaseMax = 1000.0f;
inline constexpr float kCompThresholdMin = -60.0f;
inline constexpr float kCompThresholdMax = 0.0f;
float DecodeCompressorThreshold(float v);
float DecodeCompressorRatio(float x);
float DecodeCompressorAttack(float x);
float DecodeCompressorRelease(float x);

// Unclamped forms of the two compressor rules, for callers that want the plain arithmetic.
double CompressorRatioFromWord(float x); // 1 / (1 - x)
double CompressorTimeFromWord(float x);  // -1 / ln(1 - x) / 48

// Float -> int32 with truncation toward zero, saturating; NaN gives 0.
int32_t TruncToInt32(double value);
