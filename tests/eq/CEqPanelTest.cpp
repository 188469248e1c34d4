#include "eq/CEqPanel.h"

#include "eq/EqNotify.h"
#include "eq/QtPrinters.h"

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
// A panel whose context menus answer from a script instead of a modal loop.
class ScriptedPanel : public CEqPanel
{
public:
    int menuChoice = 0;
    int menusShown = 0;
    QStringList lastMenu;

protected:
    int RunMenu(QMenu& menu, const QPoint&) override
    {
        ++menusShown;
        lastMenu.clear();
        for (const QAction* a : menu.actions()) {
            lastMenu << a->text();
        }
        return menuChoice;
    }
};

class PanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        panel.resize(1000, 480);
        panel.SetPanelKind(5);
        panel.SetBandCount(10);
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    }

    void SetBand(int i, int type, float freq, float gain, float q)
    {
        panel.Band(i).type = type;
        panel.Band(i).freq = freq;
        panel.Band(i).gain = gain;
        panel.Band(i).q = q;
        panel.UpdateBandCurve(i);
    }

    QPoint Marker(int i) const
    {
        const EqPlotRect r = panel.PlotRect();
        return QPoint(
            static_cast<int>(std::lround(r.left + static_cast<double>(panel.Band(i).posX))),
            static_cast<int>(std::lround(r.top + static_cast<double>(panel.Band(i).posY))));
    }

    // A pointer move with buttons held (QTest's move carries no buttons).
    void Move(const QPoint& pos, Qt::MouseButtons buttons)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(pos), QPointF(panel.mapToGlobal(pos)),
                      Qt::NoButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(&panel, &e);
    }

    ScriptedPanel panel;
};
} // namespace

TEST_F(PanelTest, OverlappingMarkersPressTakesLowerSlotHoverTakesHigher)
{
    SetBand(2, 1, 500, 3, 1.41f);
    SetBand(6, 1, 500, 3, 1.41f);
    const QPoint at = Marker(2);
    ASSERT_EQ(at, Marker(6));

    QSignalSpy changed(&panel, &CEqPanel::BandChanged);
    QTest::mousePress(&panel, Qt::LeftButton, {}, at);
    EXPECT_EQ(panel.Selected(), 2);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][1].toInt(), 2);
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, at);
    EXPECT_EQ(changed.count(), 1); // no move: nothing more on release

    QTest::mousePress(&panel, Qt::RightButton, {}, at);
    EXPECT_EQ(panel.Selected(), 2);
    QTest::mouseRelease(&panel, Qt::RightButton, {}, at);

    Move(at + QPoint(3, -2), Qt::NoButton);
    EXPECT_EQ(panel.Hover(), 6);
}

TEST_F(PanelTest, HitRadiiAreStrictlyBelowTenForLeftAndSixteenForRight)
{
    SetBand(4, 1, 1000, 0, 1.41f);
    const EqPlotRect r = panel.PlotRect();
    const double mx = static_cast<double>(panel.Band(4).posX);
    const int y = static_cast<int>(std::lround(r.top + static_cast<double>(panel.Band(4).posY)));
    struct Case
    {
        Qt::MouseButton button;
        int x; // plot-relative pointer x
        bool hit;
    } cases[] = {
        {Qt::LeftButton, static_cast<int>(std::ceil(mx + 10.0)), false},
        {Qt::LeftButton, static_cast<int>(std::floor(mx + 9.0)), true},
        {Qt::LeftButton, static_cast<int>(std::floor(mx - 10.0)), false},
        {Qt::RightButton, static_cast<int>(std::ceil(mx + 16.0)), false},
        {Qt::RightButton, static_cast<int>(std::floor(mx + 15.0)), true},
        {Qt::RightButton, static_cast<int>(std::ceil(mx - 15.0)), true},
    };
    for (const Case& c : cases) {
        const QPoint at(r.left + c.x, y);
        QTest::mousePress(&panel, c.button, {}, at);
        EXPECT_EQ(panel.Selected(), c.hit ? 4 : -1) << c.x - mx;
        QTest::mouseRelease(&panel, c.button, {}, at);
    }
}

