#include "dsp/Biquad.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(DesignBiquad, PeakingAtZeroDbIsFlat)
{
    const BiquadCoefs c = DesignBiquad(1, 0.0, 1000.0, 1.414);
    EXPECT_DOUBLE_EQ(c.b0, 1.0);
    EXPECT_DOUBLE_EQ(c.b1, c.a1);
    EXPECT_DOUBLE_EQ(c.b2, c.a2);
}

TEST(DesignBiquad, NonFiniteDesignsBecomeFlat)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto& c : {DesignBiquad(1, 0.0, 1000.0, 0.0), DesignBiquad(2, 3.0, 1000.0, 0.0),
                          DesignBiquad(0, 0.0, 1000.0, 0.0), DesignBiquad(1, nan, 1000.0, 1.0)}) {
        EXPECT_EQ(c.b0, 1.0);
        EXPECT_EQ(c.b1, 0.0);
        EXPECT_EQ(c.b2, 0.0);
        EXPECT_EQ(c.a1, 0.0);
        EXPECT_EQ(c.a2, 0.0);
    }
}

namespace {
double Magnitude(const BiquadCoefs& c, double freqHz)
{
    return std::abs(BiquadResponse(c, freqHz));
}

double DcGain(const BiquadCoefs& c)
{
    return (c.b0 + c.b1 + c.b2) / (1.0 + c.a1 + c.a2);
}

double NyquistGain(const BiquadCoefs& c)
{
    return (c.b0 - c.b1 + c.b2) / (1.0 - c.a1 + c.a2);
}

const double kProbeFreqs[] = {20.0, 100.0, 440.0, 1000.0, 5000.0, 12000.0, 20000.0};
} // namespace

TEST(DesignBiquad, PeakingAtZeroDbIsFlatAtEveryFrequency)
{
    for (double f : {31.0, 1000.0, 16000.0}) {
        for (double q : {0.3, 1.414, 10.0}) {
            const BiquadCoefs c = DesignBiquad(1, 0.0, f, q);
            for (double probe : kProbeFreqs) {
                EXPECT_NEAR(Magnitude(c, probe), 1.0, 1e-12) << f << " Hz, Q " << q;
            }
        }
    }
}

TEST(DesignBiquad, PeakingReachesItsGainAtTheCentre)
{
    for (double gain : {-12.0, -3.0, 6.0, 15.0}) {
        const BiquadCoefs c = DesignBiquad(1, gain, 1000.0, 2.0);
        EXPECT_NEAR(BiquadMagnitudeDb(c, 1000.0), gain, 1e-9);
    }
}

// Low-pass codes keep the band gain G at DC, high-pass codes at Nyquist.
TEST(DesignBiquad, PassBandGainIsTheBandGain)
{
    struct Row
    {
        int type;
        bool lowPass;
    };
    const Row rows[] = {{2, true},  {3, false},  {8, true},  {9, false},  {10, true}, {11, false},
                        {12, true}, {13, false}, {14, true}, {15, false}, {16, true}, {17, false},
                        {18, true}, {19, false}, {20, true}, {21, false}};
    for (const Row& row : rows) {
        for (double gain : {-6.0, 0.0, 6.0}) {
            for (double f : {100.0, 1000.0, 5000.0}) {
                const BiquadCoefs c = DesignBiquad(row.type, gain, f, 0.707);
                const double g = std::pow(10.0, gain / 20.0);
                const double passGain = row.lowPass ? DcGain(c) : NyquistGain(c);
                EXPECT_NEAR(passGain, g, 1e-9) << "type " << row.type << " " << gain << " dB";
                const double stopGain = row.lowPass ? NyquistGain(c) : DcGain(c);
                EXPECT_NEAR(stopGain, 0.0, 1e-9) << "type " << row.type;
            }
        }
    }
}

TEST(DesignBiquad, LowPassAtSixDbHasDcGainOfG)
{
    const BiquadCoefs c = DesignBiquad(2, 6.0, 1000.0, 1.414);
    const double g = std::pow(10.0, 6.0 / 20.0);
    EXPECT_NEAR(g, 1.995, 1e-3);
    EXPECT_NEAR(c.b0 + c.b1 + c.b2, g * (1.0 + c.a1 + c.a2), 1e-12);
}

// The even-order Chebyshev low-pass passes DC at the ripple floor, G * m = G * 10^(-0.1/20).
TEST(DesignBiquad, ChebyshevDcGainIsAtTheRippleFloor)
{
    for (double gain : {0.0, 6.0}) {
        const double g = std::pow(10.0, gain / 20.0);
        EXPECT_NEAR(DcGain(DesignBiquad(6, gain, 200.0, 1.0)), g * std::pow(10.0, -0.005), 1e-9);
        EXPECT_NEAR(NyquistGain(DesignBiquad(7, gain, 200.0, 1.0)), g * std::pow(10.0, -0.005),
                    1e-9);
    }
}

