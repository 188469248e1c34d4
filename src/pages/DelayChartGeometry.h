#pragma once
// Where the delay chart draws: the plot area inside the chart, one row per channel spaced
// evenly down it, a time axis from 0 to 106 ms, and which marker a press grabs. Plain
// arithmetic, so it is tested without a widget.

#include <array>

inline constexpr int kDelayChartRows = 8;
inline constexpr double kDelayChartMaxMs = 106.0;
inline constexpr double kDelayChartTickMs = 20.0;
// A press within this many pixels of a marker's centre (horizontally and vertically) grabs it.
inline constexpr double kDelayGrabPixels = 15.0;

// Room kept around the plot area for the row names (left) and the axis labels (below).
inline constexpr int kDelayChartLeftMargin = 96;
inline constexpr int kDelayChartRightMargin = 36;
inline constexpr int kDelayChartTopMargin = 6;
inline constexpr int kDelayChartBottomMargin = 20;

struct DelayChartArea
{
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
};

// The plot area of a chart of this size (never narrower or lower than one pixel).
DelayChartArea DelayChartAreaOf(int chartWidth, int chartHeight);
// The x of a delay (ms) and the delay (ms, not limited) at an x.
double DelayChartX(const DelayChartArea& area, double ms);
double DelayChartMs(const DelayChartArea& area, double x);
// The centre line of row 0..7.
double DelayChartRowY(const DelayChartArea& area, int row);

// The row whose marker (at its delay on its row) lies within the grab distance of (x, y), the
// nearest one when several do; -1 when none does.
int DelayChartHit(const DelayChartArea& area, const std::array<float, kDelayChartRows>& delays,
                  double x, double y);