// The hit box is a square: strictly closer than the radius on each axis. Pointers one pixel
// inside and on or just past the edge, left and right of the marker and above and below it,
// for the left press (10), the right press (16) and hover (16).
TEST_F(PanelTest, HitBoxesEndJustInsideTheirRadiusOnBothAxes)
{
    SetBand(4, 1, 700, 0, 1.41f);
    const EqPlotRect r = panel.PlotRect();
    const double mx = static_cast<double>(panel.Band(4).posX);
    const double my = static_cast<double>(panel.Band(4).posY);
    enum class Probe
    {
        LeftPress,
        RightPress,
        Hover
    };
    struct Kind
    {
        Probe probe;
        double radius;
    } kinds[] = {{Probe::LeftPress, 10.0}, {Probe::RightPress, 16.0}, {Probe::Hover, 16.0}};
    for (const Kind& k : kinds) {
        for (const bool vertical : {false, true}) {
            const double m = vertical ? my : mx;
            const int outsideHigh = static_cast<int>(std::ceil(m + k.radius));
            const int outsideLow = static_cast<int>(std::floor(m - k.radius));
            const std::pair<int, bool> offsets[] = {
                {outsideHigh, false},
                {outsideHigh - 1, true},
                {outsideLow, false},
                {outsideLow + 1, true},
            };
            for (const auto& [along, hit] : offsets) {
                const QPoint at =
                    vertical ? QPoint(r.left + static_cast<int>(std::lround(mx)), r.top + along)
                             : QPoint(r.left + along, r.top + static_cast<int>(std::lround(my)));
                int got = -1;
                if (k.probe == Probe::Hover) {
                    Move(at, Qt::NoButton);
                    got = panel.Hover();
                } else {
                    const Qt::MouseButton button =
                        k.probe == Probe::LeftPress ? Qt::LeftButton : Qt::RightButton;
                    QTest::mousePress(&panel, button, {}, at);
                    got = panel.Selected();
                    QTest::mouseRelease(&panel, button, {}, at);
                }
                EXPECT_EQ(got, hit ? 4 : -1) << "probe " << static_cast<int>(k.probe)
                                             << (vertical ? " dy " : " dx ") << along - m;
            }
        }
    }
}

TEST_F(PanelTest, OffBandIsNeverHitByLeftPressButRightPressSelectsIt)
{
    SetBand(3, 1, 250, 6, 1.41f);
    const QPoint at = Marker(3);
    panel.SetBandType(3, 0); // no marker any more; the last drawn position stays
    QSignalSpy none(&panel, &CEqPanel::BandNone);
    QSignalSpy changed(&panel, &CEqPanel::BandChanged);
    QTest::mousePress(&panel, Qt::LeftButton, {}, at);
    EXPECT_EQ(panel.Selected(), -1);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(none.count(), 0);
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, at);
    EXPECT_EQ(none.count(), 1);

    Move(at, Qt::NoButton);
    EXPECT_EQ(panel.Hover(), -1);

    QTest::mousePress(&panel, Qt::RightButton, {}, at);
    EXPECT_EQ(panel.Selected(), 3);
    QTest::mouseRelease(&panel, Qt::RightButton, {}, at);
    EXPECT_EQ(changed.count(), 2); // press and release
    EXPECT_EQ(panel.menusShown, 1);
}

TEST_F(PanelTest, OffBandIsLeftOutOfTheSum)
{
    SetBand(0, 1, 1000, 12, 1.41f);
    const float withBand = *std::max_element(panel.SumCurve().begin(), panel.SumCurve().end());
    EXPECT_GT(withBand, 11.9f);
    panel.SetBandType(0, 0);
    for (float v : panel.SumCurve()) {
        EXPECT_NEAR(v, 0.0f, 1e-4f);
    }
}

