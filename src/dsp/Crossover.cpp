#include "dsp/Crossover.h"

#include "dsp/EqBands.h"

#include <algorithm>

const std::array<CrossoverKind, kCrossoverKindCount> CrossoverKindTable = {{
    {"LinkwitzRiely 12dB", {10, 10, 1, 1}},
    {"LinkwitzRiely 24dB", {12, 12, 1, 1}},
    {"LinkwitzRiely 36dB", {14, 10, 14, 10}},
    {"LinkwitzRiely 48dB", {18, 20, 18, 20}},
    {"Bessel 12dB", {8, 1, 1, 1}},
    {"Bessel 18dB", {8, 10, 1, 1}},
    {"Bessel 24dB", {8, 8, 1, 1}},
    {"Butterworth 12dB", {12, 1, 1, 1}},
    {"Butterworth 18dB", {14, 10, 1, 1}},
    {"Butterworth 24dB", {18, 20, 1, 1}},
    {"Chebyshev 12dB", {6, 1, 1, 1}},
    {"", {1, 1, 1, 1}},
}};

const std::array<HfSplitStep, kHfSplitStepCount> HfDelaySplitTable = [] {
    std::array<HfSplitStep, kHfSplitStepCount> t{};
    for (int i = 0; i < kHfSplitStepCount; ++i) {
        t[static_cast<size_t>(i)] = HfSplitStep{500 + 100 * i, 1000 + 100 * i};
    }
    return t;
}();

namespace {
constexpr double kSplitQ = 0.707;
constexpr int kMusicLowPassBand = 10;

bool ValidSlot(int slot)
{
    return slot >= 0 && slot < kSubSlotCount;
}

// The SetEqBand member of the equaliser of a DSP block that has delay splits.
bool SetSplitBand(int block, int band, int type, int freqHz)
{
    switch (block) {
    case 5:
        return SetMainEqBand(band, type, 0.0, freqHz, kSplitQ);
    case 6:
        return SetRearEqBand(band, type, 0.0, freqHz, kSplitQ);
    case 7:
        return SetCenterEqBand(band, type, 0.0, freqHz, kSplitQ);
    case 8:
        return SetSubEqBand(band, type, 0.0, freqHz, kSplitQ);
    case 9:
        return SetTopEqBand(band, type, 0.0, freqHz, kSplitQ);
    default:
        return false;
    }
}
} // namespace

CrossoverSide CrossoverSideOfType(int currentType)
{
    return currentType % 2 == 0 ? CROSSOVER_LOW_PASS : CROSSOVER_HIGH_PASS;
}

SubSlotStages CrossoverStages(int kind, CrossoverSide side)
{
    const int k = (kind < 1 || kind > 11) ? 0 : kind;
    SubSlotStages stages = CrossoverKindTable[static_cast<size_t>(k)].lowPassStages;
    if (side == CROSSOVER_HIGH_PASS) {
        for (int& code : stages) {
            if (code != 1) {
                ++code;
            }
        }
    }
    return stages;
}

const char* CrossoverKindLabel(int kind)
{
    if (kind < 0 || kind >= kCrossoverKindCount) {
        return "";
    }
    return CrossoverKindTable[static_cast<size_t>(kind)].label;
}

SubSlotStages SubUserTypeStages(int userType)
{
    switch (userType) {
    case EQ_TYPE_LP:
        return {18, 20, 1, 1};
    case EQ_TYPE_HP:
        return {19, 21, 1, 1};
    case EQ_TYPE_LS:
        return {4, 1, 1, 1};
    case EQ_TYPE_HS:
        return {5, 1, 1, 1};
    default:
        return {1, 1, 1, 1};
    }
}

SubSlotMatch RecogniseSubSlot(const SubSlotStages& stages)
{
    SubSlotMatch m;
    for (int kind = 0; kind < kOfferedCrossoverKinds; ++kind) {
        for (CrossoverSide side : {CROSSOVER_LOW_PASS, CROSSOVER_HIGH_PASS}) {
            if (CrossoverStages(kind, side) == stages) {
                m.found = true;
                m.kind = kind;
                m.side = side;
                return m;
            }
        }
    }
    for (int userType : {EQ_TYPE_PEQ, EQ_TYPE_LS, EQ_TYPE_HS}) {
        if (SubUserTypeStages(userType) == stages) {
            m.found = true;
            m.userType = userType;
            return m;
        }
    }
    return m;
}

