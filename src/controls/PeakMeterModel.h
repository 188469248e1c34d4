#pragma once
// The values behind a level meter: per band a level, a peak and a hold counter, the rules by
// which they fall at every timer tick, and the segment layout and colours. Plain C++ so the
// rules can be checked tick by tick without a timer.
//
// Tick: step = range / segments (range * 10 / 100 with fewer than 2 segments); a level above 0
// falls by step; a peak whose hold counter is 0 or 1 falls by step / 2 (5 with fewer than 2
// segments); then a positive hold counter counts down. A new peak therefore holds for nine
// ticks and starts to fall at the tenth. Steps are at least 1, so a meter with more segments
// than its range still falls to zero. The tick reports that the timer may stop when every
// level was already 0, every hold counter was 0 and no peak fell.

#include <span>
#include <vector>

struct PeakMeterBand
{
    int level = 0;
    int peak = 0;
    int hold = 0;
};

enum class PeakSegmentColor
{
    Green,
    Yellow,
    Red
};

class PeakMeterModel
{
public:
    static constexpr int kDefaultRange = 230;
    static constexpr int kDefaultGreenLimit = 180;
    static constexpr int kDefaultYellowLimit = 200;
    static constexpr int kDefaultBands = 8;
    static constexpr int kDefaultSegments = 8;
    static constexpr int kDefaultHoldTicks = 10;
    static constexpr int kMaxBands = 256;

    PeakMeterModel();

    // Each resets the bands (see Reset). Bands are limited to 1..kMaxBands, segments to 0 or
    // more (1 or less draws 23 segments).
    void SetBandCount(int bands);
    void SetSegmentCount(int segments);
    int BandCount() const { return static_cast<int>(bands_.size()); }
    int SegmentCount() const { return segments_; }

    // The largest value (at least 1) and the colour limits; values above the range count as
    // the range.
    void SetRange(int range);
    void SetLimits(int greenLimit, int yellowLimit);
    int Range() const { return range_; }
    void SetHoldTicks(int ticks) { holdTicks_ = ticks < 0 ? 0 : ticks; }
    int HoldTicks() const { return holdTicks_; }

    // Every band at full scale with a fresh hold, so a new meter falls from the top.
    void Reset();

    // Values for bands firstBand, firstBand+1, ...; each is limited to 0..range and becomes the
    // band's level, and a value above the band's peak becomes the peak with a fresh hold.
    // Bands that do not exist are skipped.
    void SetData(std::span<const int> values, int firstBand = 0);

    // One timer period. Returns false when the timer may stop.
    bool Tick();

    int LevelStep() const;
    int PeakStep() const;

    // Layout: the number of segments drawn, how many of a band are lit, and the colour of
    // segment i counted from the low end.
    int DrawnSegments() const { return segments_ <= 1 ? 23 : segments_; }
    int LitSegments(int band) const;
    PeakSegmentColor ColorOf(int segment) const;

    const std::vector<PeakMeterBand>& Bands() const { return bands_; }

private:
    int range_ = kDefaultRange;
    int greenLimit_ = kDefaultGreenLimit;
    int yellowLimit_ = kDefaultYellowLimit;
    int segments_ = kDefaultSegments;
    int holdTicks_ = kDefaultHoldTicks;
    std::vector<PeakMeterBand> bands_;
};
