#pragma once
// The compressor panel's plot: a square with the input level along x and the output level up
// y, both from -90 to +6 dB, and the static transfer curve drawn in it. Plain arithmetic,
// tested without a widget.

inline constexpr double kCompPlotMinDb = -90.0;
inline constexpr double kCompPlotMaxDb = 6.0;

// Room kept beside the square for the y labels (left) and below it for the x labels.
// The x labels take two lines, alternately, so that neighbours never run into each other.
inline constexpr int kCompPlotLeftMargin = 32;
inline constexpr int kCompPlotRightMargin = 8;
inline constexpr int kCompPlotTopMargin = 8;
inline constexpr int kCompPlotBottomMargin = 26;
inline constexpr int kCompPlotLabelPixels = 9;

struct CompPlotSquare
{
    double left = 0.0;
    double top = 0.0;
    double side = 1.0;
};

// The largest square that fits a panel of this size beside its labels, centred across the
// room left over (side at least one pixel).
CompPlotSquare CompPlotSquareOf(int panelWidth, int panelHeight);
// The x of an input level and the y of an output level (dB); -90 dB is the left and bottom
// edge, +6 dB the right and top edge.
double CompPlotX(const CompPlotSquare& square, double db);
double CompPlotY(const CompPlotSquare& square, double db);

// The output level of the static curve for an input level: unity up to the threshold, then a
// slope of 1 / ratio above it.
double CompCurveOutput(double inputDb, double thresholdDb, double slope);
// The threshold as drawn: held within the plot (-90..+6 dB); a non-finite one is 0 dB.
double CompPlotThreshold(double thresholdDb);
// The slope as drawn: held within 0..1 (a ratio below 1 is drawn as 1:1); non-finite is 1.
double CompPlotSlope(double slope);
