#pragma once
// Everything the emulated processor keeps: the working setting (DSP parameters and the
// 999-byte memory), the four stored modes, the mode-name memory, the current mode, the
// machine-settings record and the remote key table. A plain value; the processor guards it.

#include "link/emulator/ParameterSet.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

inline constexpr size_t kProcessorMemorySize = 999;
inline constexpr int kProcessorModeCount = 4;
inline constexpr int kModeNameBase = 0x0F00; // mode n's name at 0x0F00 + 64 n
inline constexpr size_t kModeNameSlotSize = 64;
inline constexpr size_t kModeNameMemorySize = kModeNameSlotSize * kProcessorModeCount;
inline constexpr size_t kMachineSettingsSize = 13;
inline constexpr size_t kRemoteKeyTableSize = 16;

struct ProcessorSetting
{
    ParameterSet params;
    std::array<uint8_t, kProcessorMemorySize> memory{};
    bool operator==(const ProcessorSetting&) const = default;

    // Factory parameters and memory: the start-up band table, the default room geometry,
    // 0 dB speaker levels and mic boost.
    static ProcessorSetting Factory();
    // Factory parameters over an erased (all FF) memory.
    static ProcessorSetting Blank();
};

struct ProcessorState
{
    ProcessorSetting working;
    std::array<ProcessorSetting, kProcessorModeCount> modes;
    std::array<uint8_t, kModeNameMemorySize> names{};
    uint8_t currentMode = 0;
    std::array<uint8_t, kMachineSettingsSize> machineSettings{};
    std::array<uint8_t, kRemoteKeyTableSize> keyTable{};
    bool operator==(const ProcessorState&) const = default;

    // Every mode and the working setting at the factory setting, names "User 1".."User 4".
    static ProcessorState Factory();
    // Memory and mode names erased (all FF); parameters, settings and key table factory.
    static ProcessorState Blank();

    // Puts mode `mode`'s factory name into the name memory.
    void SetFactoryName(int mode);
    // The name of a mode as text (UTF-16 big-endian in memory; units above 0x7F become '?').
    std::string ModeName(int mode) const;
};

// The factory machine-settings record and remote key table.
std::array<uint8_t, kMachineSettingsSize> FactoryMachineSettings();
std::array<uint8_t, kRemoteKeyTableSize> FactoryRemoteKeyTable();