TEST_F(PanelTest, DragToTheTopGivesPlusFifteenAndGainsSnapToTenths)
{
    SetBand(5, 1, 1000, 0, 1.41f);
    const QPoint at = Marker(5);
    QSignalSpy changed(&panel, &CEqPanel::BandChanged);
    QTest::mousePress(&panel, Qt::LeftButton, {}, at);
    for (int y = at.y() - 3; y > at.y() - 60; y -= 7) {
        Move(QPoint(at.x() + 1, y), Qt::LeftButton);
        const double tenths = static_cast<double>(panel.Band(5).gain) * 10.0;
        EXPECT_NEAR(tenths, std::round(tenths), 1e-3) << y;
    }
    const int before = static_cast<int>(changed.count());
    EXPECT_GE(before, 8);
    Move(QPoint(at.x(), 0), Qt::LeftButton);
    EXPECT_EQ(panel.Band(5).gain, 15.0f);
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(at.x(), 0));
    EXPECT_EQ(changed.count(), before + 2); // the last move and the release
}

TEST_F(PanelTest, DragFollowsPointerFrequencyAndClampsIt)
{
    SetBand(5, 1, 1000, 0, 1.41f);
    const QPoint at = Marker(5);
    QTest::mousePress(&panel, Qt::LeftButton, {}, at + QPoint(4, 0));
    const EqAxes& a = panel.Axes();
    const int x = static_cast<int>(a.FreqToX(4000.0));
    Move(QPoint(x, at.y()), Qt::LeftButton);
    EXPECT_NEAR(panel.Band(5).freq, a.OffsetToFreq(x - a.plot.left), 0.01);
    Move(QPoint(panel.width() - 1, at.y()), Qt::LeftButton);
    EXPECT_EQ(panel.Band(5).freq, 20000.0f);
    Move(QPoint(0, at.y()), Qt::LeftButton);
    EXPECT_EQ(panel.Band(5).freq, 20.0f);
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(0, at.y()));
}

TEST_F(PanelTest, DraggingLowPassVerticallyKeepsGainZero)
{
    SetBand(9, 2, 5000, 0, 0.7f);
    const QPoint at = Marker(9);
    QTest::mousePress(&panel, Qt::LeftButton, {}, at);
    Move(at + QPoint(0, -80), Qt::LeftButton);
    EXPECT_EQ(panel.Band(9).gain, 0.0f);
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, at + QPoint(0, -80));
}

TEST_F(PanelTest, RightDragChangesQ)
{
    struct Case
    {
        int type;
        float q;
        int dx;
        float want;
    } cases[] = {
        {1, 1.41f, 12, 2.41f}, // 12 pixels per 1.0 for PEQ
        {4, 0.7f, 80, 1.7f},   // a shelf needs 80 pixels
        {4, 0.7f, 200, 2.0f},  // and stops at 2
        {1, 1.0f, -120, 0.1f}, // never below 0.1
    };
    for (const Case& c : cases) {
        SetBand(5, c.type, 1000, 0, c.q);
        const QPoint at = Marker(5);
        panel.menusShown = 0;
        QTest::mousePress(&panel, Qt::RightButton, {}, at);
        Move(at + QPoint(c.dx / 2, 0), Qt::RightButton);
        Move(at + QPoint(c.dx, 0), Qt::RightButton);
        QTest::mouseRelease(&panel, Qt::RightButton, {}, at + QPoint(c.dx, 0));
        EXPECT_NEAR(panel.Band(5).q, c.want, 1e-5f) << c.type << " " << c.dx;
        EXPECT_EQ(panel.menusShown, 0); // moved: no type menu
    }
}

