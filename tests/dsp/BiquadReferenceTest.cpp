// Every design code against a second, independent implementation of the documented formulas,
// written plainly from them. A coefficient that differs by more than a relative 1e-9 means the
// designer's shape, Q or gain handling has drifted (a wrong Q keeps the far-end gains of a
// shelf, so response checks alone don't see it).
#include "dsp/Biquad.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr double kFs = 48000.0;
constexpr double kPiRef = 3.14159265358979323846;

struct Ref
{
    double a1, a2, b0, b1, b2;
};

Ref SecondOrderPass(bool lowPass, double c, double g, double alpha)
{
    const double a0 = 1.0 + alpha;
    Ref r{};
    r.a1 = -2.0 * c / a0;
    r.a2 = (1.0 - alpha) / a0;
    if (lowPass) {
        r.b1 = g * (1.0 - c) / a0;
        r.b0 = r.b1 / 2.0;
    } else {
        r.b1 = -g * (1.0 + c) / a0;
        r.b0 = -r.b1 / 2.0;
    }
    r.b2 = r.b0;
    return r;
}

Ref Chebyshev(bool lowPass, double f, double g)
{
    const double k = std::tan(kPiRef * f / kFs);
    const double r = lowPass ? k : 1.0 / k;
    const double eps = std::sqrt(std::pow(10.0, 0.01) - 1.0);
    const double m = std::sqrt(1.0 / (eps * eps + 1.0));
    const double mu = 0.5 * std::sqrt(std::log(1.0 / (eps * eps) + 1.0 + 1.0 / eps));
    const double h = std::sinh(mu);
    const double theta = 3.0 * kPiRef / 4.0;
    const double t = h * r;
    const double u = t * t;
    const double v = (std::sin(theta) * r) * (std::sin(theta) * r);
    const double o = 2.0 * std::cos(theta) * t;
    const double a0 = 1.0 - o + u + v;
    Ref out{};
    out.a2 = (1.0 + o + u + v) / a0;
    out.a1 = (lowPass ? 2.0 : -2.0) * (u + v - 1.0) / a0;
    const double d = g * m * (u + v) / a0;
    out.b0 = d;
    out.b1 = lowPass ? 2.0 * d : -2.0 * d;
    out.b2 = d;
    return out;
}

Ref Reference(int type, double gainDb, double f, double q)
{
    const double w = 2.0 * kPiRef * f / kFs;
    const double c = std::cos(w);
    const double s = std::sin(w);
    const double g = std::pow(10.0, gainDb / 20.0);
    const double a = std::pow(10.0, gainDb / 40.0);
    Ref r{};
    switch (type) {
    case 1: {
        const double alpha = s / (2.0 * q);
        const double a0 = 1.0 + alpha / a;
        r = {-2.0 * c / a0, (1.0 - alpha / a) / a0, (1.0 + alpha * a) / a0, -2.0 * c / a0,
             (1.0 - alpha * a) / a0};
        return r;
    }
    case 2:
    case 3:
        return SecondOrderPass(type == 2, c, g, s / (2.0 * q));
    case 4: {
        const double beta = std::sqrt(a) * s / q;
        const double a0 = (a + 1.0) + (a - 1.0) * c + beta;
        r.a1 = -2.0 * ((a - 1.0) + (a + 1.0) * c) / a0;
        r.a2 = ((a + 1.0) + (a - 1.0) * c - beta) / a0;
        r.b0 = a * ((a + 1.0) - (a - 1.0) * c + beta) / a0;
        r.b1 = 2.0 * a * ((a - 1.0) - (a + 1.0) * c) / a0;
        r.b2 = a * ((a + 1.0) - (a - 1.0) * c - beta) / a0;
        return r;
    }
    case 5: {
        const double beta = std::sqrt(a) * s / q;
        const double a0 = (a + 1.0) - (a - 1.0) * c + beta;
        r.a1 = 2.0 * ((a - 1.0) - (a + 1.0) * c) / a0;
        r.a2 = ((a + 1.0) - (a - 1.0) * c - beta) / a0;
        r.b0 = a * ((a + 1.0) + (a - 1.0) * c + beta) / a0;
        r.b1 = -2.0 * a * ((a - 1.0) + (a + 1.0) * c) / a0;
        r.b2 = a * ((a + 1.0) + (a - 1.0) * c - beta) / a0;
        return r;
    }
    case 6:
    case 7:
        return Chebyshev(type == 6, f, g);
    case 10:
    case 11: {
        const double a0 = 1.0 + c + s;
        r.a1 = (s - c - 1.0) / a0;
        r.a2 = 0.0;
        if (type == 10) {
            r.b0 = g * s / a0;
            r.b1 = r.b0;
        } else {
            r.b0 = g * (1.0 + c) / a0;
            r.b1 = -r.b0;
        }
        r.b2 = 0.0;
        return r;
    }
    case 8:
    case 9:
    case 12:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
    case 21: {
        double k = 0.0;
        if (type <= 9) {
            k = std::sqrt(3.0);
        } else if (type <= 13) {
            k = std::sqrt(2.0);
        } else {
            const double phi[] = {kPiRef / 6.0, kPiRef / 2.0, kPiRef / 8.0, 3.0 * kPiRef / 8.0};
            k = 2.0 * std::sin(phi[(type - 14) / 2]);
        }
        return SecondOrderPass(type % 2 == 0, c, g, s * k / 2.0);
    }
    default: {
        const double alpha = s / (2.0 * q);
        const double a0 = 1.0 + alpha;
        r.a1 = -2.0 * c / a0;
        r.a2 = (1.0 - alpha) / a0;
        r.b0 = r.a2;
        r.b1 = r.a1;
        r.b2 = 1.0;
        return r;
    }
    }
}

void ExpectClose(double actual, double expected, const std::string& what)
{
    const double tolerance = 1e-9 * std::max(std::abs(expected), 1e-12);
    EXPECT_NEAR(actual, expected, tolerance) << what;
}

struct Row
{
    double gainDb;
    double freqHz;
    double q;
};

// Gains of both signs, low and high frequencies, narrow and wide Q.
const Row kRows[] = {
    {-12.0, 45.8, 4.0},
    {6.0, 1000.0, 0.707},
    {15.0, 12000.0, 1.414},
    {-3.5, 250.0, 0.4},
};

} // namespace

TEST(DesignBiquadReference, EveryCodeMatchesTheDocumentedFormulas)
{
    for (int type = 0; type <= 22; ++type) {
        for (const Row& row : kRows) {
            const BiquadCoefs got = DesignBiquad(type, row.gainDb, row.freqHz, row.q);
            const Ref want = Reference(type, row.gainDb, row.freqHz, row.q);
            const std::string where =
                "type " + std::to_string(type) + ", " + std::to_string(row.gainDb) + " dB, " +
                std::to_string(row.freqHz) + " Hz, Q " + std::to_string(row.q);
            ExpectClose(got.a1, want.a1, "a1 of " + where);
            ExpectClose(got.a2, want.a2, "a2 of " + where);
            ExpectClose(got.b0, want.b0, "b0 of " + where);
            ExpectClose(got.b1, want.b1, "b1 of " + where);
            ExpectClose(got.b2, want.b2, "b2 of " + where);
        }
    }
}
