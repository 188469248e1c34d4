// Segment layout, fall and hold rules and the self-stopping timer of the level meter.
#include "controls/CPeakMeterCtrl.h"
#include "controls/PeakMeterModel.h"
#include "controls/QtPrinters.h"

#include <QTest>

#include <gtest/gtest.h>

#include <array>

namespace {

// The input page's meter: one band of 15 segments over the range 230.
PeakMeterModel InputPageModel()
{
    PeakMeterModel m;
    m.SetBandCount(1);
    m.SetSegmentCount(15);
    return m;
}

TEST(PeakMeterModel, FifteenSegmentsAreElevenGreenTwoYellowTwoRed)
{
    const PeakMeterModel m = InputPageModel();
    ASSERT_EQ(m.DrawnSegments(), 15);
    std::array<int, 3> counts{};
    for (int i = 0; i < m.DrawnSegments(); ++i)
        ++counts[static_cast<std::size_t>(m.ColorOf(i))];
    EXPECT_EQ(counts, (std::array<int, 3>{11, 2, 2}));
    EXPECT_EQ(m.ColorOf(10), PeakSegmentColor::Green);
    EXPECT_EQ(m.ColorOf(11), PeakSegmentColor::Yellow);
    EXPECT_EQ(m.ColorOf(13), PeakSegmentColor::Red);
}

TEST(PeakMeterModel, ValueLightsFifteenTimesValueOverRangeSegments)
{
    const std::pair<int, int> cases[] = {
        {230, 15}, {0, 0}, {500, 15}, {-7, 0}, {15, 0}, {16, 1}, {115, 7}, {229, 14},
    };
    for (const auto& [value, lit] : cases) {
        PeakMeterModel m = InputPageModel();
        m.SetData(std::array{value});
        EXPECT_EQ(m.LitSegments(0), lit) << value;
        EXPECT_GE(m.Bands()[0].level, 0);
        EXPECT_LE(m.Bands()[0].level, 230);
    }
}

TEST(PeakMeterModel, OneOrNoSegmentsDrawsTwentyThree)
{
    PeakMeterModel m;
    m.SetSegmentCount(1);
    EXPECT_EQ(m.DrawnSegments(), 23);
    EXPECT_EQ(m.LevelStep(), 23); // range * 10 / 100
    EXPECT_EQ(m.PeakStep(), 5);
}

TEST(PeakMeterModel, NewMeterStartsAtFullScale)
{
    PeakMeterModel m;
    m.SetBandCount(3);
    ASSERT_EQ(m.BandCount(), 3);
    for (const PeakMeterBand& band : m.Bands()) {
        EXPECT_EQ(band.level, 230);
        EXPECT_EQ(band.peak, 230);
        EXPECT_EQ(band.hold, 10);
    }
}

TEST(PeakMeterModel, LevelFallsFifteenAndPeakHoldsNineTicksThenFallsSeven)
{
    PeakMeterModel m = InputPageModel();
    m.SetData(std::array{0}); // settle the start-up full scale first
    while (m.Tick()) {
    }
    m.SetData(std::array{200});
    ASSERT_EQ(m.Bands()[0].peak, 200);
    ASSERT_EQ(m.Bands()[0].hold, 10);
    for (int tick = 1; tick <= 9; ++tick) {
        ASSERT_TRUE(m.Tick());
        EXPECT_EQ(m.Bands()[0].level, std::max(200 - 15 * tick, 0)) << tick;
        EXPECT_EQ(m.Bands()[0].peak, 200) << "peak holds at tick " << tick;
    }
    ASSERT_TRUE(m.Tick()); // tenth tick: the peak begins to fall
    EXPECT_EQ(m.Bands()[0].peak, 193);
    EXPECT_EQ(m.Bands()[0].level, 50);
    EXPECT_EQ(m.Bands()[0].hold, 0);
    m.Tick();
    EXPECT_EQ(m.Bands()[0].peak, 186);
}

TEST(PeakMeterModel, HigherValueRenewsThePeakLowerOneDoesNot)
{
    PeakMeterModel m = InputPageModel();
    m.SetData(std::array{0});
    while (m.Tick()) {
    }
    m.SetData(std::array{100});
    m.Tick();
    m.Tick();
    m.SetData(std::array{60}); // below the peak: level only
    EXPECT_EQ(m.Bands()[0].level, 60);
    EXPECT_EQ(m.Bands()[0].peak, 100);
    EXPECT_EQ(m.Bands()[0].hold, 8);
    m.SetData(std::array{120});
    EXPECT_EQ(m.Bands()[0].peak, 120);
    EXPECT_EQ(m.Bands()[0].hold, 10);
}

TEST(PeakMeterModel, TickReportsStopOnlyWhenEverythingHasFallen)
{
    PeakMeterModel m = InputPageModel();
    m.SetData(std::array{30});
    int ticks = 0;
    while (m.Tick())
        ++ticks;
    for (const PeakMeterBand& band : m.Bands()) {
        EXPECT_EQ(band.level, 0);
        EXPECT_EQ(band.peak, 0);
        EXPECT_EQ(band.hold, 0);
    }
    // From full scale 230: 9 held ticks, then 33 ticks of 7 bring the peak to 0, then one
    // more tick finds nothing to do.
    EXPECT_EQ(ticks, 9 + 33);
}

TEST(PeakMeterModel, MoreSegmentsThanRangeStillFalls)
{
    PeakMeterModel m;
    m.SetRange(10);
    m.SetSegmentCount(40); // range / segments would be 0
    int ticks = 0;
    while (m.Tick() && ticks < 1000)
        ++ticks;
    EXPECT_LT(ticks, 1000);
    EXPECT_EQ(m.Bands()[0].level, 0);
    EXPECT_EQ(m.Bands()[0].peak, 0);
}

TEST(PeakMeterModel, DataForMissingBandsIsSkipped)
{
    PeakMeterModel m = InputPageModel();
    m.SetData(std::array{5, 6, 7}, 0);
    m.SetData(std::array{9}, -1);
    m.SetData(std::array{9}, 4);
    EXPECT_EQ(m.Bands()[0].level, 5);
    m.SetBandCount(0);
    EXPECT_EQ(m.BandCount(), 1);
}

class MeterFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        meter_.SetBandCount(1);
        meter_.SetSegmentCount(15);
        meter_.SetBackgroundColor(QColor(240, 250, 255));
        meter_.resize(96, 5);
        meter_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&meter_));
    }

    CPeakMeterCtrl meter_;
};