TEST_F(PanelTest, ArrowKeysStepTheFrequency)
{
    struct Case
    {
        float freq;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        float want;
    } cases[] = {
        {1000, Qt::Key_Left, {}, 995},
        {1001, Qt::Key_Left, {}, 991},
        {1000, Qt::Key_Left, Qt::ControlModifier, 994},
        {1000, Qt::Key_Right, {}, 1005},
        {15000, Qt::Key_Right, {}, 15100},
        {19950, Qt::Key_Right, {}, 20000}, // clamped
        {21, Qt::Key_Left, {}, 20},
    };
    panel.SetSelected(1);
    QSignalSpy changed(&panel, &CEqPanel::BandChanged);
    for (const Case& c : cases) {
        SetBand(1, 1, c.freq, 0, 1.41f);
        QTest::keyClick(&panel, c.key, c.mods);
        EXPECT_FLOAT_EQ(panel.Band(1).freq, c.want) << c.freq;
    }
    EXPECT_EQ(changed.count(), static_cast<int>(std::size(cases)));
}

TEST_F(PanelTest, ValueKeysChangeGainQAndType)
{
    SetBand(2, 1, 1000, 0, 1.41f);
    panel.SetSelected(2);
    QTest::keyClick(&panel, Qt::Key_Up);
    EXPECT_NEAR(panel.Band(2).gain, 0.2f, 1e-6f);
    QTest::keyClick(&panel, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_NEAR(panel.Band(2).gain, 0.1f, 1e-6f);
    QTest::keyClick(&panel, Qt::Key_Plus);
    EXPECT_NEAR(panel.Band(2).q, 1.51f, 1e-5f);
    QTest::keyClick(&panel, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_NEAR(panel.Band(2).q, 1.50f, 1e-5f);
    QTest::keyClick(&panel, Qt::Key_Period);
    EXPECT_EQ(panel.Band(2).type, 2);
    EXPECT_EQ(panel.Band(2).gain, 0.0f);
    EXPECT_NEAR(panel.Band(2).q, 0.7f, 1e-6f);
    QTest::keyClick(&panel, Qt::Key_Up); // LP has no gain
    EXPECT_EQ(panel.Band(2).gain, 0.0f);
    QTest::keyClick(&panel, Qt::Key_Comma);
    EXPECT_EQ(panel.Band(2).type, 1);
    EXPECT_NEAR(panel.Band(2).q, 1.41f, 1e-6f);
    QTest::keyClick(&panel, Qt::Key_Comma); // PEQ is the lowest
    EXPECT_EQ(panel.Band(2).type, 1);
}

TEST_F(PanelTest, SelectionKeys)
{
    panel.SetSelected(3);
    QTest::keyClick(&panel, Qt::Key_PageUp);
    EXPECT_EQ(panel.Selected(), 2);
    QTest::keyClick(&panel, Qt::Key_End);
    EXPECT_EQ(panel.Selected(), 9);
    QTest::keyClick(&panel, Qt::Key_PageDown);
    EXPECT_EQ(panel.Selected(), 9);
    QTest::keyClick(&panel, Qt::Key_Home);
    EXPECT_EQ(panel.Selected(), 0);
    QTest::keyClick(&panel, Qt::Key_PageUp);
    EXPECT_EQ(panel.Selected(), 0);
}

TEST_F(PanelTest, DigitZeroPicksTheTenthBand)
{
    QSignalSpy picked(&panel, &CEqPanel::BandPicked);
    QSignalSpy changed(&panel, &CEqPanel::BandChanged);
    QTest::keyClick(&panel, Qt::Key_0);
    EXPECT_EQ(panel.Selected(), 9);
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked[0][1].toInt(), 9);
    QTest::keyClick(&panel, Qt::Key_3, Qt::KeypadModifier);
    EXPECT_EQ(panel.Selected(), 2);
    EXPECT_EQ(changed.count(), 0);

    panel.SetBandCount(7);
    panel.SetSelected(-1);
    QTest::keyClick(&panel, Qt::Key_0);
    EXPECT_EQ(panel.Selected(), -1);
    QTest::keyClick(&panel, Qt::Key_8);
    EXPECT_EQ(panel.Selected(), -1);
    EXPECT_EQ(picked.count(), 2);
}

TEST_F(PanelTest, WheelStepsGainByATenth)
{
    SetBand(4, 4, 200, 14.95f, 0.7f);
    panel.SetSelected(4);
    QSignalSpy changed(&panel, &CEqPanel::BandChanged);
    QWheelEvent up(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&panel, &up);
    EXPECT_EQ(panel.Band(4).gain, 15.0f); // clamped
    QWheelEvent down(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(0, -360), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&panel, &down);
    EXPECT_NEAR(panel.Band(4).gain, 14.9f, 1e-5f); // one step whatever the delta
    EXPECT_EQ(changed.count(), 2);
    panel.SetBandType(4, 2);
    QApplication::sendEvent(&panel, &down);
    EXPECT_EQ(panel.Band(4).gain, 0.0f);
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(PanelTest, PeqPeakSampleEqualsTheGainAtAnyWidth)
{
    for (int w : {1000, 700, 1600}) {
        panel.resize(w, 480);
        SetBand(0, 1, 1000, 12, 1.41f);
        const auto& c = panel.Band(0).curve;
        EXPECT_EQ(*std::max_element(c.begin(), c.end()), 12.0f) << w;
        panel.Band(0).freq = 137;
        panel.SetBandGain(0, -7.5);
        EXPECT_EQ(*std::min_element(c.begin(), c.end()), -7.5f) << w;
    }
}

TEST_F(PanelTest, SetterRules)
{
    panel.SetBandType(0, 3);
    EXPECT_EQ(panel.Band(0).gain, 0.0f);
    EXPECT_NEAR(panel.Band(0).q, 0.7f, 1e-6f);
    panel.SetBandGain(0, 6.0);
    EXPECT_EQ(panel.Band(0).gain, 0.0f); // HP carries no gain
    panel.SetBandQ(0, 3.0);
    EXPECT_EQ(panel.Band(0).q, 2.0f);
    panel.SetBandQ(0, 0.00000001);
    EXPECT_EQ(panel.Band(0).q, 2.0f); // ignored
    panel.SetBandType(0, 1);
    EXPECT_NEAR(panel.Band(0).q, 1.41f, 1e-6f);
    panel.SetBandQ(0, 45.0);
    EXPECT_EQ(panel.Band(0).q, 30.0f);
    panel.SetBandGain(0, -22.0);
    EXPECT_EQ(panel.Band(0).gain, -15.0f);
    panel.SetBandType(0, 14);
    panel.SetBandGain(0, 3.0);
    EXPECT_EQ(panel.Band(0).gain, 0.0f);
}

TEST_F(PanelTest, BandCountLayouts)
{
    panel.SetBandCount(4);
    const int types4[] = {3, 1, 1, 2};
    const float freqs4[] = {31, 62, 125, 250};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(panel.Band(i).type, types4[i]);
        EXPECT_EQ(panel.Band(i).freq, freqs4[i]);
        EXPECT_NEAR(panel.Band(i).q, 0.707f, 1e-6f);
    }
    panel.SetBandCount(10);
    EXPECT_EQ(panel.Band(9).freq, 12000.0f);
    panel.SetBandCount(20);
    EXPECT_EQ(panel.Band(14).freq, 20000.0f);
    EXPECT_EQ(panel.Band(19).freq, 20000.0f);
    panel.SetBandCount(24);
    EXPECT_EQ(panel.Band(15).freq, 100.0f);
    EXPECT_EQ(panel.Band(23).freq, 4000.0f);
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(panel.Band(i).index, i);
        EXPECT_EQ(panel.Band(i).gain, 0.0f);
        EXPECT_NEAR(panel.Band(i).q, 1.41f, 1e-6f);
    }
    panel.Band(0).freq = 77;
    panel.SetBandCount(12); // no layout: frequencies stay
    EXPECT_EQ(panel.Band(0).freq, 77.0f);
    EXPECT_EQ(panel.BandCount(), 12);
}

