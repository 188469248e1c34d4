#include "eq/CardinalSpline.h"

#include <cstddef>

std::vector<BezierSegment> CardinalToBezier(const std::vector<SplinePoint>& pts, double tension,
                                            bool closed)
{
    std::vector<BezierSegment> out;
    const size_t n = pts.size();
    if (n < 2) {
        return out;
    }
    const double k = tension / 3.0;
    auto at = [&](ptrdiff_t i) -> const SplinePoint& {
        const auto sn = static_cast<ptrdiff_t>(n);
        if (closed) {
            return pts[static_cast<size_t>(((i % sn) + sn) % sn)];
        }
        if (i < 0) {
            return pts.front();
        }
        if (i >= sn) {
            return pts.back();
        }
        return pts[static_cast<size_t>(i)];
    };
    const size_t segments = closed ? n : n - 1;
    out.reserve(segments);
    for (size_t s = 0; s < segments; ++s) {
        const auto i = static_cast<ptrdiff_t>(s);
        const SplinePoint& p0 = at(i - 1);
        const SplinePoint& p1 = at(i);
        const SplinePoint& p2 = at(i + 1);
        const SplinePoint& p3 = at(i + 2);
        BezierSegment seg;
        seg.c1 = {p1.x + (p2.x - p0.x) * k, p1.y + (p2.y - p0.y) * k};
        seg.c2 = {p2.x - (p3.x - p1.x) * k, p2.y - (p3.y - p1.y) * k};
        seg.end = p2;
        out.push_back(seg);
    }
    return out;
}
