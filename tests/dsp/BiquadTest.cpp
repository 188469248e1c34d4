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
