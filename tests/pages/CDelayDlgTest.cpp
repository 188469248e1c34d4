// The delay page against a recording processor: typed, stepped and dragged delays, the switch,
// the mode radios with their split stages, the split slider, loading and the enabling rules.
#include "pages/CDelayDlg.h"

#include "controls/CXBmpSlider.h"
#include "dsp/EqBands.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "pages/CDelayPanel.h"
#include "pages/COutputNavBar.h"
#include "pages/CSpinButton.h"
#include "pages/PagesFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {
class DelayPageTest : public ShownPageFixture<CDelayDlg>
{
protected:
    void Type(int ch, const char* text)
    {
        QLineEdit* edit = page_->DelayEdit(ch);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromUtf8(text));
        QTest::keyClick(edit, Qt::Key_Return);
        Settle();
    }
};

TEST_F(DelayPageTest, TypedDelaysAreLimitedAndSentInSamples)
{
    Type(DELAY_CH_MAIN_L, "0.5");
    auto w = TakeWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].block, 5);
    EXPECT_EQ(w[0].param, 21);
    EXPECT_EQ(w[0].firstWord, 72u);
    EXPECT_EQ(page_->DelayEdit(DELAY_CH_MAIN_L)->text(), QStringLiteral("1.5ms"));
    EXPECT_EQ(ParamStore.GetFloat(PRM_MAINL_DELAY), 1.5f);

    Type(DELAY_CH_SUB, "100");
    w = TakeWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].block, 8);
    EXPECT_EQ(w[0].param, 29);
    EXPECT_EQ(w[0].firstWord, 4800u);
    EXPECT_EQ(page_->DelayEdit(DELAY_CH_SUB)->text(), QStringLiteral("100.0ms"));
    EXPECT_EQ(page_->Spin(DELAY_CH_SUB)->GetPos(), 1000);
    EXPECT_EQ(page_->Chart()->Value(DELAY_CH_SUB), 100.0f);

    // Text that is no number becomes 1.5 ms; typing the value already stored sends nothing.
    Type(DELAY_CH_TOP_R, "x");
    EXPECT_EQ(TakeWrites().size(), 1u);
    EXPECT_EQ(ParamStore.GetFloat(PRM_TOPR_DELAY), 1.5f);
    Type(DELAY_CH_SUB, "100.0ms");
    Type(DELAY_CH_TOP_R, "1.5");
    EXPECT_TRUE(TakeWrites().empty());
}

TEST_F(DelayPageTest, SpinStepsDownToTheLimitAndBackUp)
{
    Type(DELAY_CH_CENTER, "1.6");
    TakeWrites();
    CSpinButton* spin = page_->Spin(DELAY_CH_CENTER);
    QTest::mouseClick(spin->DownButton(), Qt::LeftButton);
    EXPECT_EQ(page_->DelayEdit(DELAY_CH_CENTER)->text(), QStringLiteral("1.5ms"));
    QTest::mouseClick(spin->DownButton(), Qt::LeftButton); // already at the limit: nothing sent
    QTest::mouseClick(spin->UpButton(), Qt::LeftButton);
    EXPECT_EQ(page_->DelayEdit(DELAY_CH_CENTER)->text(), QStringLiteral("1.6ms"));
    EXPECT_EQ(spin->GetPos(), 16);
    const auto w = TakeWrites();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0].block, 7);
    EXPECT_EQ(w[0].param, 19);
    EXPECT_EQ(w[0].firstWord, 72u);
    EXPECT_EQ(w[1].firstWord, 77u); // (int)(1.6 x 48 + 0.5)
    EXPECT_EQ(ParamStore.GetFloat(PRM_CENTER_DELAY), 1.6f);
}

