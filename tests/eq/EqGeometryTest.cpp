#include "eq/EqGeometry.h"

#include "dsp/Biquad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
EqAxes Axes1000x480()
{
    EqAxes a;
    a.plot = EqPlotRectForClient(1000, 480);
    return a;
}
} // namespace

TEST(EqAxes, PlotRectAndAxisEnds)
{
    const EqAxes a = Axes1000x480();
    EXPECT_EQ(a.plot.left, 36);
    EXPECT_EQ(a.plot.top, 18);
    EXPECT_EQ(a.plot.right, 994);
    EXPECT_EQ(a.plot.bottom, 460);
    EXPECT_DOUBLE_EQ(a.FreqToX(18.0), 36.0);
    EXPECT_NEAR(a.FreqToX(23000.0), 994.0, 1e-9);
    EXPECT_DOUBLE_EQ(a.GainToY(15.0), 18.0);
    EXPECT_DOUBLE_EQ(a.GainToY(-15.0), 460.0);
    EXPECT_DOUBLE_EQ(a.GainToY(0.0), 239.0);
    EXPECT_EQ(a.SampleX(0), 36);
    EXPECT_EQ(a.SampleX(256), 36 + 958 / 2);
}

TEST(EqAxes, PointerOffsetsInvertTheMapping)
{
    const EqAxes a = Axes1000x480();
    for (double f : {20.0, 100.0, 1000.0, 12345.0, 20000.0}) {
        EXPECT_NEAR(a.OffsetToFreq(a.FreqToX(f) - a.plot.left), f, f * 1e-12);
    }
    for (double g : {-15.0, -3.2, 0.0, 0.1, 7.7, 15.0}) {
        EXPECT_NEAR(a.OffsetToGain(a.GainToY(g) - a.plot.top), g, 1e-9);
    }
}

TEST(SnapTenth, RoundsHalfAwayFromZero)
{
    struct Case
    {
        double in, out;
    } cases[] = {{0.04, 0.0},   {0.05, 0.1},   {-0.05, -0.1}, {1.26, 1.3},
                 {-1.24, -1.2}, {14.96, 15.0}, {-0.0, 0.0},   {3.149, 3.1}};
    for (const Case& c : cases) {
        EXPECT_NEAR(SnapTenth(c.in), c.out, 1e-12) << c.in;
    }
    EXPECT_EQ(FormatGainDb(SnapTenth(-0.03)), "+0.0dB");
    EXPECT_EQ(FormatGainDb(SnapTenth(0.0)), "+0.0dB");
}

TEST(ArrowKeyFrequency, StepDependsOnTheBandFrequency)
{
    struct Case
    {
        double f;
        bool up, ctrl;
        double out;
    } cases[] = {
        {1000, false, false, 995},   {1001, false, false, 991},   {1000, false, true, 994},
        {1000, true, false, 1005},   {100, false, false, 98},     {101, true, false, 106},
        {10000, true, false, 10010}, {10001, true, false, 10101}, {20, false, true, 17},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(ArrowKeyFrequency(c.f, c.up, c.ctrl), c.out) << c.f;
    }
}