TEST_F(MeterFixture, TimerStopsWhenEverythingHasFallenAndSetDataRestartsIt)
{
    meter_.Start(1);
    EXPECT_TRUE(meter_.IsTicking());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !meter_.IsTimerRunning(); }, 5000));
    EXPECT_FALSE(meter_.IsTicking());
    EXPECT_EQ(meter_.Model().Bands()[0].peak, 0);

    meter_.SetData(100);
    EXPECT_TRUE(meter_.IsTicking());
    EXPECT_EQ(meter_.Period(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !meter_.IsTimerRunning(); }, 5000));
    EXPECT_EQ(meter_.Model().Bands()[0].level, 0);
}

TEST_F(MeterFixture, SetDataWithoutAStartedTimerOnlyRedraws)
{
    meter_.SetData(120);
    EXPECT_FALSE(meter_.IsTicking());
    EXPECT_EQ(meter_.Model().Bands()[0].level, 120);
}

TEST_F(MeterFixture, StartKeepsARunningTimerAndItsTicks)
{
    meter_.Start(50);
    meter_.Start(5); // already running: not restarted, but the period is kept for SetData
    EXPECT_EQ(meter_.Period(), 5);
    meter_.SetData(10);
    EXPECT_TRUE(meter_.IsTicking());
}

TEST_F(MeterFixture, TimerRunsOnlyWhileVisible)
{
    meter_.Start(1000);
    ASSERT_TRUE(meter_.IsTicking());
    meter_.hide();
    EXPECT_FALSE(meter_.IsTicking());
    EXPECT_TRUE(meter_.IsTimerRunning());
    meter_.SetData(50); // restart request while hidden waits for the show
    EXPECT_FALSE(meter_.IsTicking());
    meter_.show();
    EXPECT_TRUE(meter_.IsTicking());
}

TEST_F(MeterFixture, ManualTickFollowsTheModel)
{
    meter_.SetData(0);
    const int before = meter_.Model().Bands()[0].peak;
    meter_.Tick(); // hold 10 -> 9: the start-up peak still holds
    EXPECT_EQ(meter_.Model().Bands()[0].peak, before);
    EXPECT_EQ(meter_.Model().Bands()[0].hold, 9);
}

TEST(CPeakMeterCtrl, SegmentColoursLitAndUnlit)
{
    EXPECT_EQ(CPeakMeterCtrl::SegmentColor(PeakSegmentColor::Green, true), QColor(0, 255, 0));
    EXPECT_EQ(CPeakMeterCtrl::SegmentColor(PeakSegmentColor::Green, false), QColor(2, 60, 2));
    EXPECT_EQ(CPeakMeterCtrl::SegmentColor(PeakSegmentColor::Yellow, true), QColor(255, 255, 0));
    EXPECT_EQ(CPeakMeterCtrl::SegmentColor(PeakSegmentColor::Yellow, false), QColor(60, 60, 2));
    EXPECT_EQ(CPeakMeterCtrl::SegmentColor(PeakSegmentColor::Red, true), QColor(255, 0, 0));
    EXPECT_EQ(CPeakMeterCtrl::SegmentColor(PeakSegmentColor::Red, false), QColor(60, 2, 2));
}

} // namespace
