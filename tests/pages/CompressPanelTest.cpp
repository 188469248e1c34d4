// The compressor panel's plot mapping without a widget, and what makes the panel redraw.
#include "pages/CCompressPanelPlus.h"
#include "pages/CompressPlotGeometry.h"

#include <QTest>

#include <gtest/gtest.h>

#include <limits>

namespace {
TEST(CompressPlotGeometry, SquareFromMinusNinetyToPlusSix)
{
    // 32 + 192 + 8 wide, 8 + 192 + 26 high: a 192-pixel square, 2 pixels per dB.
    const CompPlotSquare s = CompPlotSquareOf(232, 226);
    EXPECT_EQ(s.side, 192.0);
    EXPECT_EQ(s.left, 32.0);
    EXPECT_EQ(s.top, 8.0);
    EXPECT_DOUBLE_EQ(CompPlotX(s, -90.0), 32.0);
    EXPECT_DOUBLE_EQ(CompPlotX(s, 6.0), 224.0);
    EXPECT_DOUBLE_EQ(CompPlotX(s, 0.0), 212.0);
    EXPECT_DOUBLE_EQ(CompPlotY(s, 6.0), 8.0);
    EXPECT_DOUBLE_EQ(CompPlotY(s, -90.0), 200.0);
    EXPECT_DOUBLE_EQ(CompPlotY(s, -10.0), 40.0);
    // A wide panel centres its square in the room beside the labels.
    const CompPlotSquare wide = CompPlotSquareOf(432, 226);
    EXPECT_EQ(wide.side, 192.0);
    EXPECT_EQ(wide.left, 132.0);
}

TEST(CompressPlotGeometry, StaticCurve)
{
    struct Row
    {
        double in, threshold, slope, out;
    };
    const Row rows[] = {{-50, -20, 0.25, -50}, {-20, -20, 0.25, -20}, {0, -20, 0.25, -15},
                        {6, -20, 0.25, -13.5}, {6, -20, 1.0, 6},      {6, 0, 0.5, 3}};
    for (const Row& r : rows) {
        EXPECT_DOUBLE_EQ(CompCurveOutput(r.in, r.threshold, r.slope), r.out) << r.in;
    }
    EXPECT_EQ(CompPlotThreshold(-120.0), -90.0);
    EXPECT_EQ(CompPlotThreshold(std::numeric_limits<double>::quiet_NaN()), 0.0);
    EXPECT_EQ(CompPlotSlope(1.0 / 0.0), 1.0); // a stored ratio of 0
    EXPECT_EQ(CompPlotSlope(2.0), 1.0);
    EXPECT_EQ(CompPlotSlope(0.25), 0.25);
}

TEST(CompressPanel, CurveRedrawsOnlyWhenAValueChanges)
{
    CCompressPanelPlus panel;
    panel.resize(200, 180);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    panel.repaint();
    const int grids = panel.GridBuilds();
    const int curves = panel.CurveBuilds();
    EXPECT_GE(grids, 1);
    EXPECT_GE(curves, 1);

    panel.repaint();
    panel.SetThreshold(panel.Threshold());
    panel.SetRatio(1.0f / panel.Slope());
    panel.SetWorking(panel.Working());
    panel.repaint();
    EXPECT_EQ(panel.CurveBuilds(), curves);

    panel.SetRatio(4.0f);
    EXPECT_EQ(panel.Slope(), 0.25f);
    panel.repaint();
    EXPECT_EQ(panel.CurveBuilds(), curves + 1);
    panel.SetThreshold(-30.0f);
    panel.repaint();
    panel.SetWorking(false);
    panel.repaint();
    EXPECT_EQ(panel.CurveBuilds(), curves + 3);
    EXPECT_EQ(panel.GridBuilds(), grids);
    panel.resize(220, 180);
    panel.repaint();
    EXPECT_EQ(panel.GridBuilds(), grids + 1);
}
} // namespace
