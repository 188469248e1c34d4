#include "model/Encodings.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

uint32_t Bits(float f)
{
    return std::bit_cast<uint32_t>(f);
}
} // namespace

TEST(Encodings, ForwardWordsAreExact)
{
    struct Case
    {
        const char* what;
        float got;
        uint32_t bits;
    };
    const Case cases[] = {
        {"pct 80", EncodePct(80), 0x3F4CCCCD},
        {"pct 100", EncodePct(100), 0x3F800000},
        {"pct 300", EncodePct(300), 0x40400000},
        {"pct 0", EncodePct(0), 0x00000000},
        {"div4 50", EncodeDiv4(50), 0x3BA3D70A},
        {"div5 1", EncodeDiv5(1), 0x3727C5AC},
        {"div5 100", EncodeDiv5(100), 0x3A83126F},
        {"div7 100", EncodeDiv7(100), 0x3727C5AC},
        {"negpct 30", EncodeNegPct(30), 0xBE99999A},
        {"negpct -37", EncodeNegPct(-37), 0x3EBD70A4},
        {"negpct 0 is +0.0", EncodeNegPct(0), 0x00000000},
        {"on 0", EncodeOn(0), 0x3F800000},
        {"on 1", EncodeOn(1), 0x00000000},
        {"on 7", EncodeOn(7), 0x00000000},
        {"reverb time 250", EncodeReverbTime(250.0f), 0x40200000},
        {"reverb time 0", EncodeReverbTime(0.0f), 0x00000000},
        {"omega 5 Hz", FrequencyShiftOmega(5), 0x3A2B92A6},
        {"agc slider -120", AgcLevelFromSlider(-120), 0xC1400000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Bits(c.got), c.bits) << c.what;
    }
}

TEST(Encodings, SwitchWordsCarryOnlyTheLowByte)
{
    EXPECT_EQ(EncodeInt(1), 1);
    EXPECT_EQ(EncodeInt(0x1234), 0x34);
    EXPECT_EQ(EncodeInt(-1), 0xFF);
    EXPECT_EQ(EncodePitch(-5), 0);
    EXPECT_EQ(EncodePitch(0), 5);
    EXPECT_EQ(EncodePitch(5), 10);
    EXPECT_EQ(EncodeMicBoostSwitch(0), 1);
    EXPECT_EQ(EncodeMicBoostSwitch(1), 0);
}

TEST(Encodings, MillisecondsToSamplesRoundsHalfUpAndTruncates)
{
    struct Case
    {
        double ms;
        int32_t samples;
    };
    const Case cases[] = {
        {1.5, 72},
        {217.0, 10416},
        {1.0, 48},
        {0.0, 0},
        {1.03125, 50}, // 49.5 samples rounds up
        {1.0208, 49},  // 48.9984 + 0.5 truncates to 49
        {0.0103, 0},   // 0.4944 + 0.5 truncates to 0
        {-1.0, -47},   // trunc, not floor, of -47.5
        {1e12, std::numeric_limits<int32_t>::max()},
        {std::nan(""), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MsToSamples(c.ms), c.samples) << c.ms;
    }
}

TEST(Encodings, SetterClamps)
{
    EXPECT_EQ(ClampEchoTime(1), 2.0f);
    EXPECT_EQ(ClampEchoTime(-5), 2.0f);
    EXPECT_EQ(ClampEchoTime(2), 2.0f);
    EXPECT_EQ(ClampEchoTime(217), 217.0f);
    EXPECT_EQ(ClampDelay(1.0f), 1.5f);
    EXPECT_EQ(ClampDelay(1.49f), 1.5f);
    EXPECT_EQ(ClampDelay(2.25f), 2.25f);
    EXPECT_EQ(ClampDelay(kNaN), 1.5f);
    EXPECT_EQ(ClampDelay(kInf), 1.5f);
    EXPECT_EQ(PredelayHalf(2.0f), 1.5f);
    EXPECT_EQ(PredelayHalf(3.0f), 1.5f);
    EXPECT_EQ(PredelayHalf(40.0f), 20.0f);
    EXPECT_EQ(PredelayHalf(7.0f), 3.5f);
    EXPECT_EQ(PredelayHalf(kNaN), 1.5f);
    EXPECT_EQ(MsToSamples(static_cast<double>(PredelayHalf(2.0f))), 72);
}

TEST(Encodings, FrequencyShiftDelay)
{
    const int32_t samples[] = {0, 10800, 4800, 2800, 1800, 1200, 800, 514, 300};
    for (int f = 1; f <= 8; ++f) {
        EXPECT_EQ(FrequencyShiftDelaySamples(f), samples[f]) << f;
    }
    EXPECT_NEAR(static_cast<double>(FrequencyShiftOmega(5)), 0.00065450, 1e-8);
}