// Reference values worked out from the formulas on paper (mu = 0.99015756, m = 0.98855309,
// v without a cosh factor); the band Q must not matter for the fixed shapes.
TEST(DesignBiquad, FixedShapeCoefficientsMatchHandComputedValues)
{
    struct Row
    {
        int type;
        double gain;
        double freq;
        BiquadCoefs expected;
    };
    const Row rows[] = {
        {6,
         0.0,
         1000.0,
         {-1.77876669562, 0.807200896232, 0.00702717925111, 0.0140543585022, 0.00702717925111}},
        {7,
         6.0,
         2000.0,
         {-1.75888198384, 0.792228191777, 1.75107261221, -3.50214522442, 1.75107261221}},
        {18,
         0.0,
         100.0,
         {-1.98986109991, 0.990031590747, 4.26227085455e-05, 8.5245417091e-05, 4.26227085455e-05}},
        {21,
         -3.0,
         250.0,
         {-1.94027751371, 0.941316919096, 0.686989603848, -1.3739792077, 0.686989603848}},
    };
    for (const Row& row : rows) {
        for (double q : {0.1, 1.414, 7.0}) {
            const BiquadCoefs c = DesignBiquad(row.type, row.gain, row.freq, q);
            const double tol = 1e-10;
            EXPECT_NEAR(c.a1, row.expected.a1, tol) << "type " << row.type;
            EXPECT_NEAR(c.a2, row.expected.a2, tol) << "type " << row.type;
            EXPECT_NEAR(c.b0, row.expected.b0, tol) << "type " << row.type;
            EXPECT_NEAR(c.b1, row.expected.b1, tol) << "type " << row.type;
            EXPECT_NEAR(c.b2, row.expected.b2, tol) << "type " << row.type;
        }
    }
}

// Each fixed-Q code behaves as a second-order section of its nominal Q: the magnitude at the
// corner frequency is G * Q.
TEST(DesignBiquad, FixedQSectionsHaveTheirNominalQ)
{
    struct Row
    {
        int type;
        double q;
    };
    const Row rows[] = {{8, 0.57735},  {9, 0.57735},  {12, 0.70711}, {13, 0.70711},
                        {14, 1.0},     {15, 1.0},     {16, 0.5},     {17, 0.5},
                        {18, 1.30656}, {19, 1.30656}, {20, 0.54120}, {21, 0.54120}};
    for (const Row& row : rows) {
        const BiquadCoefs fixed = DesignBiquad(row.type, 0.0, 1000.0, 3.0);
        const BiquadCoefs plain = DesignBiquad(row.type % 2 == 0 ? 2 : 3, 0.0, 1000.0, row.q);
        EXPECT_NEAR(Magnitude(fixed, 1000.0), Magnitude(plain, 1000.0), 2e-5)
            << "type " << row.type;
    }
}

TEST(DesignBiquad, FirstOrderSectionsHaveNoSecondOrderTerms)
{
    for (int type : {10, 11}) {
        const BiquadCoefs c = DesignBiquad(type, 3.0, 800.0, 1.0);
        EXPECT_EQ(c.a2, 0.0);
        EXPECT_EQ(c.b2, 0.0);
        // -3 dB at the corner.
        EXPECT_NEAR(BiquadMagnitudeDb(c, 800.0), 3.0 - 3.0103, 1e-3) << "type " << type;
    }
}

TEST(DesignBiquad, UnknownCodesAreAllPass)
{
    for (int type : {0, 22, 99, 255, -1}) {
        for (double q : {0.5, 1.414}) {
            const BiquadCoefs c = DesignBiquad(type, 6.0, 1000.0, q);
            EXPECT_EQ(c.b2, 1.0);
            EXPECT_EQ(c.b0, c.a2);
            EXPECT_EQ(c.b1, c.a1);
            for (double probe : kProbeFreqs) {
                EXPECT_NEAR(Magnitude(c, probe), 1.0, 1e-12) << "type " << type;
            }
        }
    }
}

TEST(DesignBiquad, ShelvesReachTheirGainAtTheFarEnd)
{
    for (double gain : {-9.0, 9.0}) {
        EXPECT_NEAR(BiquadMagnitudeDb(DesignBiquad(4, gain, 500.0, 0.707), 5.0), gain, 0.05);
        EXPECT_NEAR(BiquadMagnitudeDb(DesignBiquad(4, gain, 500.0, 0.707), 20000.0), 0.0, 0.05);
        EXPECT_NEAR(BiquadMagnitudeDb(DesignBiquad(5, gain, 500.0, 0.707), 23000.0), gain, 0.05);
        EXPECT_NEAR(BiquadMagnitudeDb(DesignBiquad(5, gain, 500.0, 0.707), 5.0), 0.0, 0.05);
    }
}

// A gain the band record can hold (up to 6538.5 dB) must not overflow the single-precision
// words either.
TEST(DesignBiquad, DesignsBeyondSinglePrecisionBecomeFlat)
{
    for (int type : {1, 2, 4, 6, 10, 12}) {
        const BiquadCoefs c = DesignBiquad(type, 1000.0, 1000.0, 1.0);
        EXPECT_TRUE(std::isfinite(static_cast<float>(c.b0)));
        EXPECT_TRUE(std::isfinite(static_cast<float>(c.b1)));
        EXPECT_TRUE(std::isfinite(static_cast<float>(c.b2)));
        EXPECT_TRUE(std::isfinite(static_cast<float>(c.a1)));
        EXPECT_TRUE(std::isfinite(static_cast<float>(c.a2)));
    }
}

TEST(DesignBiquad, EveryCodeStaysFiniteForAwkwardInput)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (int type = 0; type <= 22; ++type) {
        for (double f : {0.0, 24000.0, 30000.0, -5.0, nan}) {
            for (double q : {0.0, 0.001, -1.0, inf, nan}) {
                for (double gain : {-15.0, 0.0, 6538.5, nan}) {
                    const BiquadCoefs c = DesignBiquad(type, gain, f, q);
                    ASSERT_TRUE(std::isfinite(static_cast<float>(c.a1)) &&
                                std::isfinite(static_cast<float>(c.a2)) &&
                                std::isfinite(static_cast<float>(c.b0)) &&
                                std::isfinite(static_cast<float>(c.b1)) &&
                                std::isfinite(static_cast<float>(c.b2)))
                        << "type " << type << " f " << f << " q " << q << " gain " << gain;
                }
            }
        }
    }
}
