// The delay chart's geometry without a widget, and the chart's drag with the pointer.
#include "pages/CDelayPanel.h"
#include "pages/DelayChartGeometry.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {
TEST(DelayChartGeometry, MillisecondsAndPixelsBothWays)
{
    const DelayChartArea a = DelayChartAreaOf(96 + 530 + 36, 6 + 160 + 20);
    EXPECT_EQ(a.left, 96.0);
    EXPECT_EQ(a.width, 530.0);
    EXPECT_EQ(a.height, 160.0);
    EXPECT_DOUBLE_EQ(DelayChartX(a, 0.0), 96.0);
    EXPECT_DOUBLE_EQ(DelayChartX(a, 106.0), 96.0 + 530.0);
    EXPECT_DOUBLE_EQ(DelayChartX(a, 53.0), 96.0 + 265.0);
    for (double ms : {0.0, 1.5, 20.0, 57.3, 100.0, 106.0}) {
        EXPECT_NEAR(DelayChartMs(a, DelayChartX(a, ms)), ms, 1e-9);
    }
    // Rows evenly spaced: 160 / 8 = 20 pixels, centred in their band.
    EXPECT_DOUBLE_EQ(DelayChartRowY(a, 0), 16.0);
    EXPECT_DOUBLE_EQ(DelayChartRowY(a, 7), 156.0);
    // A chart too small for its margins keeps a plot of at least one pixel.
    EXPECT_EQ(DelayChartAreaOf(10, 10).width, 1.0);
    EXPECT_EQ(DelayChartAreaOf(10, 10).height, 1.0);
}

TEST(DelayChartGeometry, GrabWithinFifteenPixelsBothWays)
{
    const DelayChartArea a = DelayChartAreaOf(96 + 530 + 36, 6 + 320 + 20); // rows 40 apart
    std::array<float, kDelayChartRows> delays{};
    delays.fill(50.0f);
    delays[2] = 10.0f;
    const double x = DelayChartX(a, 10.0);
    const double y = DelayChartRowY(a, 2);
    struct Row
    {
        double dx, dy;
        int hit;
    };
    const Row rows[] = {{0, 0, 2},      {15, 0, 2},  {-15, 15, 2}, {15.5, 0, -1},
                        {0, -15.5, -1}, {0, 16, -1}, {-16, 0, -1}};
    for (const Row& r : rows) {
        EXPECT_EQ(DelayChartHit(a, delays, x + r.dx, y + r.dy), r.hit) << r.dx << "," << r.dy;
    }
    // Two markers in reach: the nearer one wins.
    const DelayChartArea tight = DelayChartAreaOf(96 + 530 + 36, 6 + 160 + 20); // 20 apart
    delays.fill(30.0f);
    const double mx = DelayChartX(tight, 30.0);
    const double between = (DelayChartRowY(tight, 3) + DelayChartRowY(tight, 4)) / 2.0;
    EXPECT_EQ(DelayChartHit(tight, delays, mx, between - 2.0), 3);
    EXPECT_EQ(DelayChartHit(tight, delays, mx, between + 2.0), 4);
}

TEST(DelayPanel, DragFollowsThePointerAndReportsLimitedDelays)
{
    CDelayPanel panel;
    panel.resize(96 + 530 + 36, 6 + 320 + 20);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    for (int ch = 0; ch < 8; ++ch) {
        panel.SetValue(ch, 20.0 + ch);
    }
    panel.SetValue(1, 500.0); // limited
    EXPECT_EQ(panel.Value(1), 100.0f);
    QSignalSpy dragged(&panel, &CDelayPanel::DelayDragged);

    // A press 20 pixels off the marker grabs nothing.
    const QPointF c = panel.MarkerCentre(5);
    QTest::mousePress(&panel, Qt::LeftButton, {}, (c + QPointF(20, 0)).toPoint());
    EXPECT_EQ(panel.DraggedRow(), -1);
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, (c + QPointF(20, 0)).toPoint());

    // Grabbed 5 pixels right of its centre, the marker keeps that distance to the pointer.
    const QPoint grab = (c + QPointF(5, 3)).toPoint();
    QTest::mousePress(&panel, Qt::LeftButton, {}, grab);
    EXPECT_EQ(panel.DraggedRow(), 5);
    const DelayChartArea a = panel.Area();
    const QPoint to(static_cast<int>(DelayChartX(a, 60.0)) + 5, grab.y() + 30);
    QMouseEvent move(QEvent::MouseMove, to, panel.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&panel, &move);
    ASSERT_EQ(dragged.count(), 1);
    EXPECT_EQ(dragged[0][0].toInt(), 5);
    EXPECT_NEAR(dragged[0][1].toFloat(), 60.0f, 0.15f);
    EXPECT_EQ(panel.Value(5), dragged[0][1].toFloat());
    EXPECT_EQ(panel.Value(4), 24.0f);

    // Past the left edge the delay stops at 1.5 ms.
    const QPoint far(2, grab.y());
    QMouseEvent left(QEvent::MouseMove, far, panel.mapToGlobal(far), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&panel, &left);
    EXPECT_EQ(dragged.last()[1].toFloat(), 1.5f);
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, far);
    EXPECT_EQ(panel.DraggedRow(), -1);

    // Without the button held nothing moves.
    const QPoint after(300, grab.y());
    QMouseEvent idle(QEvent::MouseMove, after, panel.mapToGlobal(after), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&panel, &idle);
    EXPECT_EQ(panel.Value(5), 1.5f);
}

TEST(DelayPanel, GridLayerIsDrawnOnceUntilResizedOrRelabelled)
{
    CDelayPanel panel;
    panel.resize(600, 260);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    panel.repaint();
    const int builds = panel.LayerBuilds();
    EXPECT_GE(builds, 1);
    panel.SetValue(3, 42.0);
    panel.repaint();
    panel.repaint();
    EXPECT_EQ(panel.LayerBuilds(), builds);
    panel.SetLanguage(1);
    panel.repaint();
    EXPECT_EQ(panel.LayerBuilds(), builds + 1);
    panel.resize(640, 260);
    panel.repaint();
    EXPECT_EQ(panel.LayerBuilds(), builds + 2);
}
} // namespace
