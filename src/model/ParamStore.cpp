#include "model/ParamStore.h"

#include <bit>

ParamStoreCells ParamStore;

ParamStoreCells::ParamStoreCells()
{
    ResetToDefaults();
}

int32_t ParamStoreCells::GetInt(int cell) const
{
    return static_cast<int32_t>(GetBits(cell));
}

void ParamStoreCells::SetInt(int cell, int32_t value)
{
    SetBits(cell, static_cast<uint32_t>(value));
}

float ParamStoreCells::GetFloat(int cell) const
{
    return std::bit_cast<float>(GetBits(cell));
}

void ParamStoreCells::SetFloat(int cell, float value)
{
    SetBits(cell, std::bit_cast<uint32_t>(value));
}

uint32_t ParamStoreCells::GetBits(int cell) const
{
    if (!IsCell(cell)) {
        return 0;
    }
    return cells_[static_cast<size_t>(cell - kFirstCell)].load(std::memory_order_relaxed);
}

void ParamStoreCells::SetBits(int cell, uint32_t bits)
{
    if (!IsCell(cell)) {
        return;
    }
    cells_[static_cast<size_t>(cell - kFirstCell)].store(bits, std::memory_order_relaxed);
}

void ParamStoreCells::ResetToDefaults()
{
    for (auto& c : cells_) {
        c.store(0, std::memory_order_relaxed);
    }
    SetFloat(PRM_ECHOA_TIME, 217.0f);
    SetFloat(PRM_ECHOB_TIME, 217.0f);
    SetInt(PRM_ECHOA_P19, 60);
    SetInt(PRM_ECHOB_P26, 60);
}

void ParamStoreCells::ExportBytes(int first, int count, std::span<uint8_t> out) const
{
    for (int i = 0; i < count; ++i) {
        const size_t at = static_cast<size_t>(i) * 4;
        if (at + 4 > out.size()) {
            return;
        }
        const uint32_t v = GetBits(first + i);
        for (size_t b = 0; b < 4; ++b) {
            out[at + b] = static_cast<uint8_t>(v >> (8 * b));
        }
    }
}

void ParamStoreCells::ImportBytes(int first, int count, std::span<const uint8_t> in)
{
    for (int i = 0; i < count; ++i) {
        const size_t at = static_cast<size_t>(i) * 4;
        if (at + 4 > in.size()) {
            return;
        }
        uint32_t v = 0;
        for (size_t b = 0; b < 4; ++b) {
            v |= static_cast<uint32_t>(in[at + b]) << (8 * b);
        }
        SetBits(first + i, v);
    }
}
