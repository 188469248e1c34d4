#pragma once
// Second-order section design for every EQ band type code, at the processor's 48 kHz.

#include "model/Encodings.h" // kSampleRate, kPi, kTwoPi

#include <complex>

// Coefficients already divided by a0; the section is
// H(z) = (b0 + b1 z^-1 + b2 z^-2) / (1 + a1 z^-1 + a2 z^-2).
struct BiquadCoefs
{
    double a1 = 0.0;
    double a2 = 0.0;
    double b0 = 1.0;
    double b1 = 0.0;
    double b2 = 0.0;
};

// Designs one band. Whatever the input (Q 0, a frequency of 0 or beyond Nyquist, NaN), the
// result is finite, also as single precision: a design that would not be is replaced by the
// flat section b0 = 1.
BiquadCoefs DesignBiquad(int type, double gainDb, double freqHz, double q);

// The complex response at freqHz, and its magnitude in dB.
std::complex<double> BiquadResponse(const BiquadCoefs& c, double freqHz);
double BiquadMagnitudeDb(const BiquadCoefs& c, double freqHz);
