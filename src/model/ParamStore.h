#pragma once
// The PC's copy of every controllable value: 159 cells of 32 bits, numbered 26..184.
// Cells are written by the UI thread (setters), the read thread (read-back replies) and the
// synchronisation thread (mode loading); each cell is one atomic 32-bit word, so no lock is
// needed and no access is a data race.

#include "model/ParamIds.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>

inline constexpr int kFirstCell = 26;
inline constexpr int kLastCell = 184;
inline constexpr int kCellCount = kLastCell - kFirstCell + 1; // 159

class ParamStoreCells
{
public:
    ParamStoreCells();

    static constexpr bool IsCell(int cell) { return cell >= kFirstCell && cell <= kLastCell; }

    // Reads of a number outside 26..184 give 0; writes to one are ignored.
    int32_t GetInt(int cell) const;
    void SetInt(int cell, int32_t value);
    float GetFloat(int cell) const;
    void SetFloat(int cell, float value);
    uint32_t GetBits(int cell) const;
    void SetBits(int cell, uint32_t bits);

    // Start-up contents: every cell 0 except the echo times (217.0 ms) and the two echo
    // parameters without an editor (60).
    void ResetToDefaults();

    // The cells first..first+count-1 as little-endian bytes (the mode-file form), and back.
    // Cells outside 26..184 are skipped.
    void ExportBytes(int first, int count, std::span<uint8_t> out) const;
    void ImportBytes(int first, int count, std::span<const uint8_t> in);

private:
    std::array<std::atomic<uint32_t>, kCellCount> cells_;
};

// The process-wide parameter store.
extern ParamStoreCells ParamStore;
