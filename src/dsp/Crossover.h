#pragma once
// Crossovers of the Sub filter slots, the high-frequency delay splits of the delayed outputs
// and the music low-pass. The processor has no crossover block: each is a chain of biquad
// stages of an equaliser, designed with the fixed-shape type codes 6..21.

#include "model/EqBandRecord.h"

#include <array>

// ---- Sub filter slots -------------------------------------------------------------------

// The Sub equaliser's twenty stages form five slots of four: slot k is bands 4k..4k+3.
inline constexpr int kSubSlotCount = 5;
inline constexpr int kStagesPerSubSlot = 4;

// Stage type codes of one slot, first stage (the visible band) first.
using SubSlotStages = std::array<int, kStagesPerSubSlot>;

enum CrossoverSide : int
{
    CROSSOVER_LOW_PASS = 0,
    CROSSOVER_HIGH_PASS = 1,
};

// Kinds 0..10 are offered in the crossover drop-down (in this order); kind 11 is flat and
// has no label.
inline constexpr int kCrossoverKindCount = 12;
inline constexpr int kOfferedCrossoverKinds = 11;

struct CrossoverKind
{
    const char* label;           // drop-down text; "" for kind 11
    SubSlotStages lowPassStages; // the high-pass side adds 1 to every code except 1
};

extern const std::array<CrossoverKind, kCrossoverKindCount> CrossoverKindTable;

// The side follows the slot's current type: an even type (LP, 2) gives the low-pass side, an
// odd one (HP, and also PEQ) the high-pass side.
CrossoverSide CrossoverSideOfType(int currentType);

// Stage codes of a kind on a side. A kind outside 1..11 builds kind 0.
SubSlotStages CrossoverStages(int kind, CrossoverSide side);

// The label of a kind ("" for kind 11 and for numbers outside 0..11).
const char* CrossoverKindLabel(int kind);

// Stage codes for a plain user type on a Sub slot: OFF and PEQ 1,1,1,1; LP 18,20,1,1 (the
// Butterworth 24 dB low-pass); HP 19,21,1,1; LS 4,1,1,1; HS 5,1,1,1. Other types give
// 1,1,1,1.
SubSlotStages SubUserTypeStages(int userType);

// What a slot's four stage codes are. The lookup goes through the kind rows in table order,
// low-pass row then high-pass row of each kind (kinds 0..10), then the peaking, low-shelf and
// high-shelf rows; the first exact match wins.
struct SubSlotMatch
{
    bool found = false;
    int kind = -1;    // 0..10 for a crossover, -1 otherwise
    int side = -1;    // CrossoverSide for a crossover, -1 otherwise
    int userType = 0; // 1, 4 or 5 for the three plain rows, 0 otherwise
};
SubSlotMatch RecogniseSubSlot(const SubSlotStages& stages);

// The four stage codes stored for slot 0..4 in the band memory (all 0 for a bad slot).
SubSlotStages LoadSubSlotStages(int slot);

// Builds a crossover kind into a Sub slot: the side comes from the slot's current first-stage
// type, the four stages take the kind's codes, keep the first stage's frequency and Q and get
// gain 0; each stage is stored and written with the Sub member of SetEqBand. Returns false
// for a slot outside 0..4.
bool BuildSubCrossover(int slot, int kind);

// Sets a plain user type (SubUserTypeStages) on a Sub slot: all four stages at freqHz and q,
// the first with gainDb and the others with 0 dB. Returns false for a slot outside 0..4.
bool SetSubSlotType(int slot, int userType, double gainDb, int freqHz, double q);

// Writes a Sub slot's four stages as given (first the visible band, then the three hidden
// stages) to stages 4k..4k+3, each stored and written with the Sub member of SetEqBand.
// Returns false for a slot outside 0..4.
bool WriteSubSlot(int slot, const std::array<EqBand, kStagesPerSubSlot>& stages);

// ---- High-frequency delay split -----------------------------------------------------------

// The delayed output sides, grouped by DSP block (Main, Rear, Top, then Center and Sub). The
// delay page shows its rows in another order; DelaySideOfChannel (DelayControl.h) maps them.
enum DelaySide : int
{
    DELAY_MAIN_L = 0,
    DELAY_MAIN_R,
    DELAY_REAR_L,
    DELAY_REAR_R,
    DELAY_TOP_L,
    DELAY_TOP_R,
    DELAY_CENTER,
    DELAY_SUB,
    DELAY_SIDE_COUNT,
};

struct HfSplitStep
{
    int highPassHz; // first stage
    int lowPassHz;  // second stage
};

// 26 steps: step i is (500 + 100 i, 1000 + 100 i) Hz.
inline constexpr int kHfSplitStepCount = 26;
extern const std::array<HfSplitStep, kHfSplitStepCount> HfDelaySplitTable;

// The step whose high-pass frequency is freqHz; a frequency not in the table is step 0.
int HfSplitStepOf(int freqHz);

// Where a side's two split stages live: DSP block (= band memory equaliser) and first band.
struct DelaySplitStages
{
    int block = 0;
    int firstBand = 0;
};
DelaySplitStages DelaySplitOf(DelaySide side);

// The side's current step, found from its first stage's stored frequency.
int CurrentSplitStep(DelaySide side);

// Writes a side's two split stages for a step (clamped to 0..25): split mode gives type 3 at
// the step's first frequency and type 2 at its second, flat mode type 1 at both; always Q
// 0.707 and 0 dB. Each stage goes through the side's SetEqBand member.
void SetDelaySplit(DelaySide side, int step, bool flat);

// Rebuilds a side's split for a delay mode (0 high-frequency split, 1 whole channel) at the
// side's current step.
void RebuildDelaySplit(DelaySide side, int delayMode);

// ---- Music low-pass -----------------------------------------------------------------------

// Band 10 of the music equaliser: type 2 at freqHz, 0 dB, Q 0.707.
void SetMusicLowPass(int freqHz);
