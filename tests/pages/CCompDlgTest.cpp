// The compressor page against a recording processor: the on/off boxes, the sliders' ranges and
// texts, what each move sends, loading with limits and the wheel.
#include "pages/CCompDlg.h"

#include "controls/CXBmpSlider.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "pages/CCompressPanelPlus.h"
#include "pages/COutputNavBar.h"
#include "pages/PagesFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <memory>

namespace {
class CompPageTest : public ShownPageFixture<CCompDlg>
{
protected:
    // Moves a slider to `position` with the keyboard, as a user would.
    void Move(int g, int s, int position)
    {
        CXBmpSlider* slider = page_->Slider(g, s);
        const bool up = position > slider->GetRangeMin();
        slider->SetPos(up ? position - 1 : position + 1);
        slider->setFocus();
        QTest::keyClick(slider, up ? Qt::Key_Right : Qt::Key_Left);
        Settle();
        ASSERT_EQ(slider->GetPos(), position);
    }
    // Clicks a box on its indicator, as a user does.
    static void Click(QCheckBox* box)
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
};

TEST_F(CompPageTest, ClearingTheBoxWritesBypassAsOneInteger)
{
    QCheckBox* main = page_->SwitchBox(COMP_GROUP_MAIN);
    EXPECT_EQ(main->text(), QStringLiteral("前置压限启用"));
    ASSERT_TRUE(main->isChecked()); // start-up bypass cell 0
    Click(main);
    auto w = TakeWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].block, 5);
    EXPECT_EQ(w[0].param, 20);
    EXPECT_EQ(w[0].count, 1);
    EXPECT_EQ(w[0].firstWord, 1u);
    EXPECT_EQ(ParamStore.GetInt(PRM_MAIN_COMP_BYPASS), 1);
    EXPECT_FALSE(page_->Panel(COMP_GROUP_MAIN)->Working());
    Click(main);
    w = TakeWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].firstWord, 0u);
    EXPECT_TRUE(page_->Panel(COMP_GROUP_MAIN)->Working());
    // Each box acts on its own group: Sub's is parameter 28 of block 8.
    Click(page_->SwitchBox(COMP_GROUP_SUB));
    w = TakeWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].block, 8);
    EXPECT_EQ(w[0].param, 28);
}

TEST_F(CompPageTest, RatioSliderEndsShowAndSendOneAndThirty)
{
    Move(COMP_GROUP_TOP, COMP_SLIDER_RATIO, 10);
    EXPECT_EQ(page_->Value(COMP_GROUP_TOP, COMP_SLIDER_RATIO)->text(), QStringLiteral("1.0:1"));
    auto w = TakeWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].block, 9);
    EXPECT_EQ(w[0].param, 19);
    EXPECT_EQ(w[0].count, 7);
    EXPECT_EQ(w[0].floats[2], 0.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_TOP_COMP_RATIO), 1.0f);

    Move(COMP_GROUP_TOP, COMP_SLIDER_RATIO, 300);
    EXPECT_EQ(page_->Value(COMP_GROUP_TOP, COMP_SLIDER_RATIO)->text(), QStringLiteral("30.0:1"));
    w = TakeWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].floats[2], static_cast<float>(1.0f - 1.0f / 30.0f));
    EXPECT_EQ(ParamStore.GetFloat(PRM_TOP_COMP_RATIO), 30.0f);
    EXPECT_FLOAT_EQ(page_->Panel(COMP_GROUP_TOP)->Slope(), 1.0f / 30.0f);
}

TEST_F(CompPageTest, SubAttackSendsTheSubCellsOtherThree)
{
    ParamStore.SetFloat(PRM_SUB_COMP_THRESHOLD, -21.0f);
    ParamStore.SetFloat(PRM_SUB_COMP_RATIO, 4.0f);
    ParamStore.SetFloat(PRM_SUB_COMP_ATTACK, 3.0f);
    ParamStore.SetFloat(PRM_SUB_COMP_RELEASE, 420.9f);
    Move(COMP_GROUP_SUB, COMP_SLIDER_ATTACK, 37);
    EXPECT_EQ(page_->Value(COMP_GROUP_SUB, COMP_SLIDER_ATTACK)->text(), QStringLiteral("37ms"));
    const auto w = TakeWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].block, 8);
    EXPECT_EQ(w[0].param, 27);
    EXPECT_EQ(w[0].floats[0], -21.0f);
    EXPECT_EQ(w[0].floats[2], 0.75f);
    EXPECT_EQ(w[0].floats[5], static_cast<float>(1.0 - std::exp(-1.0 / (37.0 * 48.0))));
    EXPECT_EQ(w[0].floats[6], static_cast<float>(1.0 - std::exp(-1.0 / (420.0 * 48.0))));
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_COMP_ATTACK), 37.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_SUB_COMP_RELEASE), 420.0f);
    // The other groups keep their cells.
    EXPECT_NE(ParamStore.GetFloat(PRM_MAIN_COMP_ATTACK), 37.0f);
}

