#pragma once
// The levels the emulated processor reports in its status block: ten meter bytes that move
// like programme material (music with phrases and beats on the selected input, a singer on
// the first mic ports) and the level of the digital music stream in dB. Deterministic for a
// given seed.

#include <array>
#include <cstdint>

inline constexpr int kLevelFullScale = 230; // what the input page's meters show as full

class LevelGenerator
{
public:
    explicit LevelGenerator(uint64_t seed);

    // Which music inputs carry programme (SPDIF, Aux 1, Aux 2).
    struct Inputs
    {
        bool spdif = true;
        bool aux1 = false;
        bool aux2 = false;
    };
    // One status poll: bytes 0, 1 SPDIF L/R, 2..5 mic ports 1..4, 6, 7 Aux 1, 8, 9 Aux 2.
    std::array<uint8_t, 10> Next(const Inputs& inputs);
    // Level of the SPDIF stream at the last poll in dB (-60..-1), 0 when SPDIF is not selected
    // (the program shows its digital-stream label while this is non-zero).
    int8_t MusicLevelDb() const { return musicDb_; }

private:
    uint64_t Random();
    double Uniform(); // 0..1

    uint64_t state_;
    uint64_t tick_ = 0;
    double phrase_ = 0.6; // slowly varying loudness of the music
    int phraseLeft_ = 0;  // polls until the next phrase
    int singLeft_ = 0;    // polls of singing (positive) or of a pause (negative)
    std::array<double, 10> shown_{};
    int8_t musicDb_ = 0;
};