TEST_F(DelayPageTest, ChannelDelayModeFlattensTheSplitAndBackRestoresIt)
{
    const int f = SplitStepHz(ChannelSplitStep(DELAY_CH_MAIN_L));
    QTest::mouseClick(page_->ChannelRadio(DELAY_CH_MAIN_L), Qt::LeftButton);
    auto w = TakeWrites();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0].block, 5);
    EXPECT_EQ(w[0].param, 25);
    ASSERT_EQ(w[0].floats.size(), 2u);
    EXPECT_EQ(w[0].floats[0], 1.0f);
    EXPECT_EQ(w[0].floats[1], 0.0f);
    EXPECT_EQ(w[1].param, 10);
    EXPECT_EQ(w[2].param, 11);
    EXPECT_EQ(w[1].floats[2], 1.0f); // b0 of a flat stage
    EXPECT_EQ(LoadEqBand(5, 10).type, EQ_TYPE_PEQ);
    EXPECT_EQ(LoadEqBand(5, 11).type, EQ_TYPE_PEQ);
    EXPECT_EQ(ParamStore.GetInt(PRM_MAINL_DELAY_MODE), 1);
    EXPECT_FALSE(page_->SplitSlider(DELAY_CH_MAIN_L)->isEnabled());
    EXPECT_TRUE(page_->DelayEdit(DELAY_CH_MAIN_L)->isEnabled());

    QTest::mouseClick(page_->HighFreqRadio(DELAY_CH_MAIN_L), Qt::LeftButton);
    w = TakeWrites();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0].floats[1], 1.0f);
    EXPECT_EQ(LoadEqBand(5, 10), (EqBand{0.0, f, 0.707, EQ_TYPE_HP}));
    EXPECT_EQ(LoadEqBand(5, 11), (EqBand{0.0, f + 500, 0.707, EQ_TYPE_LP}));
    EXPECT_TRUE(page_->SplitSlider(DELAY_CH_MAIN_L)->isEnabled());
    // Main R's stages are untouched.
    EXPECT_EQ(LoadEqBand(5, 12).type, EQ_TYPE_HP);
}

TEST_F(DelayPageTest, SplitSliderStepTwentyFive)
{
    CXBmpSlider* slider = page_->SplitSlider(DELAY_CH_REAR_R);
    slider->SetPos(24);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    Settle();
    EXPECT_EQ(page_->SplitText(DELAY_CH_REAR_R)->text(), QStringLiteral("3000Hz"));
    EXPECT_EQ(LoadEqBand(6, 12), (EqBand{0.0, 3000, 0.707, EQ_TYPE_HP}));
    EXPECT_EQ(LoadEqBand(6, 13), (EqBand{0.0, 3500, 0.707, EQ_TYPE_LP}));
    const auto w = TakeWrites();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0].block, 6);
    EXPECT_EQ(w[0].param, 12);
    EXPECT_EQ(w[1].param, 13);
}

TEST_F(DelayPageTest, SwitchWritesAndDisablesTheRow)
{
    QCheckBox* on = page_->SwitchBox(DELAY_CH_TOP_L);
    ASSERT_TRUE(on->isChecked());
    QTest::mouseClick(on, Qt::LeftButton);
    auto w = TakeWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].block, 9);
    EXPECT_EQ(w[0].param, 23);
    EXPECT_EQ(w[0].firstWord, 1u);
    EXPECT_EQ(ParamStore.GetInt(PRM_TOPL_DELAY_OFF), 1);
    for (QWidget* widget : {static_cast<QWidget*>(page_->HighFreqRadio(DELAY_CH_TOP_L)),
                            static_cast<QWidget*>(page_->ChannelRadio(DELAY_CH_TOP_L)),
                            static_cast<QWidget*>(page_->Caption(DELAY_CH_TOP_L)),
                            static_cast<QWidget*>(page_->DelayEdit(DELAY_CH_TOP_L)),
                            static_cast<QWidget*>(page_->Spin(DELAY_CH_TOP_L)),
                            static_cast<QWidget*>(page_->SplitSlider(DELAY_CH_TOP_L)),
                            static_cast<QWidget*>(page_->SplitText(DELAY_CH_TOP_L))}) {
        EXPECT_FALSE(widget->isEnabled());
    }
    EXPECT_TRUE(page_->DelayEdit(DELAY_CH_TOP_R)->isEnabled());
    QTest::mouseClick(on, Qt::LeftButton);
    w = TakeWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].firstWord, 0u);
    EXPECT_TRUE(page_->DelayEdit(DELAY_CH_TOP_L)->isEnabled());
}