TEST_F(CompPageTest, ThresholdMovesTheCurveAndSends)
{
    Move(COMP_GROUP_CENTER, COMP_SLIDER_THRESHOLD, -45);
    EXPECT_EQ(page_->Value(COMP_GROUP_CENTER, COMP_SLIDER_THRESHOLD)->text(),
              QStringLiteral("-45dB"));
    EXPECT_EQ(page_->Panel(COMP_GROUP_CENTER)->Threshold(), -45.0f);
    Move(COMP_GROUP_CENTER, COMP_SLIDER_RELEASE, 1000);
    EXPECT_EQ(page_->Value(COMP_GROUP_CENTER, COMP_SLIDER_RELEASE)->text(),
              QStringLiteral("1000ms"));
    const auto w = TakeWrites();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0].block, 7);
    EXPECT_EQ(w[0].param, 17);
    EXPECT_EQ(w[0].floats[0], -45.0f);
    EXPECT_EQ(w[1].floats[0], -45.0f);
}

TEST_F(CompPageTest, LoadingLimitsTheSlidersNotTheValuesAndWritesNothing)
{
    ParamStore.SetInt(PRM_REAR_COMP_BYPASS, 1);
    ParamStore.SetFloat(PRM_REAR_COMP_THRESHOLD, -75.0f);
    ParamStore.SetFloat(PRM_REAR_COMP_RATIO, 2.55f);
    ParamStore.SetFloat(PRM_REAR_COMP_ATTACK, 150.0f);
    ParamStore.SetFloat(PRM_REAR_COMP_RELEASE, 99.9f);
    page_->Refresh();
    EXPECT_TRUE(TakeWrites().empty());
    EXPECT_FALSE(page_->SwitchBox(COMP_GROUP_REAR)->isChecked());
    EXPECT_FALSE(page_->Panel(COMP_GROUP_REAR)->Working());
    EXPECT_EQ(page_->Slider(COMP_GROUP_REAR, COMP_SLIDER_THRESHOLD)->GetPos(), -60);
    EXPECT_EQ(page_->Value(COMP_GROUP_REAR, COMP_SLIDER_THRESHOLD)->text(),
              QStringLiteral("-75dB"));
    EXPECT_EQ(page_->Slider(COMP_GROUP_REAR, COMP_SLIDER_RATIO)->GetPos(), 25);
    EXPECT_EQ(page_->Value(COMP_GROUP_REAR, COMP_SLIDER_RATIO)->text(), QStringLiteral("2.5:1"));
    EXPECT_EQ(page_->Slider(COMP_GROUP_REAR, COMP_SLIDER_ATTACK)->GetPos(), 100);
    EXPECT_EQ(page_->Value(COMP_GROUP_REAR, COMP_SLIDER_ATTACK)->text(), QStringLiteral("150ms"));
    EXPECT_EQ(page_->Slider(COMP_GROUP_REAR, COMP_SLIDER_RELEASE)->GetPos(), 99);
    EXPECT_EQ(page_->Panel(COMP_GROUP_REAR)->Threshold(), -75.0f);
}

TEST_F(CompPageTest, WheelOverThePageGoesToTheFocusedSlider)
{
    CXBmpSlider* slider = page_->Slider(COMP_GROUP_MAIN, COMP_SLIDER_RELEASE);
    Move(COMP_GROUP_MAIN, COMP_SLIDER_RELEASE, 200);
    TakeWrites();
    QCheckBox* elsewhere = page_->SwitchBox(COMP_GROUP_TOP);
    const QPoint at = elsewhere->rect().center();
    QWheelEvent wheel(at, elsewhere->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(elsewhere, &wheel);
    Settle();
    EXPECT_EQ(slider->GetPos(), 201);
    const auto w = TakeWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].block, 5);
    EXPECT_EQ(w[0].param, 19);
}

TEST_F(CompPageTest, CaptionsFollowTheLanguage)
{
    SetLanguage(1);
    page_->Relabel();
    EXPECT_EQ(page_->SwitchBox(COMP_GROUP_CENTER)->text(), QStringLiteral("Center Comp ON"));
    EXPECT_EQ(page_->SwitchBox(COMP_GROUP_TOP)->text(), QStringLiteral("Top Comp ON"));
    EXPECT_EQ(page_->Caption(COMP_GROUP_SUB, COMP_SLIDER_THRESHOLD)->text(),
              QStringLiteral("Threshold"));
    EXPECT_EQ(page_->Caption(COMP_GROUP_REAR, COMP_SLIDER_RELEASE)->text(),
              QStringLiteral("Release time"));
    SetLanguage(0);
    page_->Relabel();
    EXPECT_EQ(page_->Caption(COMP_GROUP_SUB, COMP_SLIDER_THRESHOLD)->text(),
              QStringLiteral("阀(阈)"));
}
} // namespace

namespace {
TEST_F(CompPageTest, NavigationBarLeadsToTheOtherPagesOfTheGroup)
{
    ASSERT_NE(page_->NavBar(), nullptr);
    page_->NavBar()->Choose(6);
    ASSERT_FALSE(shell_.shown.empty());
    EXPECT_EQ(shell_.shown.back(), PageKind::Delay);
}
} // namespace
