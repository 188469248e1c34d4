#include "model/Encodings.h"

#include <algorithm>
#include <cmath>
#include <limits>

int32_t TruncToInt32(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483647.0) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value <= -2147483648.0) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

float EncodePct(int32_t cell)
{
    return static_cast<float>(cell / 100.0);
}

float EncodeDiv4(int32_t cell)
{
    return static_cast<float>(cell / 10000.0);
}

float EncodeDiv5(int32_t cell)
{
    return static_cast<float>(cell / 100000.0);
}

float EncodeDiv7(int32_t cell)
{
    return static_cast<float>(cell / 10000000.0);
}

float EncodeNegPct(int32_t cell)
{
    // Negated as an integer: a zero cell goes out as 00 00 00 00, never as the negative zero.
    return static_cast<float>(static_cast<double>(-static_cast<int64_t>(cell)) / 100.0);
}

int32_t EncodeInt(int32_t cell)
{
    return cell & 0xFF;
}

float EncodeOn(int32_t cell)
{
    return cell == 0 ? 1.0f : 0.0f;
}

int32_t MsToSamples(double ms)
{
    return TruncToInt32(ms * kSampleRate / 1000.0 + 0.5);
}

float EncodeReverbTime(float hundredths)
{
    return static_cast<float>(static_cast<double>(hundredths) / 100.0);
}

int32_t EncodePitch(int32_t steps)
{
    return EncodeInt(steps + 5);
}

int32_t EncodeMicBoostSwitch(int32_t cell)
{
    return cell == 0 ? 1 : 0;
}

bool FrequencyShiftIsOff(int32_t f)
{
    return f <= 1 || f > 8;
}

float FrequencyShiftOmega(int32_t f)
{
    return static_cast<float>(f * kTwoPi / kSampleRate);
}

int32_t FrequencyShiftDelaySamples(int32_t f)
{
    if (f < 1 || f > 8) {
        return 0; // no delay exists for a shift the processor cannot make
    }
    const auto t = static_cast<float>(1000.0 / (4.0 * f) - 25.0);
    return MsToSamples(static_cast<double>(t));
}

float ClampEchoTime(int32_t ms)
{
    return static_cast<float>(std::max(ms, 2));
}

float ClampDelay(float ms)
{
    if (!std::isfinite(ms) || ms < 1.5f) {
        return 1.5f;
    }
    return ms;
}

float PredelayHalf(float totalMs)
{
    if (!std::isfinite(totalMs) || totalMs < 3.0f) {
        totalMs = 3.0f;
    }
    return totalMs / 2.0f;
}

float AgcLevelFromSlider(int32_t x)
{
    return static_cast<float>(x / 10.0);
}

namespace {
// float(v + offset) for v >= 0, float(v - offset) below.
float RoundAway(float v, double offset)
{
    const double d = static_cast<double>(v);
    return static_cast<float>(v >= 0.0f ? d + offset : d - offset);
}
} // namespace

int32_t DecodePercentLike(float v)
{
    const float r = RoundAway(v, 0.005);
    const float scaled = r * 100.0f; // single precision, as the processor's answers are
    return TruncToInt32(static_cast<double>(scaled));
}

int32_t DecodeDiv4(float v)
{
    return TruncToInt32(static_cast<double>(RoundAway(v, 0.00005)) * 10000.0);
}

int32_t DecodeDiv5(float v)
{
    return TruncToInt32(static_cast<double>(RoundAway(v, 0.000005)) * 100000.0);
}

int32_t DecodeDiv7(float v)
{
    return TruncToInt32(static_cast<double>(RoundAway(v, 0.00000005)) * 10000000.0);
}

int32_t DecodeSwitch(uint32_t word)
{
    return static_cast<int32_t>(word & 0xFFu);
}

int32_t DecodeOn(float v)
{
    return DecodePercentLike(v) == 0 ? 1 : 0;
}

float SamplesToMs(uint32_t samples)
{
    return static_cast<float>(static_cast<double>(samples) * 1000.0 / kSampleRate);
}

int32_t DecodeDelayMode(float second)
{
    return TruncToInt32(static_cast<double>(second)) == 0 ? 1 : 0;
}

float DecodeReverbTime(float v)
{
    return static_cast<float>(DecodePercentLike(v));
}

int32_t DecodeFrequencyShift(float omega)
{
    return TruncToInt32(static_cast<double>(omega) * kSampleRate / kTwoPi + 0.5);
}

int32_t DecodePitch(uint32_t word)
{
    // A byte above 10 is no pitch step; kept in range it cannot go back out as a wrapped byte.
    return std::clamp(DecodeSwitch(word) - 5, -5, 5);
}

double CompressorRatioFromWord(float x)
{
    return 1.0 / (1.0 - static_cast<double>(x));
}

double CompressorTimeFromWord(float x)
{
    return -1.0 / std::log(1.0 - static_cast<double>(x)) / 48.0;
}

float DecodeCompressorThreshold(float v)
{
    if (std::isnan(v)) {
        return kCompThresholdMax;
    }
    if (std::isinf(v)) {
        return v < 0.0f ? kCompThresholdMin : kCompThresholdMax;
    }
    return v;
}

float DecodeCompressorRatio(float x)
{
    if (std::isnan(x)) {
        return kCompRatioMin;
    }
    if (x >= 1.0f) {
        return kCompRatioMax; // 1 - 1/r approaches 1 as the ratio grows without bound
    }
    const auto r = static_cast<float>(CompressorRatioFromWord(x));
    return std::clamp(r, kCompRatioMin, kCompRatioMax);
}

namespace {
// x near 1 is a very short time, x near 0 a very long one.
float DecodeTime(float x, float lo, float hi)
{
    if (std::isnan(x) || x >= 1.0f) {
        return lo;
    }
    if (x <= 0.0f) {
        return hi;
    }
    const auto t = static_cast<float>(CompressorTimeFromWord(x));
    if (!std::isfinite(t)) {
        return hi;
    }
    return std::clamp(t, lo, hi);
}
} // namespace

float DecodeCompressorAttack(float x)
{
    return DecodeTime(x, kCompAttackMin, kCompAttackMax);
}

float DecodeCompressorRelease(float x)
{
    return DecodeTime(x, kCompReleaseMin, kCompReleaseMax);
}
