#pragma once
// The 7-byte EQ band record: gain, frequency, Q (each a big-endian u16) and the type code.

#include <array>
#include <cstdint>

// Filter type codes of byte 6. 6..21 are the fixed crossover sections; anything else
// designs an all-pass.
enum EqBandType : int {
    EQ_TYPE_OFF = 0,
    EQ_TYPE_PEQ = 1,
    EQ_TYPE_LP = 2,
    EQ_TYPE_HP = 3,
    EQ_TYPE_LS = 4,
    EQ_TYPE_HS = 5,
};

struct EqBand
{
    double gain = 0.0; // dB
    int freq = 1000;   // Hz
    double q = 1.414;
    int type = EQ_TYPE_PEQ;
    bool operator==(const EqBand&) const = default;
};

using EqBandRecord = std::array<uint8_t, 7>;

// gain: trunc((dB + 0.05 + 15) * 10); Q: trunc(Q * 1000) taken in single precision.
// Values that do not fit 16 bits are clamped to 0..65535.
EqBandRecord EncodeEqBand(const EqBand& band);
// gain value / 10 - 15, Q value / 1000.
EqBand DecodeEqBand(const EqBandRecord& record);