TEST(InfoGainLevel, ColourBoundaries)
{
    struct Case
    {
        float gain;
        int level;
    } cases[] = {{6.0f, 0},  {-6.0f, 0}, {0.0f, 0},   {6.1f, 1},  {-6.1f, 1},
                 {10.0f, 1}, {10.1f, 2}, {-10.2f, 2}, {15.0f, 2}, {-10.0f, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(InfoGainLevel(c.gain), c.level) << c.gain;
    }
}

TEST(ComputeBandCurve, MatchesTheComplexResponseOfTheWritersDesign)
{
    struct Case
    {
        int type;
        double gain, freq, q;
    } cases[] = {{1, 6.0, 1000, 1.41}, {1, -12.0, 63, 4.0}, {2, 0.0, 500, 0.7},
                 {3, 0.0, 2000, 0.7},  {4, 9.0, 120, 0.7},  {5, -6.0, 8000, 1.0},
                 {6, 0.0, 100, 1.0},   {11, 0.0, 300, 1.0}, {18, 0.0, 80, 1.41},
                 {21, 0.0, 80, 1.41}};
    const auto& freqs = EqDisplayFrequencies();
    for (const Case& c : cases) {
        std::array<float, kEqCurvePoints> curve{};
        ComputeBandCurve(c.type, c.gain, c.freq, c.q, curve);
        const BiquadCoefs bq = DesignBiquad(c.type, c.gain, c.freq, c.q);
        for (int i = 0; i < kEqCurvePoints; i += 7) {
            const double want = BiquadMagnitudeDb(bq, static_cast<double>(freqs[i]));
            if (want < -100.0) {
                continue;
            }
            EXPECT_NEAR(curve[i], want, 2e-3) << "type " << c.type << " sample " << i;
        }
    }
}

TEST(ComputeBandCurve, DisplayFrequenciesSpan18HzTo23kHz)
{
    const auto& f = EqDisplayFrequencies();
    EXPECT_FLOAT_EQ(f[0], 18.0f);
    EXPECT_NEAR(f[511], 18.0 * std::pow(23000.0 / 18.0, 511.0 / 512.0), 0.01);
    EXPECT_TRUE(std::is_sorted(f.begin(), f.end()));
}

TEST(ComputeBandCurve, DeepStopBandStaysFinite)
{
    std::array<float, kEqCurvePoints> curve{};
    ComputeBandCurve(18, 0.0, 20.0, 1.0, curve);
    for (float v : curve) {
        EXPECT_TRUE(std::isfinite(v));
    }
    ComputeBandCurve(1, 0.0, 1000.0, 0.0, curve); // Q 0 designs the flat section
    for (float v : curve) {
        EXPECT_NEAR(v, 0.0f, 1e-6f);
    }
}

TEST(PeqPeakIndex, StaysInsideTheCurveForAnyWidth)
{
    for (int w : {1, 100, 511, 512, 958, 1024, 1600, 4000}) {
        for (double f : {18.0, 20.0, 1000.0, 20000.0, 23000.0, 30000.0}) {
            const int idx = PeqPeakIndex(f, w);
            EXPECT_GE(idx, 0);
            EXPECT_LE(idx, 511);
        }
    }
    EXPECT_EQ(PeqPeakIndex(1000.0, 0), -1);
    // The sample drawn at the band's x: 1 kHz on a 958-pixel plot.
    const double span = std::log10(23000.0 / 18.0);
    const int x = static_cast<int>(958 * std::log10(1000.0 / 18.0) / span);
    EXPECT_EQ(PeqPeakIndex(1000.0, 958), static_cast<int>(x / (958 / 512.0)));
}

TEST(ValueLabelPlacement, LinesSitBelowOrAboveTheMarker)
{
    // Band 3 (one digit), gain 0: below, at yc + 18, 27, 36.
    ValueLabelPos p =
        ValueLabelPlacement(100.4, 200.6, 2, 0.0f, 0, 6); // "1000Hz": half = (36 + 12) / 2
    EXPECT_EQ(p.captionX, 96 - 24 + 1);
    EXPECT_EQ(p.valueX, 96 - 24 + 13);
    EXPECT_EQ(p.y, 197 + 18);
    EXPECT_EQ(ValueLabelPlacement(100.4, 200.6, 2, 0.0f, 2, 4).y, 197 + 36);
    // Band 10 (two digits), negative gain: above, x shifted by 7.
    p = ValueLabelPlacement(100.0, 200.0, 9, -0.02f, 1, 6);
    EXPECT_EQ(p.captionX, 93 - 24 + 1);
    EXPECT_EQ(p.y, 196 - 33);
    // -0.01 dB still counts as not below.
    EXPECT_EQ(ValueLabelPlacement(100.0, 200.0, 0, -0.01f, 0, 6).y, 196 + 18);
}

TEST(EqFormats, ValueTexts)
{
    EXPECT_EQ(FormatGainDb(3.0), "+3.0dB");
    EXPECT_EQ(FormatGainDb(-0.55), "-0.6dB");
    EXPECT_EQ(FormatGainDb(0.0), "+0.0dB");
    EXPECT_EQ(FormatFreqHz(999.6), "1000Hz");
    EXPECT_EQ(FormatQ(1.414), "1.41");
}

TEST(TypeRules, GainQAndSlopeRules)
{
    for (int t = 0; t <= 21; ++t) {
        EXPECT_EQ(HasUserGain(t), t == 1 || t == 4 || t == 5) << t;
        EXPECT_EQ(GainForcedZero(t), t == 2 || t == 3 || t > 5) << t;
        EXPECT_EQ(MaxQForType(t), (t >= 2 && t <= 5) ? 2.0 : 30.0) << t;
        EXPECT_EQ(IsSlopeType(t), t == 2 || t == 3 || t >= 6) << t;
    }
}

TEST(SmallEqAxes, TenHzAtLeftOverThreePointFourDecades)
{
    SmallEqAxes a;
    a.plot = EqPlotRect{2, 2, 172, 82};
    EXPECT_DOUBLE_EQ(a.FreqToX(10.0), 2.0);
    EXPECT_NEAR(a.FreqToX(1000.0), 2.0 + 2.0 * 170 / 3.4, 1e-9);
    EXPECT_DOUBLE_EQ(a.GainToY(15.0), 2.0);
    EXPECT_DOUBLE_EQ(a.GainToY(-15.0), 82.0);
    EXPECT_NEAR(a.YToGain(a.GainToY(-7.3)), -7.3, 1e-12);
}

TEST(ValueLabelShift, KeepsTheLabelsOfAMarkerAtEitherEndInsideThePlot)
{
    const EqPlotRect plot = EqPlotRectForClient(1000, 480);
    // A band at 20 Hz / +15 dB sits on the plot's left edge: its labels would reach over the
    // dB scale left of it.
    const double markerX = plot.left;
    const double markerY = plot.top;
    std::array<int, 3> lefts{};
    std::array<int, 3> rights{};
    const int chars[3] = {4, 7, 4}; // "20Hz", "+15.0dB", "1.41"
    for (int line = 0; line < 3; ++line) {
        const ValueLabelPos pos =
            ValueLabelPlacement(markerX, markerY, 0, 15.0f, line, chars[line]);
        lefts[static_cast<size_t>(line)] = pos.captionX;
        rights[static_cast<size_t>(line)] = pos.valueX + 6 * chars[line];
    }
    ASSERT_LT(*std::min_element(lefts.begin(), lefts.end()), plot.left);
    const int dx = ValueLabelShift(lefts, rights, plot);
    EXPECT_EQ(*std::min_element(lefts.begin(), lefts.end()) + dx, plot.left + 2);

    // At 20 kHz the same to the left of the right edge.
    std::array<int, 3> lefts2{};
    std::array<int, 3> rights2{};
    for (size_t line = 0; line < 3; ++line) {
        lefts2[line] = lefts[line] + plot.Width();
        rights2[line] = rights[line] + plot.Width();
    }
    const int dx2 = ValueLabelShift(lefts2, rights2, plot);
    EXPECT_EQ(*std::max_element(rights2.begin(), rights2.end()) + dx2, plot.right - 2);

    // In the middle nothing moves.
    for (size_t line = 0; line < 3; ++line) {
        lefts2[line] = lefts[line] + plot.Width() / 2;
        rights2[line] = rights[line] + plot.Width() / 2;
    }
    EXPECT_EQ(ValueLabelShift(lefts2, rights2, plot), 0);
}
