#include "link/emulator/ParameterSet.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <initializer_list>
#include <vector>

namespace {
uint32_t F(double value)
{
    return std::bit_cast<uint32_t>(static_cast<float>(value));
}
uint32_t I(int value)
{
    return static_cast<uint32_t>(value);
}
// Percent cell to its DSP word.
uint32_t Pct(int cell)
{
    return F(cell / 100.0);
}
// Milliseconds to whole samples at 48 kHz.
uint32_t Smp(double ms)
{
    return I(static_cast<int>(std::trunc(ms * 48000.0 / 1000.0 + 0.5)));
}
uint32_t Smoothing(double ms)
{
    return F(1.0 - std::exp(-1.0 / (ms * 48.0)));
}
} // namespace

class FactoryBuilder
{
public:
    explicit FactoryBuilder(ParameterSet& set) : set_(set) {}

    // One parameter; a single word given for a wider parameter fills every word.
    void Def(int block, int param, size_t count, std::initializer_list<uint32_t> words)
    {
        std::vector<uint32_t> w(words);
        if (w.size() == 1 && count > 1) {
            w.assign(count, w[0]);
        }
        w.resize(count, 0);
        set_.Define(block, param, w);
    }
    void Range(int block, int first, int last, size_t count, std::initializer_list<uint32_t> words)
    {
        for (int p = first; p <= last; ++p) {
            Def(block, p, count, words);
        }
    }
    // Flat biquads (pass-through) for parameters 0..last.
    void Biquads(int block, int last)
    {
        Range(block, 0, last, kEqBiquadWords, {F(0.0), F(0.0), F(1.0), F(0.0), F(0.0)});
    }
    // Six-word level block [g, s, k1, k2, g, s] for 0 dB.
    void Level0dB(int block, int param, uint32_t k1, uint32_t k2)
    {
        Def(block, param, 6, {F(1.0), F(1.0), k1, k2, F(1.0), F(1.0)});
    }
    // Compressor: threshold, 0, 1 - 1/ratio, 20, 0.05, attack, release.
    void Compressor(int block, int param)
    {
        Def(block, param, 7,
            {F(-10.0), F(0.0), F(1.0 - 1.0 / 2.0), F(20.0), F(0.05), Smoothing(10.0),
             Smoothing(100.0)});
    }

private:
    ParameterSet& set_;
};

