#include "pages/DelayChartGeometry.h"

#include <algorithm>
#include <cmath>

DelayChartArea DelayChartAreaOf(int chartWidth, int chartHeight)
{
    DelayChartArea a;
    a.left = kDelayChartLeftMargin;
    a.top = kDelayChartTopMargin;
    a.width = std::max(1, chartWidth - kDelayChartLeftMargin - kDelayChartRightMargin);
    a.height = std::max(1, chartHeight - kDelayChartTopMargin - kDelayChartBottomMargin);
    return a;
}

double DelayChartX(const DelayChartArea& area, double ms)
{
    return area.left + ms / kDelayChartMaxMs * area.width;
}

double DelayChartMs(const DelayChartArea& area, double x)
{
    return (x - area.left) / area.width * kDelayChartMaxMs;
}

double DelayChartRowY(const DelayChartArea& area, int row)
{
    return area.top + (row + 0.5) * area.height / kDelayChartRows;
}

int DelayChartHit(const DelayChartArea& area, const std::array<float, kDelayChartRows>& delays,
                  double x, double y)
{
    int best = -1;
    double bestDistance = 0.0;
    for (int row = 0; row < kDelayChartRows; ++row) {
        const double dx = std::abs(x - DelayChartX(area, delays[static_cast<size_t>(row)]));
        const double dy = std::abs(y - DelayChartRowY(area, row));
        if (dx > kDelayGrabPixels || dy > kDelayGrabPixels) {
            continue;
        }
        const double distance = dx * dx + dy * dy;
        if (best < 0 || distance < bestDistance) {
            best = row;
            bestDistance = distance;
        }
    }
    return best;
}
