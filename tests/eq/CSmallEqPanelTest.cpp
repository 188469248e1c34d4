#include "eq/CSmallEqPanel.h"

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
class SmallPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        panel.resize(172, 84);
        panel.show(); // a hidden widget gets its resize event only when shown
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    }
    CSmallEqPanel panel;
};
} // namespace

TEST_F(SmallPanelTest, FlatBandsDrawTheZeroLine)
{
    const double zeroY = panel.Axes().GainToY(0.0);
    for (const QPointF& p : panel.Curve()) {
        EXPECT_DOUBLE_EQ(p.y(), zeroY);
    }
    const EqPlotRect r = panel.Axes().plot;
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.bottom, 82);
    EXPECT_DOUBLE_EQ(panel.Curve()[0].x(), 2.0);
    EXPECT_DOUBLE_EQ(panel.Curve()[28].x(), 2.0 + 28 * 168.0 / 56);
}

TEST_F(SmallPanelTest, PeakNearTheBandFrequency)
{
    panel.SetSmallBandGain(5, 12.0); // band 6 is 1000 Hz
    int best = 0;
    for (int u = 0; u < kSmallEqPoints; ++u) {
        if (panel.SumDb(u) > panel.SumDb(best)) {
            best = u;
        }
    }
    EXPECT_NEAR(panel.SumDb(best), 12.0, 1.0);
    const EqPlotRect r = panel.Axes().plot;
    EXPECT_NEAR(panel.Curve()[static_cast<size_t>(best)].x(), r.left + 2.0 * r.Width() / 3.4,
                r.Width() / 56.0 * 1.5);
}

TEST_F(SmallPanelTest, SumAddsEveryBandRoundedToTenths)
{
    panel.SetSmallBandGain(0, 4.37);
    panel.SetSmallBandGain(1, -2.21);
    panel.SetSmallBandGain(6, 7.0);
    for (int u = 0; u < kSmallEqPoints; ++u) {
        double want = 0.0;
        for (int b = 0; b < kSmallEqBands; ++b) {
            const double db = panel.Axes().YToGain(
                static_cast<double>(panel.Band(b).pointY[static_cast<size_t>(u)]));
            want += std::trunc(db * 10.0 + 0.5) / 10.0;
        }
        EXPECT_NEAR(panel.SumDb(u), want, 1e-9);
        const double tenths = panel.SumDb(u) * 10.0;
        EXPECT_NEAR(tenths, std::round(tenths), 1e-6);
    }
}

TEST_F(SmallPanelTest, FrequencyAndGainSetters)
{
    panel.SetSmallBandFreq(2, 0.0);
    EXPECT_EQ(panel.Band(2).freq, 125.0f);
    panel.SetSmallBandFreq(2, 30000.0);
    EXPECT_EQ(panel.Band(2).freq, 20000.0f);
    panel.SetSmallBandFreq(2, 5.0);
    EXPECT_EQ(panel.Band(2).freq, 20.0f);
    panel.Band(3).type = 2; // no forcing by type here
    panel.SetSmallBandGain(3, 20.0);
    EXPECT_EQ(panel.Band(3).gain, 15.0f);
}

TEST_F(SmallPanelTest, OffBandLeavesTheCurveAsIfAbsent)
{
    panel.SetSmallBandGain(1, 5.0);
    std::array<double, kSmallEqPoints> with{};
    panel.SetSmallBandGain(4, 0.0);
    for (int u = 0; u < kSmallEqPoints; ++u) {
        with[static_cast<size_t>(u)] = panel.SumDb(u);
    }
    panel.Band(4).type = 2; // a low-pass at 500 Hz would cut the top
    panel.UpdateSmallBand(4);
    EXPECT_LT(panel.SumDb(50), with[50] - 3.0);
    panel.Band(4).type = 0;
    panel.UpdateSmallBand(4);
    for (int u = 0; u < kSmallEqPoints; ++u) {
        EXPECT_DOUBLE_EQ(panel.SumDb(u), with[static_cast<size_t>(u)]);
    }
}

TEST_F(SmallPanelTest, LowPassCarriesNoGain)
{
    panel.Band(0).type = 2;
    panel.Band(0).q = 0.7f;
    panel.Band(0).gain = 6.0f;
    panel.Band(0).freq = 2000.0f;
    panel.UpdateSmallBand(0);
    EXPECT_NEAR(panel.SumDb(0), 0.0, 0.15); // pass band at 0 dB, not +6
}

TEST_F(SmallPanelTest, HoverFrameAndClick)
{
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(panel.mapToGlobal(QPoint(5, 5))));
    QApplication::sendEvent(&panel, &enter);
    EXPECT_TRUE(panel.Hovered());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&panel, &leave);
    EXPECT_FALSE(panel.Hovered());

    QSignalSpy clicked(&panel, &CSmallEqPanel::Clicked);
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(clicked.count(), 1);
    QTest::mouseClick(&panel, Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(SmallPanelTest, PaintLeavesTheCurveAlone)
{
    panel.SetSmallBandGain(3, 9.0);
    panel.SetBypass(true);
    const auto before = panel.Curve();
    QImage img(panel.size(), QImage::Format_ARGB32_Premultiplied);
    panel.render(&img);
    EXPECT_EQ(panel.Curve(), before);
}

TEST_F(SmallPanelTest, DisabledPanel_DrawsNoHoverFrameAndShowsNoHand)
{
    panel.setCursor(Qt::PointingHandCursor);
    const auto edgePixel = [this] {
        QImage img(panel.size(), QImage::Format_ARGB32_Premultiplied);
        panel.render(&img);
        return img.pixel(0, 5); // the left edge, clear of the curve
    };
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&panel, &leave);
    const QRgb plain = edgePixel();
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(panel.mapToGlobal(QPoint(5, 5))));
    QApplication::sendEvent(&panel, &enter);
    ASSERT_TRUE(panel.Hovered());
    const QRgb framed = edgePixel();
    ASSERT_NE(framed, plain); // the hover frame is there while enabled

    // Disabled while the pointer is over it: the frame and the hand go.
    panel.setEnabled(false);
    EXPECT_FALSE(panel.Hovered());
    EXPECT_EQ(edgePixel(), plain);
    EXPECT_EQ(panel.cursor().shape(), Qt::ArrowCursor);
    QApplication::sendEvent(&panel, &enter);
    EXPECT_FALSE(panel.Hovered());
    EXPECT_EQ(edgePixel(), plain);

    // Enabled again: the owner's hand and the frame come back.
    panel.setEnabled(true);
    EXPECT_EQ(panel.cursor().shape(), Qt::PointingHandCursor);
    QApplication::sendEvent(&panel, &enter);
    EXPECT_TRUE(panel.Hovered());
    EXPECT_EQ(edgePixel(), framed);
}
