#include "dsp/EditableEqBands.h"

#include "dsp/Crossover.h"
#include "dsp/EqBands.h"
#include "model/DeviceMemory.h"

namespace {
EqBand BandAt(int byteOffset)
{
    EqBandRecord record{};
    DeviceImage.Read(static_cast<size_t>(byteOffset), record);
    return DecodeEqBand(record);
}
} // namespace

std::vector<EqBand> ReadEditableEqBands(int pageKind)
{
    const int count = EqEditableBandCount(pageKind);
    const int start = EqRegionStart(pageKind);
    std::vector<EqBand> bands;
    if (count <= 0 || start < 0) {
        return bands;
    }
    const int stride = pageKind == EQ_KIND_SUB ? kStagesPerSubSlot : 1;
    for (int i = 0; i < count; ++i) {
        bands.push_back(BandAt(start + kBandRecordSize * stride * i));
    }
    return bands;
}

bool WriteEditableEqBands(int pageKind, const std::vector<EqBand>& bands)
{
    const int count = EqEditableBandCount(pageKind);
    if (count <= 0 || static_cast<int>(bands.size()) > count) {
        return false;
    }
    for (size_t i = 0; i < bands.size(); ++i) {
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
