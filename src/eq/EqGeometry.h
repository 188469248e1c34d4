#pragma once
// Pure geometry and response maths of the EQ curve panels: axis mappings, the display
// frequencies, a band's display response and the helpers of the value labels. No widget is
// needed, so every rule here is testable on its own.

#include <array>
#include <string>

// Number of display frequencies of the large panel.
inline constexpr int kEqCurvePoints = 512;

struct EqPlotRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// The large panel's plot inside a client area of width x height: margins 36, 18, 6, 20.
EqPlotRect EqPlotRectForClient(int width, int height);

// The axes of the large panel: logarithmic 18 Hz .. 23 kHz, linear -15 .. +15 dB.
struct EqAxes
{
    EqPlotRect plot;
    double freqMin = 18.0;
    double freqMax = 23000.0;
    double gainMin = -15.0;
    double gainMax = 15.0;

    double Span() const; // log10(freqMax / freqMin)
    // Client coordinates.
    double FreqToX(double freqHz) const;
    double GainToY(double gainDb) const;
    // Pointer offsets relative to the plot's left and top edges (the drag rules).
    double OffsetToFreq(double xp) const;
    // Gain for a pointer y offset minus the grab offset, snapped to 0.1 dB.
    double OffsetToGain(double ypMinusGrab) const;
    // x of display sample i: left + trunc(W * i / 512).
    int SampleX(int i) const;
};

// Rounds half away from zero to a tenth of a dB, the way the drag shows gains.
double SnapTenth(double value);

// The 512 display frequencies: 18 * 10^((i/512) * span), rounded to single precision.
const std::array<float, kEqCurvePoints>& EqDisplayFrequencies();

// The display response of one section (type code, gain, frequency, Q) at the 512 display
// frequencies, in dB, from the same DesignBiquad the writers send.
void ComputeBandCurve(int type, double gainDb, double freqHz, double q,
                      std::array<float, kEqCurvePoints>& out);

// Index of the sample that a PEQ band's peak overwrites, for a plot width W: the sample whose
// drawn x is at the band's frequency, or -1 when the plot has no width. Always 0..511 otherwise.
int PeqPeakIndex(double freqHz, int plotWidth);

// Colour class of the info line's gain: 0 green (-6..6), 1 yellow (6 < |g| < 10.1), 2 red.
int InfoGainLevel(float gainDb);

// Low-pass and high-pass section codes whose filled area reaches down to the plot bottom.
bool IsSlopeType(int type);
// Types whose gain the user may set: PEQ, LS and HS.
bool HasUserGain(int type);
// Q limits of a type: 0.1..30 for PEQ and every other code, 0.1..2 for LP, HP, LS and HS.
double MaxQForType(int type);
// Stored gain forced to 0 for LP, HP and every code above 5.
bool GainForcedZero(int type);

// Left/Right arrow frequency step: 100 Hz above 10 kHz, 10 above 1 kHz, 5 above 100 Hz,
// else 2; Ctrl adds 1 Hz. Returns the new frequency (not clamped).
double ArrowKeyFrequency(double freqHz, bool up, bool ctrl);

// Placement of one value label line ("F:", "G:", "Q:") next to a marker.
struct ValueLabelPos
{
    int captionX = 0;
    int valueX = 0;
    int y = 0;
};
// line 0..2; markerX/Y in client pixels; slot is the band's slot (its number is slot + 1).
ValueLabelPos ValueLabelPlacement(double markerX, double markerY, int slot, float gain, int line,
                                  int valueChars);

// How far to move the three lines of a marker's value labels sideways (all by the same
// amount) so that none starts left of the plot (over the dB scale) or ends right of it.
// lefts/rights: each line's leftmost and rightmost pixel as placed.
int ValueLabelShift(const std::array<int, 3>& lefts, const std::array<int, 3>& rights,
                    const EqPlotRect& plot);

// The three value texts: "%.0fHz", "%+-.1fdB", "%.2f".
std::string FormatFreqHz(double freqHz);
std::string FormatGainDb(double gainDb);
std::string FormatQ(double q);

// Axes of the small panel: logarithmic 10 Hz over 3.4 decades, -15..+15 dB.
struct SmallEqAxes
{
    EqPlotRect plot;
    double FreqToX(double freqHz) const;
    double GainToY(double gainDb) const;
    double YToGain(double y) const;
};
