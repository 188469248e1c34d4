#include "pages/CompressPlotGeometry.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kSpanDb = kCompPlotMaxDb - kCompPlotMinDb;
}

CompPlotSquare CompPlotSquareOf(int panelWidth, int panelHeight)
{
    const int roomW = panelWidth - kCompPlotLeftMargin - kCompPlotRightMargin;
    const int roomH = panelHeight - kCompPlotTopMargin - kCompPlotBottomMargin;
    CompPlotSquare s;
    s.side = std::max(1, std::min(roomW, roomH));
    s.left = kCompPlotLeftMargin + std::max(0.0, (roomW - s.side) / 2.0);
    s.top = kCompPlotTopMargin + std::max(0.0, (roomH - s.side) / 2.0);
    return s;
}

double CompPlotX(const CompPlotSquare& square, double db)
{
    return square.left + (db - kCompPlotMinDb) / kSpanDb * square.side;
}

double CompPlotY(const CompPlotSquare& square, double db)
{
    return square.top + (kCompPlotMaxDb - db) / kSpanDb * square.side;
}

double CompCurveOutput(double inputDb, double thresholdDb, double slope)
{
    return inputDb <= thresholdDb ? inputDb : thresholdDb + (inputDb - thresholdDb) * slope;
}

double CompPlotThreshold(double thresholdDb)
{
    if (!std::isfinite(thresholdDb)) {
        return 0.0;
    }
    return std::clamp(thresholdDb, kCompPlotMinDb, kCompPlotMaxDb);
}

double CompPlotSlope(double slope)
{
    if (!std::isfinite(slope)) {
        return 1.0;
    }
    return std::clamp(slope, 0.0, 1.0);
}