TEST(Encodings, FrequencyShiftOutsideOneToEightIsOff)
{
    EXPECT_TRUE(FrequencyShiftIsOff(1));
    for (const int f : {0, -3, 9, 100}) {
        EXPECT_TRUE(FrequencyShiftIsOff(f)) << f;
        EXPECT_EQ(FrequencyShiftDelaySamples(f), 0) << f; // 0 would divide by zero
    }
    for (int f = 2; f <= 8; ++f) {
        EXPECT_FALSE(FrequencyShiftIsOff(f)) << f;
    }
}

TEST(Encodings, PercentLikeDecoding)
{
    struct Case
    {
        float v;
        int32_t d;
    };
    const Case cases[] = {
        {1.0f, 100},
        {0.2f, 20},
        {-0.5f, -50},
        {0.999f, 100},
        {0.8f, 80},
        {-0.3f, -30},
        {0.0f, 0},
        {0.994f, 99},
        {0.004f, 0},
        {3.0f, 300},
        {-1.0f, -100},
        // The product is taken in single precision: in double these give 12 and 0.
        {0.125f, 13},
        {0.005f, 1},
        {-1.875f, -188},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodePercentLike(c.v), c.d) << c.v;
    }
}

// Each reverse decoding adds half a unit of its scale away from zero before truncating: a
// reply a little short of a half step keeps the lower cell, a little beyond it takes the
// next one, on both sides of zero.
TEST(Encodings, ReverseDecodingsRoundAtTheHalfStep)
{
    struct Decoding
    {
        const char* name;
        int32_t (*decode)(float);
        double unitsPerOne;
    };
    const Decoding decodings[] = {
        {"percent-like", DecodePercentLike, 100.0},
        {"div4", DecodeDiv4, 10000.0},
        {"div5", DecodeDiv5, 100000.0},
        {"div7", DecodeDiv7, 10000000.0},
    };
    for (const Decoding& d : decodings) {
        for (int32_t n : {0, 1, 12, 99, 250}) {
            for (int32_t sign : {1, -1}) {
                const auto reply = [&](double units) {
                    return static_cast<float>(sign * units / d.unitsPerOne);
                };
                EXPECT_EQ(d.decode(reply(n + 0.45)), sign * n) << d.name << " " << sign * n;
                EXPECT_EQ(d.decode(reply(n + 0.55)), sign * (n + 1))
                    << d.name << " " << sign * (n + 1);
            }
        }
    }
}

TEST(Encodings, EveryCellValueSurvivesItsRoundTrip)
{
    for (int32_t c = -300; c <= 300; ++c) {
        ASSERT_EQ(DecodePercentLike(EncodePct(c)), c) << "pct " << c;
        ASSERT_EQ(DecodePercentLike(EncodeNegPct(c)), -c) << "negpct " << c;
    }
    for (int32_t c = 0; c <= 1000; ++c) {
        ASSERT_EQ(DecodeDiv4(EncodeDiv4(c)), c) << "div4 " << c;
        ASSERT_EQ(DecodeDiv5(EncodeDiv5(c)), c) << "div5 " << c;
        ASSERT_EQ(DecodeDiv7(EncodeDiv7(c)), c) << "div7 " << c;
    }
    for (int f = 1; f <= 8; ++f) {
        ASSERT_EQ(DecodeFrequencyShift(FrequencyShiftOmega(f)), f);
    }
    for (int32_t p = -5; p <= 5; ++p) {
        ASSERT_EQ(DecodePitch(static_cast<uint32_t>(EncodePitch(p))), p);
    }
    for (float t = 0.0f; t <= 100.0f; t += 1.0f) {
        ASSERT_EQ(DecodeReverbTime(EncodeReverbTime(t)), t);
    }
}

TEST(Encodings, ReverseDecodings)
{
    EXPECT_EQ(DecodeDiv4(0.005f), 50);
    EXPECT_EQ(DecodeDiv5(0.00001f), 1);
    EXPECT_EQ(DecodeDiv5(0.001f), 100);
    EXPECT_EQ(DecodeDiv7(0.00001f), 100);
    EXPECT_EQ(DecodeDiv4(-0.005f), -50);
    EXPECT_EQ(DecodeSwitch(0x00000101u), 1);
    EXPECT_EQ(DecodeSwitch(0x000000FFu), 255);
    EXPECT_EQ(DecodeOn(0.0f), 1);
    EXPECT_EQ(DecodeOn(0.004f), 1);
    EXPECT_EQ(DecodeOn(0.006f), 0);
    EXPECT_EQ(DecodeOn(1.0f), 0);
    EXPECT_EQ(SamplesToMs(72), 1.5f);
    EXPECT_EQ(SamplesToMs(10416), 217.0f);
    EXPECT_TRUE(std::isfinite(SamplesToMs(0xFFFFFFFFu)));
    EXPECT_GT(SamplesToMs(0xFFFFFFFFu), 0.0f); // unsigned, never negative
    EXPECT_EQ(DecodeDelayMode(0.0f), 1);
    EXPECT_EQ(DecodeDelayMode(0.5f), 1);
    EXPECT_EQ(DecodeDelayMode(-0.5f), 1);
    EXPECT_EQ(DecodeDelayMode(1.0f), 0);
    EXPECT_EQ(DecodeReverbTime(2.5f), 250.0f);
    EXPECT_EQ(DecodePitch(8), 3);
    EXPECT_EQ(DecodePitch(0), -5);
    EXPECT_EQ(DecodePitch(10), 5);
    EXPECT_EQ(DecodePitch(11), 5);   // no such step
    EXPECT_EQ(DecodePitch(0xFF), 5); // no such step
    EXPECT_EQ(DecodeFrequencyShift(0.00065450f), 5);
}

