#pragma once
// The map from parameter store cells to the processor's DSP parameters: for every plain
// parameter its block, number, count of 32-bit words, cell and encoding. Parameters whose
// words are computed from several values (biquads, compressor blocks, delay-mode pairs,
// speaker and mic boost level blocks, the music pass with its fade) are sent by the DSP
// layer, not from this table.

#include <cstdint>
#include <span>

enum DspBlock : int
{
    DSP_MIC = 1,
    DSP_ECHO = 2,
    DSP_REVERB = 3,
    DSP_MUSIC = 4,
    DSP_MAIN = 5,
    DSP_REAR = 6,
    DSP_CENTER = 7,
    DSP_SUB = 8,
    DSP_TOP = 9,
};

enum class Encoding : uint8_t
{
    Pct,        // float(cell / 100)
    Div4,       // float(cell / 10 000)
    Div5,       // float(cell / 100 000)
    Div7,       // float(cell / 10 000 000)
    NegPct,     // float(-cell / 100)
    Int,        // 00 00 00, low byte
    On,         // 1.0 when the cell is 0
    Smp,        // ms (float cell, or integer cell 183) -> samples, full integer
    Float,      // the float cell unchanged
    ReverbTime, // float(cell / 100) of a float cell
    Pitch,      // integer cell + 5
    MicBoostOn, // integer 1 when the cell is 0
    ShiftOmega, // frequency shift omega from the shift cell (nothing while off)
    ShiftDelay, // frequency shift delay in samples (nothing while off)
};

struct ParamMapEntry
{
    int block;
    int param;
    int count; // copies of the one value
    int cell;
    Encoding encoding;
};

// Every plain parameter of the map, block by block.
std::span<const ParamMapEntry> ParamMap();
// The entry of (block, param), or nullptr when it is not a plain parameter.
const ParamMapEntry* FindParam(int block, int param);

// Sends the DSP parameter's current value from the store with its encoding and count.
// Returns false, sending nothing, when (block, param) is not a plain parameter of the map.
// Returns true for a plain parameter even when the report is dropped (no processor), and
// for the two frequency-shift words while the shift is off and the two music AGC words while
// the processor's command set is older than 9, where the rules send nothing.
bool SendParam(int block, int param);

// Sends what the frequency-shift rule sends for the stored shift of a channel
// (0 = A, 1 = B): off (1, or any value outside 1..8) stores 1 in the off flag and sends only
// the off parameter; otherwise stores 0 in the flag and sends off = 0, omega and the delay.
void SendFrequencyShift(int channel);