TEST_F(PanelTest, TypeMenuAndEqMenu)
{
    SetBand(1, 1, 400, 5, 1.41f);
    const QPoint at = Marker(1);
    panel.menuChoice = EQ_MENU_TYPE_FIRST + 4; // HS
    QSignalSpy changed(&panel, &CEqPanel::BandChanged);
    QTest::mousePress(&panel, Qt::RightButton, {}, at);
    QTest::mouseRelease(&panel, Qt::RightButton, {}, at);
    EXPECT_EQ(panel.lastMenu,
              QStringList({"参量(PEQ)", "低通(LP)", "高通(HP)", "低架(LS)", "高架(HS)"}));
    EXPECT_EQ(panel.Band(1).type, 5);
    EXPECT_EQ(changed.count(), 3); // press, release, menu

    panel.SetLanguage(1);
    panel.menuChoice = EQ_MENU_PASTE;
    QSignalSpy copyPaste(&panel, &CEqPanel::CopyPaste);
    QTest::mousePress(&panel, Qt::RightButton, {}, QPoint(500, 400));
    QTest::mouseRelease(&panel, Qt::RightButton, {}, QPoint(500, 400));
    EXPECT_EQ(panel.lastMenu,
              QStringList({"Copy EQ", "Paste EQ", "", "Import filters…", "Export filters…"}));
    ASSERT_EQ(copyPaste.count(), 1);
    EXPECT_EQ(copyPaste[0][0].toInt(), 1);
    EXPECT_EQ(copyPaste[0][1].toInt(), 5);

    panel.menuChoice = EQ_MENU_EXPORT_FILTERS;
    QSignalSpy filterFile(&panel, &CEqPanel::FilterFile);
    QTest::mousePress(&panel, Qt::RightButton, {}, QPoint(500, 400));
    QTest::mouseRelease(&panel, Qt::RightButton, {}, QPoint(500, 400));
    EXPECT_EQ(copyPaste.count(), 1);
    ASSERT_EQ(filterFile.count(), 1);
    EXPECT_EQ(filterFile[0][0].toInt(), 1);
    EXPECT_EQ(filterFile[0][1].toInt(), 5);
}

