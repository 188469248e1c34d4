#include "eq/CardinalSpline.h"

#include "eq/CardinalPath.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
SplinePoint Bezier(const SplinePoint& p, const BezierSegment& s, double u)
{
    const double v = 1.0 - u;
    const double a = v * v * v, b = 3 * v * v * u, c = 3 * v * u * u, d = u * u * u;
    return {a * p.x + b * s.c1.x + c * s.c2.x + d * s.end.x,
            a * p.y + b * s.c1.y + c * s.c2.y + d * s.end.y};
}

// The Catmull-Rom spline, which is the cardinal spline of tension scale 0.5.
SplinePoint CatmullRom(const SplinePoint& p0, const SplinePoint& p1, const SplinePoint& p2,
                       const SplinePoint& p3, double u)
{
    auto f = [u](double a, double b, double c, double d) {
        return 0.5 * (2 * b + (-a + c) * u + (2 * a - 5 * b + 4 * c - d) * u * u +
                      (-a + 3 * b - 3 * c + d) * u * u * u);
    };
    return {f(p0.x, p1.x, p2.x, p3.x), f(p0.y, p1.y, p2.y, p3.y)};
}

const std::vector<SplinePoint> kPts = {{0, 0}, {10, 30}, {25, -5}, {40, 12}, {55, 0}};
} // namespace

TEST(CardinalToBezier, ControlPointsFollowTheTangentRule)
{
    const double t = 0.1;
    const auto segs = CardinalToBezier(kPts, t, false);
    ASSERT_EQ(segs.size(), kPts.size() - 1);
    // Inner segment 1 -> 2 with neighbours 0 and 3.
    EXPECT_DOUBLE_EQ(segs[1].c1.x, 10 + (25 - 0) * t / 3);
    EXPECT_DOUBLE_EQ(segs[1].c1.y, 30 + (-5 - 0) * t / 3);
    EXPECT_DOUBLE_EQ(segs[1].c2.x, 25 - (40 - 10) * t / 3);
    EXPECT_DOUBLE_EQ(segs[1].c2.y, -5 - (12 - 30) * t / 3);
    // Open ends repeat the end point as the missing neighbour.
    EXPECT_DOUBLE_EQ(segs[0].c1.x, 0 + (10 - 0) * t / 3);
    EXPECT_DOUBLE_EQ(segs[3].c2.y, 0 - (0 - 12) * t / 3);
    for (size_t i = 0; i < segs.size(); ++i) {
        EXPECT_EQ(segs[i].end, kPts[i + 1]);
    }
}

TEST(CardinalToBezier, TensionHalfTracesTheCatmullRomSpline)
{
    const auto segs = CardinalToBezier(kPts, 0.5, false);
    SplinePoint start = kPts[1];
    for (double u : {0.25, 0.5, 0.75}) {
        const SplinePoint b = Bezier(start, segs[1], u);
        const SplinePoint c = CatmullRom(kPts[0], kPts[1], kPts[2], kPts[3], u);
        EXPECT_NEAR(b.x, c.x, 1e-12);
        EXPECT_NEAR(b.y, c.y, 1e-12);
    }
}

TEST(CardinalToBezier, ClosedCurveWrapsAround)
{
    const auto segs = CardinalToBezier(kPts, 0.5, true);
    ASSERT_EQ(segs.size(), kPts.size());
    // Last segment returns from point 4 to point 0, neighbours 3 and 1.
    EXPECT_EQ(segs[4].end, kPts[0]);
    EXPECT_DOUBLE_EQ(segs[4].c1.x, 55 + (0 - 40) * 0.5 / 3);
    EXPECT_DOUBLE_EQ(segs[4].c2.y, 0 - (30 - 0) * 0.5 / 3);
    // First segment takes point 4 as its left neighbour.
    EXPECT_DOUBLE_EQ(segs[0].c1.y, 0 + (30 - 0) * 0.5 / 3);
    EXPECT_DOUBLE_EQ(segs[0].c1.x, 0 + (10 - 55) * 0.5 / 3);
}

TEST(CardinalToBezier, ZeroTensionIsAPolyline)
{
    const auto segs = CardinalToBezier(kPts, 0.0, false);
    for (size_t i = 0; i < segs.size(); ++i) {
        EXPECT_EQ(segs[i].c1, kPts[i]);
        EXPECT_EQ(segs[i].c2, kPts[i + 1]);
    }
}

TEST(CardinalToBezier, TooFewPointsGiveNoSegments)
{
    EXPECT_TRUE(CardinalToBezier({}, 0.5, false).empty());
    EXPECT_TRUE(CardinalToBezier({{1, 2}}, 0.5, true).empty());
}

TEST(CardinalPath, PathHoldsOneCubicPerSegment)
{
    std::vector<QPointF> pts;
    for (const SplinePoint& p : kPts) {
        pts.emplace_back(p.x, p.y);
    }
    const QPainterPath open = CardinalPath(pts, 0.1, false);
    ASSERT_EQ(open.elementCount(), 1 + 3 * 4);
    EXPECT_EQ(open.elementAt(0).type, QPainterPath::MoveToElement);
    EXPECT_EQ(open.elementAt(1).type, QPainterPath::CurveToElement);
    EXPECT_DOUBLE_EQ(open.elementAt(1).x, 0 + 10 * 0.1 / 3);
    EXPECT_EQ(QPointF(open.elementAt(12).x, open.elementAt(12).y), QPointF(55, 0));
    const QPainterPath closed = CardinalPath(pts, 0.5, true);
    EXPECT_EQ(QPointF(closed.currentPosition()), QPointF(0, 0));
}
