#pragma once
// Cardinal splines as cubic Bezier segments. A painter path has no cardinal spline, so each
// segment p1 -> p2 (neighbours p0, p3) becomes the cubic with control points
// p1 + (p2 - p0) * t / 3 and p2 - (p3 - p1) * t / 3, where t is the spline's tension scale
// (0.5 is the usual default; 0 gives straight lines). Open curves repeat their end points as
// the missing neighbours; closed curves wrap around.

#include <vector>

struct SplinePoint
{
    double x = 0.0;
    double y = 0.0;
    bool operator==(const SplinePoint&) const = default;
};

struct BezierSegment
{
    SplinePoint c1;
    SplinePoint c2;
    SplinePoint end;
};

// Segments of the curve through pts, starting at pts[0]. An open curve of n points has n - 1
// segments, a closed one n (the last returns to pts[0]). Fewer than two points: none.
std::vector<BezierSegment> CardinalToBezier(const std::vector<SplinePoint>& pts, double tension,
                                            bool closed);
