#pragma once
// The DSP parameters the emulated processor holds: every (block, parameter, count) of its nine
// blocks, each with its value words (in the host's integer form; the wire carries them
// big-endian). Plain value type, copied whole when a mode is stored or loaded.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

inline constexpr int kDspBlockCount = 9;    // blocks 1..9
inline constexpr int kDspMaxParam = 70;     // highest parameter number (block 1)
inline constexpr size_t kDspMaxWords = 7;   // the compressor block
inline constexpr size_t kEqBiquadWords = 5; // -a1, -a2, b0, b1, b2

// Status byte of a refused parameter read or write.
inline constexpr uint8_t kParamStatusOk = 0x00;
inline constexpr uint8_t kParamStatusUnknown = 0x01;  // no such block or parameter
inline constexpr uint8_t kParamStatusBadCount = 0x02; // count 0 or more words than it has

class ParameterSet
{
public:
    // Every parameter at its factory value: volumes and mixes plausible, delays of at least
    // 1.5 ms, echo time 217 ms, compressor ratio 2 (bypassed), EQ biquads flat.
    static ParameterSet Factory();

    // Word count of (block, param), 0 when the processor has no such parameter.
    size_t Count(int block, int param) const;
    // Stores the first words.size() words (1..Count). Returns the status byte.
    uint8_t Write(int block, int param, std::span<const uint32_t> words);
    // Copies the first out.size() words (1..Count). Returns the status byte.
    uint8_t Read(int block, int param, std::span<uint32_t> out) const;
    // The first word, for callers that look at one value (0 when unknown).
    uint32_t Word(int block, int param, size_t index = 0) const;

    // Visits every existing parameter in block, then parameter order.
    template <typename F> void ForEach(F&& visit) const
    {
        for (int b = 1; b <= kDspBlockCount; ++b) {
            for (int p = 0; p <= kDspMaxParam; ++p) {
                const Slot& s = slots_[Index(b, p)];
                if (s.count != 0) {
                    visit(b, p, std::span<const uint32_t>(s.words.data(), s.count));
                }
            }
        }
    }

    bool operator==(const ParameterSet&) const = default;

private:
    struct Slot
    {
        uint8_t count = 0;
        std::array<uint32_t, kDspMaxWords> words{};
        bool operator==(const Slot&) const = default;
    };
    static size_t Index(int block, int param)
    {
        return static_cast<size_t>((block - 1) * (kDspMaxParam + 1) + param);
    }
    static bool InRange(int block, int param)
    {
        return block >= 1 && block <= kDspBlockCount && param >= 0 && param <= kDspMaxParam;
    }
    void Define(int block, int param, std::span<const uint32_t> words);
    friend class FactoryBuilder;

    std::array<Slot, static_cast<size_t>(kDspBlockCount*(kDspMaxParam + 1))> slots_{};
};
