#include "model/EqBandRecord.h"

#include <gtest/gtest.h>

#include <ostream>

struct GainCase
{
    double gain;
    int stored;
};

void PrintTo(const GainCase& c, std::ostream* os)
{
    *os << c.gain << " dB -> " << c.stored;
}

class EqGainEncoding : public ::testing::TestWithParam<GainCase>
{
};

TEST_P(EqGainEncoding, StoresTenthsAboveMinus15)
{
    const auto [gain, stored] = GetParam();
    const EqBandRecord r = EncodeEqBand(EqBand{gain, 1000, 1.414, 1});
    EXPECT_EQ((r[0] << 8) | r[1], stored);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, EqGainEncoding,
    ::testing::Values(GainCase{-15.0, 0}, GainCase{15.0, 300}, GainCase{0.0, 150},
                      GainCase{-0.04, 150}, GainCase{-0.06, 149}, GainCase{-40.0, 0},
                      // Exactly on a half tenth: rounds up; just short
                      // of the next half tenth: stays down.
                      GainCase{-3.45, 116}, GainCase{-0.05, 150}, GainCase{0.05, 151},
                      GainCase{14.95, 300}, GainCase{-14.95, 1}, GainCase{-7.25, 78},
                      GainCase{7.35, 224}, GainCase{0.049, 150}, GainCase{0.06, 151}));

TEST(EqBandRecord, QIsThousandthsInSinglePrecision)
{
    for (const auto& [q, stored] : {std::pair{1.41, 1410}, {1.414, 1414}, {0.707, 707}}) {
        const EqBandRecord r = EncodeEqBand(EqBand{0.0, 1000, q, 1});
        EXPECT_EQ((r[4] << 8) | r[5], stored) << q;
    }
}

TEST(EqBandRecord, RoundTrip)
{
    const EqBand b{-6.5, 16000, 0.707, 3};
    const EqBand d = DecodeEqBand(EncodeEqBand(b));
    EXPECT_NEAR(d.gain, -6.5, 1e-9);
    EXPECT_EQ(d.freq, 16000);
    EXPECT_NEAR(d.q, 0.707, 1e-9);
    EXPECT_EQ(d.type, 3);
}