TEST(Encodings, IntegerConversionsSaturate)
{
    EXPECT_EQ(DecodePercentLike(kNaN), 0);
    EXPECT_EQ(DecodePercentLike(kInf), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(DecodePercentLike(-kInf), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(DecodeDiv7(1e30f), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(DecodeFrequencyShift(kNaN), 0);
}

TEST(Encodings, CompressorWordsDecodeBackToThePageValues)
{
    EXPECT_EQ(DecodeCompressorRatio(0.0f), 1.0f);
    EXPECT_EQ(DecodeCompressorRatio(0.75f), 4.0f);
    EXPECT_NEAR(DecodeCompressorRatio(static_cast<float>(1.0 - 1.0 / 30.0)), 30.0f, 1e-3f);
    const auto word = [](double ms) {
        return static_cast<float>(1.0 - std::exp(-1.0 / (ms * 48)));
    };
    EXPECT_NEAR(DecodeCompressorAttack(word(10)), 10.0f, 1e-3f);
    EXPECT_NEAR(DecodeCompressorAttack(word(1)), 1.0f, 1e-4f);
    EXPECT_NEAR(DecodeCompressorRelease(word(37)), 37.0f, 1e-2f);
    EXPECT_NEAR(DecodeCompressorRelease(word(1000)), 1000.0f, 0.1f);
    EXPECT_LE(DecodeCompressorRelease(word(1000)), 1000.0f);
    EXPECT_EQ(DecodeCompressorThreshold(-20.0f), -20.0f);
    EXPECT_EQ(DecodeCompressorThreshold(-70.0f), -70.0f); // finite values are kept as read
}

TEST(Encodings, CompressorWordsThatHaveNoMeaningAreLimited)
{
    struct Case
    {
        const char* what;
        float got;
        float want;
    };
    const Case cases[] = {
        {"ratio of x = 1 (1/0)", DecodeCompressorRatio(1.0f), 30.0f},
        {"ratio of x > 1 (negative)", DecodeCompressorRatio(1.5f), 30.0f},
        {"ratio of x < 0 (below 1)", DecodeCompressorRatio(-1.0f), 1.0f},
        {"ratio of NaN", DecodeCompressorRatio(kNaN), 1.0f},
        {"ratio of 0.99 (100:1)", DecodeCompressorRatio(0.99f), 30.0f},
        {"attack of x = 0 (-1/ln 1)", DecodeCompressorAttack(0.0f), 100.0f},
        {"attack of x = 1 (ln 0)", DecodeCompressorAttack(1.0f), 1.0f},
        {"attack of x > 1 (ln of negative)", DecodeCompressorAttack(2.0f), 1.0f},
        {"attack of x < 0", DecodeCompressorAttack(-0.1f), 100.0f},
        {"attack of NaN", DecodeCompressorAttack(kNaN), 1.0f},
        {"attack of a tiny x", DecodeCompressorAttack(1e-30f), 100.0f},
        {"release of x = 0", DecodeCompressorRelease(0.0f), 1000.0f},
        {"release of x = 1", DecodeCompressorRelease(1.0f), 1.0f},
        {"release of NaN", DecodeCompressorRelease(kNaN), 1.0f},
        {"release of 0.9 (0.009 ms)", DecodeCompressorRelease(0.9f), 1.0f},
        {"threshold -inf", DecodeCompressorThreshold(-kInf), -60.0f},
        {"threshold +inf", DecodeCompressorThreshold(kInf), 0.0f},
        {"threshold NaN", DecodeCompressorThreshold(kNaN), 0.0f},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(std::isfinite(c.got)) << c.what;
        EXPECT_EQ(c.got, c.want) << c.what;
    }
    // The unlimited arithmetic really does go wrong at these points.
    EXPECT_TRUE(std::isinf(CompressorRatioFromWord(1.0f)));
    EXPECT_TRUE(std::isinf(CompressorTimeFromWord(0.0f)));
    EXPECT_TRUE(std::isnan(CompressorTimeFromWord(2.0f)));
}
