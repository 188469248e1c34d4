#include "controls/PeakMeterModel.h"

#include <algorithm>

PeakMeterModel::PeakMeterModel()
{
    SetBandCount(kDefaultBands);
}

void PeakMeterModel::SetBandCount(int bands)
{
    bands_.assign(static_cast<std::size_t>(std::clamp(bands, 1, kMaxBands)), PeakMeterBand{});
    Reset();
}

void PeakMeterModel::SetSegmentCount(int segments)
{
    segments_ = std::max(segments, 0);
    Reset();
}

void PeakMeterModel::SetRange(int range)
{
    range_ = std::max(range, 1);
    for (PeakMeterBand& band : bands_) {
        band.level = std::min(band.level, range_);
        band.peak = std::min(band.peak, range_);
    }
}

void PeakMeterModel::SetLimits(int greenLimit, int yellowLimit)
{
    greenLimit_ = greenLimit;
    yellowLimit_ = yellowLimit;
}

void PeakMeterModel::Reset()
{
    for (PeakMeterBand& band : bands_)
        band = PeakMeterBand{range_, range_, holdTicks_};
}

void PeakMeterModel::SetData(std::span<const int> values, int firstBand)
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        const long long index = static_cast<long long>(firstBand) + static_cast<long long>(i);
        if (index < 0 || index >= static_cast<long long>(bands_.size()))
            continue;
        PeakMeterBand& band = bands_[static_cast<std::size_t>(index)];
        const int value = std::clamp(values[i], 0, range_);
        band.level = value;
        if (band.peak < value) {
            band.peak = value;
            band.hold = holdTicks_;
        }
    }
}

int PeakMeterModel::LevelStep() const
{
    const int step = segments_ >= 2 ? range_ / segments_ : range_ * 10 / 100;
    return std::max(step, 1);
}

int PeakMeterModel::PeakStep() const
{
    const int step = segments_ >= 2 ? LevelStep() / 2 : 5;
    return std::max(step, 1);
}

bool PeakMeterModel::Tick()
{
    const int step = LevelStep();
    const int peakStep = PeakStep();
    bool anyLevel = false;
    bool anyHold = false;
    bool anyPeakFell = false;
    for (PeakMeterBand& band : bands_) {
        if (band.level > 0) {
            anyLevel = true;
            band.level = std::max(band.level - step, 0);
        }
        if ((band.hold == 0 || band.hold == 1) && band.peak > 0) {
            anyPeakFell = true;
            band.peak = std::max(band.peak - peakStep, 0);
        }
        if (band.hold > 0) {
            anyHold = true;
            --band.hold;
        }
    }
    return anyLevel || anyHold || anyPeakFell;
}

int PeakMeterModel::LitSegments(int band) const
{
    if (band < 0 || band >= BandCount())
        return 0;
    const long long n = DrawnSegments();
    return static_cast<int>(n * bands_[static_cast<std::size_t>(band)].level / range_);
}

PeakSegmentColor PeakMeterModel::ColorOf(int segment) const
{
    const long long n = DrawnSegments();
    const long long green = n * greenLimit_ / range_;
    const long long yellow = n * yellowLimit_ / range_;
    if (segment < green)
        return PeakSegmentColor::Green;
    if (segment < yellow)
        return PeakSegmentColor::Yellow;
    return PeakSegmentColor::Red;
}