TEST_F(DelayPageTest, DraggingAMarkerSendsTheDelayAndFocusesTheEdit)
{
    CDelayPanel* chart = page_->Chart();
    const QPoint grab = chart->MarkerCentre(DELAY_CH_REAR_L).toPoint();
    QTest::mousePress(chart, Qt::LeftButton, {}, grab);
    const QPoint to(static_cast<int>(DelayChartX(chart->Area(), 40.0) + 0.5), grab.y());
    QMouseEvent move(QEvent::MouseMove, to, chart->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(chart, &move);
    QTest::mouseRelease(chart, Qt::LeftButton, {}, to);
    const float ms = chart->Value(DELAY_CH_REAR_L);
    EXPECT_NEAR(ms, 40.0f, 0.3f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_REARL_DELAY), ms);
    EXPECT_EQ(page_->DelayEdit(DELAY_CH_REAR_L)->text(), QString::fromStdString(DelayText(ms)));
    EXPECT_TRUE(page_->DelayEdit(DELAY_CH_REAR_L)->hasFocus());
    const auto w = TakeWrites();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].block, 6);
    EXPECT_EQ(w[0].param, 21);
    EXPECT_EQ(w[0].firstWord, static_cast<uint32_t>(ms * 48.0f + 0.5f));
}

TEST_F(DelayPageTest, LoadingShowsTheStoreAndWritesNothing)
{
    ParamStore.SetFloat(PRM_SUB_DELAY, 12.3f);
    ParamStore.SetInt(PRM_SUB_DELAY_MODE, 1);
    ParamStore.SetInt(PRM_REARR_DELAY_OFF, 1);
    StoreEqBand(6, 10, 0.0, 750, 0.707, EQ_TYPE_HP); // not a step: step 0
    StoreEqBand(5, 12, 0.0, 2100, 0.707, EQ_TYPE_HP);
    page_->Refresh();
    EXPECT_TRUE(TakeWrites().empty());
    EXPECT_EQ(page_->DelayEdit(DELAY_CH_SUB)->text(), QStringLiteral("12.3ms"));
    EXPECT_EQ(page_->Spin(DELAY_CH_SUB)->GetPos(), 123);
    EXPECT_EQ(page_->Chart()->Value(DELAY_CH_SUB), 12.3f);
    EXPECT_TRUE(page_->ChannelRadio(DELAY_CH_SUB)->isChecked());
    EXPECT_FALSE(page_->SplitSlider(DELAY_CH_SUB)->isEnabled());
    EXPECT_FALSE(page_->SwitchBox(DELAY_CH_REAR_R)->isChecked());
    EXPECT_FALSE(page_->DelayEdit(DELAY_CH_REAR_R)->isEnabled());
    EXPECT_EQ(page_->SplitSlider(DELAY_CH_REAR_L)->GetPos(), 0);
    EXPECT_EQ(page_->SplitText(DELAY_CH_REAR_L)->text(), QStringLiteral("500Hz"));
    EXPECT_EQ(page_->SplitSlider(DELAY_CH_MAIN_R)->GetPos(), 16);
    EXPECT_EQ(page_->SplitText(DELAY_CH_MAIN_R)->text(), QStringLiteral("2100Hz"));
}

TEST_F(DelayPageTest, CaptionsFollowTheLanguage)
{
    EXPECT_EQ(page_->Caption(DELAY_CH_CENTER)->text(), QStringLiteral("中置"));
    EXPECT_EQ(page_->HighFreqRadio(0)->text(), QStringLiteral("高频延时"));
    SetLanguage(1);
    page_->Relabel();
    EXPECT_EQ(page_->Caption(DELAY_CH_CENTER)->text(), QStringLiteral("Center"));
    EXPECT_EQ(page_->Caption(DELAY_CH_TOP_R)->text(), QStringLiteral("Top R"));
    EXPECT_EQ(page_->SwitchBox(3)->text(), QStringLiteral("ON"));
    EXPECT_EQ(page_->HighFreqRadio(0)->text(), QStringLiteral("High Freq "));
    EXPECT_EQ(page_->ChannelRadio(7)->text(), QStringLiteral("Channel"));
}
} // namespace

namespace {
TEST_F(DelayPageTest, NavigationBarLeadsToTheOtherPagesOfTheGroup)
{
    ASSERT_NE(page_->NavBar(), nullptr);
    page_->NavBar()->Choose(7);
    ASSERT_FALSE(shell_.shown.empty());
    EXPECT_EQ(shell_.shown.back(), PageKind::Comp);
    page_->NavBar()->Choose(5);
    EXPECT_EQ(shell_.shown.back(), PageKind::SoundField);
}
} // namespace