namespace {
constexpr uint32_t kSpeakerK1 = 0x3F7EFF25;
constexpr uint32_t kSpeakerK2 = 0xBFFF7EF1;
constexpr uint32_t kBoostK1 = 0x3F7D554A;
constexpr uint32_t kBoostK2 = 0xBFFEA8DC;
constexpr double kTwoPi = 6.283185307179586;

void MicBlock(FactoryBuilder& b)
{
    b.Biquads(1, 19);
    // Channel A (20..32) and B (33..45) share a layout; ports 1, 2 feed A and 3, 4 feed B.
    for (int base : {20, 33}) {
        const bool a = base == 20;
        b.Def(1, base, 1, {Pct(80)});
        b.Def(1, base + 3, 1, {Pct(a ? 100 : 0)});
        b.Def(1, base + 4, 1, {Pct(a ? 100 : 0)});
        b.Def(1, base + 5, 1, {Pct(a ? 0 : 100)});
        b.Def(1, base + 6, 1, {Pct(a ? 0 : 100)});
        b.Def(1, base + 7, 1, {I(0)});                      // EQ bypass
        b.Def(1, base + 8, 1, {F(1.0 * kTwoPi / 48000.0)}); // shift omega (1 Hz)
        b.Def(1, base + 9, 1, {Smp(1000.0 / 4.0 - 25.0)});  // shift delay
        b.Def(1, base + 10, 1, {I(1)});                     // shift off
        b.Def(1, base + 11, 1, {I(1)});                     // phase normal
        b.Def(1, base + 12, 1, {F(1.0)});                   // pass
    }
    b.Range(1, 46, 49, 1, {Pct(75)});  // port volumes
    b.Range(1, 50, 53, 1, {F(0.001)}); // noise gates (10 / 10000)
    b.Def(1, 54, 1, {F(51 / 100000.0)});
    b.Def(1, 55, 1, {F(51 / 10000000.0)});
    b.Def(1, 57, 1, {I(0)});
    b.Def(1, 58, 1, {Pct(50)});
    for (int base : {63, 67}) { // mic boost at 0 dB, switched off
        b.Def(1, base, 1, {F(1.0)});
        b.Def(1, base + 1, 1, {F(1.0)});
        b.Def(1, base + 2, 1, {I(1)});
        b.Level0dB(1, base + 3, kBoostK1, kBoostK2);
    }
}

void EchoReverbBlocks(FactoryBuilder& b)
{
    b.Biquads(2, 13);
    for (int base : {14, 21}) {
        b.Def(2, base, 1, {I(0)});
        b.Def(2, base + 1, 1, {Pct(50)});
        b.Def(2, base + 2, 1, {Smp(10.0)});
        b.Def(2, base + 3, 1, {Smp(10.0)});
        b.Def(2, base + 4, 1, {Smp(217.0)});
        b.Def(2, base + 5, 1, {Pct(60)});
        b.Def(2, base + 6, 1, {F(-0.4)});
    }
    b.Def(2, 28, 2, {Pct(70)});
    b.Def(2, 29, 2, {F(1.0)});

    b.Biquads(3, 13);
    for (int base : {14, 20}) {
        b.Def(3, base, 1, {I(0)});
        b.Def(3, base + 1, 1, {Pct(40)});
        b.Def(3, base + 2, 1, {Smp(10.0)});
        b.Def(3, base + 3, 1, {Smp(10.0)});
        b.Def(3, base + 4, 1, {F(0.40)});
        b.Def(3, base + 5, 1, {F(0.40)});
    }
    b.Def(3, 26, 2, {Pct(60)});
    b.Def(3, 27, 2, {F(1.0)});
}

void MusicBlock(FactoryBuilder& b)
{
    b.Biquads(4, 10);
    b.Def(4, 11, 6, {Pct(70)});
    b.Range(4, 12, 14, 2, {Pct(100)});
    b.Def(4, 15, 2, {F(1.0)});
    b.Def(4, 16, 1, {I(0)});
    b.Def(4, 17, 1, {I(0)});
    b.Def(4, 18, 1, {F(-10.0)});
    b.Def(4, 19, 1, {I(5)});     // pitch 0
    b.Def(4, 21, 1, {Pct(100)}); // SPDIF selected
    b.Def(4, 22, 1, {Pct(0)});
    b.Def(4, 23, 1, {Pct(0)});
    b.Def(4, 24, 1, {F(0.001)});
    b.Def(4, 25, 1, {F(51 / 100000.0)});
    b.Def(4, 26, 1, {F(51 / 10000000.0)});
    b.Def(4, 30, 1, {Smp(5.0)});
    b.Def(4, 31, 1, {Pct(50)});
}

void OutputBlocks(FactoryBuilder& b)
{
    // Main, Rear, Top: biquads 0..13, mixes 14..17 and the rest from 18.
    const struct
    {
        int block;
        int mix;
        double delayMs;
    } outs[3] = {{5, 100, 1.5}, {6, 80, 10.0}, {9, 60, 5.0}};
    for (const auto& o : outs) {
        b.Biquads(o.block, 13);
        b.Range(o.block, 14, 17, 1, {Pct(o.mix)});
        b.Def(o.block, 18, 1, {I(0)});
        b.Compressor(o.block, 19);
        b.Def(o.block, 20, 1, {I(1)});
        b.Range(o.block, 21, 22, 1, {Smp(o.delayMs)});
        b.Range(o.block, 23, 24, 1, {I(0)});
        b.Range(o.block, 25, 26, 2, {F(1.0)});
        b.Def(o.block, 27, 2, {F(1.0)});
        b.Level0dB(o.block, 28, kSpeakerK1, kSpeakerK2);
        b.Level0dB(o.block, 29, kSpeakerK1, kSpeakerK2);
        b.Def(o.block, 30, 2, {F(0.0)});
    }

    b.Biquads(7, 11); // Center
    b.Range(7, 12, 15, 1, {Pct(90)});
    b.Def(7, 16, 1, {I(0)});
    b.Compressor(7, 17);
    b.Def(7, 18, 1, {I(1)});
    b.Def(7, 19, 1, {Smp(2.0)});
    b.Def(7, 20, 1, {I(0)});
    b.Def(7, 21, 2, {F(1.0)});
    b.Def(7, 22, 1, {F(1.0)});
    b.Level0dB(7, 23, kSpeakerK1, kSpeakerK2);

    b.Biquads(8, 21); // Sub
    b.Range(8, 22, 25, 1, {Pct(100)});
    b.Def(8, 26, 1, {I(0)});
    b.Compressor(8, 27);
    b.Def(8, 28, 1, {I(1)});
    b.Def(8, 29, 1, {Smp(3.0)});
    b.Def(8, 30, 1, {I(0)});
    b.Def(8, 31, 2, {F(1.0)});
    b.Def(8, 32, 1, {F(1.0)});
    b.Level0dB(8, 33, kSpeakerK1, kSpeakerK2);
}
} // namespace

ParameterSet ParameterSet::Factory()
{
    ParameterSet set;
    FactoryBuilder b(set);
    MicBlock(b);
    EchoReverbBlocks(b);
    MusicBlock(b);
    OutputBlocks(b);
    return set;
}

void ParameterSet::Define(int block, int param, std::span<const uint32_t> words)
{
    if (!InRange(block, param) || words.empty() || words.size() > kDspMaxWords) {
        return;
    }
    Slot& s = slots_[Index(block, param)];
    s.count = static_cast<uint8_t>(words.size());
    std::copy(words.begin(), words.end(), s.words.begin());
}

size_t ParameterSet::Count(int block, int param) const
{
    return InRange(block, param) ? slots_[Index(block, param)].count : 0;
}

uint8_t ParameterSet::Write(int block, int param, std::span<const uint32_t> words)
{
    const size_t n = Count(block, param);
    if (n == 0) {
        return kParamStatusUnknown;
    }
    if (words.empty() || words.size() > n) {
        return kParamStatusBadCount;
    }
    std::copy(words.begin(), words.end(), slots_[Index(block, param)].words.begin());
    return kParamStatusOk;
}

uint8_t ParameterSet::Read(int block, int param, std::span<uint32_t> out) const
{
    const size_t n = Count(block, param);
    if (n == 0) {
        return kParamStatusUnknown;
    }
    if (out.empty() || out.size() > n) {
        return kParamStatusBadCount;
    }
    const Slot& s = slots_[Index(block, param)];
    std::copy_n(s.words.begin(), out.size(), out.begin());
    return kParamStatusOk;
}

uint32_t ParameterSet::Word(int block, int param, size_t index) const
{
    if (index >= Count(block, param)) {
        return 0;
    }
    return slots_[Index(block, param)].words[index];
}