TEST_F(PanelTest, SubModeLowPassFromTheTypeMenu)
{
    panel.SetPanelKind(2);
    panel.SetBandCount(20);
    SetBand(0, 1, 80, 0, 1.0f);
    const QPoint at = Marker(0);
    panel.menuChoice = EQ_MENU_TYPE_FIRST + 1; // LP
    QTest::mousePress(&panel, Qt::RightButton, {}, at);
    QTest::mouseRelease(&panel, Qt::RightButton, {}, at);
    EXPECT_EQ(panel.Band(0).type, 18);
    const std::array<int, 3> comp = CEqPanel::SubCompanions(0);
    EXPECT_EQ(comp, (std::array<int, 3>{5, 6, 7}));
    const int want[] = {20, 1, 1};
    for (int s = 0; s < 3; ++s) {
        const EqPanelBand& b = panel.Band(comp[static_cast<size_t>(s)]);
        EXPECT_EQ(b.type, want[s]);
        EXPECT_EQ(b.freq, 80.0f);
        EXPECT_EQ(b.q, panel.Band(0).q);
        EXPECT_EQ(b.gain, 0.0f);
    }
    // The sum is a fourth-order low-pass: -24 dB/octave well above the corner.
    const auto& f = EqDisplayFrequencies();
    const auto& sum = panel.SumCurve();
    int i1 = 0;
    while (f[static_cast<size_t>(i1)] < 1000.0f) {
        ++i1;
    }
    int i2 = i1;
    while (f[static_cast<size_t>(i2)] < 2.0f * f[static_cast<size_t>(i1)]) {
        ++i2;
    }
    EXPECT_NEAR(sum[static_cast<size_t>(i1)] - sum[static_cast<size_t>(i2)], 24.0, 1.0);

    // Dragging the visible band moves its companions.
    QTest::mousePress(&panel, Qt::LeftButton, {}, Marker(0));
    Move(Marker(0) + QPoint(40, 0), Qt::LeftButton);
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, Marker(0));
    for (int c : comp) {
        EXPECT_EQ(panel.Band(c).freq, panel.Band(0).freq);
    }
}

