#pragma once
// The writer operations: each builds one finished 61-byte report and hands it to the
// attached report sink. With no sink (no processor) the report is dropped and the call
// returns false; callers never retry.

#include <cstddef>
#include <cstdint>
#include <span>

inline constexpr uint8_t kCmdWriteParam = 0x09;
inline constexpr uint8_t kCmdReadParam = 0x0A;
inline constexpr uint8_t kCmdWriteBlock = 0x85;
inline constexpr size_t kMaxParamWords = 13;
inline constexpr size_t kMaxBlockBytes = 56;

// count copies of the single-precision value (count 1..13).
bool WriteParamFloat(int block, int param, float value, int count = 1);
// One big-endian 32-bit word: switch-like cells pass 0..255, sample counts the full integer.
bool WriteParamInt(int block, int param, int32_t value);
// Words already in transmission order, 4 bytes each (at most 13).
bool WriteParamWords(int block, int param, std::span<const uint8_t> words);
// parameter = band, five floats -a1, -a2, b0, b1, b2.
bool WriteBiquad(int block, int band, double a1, double a2, double b0, double b1, double b2);
bool ReadParam(int block, int param, int count = 1);
// Command 0x85: bytes 2, 3 the address, 4 the length (at most 56), then the data.
bool WriteDeviceBlock(int address, std::span<const uint8_t> data);

// Big-endian helpers shared by the writers and their tests.
void PutFloatBE(uint8_t* at, float value);
void PutU32BE(uint8_t* at, uint32_t value);
float GetFloatBE(const uint8_t* at);
uint32_t GetU32BE(const uint8_t* at);
