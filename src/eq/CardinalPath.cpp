#include "eq/CardinalPath.h"

#include "eq/CardinalSpline.h"

#include <vector>

QPainterPath CardinalPath(std::span<const QPointF> pts, double tension, bool closed)
{
    QPainterPath path;
    if (pts.empty()) {
        return path;
    }
    std::vector<SplinePoint> sp;
    sp.reserve(pts.size());
    for (const QPointF& p : pts) {
        sp.push_back({p.x(), p.y()});
    }
    path.reserve(static_cast<int>(pts.size() * 3 + 2));
    path.moveTo(pts.front());
    for (const BezierSegment& s : CardinalToBezier(sp, tension, closed)) {
        path.cubicTo(s.c1.x, s.c1.y, s.c2.x, s.c2.y, s.end.x, s.end.y);
    }
    if (closed) {
        path.closeSubpath();
    }
    return path;
}