TEST_F(PanelTest, SubModeShowsFiveBandsAndNoCopyOrPaste)
{
    panel.SetPanelKind(2);
    panel.SetBandCount(20);
    EXPECT_EQ(panel.VisibleCount(), 5);
    SetBand(6, 1, 1000, 0, 1.41f); // a companion: not selectable with a press
    const EqAxes& a = panel.Axes();
    const QPoint at(static_cast<int>(a.FreqToX(1000)), static_cast<int>(a.GainToY(0)));
    QTest::mousePress(&panel, Qt::LeftButton, {}, at);
    EXPECT_EQ(panel.Selected(), -1);
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, at);
    // Off the bands the Sub offers filter files only: no copy or paste of its slots.
    QTest::mousePress(&panel, Qt::RightButton, {}, QPoint(900, 100));
    QTest::mouseRelease(&panel, Qt::RightButton, {}, QPoint(900, 100));
    EXPECT_EQ(panel.menusShown, 1);
    EXPECT_EQ(panel.lastMenu, QStringList({"导入滤波器…", "导出滤波器…"}));

    panel.SetSelected(3);
    QTest::keyClick(&panel, Qt::Key_End);
    EXPECT_EQ(panel.Selected(), 4);
    QTest::keyClick(&panel, Qt::Key_PageDown);
    EXPECT_EQ(panel.Selected(), 4);
    const int type = panel.Band(4).type;
    QTest::keyClick(&panel, Qt::Key_Period);
    QTest::keyClick(&panel, Qt::Key_Comma);
    EXPECT_EQ(panel.Band(4).type, type);
    QTest::keyClick(&panel, Qt::Key_6);
    EXPECT_EQ(panel.Selected(), 4); // only digits 1..5 pick
}

TEST_F(PanelTest, SubCrossoverShapes)
{
    panel.SetPanelKind(2);
    panel.SetBandCount(20);
    struct Case
    {
        int startType;
        int shape;
        std::array<int, 4> codes;
    } cases[] = {
        {3, 3, {19, 21, 19, 21}}, {2, 2, {14, 10, 14, 10}}, {3, 2, {15, 11, 15, 11}},
        {2, 4, {8, 1, 1, 1}},     {1, 4, {9, 1, 1, 1}},     {2, 99, {10, 10, 1, 1}},
        {2, 11, {1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        panel.SetSubFilterType(2, c.startType == 2 ? 2 : (c.startType == 3 ? 3 : 1));
        panel.Band(2).gain = 4.0f;
        panel.SetSubCrossover(2, c.shape);
        const std::array<int, 3> comp = CEqPanel::SubCompanions(2);
        const std::array<int, 4> got = {panel.Band(2).type, panel.Band(comp[0]).type,
                                        panel.Band(comp[1]).type, panel.Band(comp[2]).type};
        EXPECT_EQ(got, c.codes) << c.startType << " " << c.shape;
        EXPECT_EQ(panel.Band(2).gain, 0.0f);
    }
    const int before = panel.Band(0).type;
    panel.SetSubCrossover(-1, 3);
    panel.SetSubCrossover(5, 3);
    EXPECT_EQ(panel.Band(0).type, before);
}

TEST_F(PanelTest, RendersOffscreenWithEveryLayer)
{
    SetBand(0, 1, 1000, 12, 1.41f);
    SetBand(1, 2, 5000, 0, 0.7f);
    panel.SetSelected(0);
    panel.SetBypass(true);
    const auto curveBefore = panel.Band(0).curve;
    QImage img(panel.size(), QImage::Format_ARGB32_Premultiplied);
    panel.render(&img);
    // Painting reads the stored curves and leaves them alone.
    EXPECT_EQ(panel.Band(0).curve, curveBefore);
    EXPECT_EQ(panel.SumCurve()[0], panel.Band(0).curve[0] + panel.Band(1).curve[0]);
}
