#include "model/EqBandRecord.h"

#include <cmath>

namespace {
uint16_t ClampU16(double v)
{
    if (!(v > 0.0)) { // also catches NaN
        return 0;
    }
    if (v >= 65535.0) {
        return 65535;
    }
    return static_cast<uint16_t>(v);
}

void PutU16(EqBandRecord& r, size_t at, uint16_t v)
{
    r[at] = static_cast<uint8_t>(v >> 8);
    r[at + 1] = static_cast<uint8_t>(v & 0xFF);
}

int GetU16(const EqBandRecord& r, size_t at)
{
    return (r[at] << 8) | r[at + 1];
}
} // namespace

EqBandRecord EncodeEqBand(const EqBand& band)
{
    EqBandRecord r{};
    PutU16(r, 0, ClampU16(std::trunc((band.gain + 0.05 + 15.0) * 10.0)));
    PutU16(r, 2, ClampU16(static_cast<double>(band.freq)));
    const float q1000 = static_cast<float>(band.q) * 1000.0f;
    PutU16(r, 4, ClampU16(std::trunc(static_cast<double>(q1000))));
    r[6] = static_cast<uint8_t>(band.type);
    return r;
}

EqBand DecodeEqBand(const EqBandRecord& record)
{
    EqBand b;
    b.gain = GetU16(record, 0) / 10.0 - 15.0;
    b.freq = GetU16(record, 2);
    b.q = GetU16(record, 4) / 1000.0;
    b.type = record[6];
    return b;
}
