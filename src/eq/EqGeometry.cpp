#include "eq/EqGeometry.h"

#include "dsp/Biquad.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

EqPlotRect EqPlotRectForClient(int width, int height)
{
    return EqPlotRect{36, 18, width - 6, height - 20};
}

double EqAxes::Span() const
{
    return std::log10(freqMax / freqMin);
}

double EqAxes::FreqToX(double freqHz) const
{
    return plot.left + plot.Width() * std::log10(freqHz / freqMin) / Span();
}

double EqAxes::GainToY(double gainDb) const
{
    return plot.top + (gainMax - gainDb) * plot.Height() / (gainMax - gainMin);
}

double EqAxes::OffsetToFreq(double xp) const
{
    const int w = plot.Width();
    if (w <= 0) {
        return freqMin;
    }
    return freqMin * std::pow(10.0, Span() * xp / w);
}

double EqAxes::OffsetToGain(double ypMinusGrab) const
{
    const int h = plot.Height();
    if (h <= 0) {
        return 0.0;
    }
    return SnapTenth(gainMax - ypMinusGrab / h * (gainMax - gainMin));
}

int EqAxes::SampleX(int i) const
{
    return plot.left + plot.Width() * i / kEqCurvePoints;
}

double SnapTenth(double value)
{
    const double shifted = value > 0.0 ? value + 0.05 : value - 0.05;
    // + 0.0 turns a truncated -0.0 into 0.0, so a snapped zero reads "+0.0dB".
    return std::trunc(shifted * 10.0) / 10.0 + 0.0;
}

const std::array<float, kEqCurvePoints>& EqDisplayFrequencies()
{
    static const std::array<float, kEqCurvePoints> table = [] {
        std::array<float, kEqCurvePoints> t{};
        const double span = std::log10(23000.0 / 18.0);
        for (int i = 0; i < kEqCurvePoints; ++i) {
            t[i] = static_cast<float>(18.0 * std::pow(10.0, (i / 512.0) * span));
        }
        return t;
    }();
    return table;
}

namespace {
// sin^2(pi f / fs) for every display frequency, shared by every band.
const std::array<double, kEqCurvePoints>& DisplayPhi()
{
    static const std::array<double, kEqCurvePoints> table = [] {
        std::array<double, kEqCurvePoints> t{};
        const auto& f = EqDisplayFrequencies();
        for (int i = 0; i < kEqCurvePoints; ++i) {
            const double s = std::sin(kPi * static_cast<double>(f[i]) / kSampleRate);
            t[i] = s * s;
        }
        return t;
    }();
    return table;
}
} // namespace

void ComputeBandCurve(int type, double gainDb, double freqHz, double q,
                      std::array<float, kEqCurvePoints>& out)
{
    const BiquadCoefs c = DesignBiquad(type, gainDb, freqHz, q);
    const double b0 = c.b0, b1 = c.b1, b2 = c.b2, a1 = c.a1, a2 = c.a2;
    const double nb = (b0 + b1 + b2) * (b0 + b1 + b2);
    const double nb1 = 4.0 * (b0 * b1 + 4.0 * b0 * b2 + b1 * b2);
    const double nb2 = 16.0 * b0 * b2;
    const double na = (1.0 + a1 + a2) * (1.0 + a1 + a2);
    const double na1 = 4.0 * (a1 + 4.0 * a2 + a1 * a2);
    const double na2 = 16.0 * a2;
    const auto& phi = DisplayPhi();
    for (int i = 0; i < kEqCurvePoints; ++i) {
        const double p = phi[i];
        const double num = nb - nb1 * p + nb2 * p * p;
        const double den = na - na1 * p + na2 * p * p;
        // Both polynomials are |.|^2 of the section's numerator and denominator, never negative
        // in exact arithmetic; the floor keeps rounding and deep stop bands from log10(0).
        // One logarithm of the ratio instead of two.
        out[i] = static_cast<float>(10.0 * std::log10(std::max(num, 1e-30) / std::max(den, 1e-30)));
    }
}

int PeqPeakIndex(double freqHz, int plotWidth)
{
    if (plotWidth <= 0 || !(freqHz > 0.0)) {
        return -1;
    }
    const double span = std::log10(23000.0 / 18.0);
    const double x = std::trunc(plotWidth * std::log10(freqHz / 18.0) / span);
    const double idx = std::trunc(x / (plotWidth / 512.0));
    return static_cast<int>(std::clamp(idx, 0.0, 511.0));
}

int InfoGainLevel(float gainDb)
{
    const double g = static_cast<double>(gainDb);
    if (g >= -6.0 && g <= 6.0) {
        return 0;
    }
    const double a = std::fabs(g);
    if (a > 6.0 && a < 10.1) {
        return 1;
    }
    return 2;
}

bool IsSlopeType(int type)
{
    return type == 2 || type == 3 || (type >= 6 && type <= 21);
}

bool HasUserGain(int type)
{
    return type == 1 || type == 4 || type == 5;
}

double MaxQForType(int type)
{
    return (type >= 2 && type <= 5) ? 2.0 : 30.0;
}

bool GainForcedZero(int type)
{
    return type == 2 || type == 3 || type > 5;
}

double ArrowKeyFrequency(double freqHz, bool up, bool ctrl)
{
    double step = 2.0;
    if (freqHz > 10000.0) {
        step = 100.0;
    } else if (freqHz > 1000.0) {
        step = 10.0;
    } else if (freqHz > 100.0) {
        step = 5.0;
    }
    if (ctrl) {
        step += 1.0;
    }
    return up ? freqHz + step : freqHz - step;
}

ValueLabelPos ValueLabelPlacement(double markerX, double markerY, int slot, float gain, int line,
                                  int valueChars)
{
    const int xc = static_cast<int>(std::lround(markerX - (slot + 1 >= 10 ? 7.0 : 4.0)));
    const int yc = static_cast<int>(std::lround(markerY - 4.0));
    const int half = (6 * valueChars + 12) / 2;
    ValueLabelPos p;
    p.captionX = xc - half + 1;
    p.valueX = xc - half + 13;
    p.y = gain < -0.01f ? yc - 42 + 9 * line : yc + 18 + 9 * line;
    return p;
}

int ValueLabelShift(const std::array<int, 3>& lefts, const std::array<int, 3>& rights,
                    const EqPlotRect& plot)
{
    constexpr int kInset = 2;
    const int left = *std::min_element(lefts.begin(), lefts.end());
    const int right = *std::max_element(rights.begin(), rights.end());
    if (left < plot.left + kInset) {
        return plot.left + kInset - left;
    }
    if (right > plot.right - kInset) {
        return std::max(plot.right - kInset - right, plot.left + kInset - left);
    }
    return 0;
}

std::string FormatFreqHz(double freqHz)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.0fHz", freqHz);
    return buf;
}

std::string FormatGainDb(double gainDb)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%+-.1fdB", gainDb);
    return buf;
}

std::string FormatQ(double q)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", q);
    return buf;
}

double SmallEqAxes::FreqToX(double freqHz) const
{
    return plot.left + (std::log10(freqHz) - 1.0) * plot.Width() / 3.4;
}

double SmallEqAxes::GainToY(double gainDb) const
{
    const double h = plot.Height();
    return plot.top + h / 2.0 - gainDb * h / 30.0;
}

double SmallEqAxes::YToGain(double y) const
{
    const double h = plot.Height();
    if (h <= 0.0) {
        return 0.0;
    }
    return (h / 2.0 - (y - plot.top)) / (h / 30.0);
}