SubSlotStages LoadSubSlotStages(int slot)
{
    SubSlotStages stages{};
    if (!ValidSlot(slot)) {
        return stages;
    }
    for (int i = 0; i < kStagesPerSubSlot; ++i) {
        stages[static_cast<size_t>(i)] = LoadEqBand(8, kStagesPerSubSlot * slot + i).type;
    }
    return stages;
}

bool BuildSubCrossover(int slot, int kind)
{
    if (!ValidSlot(slot)) {
        return false;
    }
    const int first = kStagesPerSubSlot * slot;
    const EqBand current = LoadEqBand(8, first);
    const SubSlotStages stages = CrossoverStages(kind, CrossoverSideOfType(current.type));
    for (int i = 0; i < kStagesPerSubSlot; ++i) {
        SetSubEqBand(first + i, stages[static_cast<size_t>(i)], 0.0, current.freq, current.q);
    }
    return true;
}

bool SetSubSlotType(int slot, int userType, double gainDb, int freqHz, double q)
{
    if (!ValidSlot(slot)) {
        return false;
    }
    const int first = kStagesPerSubSlot * slot;
    const SubSlotStages stages = SubUserTypeStages(userType);
    for (int i = 0; i < kStagesPerSubSlot; ++i) {
        SetSubEqBand(first + i, stages[static_cast<size_t>(i)], i == 0 ? gainDb : 0.0, freqHz, q);
    }
    return true;
}

bool WriteSubSlot(int slot, const std::array<EqBand, kStagesPerSubSlot>& stages)
{
    if (!ValidSlot(slot)) {
        return false;
    }
    for (int i = 0; i < kStagesPerSubSlot; ++i) {
        const EqBand& b = stages[static_cast<size_t>(i)];
        SetSubEqBand(kStagesPerSubSlot * slot + i, b.type, b.gain, b.freq, b.q);
    }
    return true;
}

int HfSplitStepOf(int freqHz)
{
    for (int i = 0; i < kHfSplitStepCount; ++i) {
        if (HfDelaySplitTable[static_cast<size_t>(i)].highPassHz == freqHz) {
            return i;
        }
    }
    return 0;
}

DelaySplitStages DelaySplitOf(DelaySide side)
{
    switch (side) {
    case DELAY_MAIN_L:
        return {5, 10};
    case DELAY_MAIN_R:
        return {5, 12};
    case DELAY_REAR_L:
        return {6, 10};
    case DELAY_REAR_R:
        return {6, 12};
    case DELAY_TOP_L:
        return {9, 10};
    case DELAY_TOP_R:
        return {9, 12};
    case DELAY_CENTER:
        return {7, 10};
    case DELAY_SUB:
        return {8, 20};
    default:
        return {};
    }
}

int CurrentSplitStep(DelaySide side)
{
    const DelaySplitStages s = DelaySplitOf(side);
    if (s.block == 0) {
        return 0;
    }
    return HfSplitStepOf(LoadEqBand(s.block, s.firstBand).freq);
}

void SetDelaySplit(DelaySide side, int step, bool flat)
{
    const DelaySplitStages s = DelaySplitOf(side);
    if (s.block == 0) {
        return;
    }
    const HfSplitStep f =
        HfDelaySplitTable[static_cast<size_t>(std::clamp(step, 0, kHfSplitStepCount - 1))];
    SetSplitBand(s.block, s.firstBand, flat ? EQ_TYPE_PEQ : EQ_TYPE_HP, f.highPassHz);
    SetSplitBand(s.block, s.firstBand + 1, flat ? EQ_TYPE_PEQ : EQ_TYPE_LP, f.lowPassHz);
}

void RebuildDelaySplit(DelaySide side, int delayMode)
{
    SetDelaySplit(side, CurrentSplitStep(side), delayMode != 0);
}

void SetMusicLowPass(int freqHz)
{
    SetMusicEqBand(kMusicLowPassBand, EQ_TYPE_LP, 0.0, freqHz, kSplitQ);
}
