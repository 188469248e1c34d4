#include "dsp/Biquad.h"

#include <cmath>

namespace {
// The coefficients go to the processor as single-precision floats, so a value that is finite
// in double precision but beyond the single range (a huge gain) counts as non-finite too.
bool FiniteAsSingle(double v)
{
    return std::isfinite(v) && std::isfinite(static_cast<float>(v));
}

bool Finite(const BiquadCoefs& c)
{
    return FiniteAsSingle(c.a1) && FiniteAsSingle(c.a2) && FiniteAsSingle(c.b0) &&
           FiniteAsSingle(c.b1) && FiniteAsSingle(c.b2);
}

// Second-order low-pass (even codes) or high-pass (odd codes) with alpha = s * k / 2.
BiquadCoefs FixedSection(bool lowPass, double k, double c, double s, double g)
{
    const double alpha = s * k / 2.0;
    const double a0 = 1.0 + alpha;
    BiquadCoefs r;
    r.a1 = -2.0 * c / a0;
    r.a2 = (1.0 - alpha) / a0;
    if (lowPass) {
        r.b1 = g * (1.0 - c) / a0;
        r.b0 = r.b2 = r.b1 / 2.0;
    } else {
        r.b1 = -g * (1.0 + c) / a0;
        r.b0 = r.b2 = -r.b1 / 2.0;
    }
    return r;
}

BiquadCoefs Chebyshev(bool lowPass, double freqHz, double g)
{
    const double kk = std::tan(kPi * freqHz / kSampleRate);
    const double r = lowPass ? kk : 1.0 / kk;
    const double eps = std::sqrt(std::pow(10.0, 0.01) - 1.0);
    const double m = std::sqrt(1.0 / (eps * eps + 1.0));
    // The processor's firmware expects this mu (about 0.990), not asinh(1/eps)/2.
    const double mu = 0.5 * std::sqrt(std::log(1.0 / (eps * eps) + 1.0 + 1.0 / eps));
    const double h = std::sinh(mu);
    const double theta = 3.0 * kPi / 4.0;
    const double t = h * r;
    const double u = t * t;
    const double sr = std::sin(theta) * r;
    const double v = sr * sr;
    const double o = 2.0 * std::cos(theta) * t;
    const double a0 = 1.0 - o + u + v;
    BiquadCoefs c;
    c.a2 = (1.0 + o + u + v) / a0;
    c.a1 = (lowPass ? 2.0 : -2.0) * (u + v - 1.0) / a0;
    const double d = g * m * (u + v) / a0;
    c.b0 = d;
    c.b1 = lowPass ? 2.0 * d : -2.0 * d;
    c.b2 = d;
    return c;
}

BiquadCoefs Design(int type, double gainDb, double freqHz, double q)
{
    const double w = kTwoPi * freqHz / kSampleRate;
    const double c = std::cos(w);
    const double s = std::sin(w);
    const double g = std::pow(10.0, gainDb / 20.0);
    BiquadCoefs r;
    switch (type) {
    case 1: { // peaking
        const double a = std::pow(10.0, gainDb / 40.0);
        const double alpha = s / (2.0 * q);
        const double a0 = 1.0 + alpha / a;
        r.a1 = -2.0 * c / a0;
        r.a2 = (1.0 - alpha / a) / a0;
        r.b0 = (1.0 + alpha * a) / a0;
        r.b1 = -2.0 * c / a0;
        r.b2 = (1.0 - alpha * a) / a0;
        return r;
    }
    case 2:
    case 3:
        return FixedSection(type == 2, 1.0 / q, c, s, g);
    case 4: { // low shelf
        const double a = std::pow(10.0, gainDb / 40.0);
        const double beta = std::sqrt(a) * s / q;
        const double a0 = (a + 1) + (a - 1) * c + beta;
        r.a1 = -2.0 * ((a - 1) + (a + 1) * c) / a0;
        r.a2 = ((a + 1) + (a - 1) * c - beta) / a0;
        r.b0 = a * ((a + 1) - (a - 1) * c + beta) / a0;
        r.b1 = 2.0 * a * ((a - 1) - (a + 1) * c) / a0;
        r.b2 = a * ((a + 1) - (a - 1) * c - beta) / a0;
        return r;
    }
    case 5: { // high shelf
        const double a = std::pow(10.0, gainDb / 40.0);
        const double beta = std::sqrt(a) * s / q;
        const double a0 = (a + 1) - (a - 1) * c + beta;
        r.a1 = 2.0 * ((a - 1) - (a + 1) * c) / a0;
        r.a2 = ((a + 1) - (a - 1) * c - beta) / a0;
        r.b0 = a * ((a + 1) + (a - 1) * c + beta) / a0;
        r.b1 = -2.0 * a * ((a - 1) + (a + 1) * c) / a0;
        r.b2 = a * ((a + 1) + (a - 1) * c - beta) / a0;
        return r;
    }
    case 6:
    case 7:
        return Chebyshev(type == 6, freqHz, g);
    case 8:
    case 9:
        return FixedSection(type == 8, std::sqrt(3.0), c, s, g);
    case 12:
    case 13:
        return FixedSection(type == 12, std::sqrt(2.0), c, s, g);
    case 14:
    case 15:
        return FixedSection(type == 14, 2.0 * std::sin(kPi / 6.0), c, s, g);
    case 16:
    case 17:
        return FixedSection(type == 16, 2.0 * std::sin(kPi / 2.0), c, s, g);
    case 18:
    case 19:
        return FixedSection(type == 18, 2.0 * std::sin(kPi / 8.0), c, s, g);
    case 20:
    case 21:
        return FixedSection(type == 20, 2.0 * std::sin(3.0 * kPi / 8.0), c, s, g);
    case 10: { // first-order low-pass
        const double a0 = 1.0 + c + s;
        r.a1 = (s - c - 1.0) / a0;
        r.a2 = 0.0;
        r.b0 = r.b1 = g * s / a0;
        r.b2 = 0.0;
        return r;
    }
    case 11: { // first-order high-pass
        const double a0 = 1.0 + c + s;
        r.a1 = (s - c - 1.0) / a0;
        r.a2 = 0.0;
        r.b0 = g * (1.0 + c) / a0;
        r.b1 = -r.b0;
        r.b2 = 0.0;
        return r;
    }
    default: { // all-pass
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
} // namespace

BiquadCoefs DesignBiquad(int type, double gainDb, double freqHz, double q)
{
    const BiquadCoefs r = Design(type, gainDb, freqHz, q);
    if (!Finite(r)) {
        return BiquadCoefs{};
    }
    return r;
}

std::complex<double> BiquadResponse(const BiquadCoefs& c, double freqHz)
{
    const double w = kTwoPi * freqHz / kSampleRate;
    const std::complex<double> z1 = std::polar(1.0, -w);
    const std::complex<double> z2 = z1 * z1;
    return (c.b0 + c.b1 * z1 + c.b2 * z2) / (1.0 + c.a1 * z1 + c.a2 * z2);
}

double BiquadMagnitudeDb(const BiquadCoefs& c, double freqHz)
{
    const double mag = std::abs(BiquadResponse(c, freqHz));
    return 20.0 * std::log10(mag > 1e-12 ? mag : 1e-12);
}
