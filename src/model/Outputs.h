#pragma once
// The speaker outputs as the output page and the command-line tool edit them: each output's
// mix of the four sources, its SRS 3D width (Main, Rear and Top), its mute and its EQ bypass
// cell. Every setter clamps, stores and writes through the write map.

#include <array>

// Outputs by page kind: 5 Main, 4 Rear, 3 Center, 2 Sub, 11 Top.
enum OutputMixSource : int
{
    MIX_DIRECT = 0,
    MIX_REVERB = 1,
    MIX_ECHO = 2,
    MIX_MUSIC = 3,
};

struct OutputCells
{
    int pageKind;
    int block;              // DSP block of the output
    std::array<int, 4> mix; // direct, reverb, echo, music cells
    int surround;           // SRS 3D cell; 0 where the output has none
    int mute;               // mute cell (1 muted)
    int eqBypass;           // EQ bypass cell
    const char* name;       // "main", "rear", "center", "sub", "top"
};

// The five outputs in the navigation bar's order: Main, Center, Sub, Rear, Top.
const std::array<OutputCells, 5>& AllOutputs();
// nullptr for a page kind that is not an output.
const OutputCells* OutputOf(int pageKind);
// The output named "main", "rear", "center", "sub" or "top"; nullptr otherwise.
const OutputCells* OutputNamed(const char* name);

inline constexpr int kMixMax = 100;
inline constexpr int kSurroundMax = 50;
// The Sub's music mix cell holds three times the slider position.
inline constexpr int kSubMusicScale = 3;

// The slider position (0..100) of a mix; the Sub's music cell divided by 3. -1 for a bad
// output or source.
int OutputMixPosition(int pageKind, int source);
// Sets a mix from its slider position (clamped to 0..100): the cell takes the position (the
// Sub's music cell 3 times it) and the output's mix parameter is written with cell / 100.
// Returns false for a bad output or source.
bool SetOutputMix(int pageKind, int source, int position);

// SRS 3D: 0..50 stored; written as -value / 100 to parameter 30 of the output's block (two
// values) only from command set 7 on. False for an output without it.
bool SetOutputSurround(int pageKind, int value);
int OutputSurround(int pageKind);

// Mute: the cell takes 1 or 0 and the output's mute parameter is written with the pass value
// (0.0 muted, 1.0 sounding), two values on Main, Rear and Top, one on Center and Sub.
bool SetOutputMute(int pageKind, bool muted);
bool OutputMuted(int pageKind);
