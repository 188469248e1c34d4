#include "model/Writer.h"

#include "model/Report.h"

#include <algorithm>
#include <bit>

void PutU32BE(uint8_t* at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value >> 24);
    at[1] = static_cast<uint8_t>(value >> 16);
    at[2] = static_cast<uint8_t>(value >> 8);
    at[3] = static_cast<uint8_t>(value);
}

void PutFloatBE(uint8_t* at, float value)
{
    PutU32BE(at, std::bit_cast<uint32_t>(value));
}

uint32_t GetU32BE(const uint8_t* at)
{
    return (static_cast<uint32_t>(at[0]) << 24) | (static_cast<uint32_t>(at[1]) << 16) |
           (static_cast<uint32_t>(at[2]) << 8) | static_cast<uint32_t>(at[3]);
}

float GetFloatBE(const uint8_t* at)
{
    return std::bit_cast<float>(GetU32BE(at));
}

namespace {
Report ParamReport(uint8_t command, int block, int param, size_t count)
{
    Report r = MakeReport(command);
    r[2] = 0x00;
    r[3] = static_cast<uint8_t>(block);
    r[4] = static_cast<uint8_t>(param);
    r[5] = static_cast<uint8_t>(count);
    return r;
}
} // namespace

bool WriteParamFloat(int block, int param, float value, int count)
{
    const size_t n = std::clamp<size_t>(static_cast<size_t>(std::max(count, 1)), 1, kMaxParamWords);
    Report r = ParamReport(kCmdWriteParam, block, param, n);
    for (size_t i = 0; i < n; ++i) {
        PutFloatBE(&r[6 + 4 * i], value);
    }
    return SendReport(r);
}

bool WriteParamInt(int block, int param, int32_t value)
{
    Report r = ParamReport(kCmdWriteParam, block, param, 1);
    PutU32BE(&r[6], static_cast<uint32_t>(value));
    return SendReport(r);
}

bool WriteParamWords(int block, int param, std::span<const uint8_t> words)
{
    const size_t n = std::min(words.size() / 4, kMaxParamWords);
    Report r = ParamReport(kCmdWriteParam, block, param, n);
    std::copy_n(words.begin(), n * 4, r.begin() + 6);
    return SendReport(r);
}

bool WriteBiquad(int block, int band, double a1, double a2, double b0, double b1, double b2)
{
    Report r = ParamReport(kCmdWriteParam, block, band, 5);
    // 0.0 - x rather than -x: a zero feedback term (first-order sections) goes out as
    // 00 00 00 00, not as the negative zero 80 00 00 00.
    const double values[5] = {0.0 - a1, 0.0 - a2, b0, b1, b2};
    for (size_t i = 0; i < 5; ++i) {
        PutFloatBE(&r[6 + 4 * i], static_cast<float>(values[i]));
    }
    return SendReport(r);
}

bool ReadParam(int block, int param, int count)
{
    return SendReport(ParamReport(kCmdReadParam, block, param, static_cast<size_t>(count)));
}

bool WriteDeviceBlock(int address, std::span<const uint8_t> data)
{
    Report r = MakeReport(kCmdWriteBlock);
    const size_t n = std::min(data.size(), kMaxBlockBytes);
    r[2] = static_cast<uint8_t>((address >> 8) & 0xFF);
    r[3] = static_cast<uint8_t>(address & 0xFF);
    r[4] = static_cast<uint8_t>(n);
    std::copy_n(data.begin(), n, r.begin() + 5);
    return SendReport(r);
}
