#pragma once
// GBK (code page 936) to UTF-8, independent of the system's locale.

#include <cstdint>
#include <span>
#include <string>

// Bytes that are not GBK (and a truncated double-byte character at the end) become U+FFFD,
// so every input decodes.
std::string DecodeGbk(std::span<const uint8_t> bytes);
