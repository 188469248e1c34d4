#include "link/emulator/LevelGenerator.h"

#include <algorithm>
#include <cmath>

LevelGenerator::LevelGenerator(uint64_t seed) : state_(seed ^ 0x9E3779B97F4A7C15ULL) {}

uint64_t LevelGenerator::Random()
{
    // splitmix64: small, fast and the same on every platform.
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double LevelGenerator::Uniform()
{
    return static_cast<double>(Random() >> 11) / 9007199254740992.0; // 2^53
}

std::array<uint8_t, 10> LevelGenerator::Next(const Inputs& inputs)
{
    ++tick_;
    if (--phraseLeft_ <= 0) { // a new phrase: louder or quieter for a while
        phrase_ = 0.45 + 0.5 * Uniform();
        phraseLeft_ = 8 + static_cast<int>(Random() % 24);
    }
    if (singLeft_ == 0) {
        singLeft_ = (Uniform() < 0.6 ? 1 : -1) * (3 + static_cast<int>(Random() % 15));
    }
    const bool singing = singLeft_ > 0;
    singLeft_ += singing ? -1 : 1;

    const bool beat = tick_ % 2 == 0;
    const double music = phrase_ * (beat ? 1.0 : 0.82);
    std::array<double, 10> target{};
    auto stereo = [&](size_t left, bool on) {
        for (size_t ch = left; ch < left + 2; ++ch) {
            target[ch] = on ? music * (0.85 + 0.15 * Uniform()) : 0.01 * Uniform();
        }
    };
    stereo(0, inputs.spdif);
    stereo(6, inputs.aux1);
    stereo(8, inputs.aux2);
    const double voice = singing ? 0.5 + 0.45 * Uniform() : 0.02 * Uniform();
    target[2] = voice;
    target[3] = singing && Uniform() < 0.3 ? voice * 0.7 : 0.02 * Uniform(); // a duet now and then
    target[4] = 0.01 * Uniform();
    target[5] = 0.01 * Uniform();

    std::array<uint8_t, 10> out{};
    for (size_t i = 0; i < out.size(); ++i) {
        // Meters rise at once and fall back over a few polls, like a peak-reading input.
        shown_[i] = std::max(target[i], shown_[i] * 0.6);
        out[i] =
            static_cast<uint8_t>(std::lround(std::clamp(shown_[i], 0.0, 1.0) * kLevelFullScale));
    }
    // The level of the digital stream; 0 (no stream) while another input is selected.
    musicDb_ = 0;
    if (inputs.spdif) {
        const double v = std::max(shown_[0], shown_[1]);
        const double db = v > 0.001 ? 20.0 * std::log10(v) : -60.0;
        musicDb_ = static_cast<int8_t>(std::clamp(std::lround(db), -60L, -1L));
    }
    return out;
}
