#include "dsp/EditableEqBands.h"

#include "dsp/Crossover.h"
#include "dsp/EqBands.h"

#include <cstddef>

std::vector<EqBand> ReadEditableEqBands(int pageKind)
{
    const int count = EqEditableBandCount(pageKind);
    std::vector<EqBand> bands;
    // On the Sub a slot is shown by its first stage.
    const int stride = pageKind == EQ_KIND_SUB ? kStagesPerSubSlot : 1;
    for (int i = 0; i < count; ++i) {
        bands.push_back(LoadKindBand(pageKind, stride * i));
    }
    return bands;
}

bool WriteEditableEqBands(int pageKind, const std::vector<EqBand>& bands)
{
    const int count = EqEditableBandCount(pageKind);
    if (count <= 0 || static_cast<int>(bands.size()) > count) {
        return false;
    }
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const EqBand& b = bands[i];
        const int band = static_cast<int>(i);
        if (pageKind == EQ_KIND_SUB) {
            SetSubSlotType(band, b.type, b.gain, b.freq, b.q);
        } else {
            SetEqBand(pageKind, band, b.type, b.gain, b.freq, b.q);
        }
    }
    return true;
}
