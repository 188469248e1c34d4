#pragma once
// The emulated processor's state file: a small versioned binary form of ProcessorState with
// a CRC-32, written safely (a complete temporary file replaces the old one). A file that fails any
// check is refused as a whole, never half loaded.
//
// Layout (integers big-endian): "D4620EMU", u32 version (1), u32 payload size, payload,
// u32 CRC-32 of the payload. Payload: current mode, machine settings (13), key table (16),
// mode-name memory (256), then the working setting and modes 1..4, each as 999 memory bytes,
// u16 parameter count and per parameter block, parameter, word count and the words.

#include "link/emulator/ProcessorState.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

enum class StateFileResult
{
    Loaded,
    Missing, // no file: the caller starts from the factory setting
    Damaged, // unreadable, wrong version, bad checksum or contents; *error says which
};

std::vector<uint8_t> EncodeProcessorState(const ProcessorState& state);
// Fills *out only when the whole image is valid.
bool DecodeProcessorState(std::span<const uint8_t> bytes, ProcessorState* out, std::string* error);

StateFileResult LoadStateFile(const std::string& path, ProcessorState* out, std::string* error);
bool SaveStateFile(const std::string& path, const ProcessorState& state, std::string* error);
