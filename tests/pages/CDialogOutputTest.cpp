// The output page: what its controls store and write, and how it follows the output shown.
#include "pages/CDialogOutput.h"

#include "controls/CGdipButton.h"
#include "controls/CXBmpSlider.h"
#include "dsp/Crossover.h"
#include "dsp/EqBands.h"
#include "eq/CEqBandList.h"
#include "eq/CEqPanel.h"
#include "model/CmdVersion.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "pages/CEqSection.h"
#include "pages/COutputNavBar.h"
#include "pages/PageGlobals.h"
#include "pages/PagesFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

namespace {
class OutputPageTest : public PagesFixture
{
protected:
    void SetUp() override
    {
        PagesFixture::SetUp();
        version_ = g_nCmdVersion.load();
        g_nCmdVersion = 21;
    }
    void TearDown() override
    {
        g_nCmdVersion = version_;
        PagesFixture::TearDown();
    }
    int version_ = 1;
};
} // namespace

TEST_F(OutputPageTest, SubMusicAtOneHundred_StoresThreeHundredAndWritesThree)
{
    CDialogOutput page(&shell_, EQ_KIND_SUB);
    TakeWrites();
    page.OnSliderMoved(IDC_OUT_MIX_SLIDER + 3, 100);
    EXPECT_EQ(ParamStore.GetInt(PRM_SUB_MIX_MUSIC), 300);
    const auto writes = TakeWrites();
    const ParamWrite* w = Find(writes, 8, 25);
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(w->floats.size(), 1u);
    EXPECT_FLOAT_EQ(w->floats[0], 3.0f);
    EXPECT_EQ(page.MixValue(3)->text(), QString("100%"));
    // Shown again from the store, the slider reads 100, not 300.
    page.Refresh();
    EXPECT_EQ(page.MixSlider(3)->GetPos(), 100);
    EXPECT_EQ(page.MixValue(3)->text(), QString("100%"));
}

TEST_F(OutputPageTest, Srs3d_WritesMinusHalfTwiceOnlyFromCommandSetSevenAndOnlyOnStereoOutputs)
{
    CDialogOutput page(&shell_, EQ_KIND_MAIN);
    EXPECT_FALSE(page.SrsSlider()->isHidden());
    TakeWrites();
    page.OnSliderMoved(IDC_OUT_SRS_SLIDER, 50);
    const auto writes = TakeWrites();
    const ParamWrite* w = Find(writes, 5, 30);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->floats, (std::vector<float>{-0.5f, -0.5f}));
    EXPECT_EQ(page.SrsValue()->text(), QString("50"));

    g_nCmdVersion = 6;
    page.OnSliderMoved(IDC_OUT_SRS_SLIDER, 20);
    EXPECT_EQ(ParamStore.GetInt(PRM_MAIN_SURROUND), 20);
    EXPECT_TRUE(TakeWrites().empty());

    for (int kind : {EQ_KIND_CENTER, EQ_KIND_SUB}) {
        page.ShowOutput(kind);
        EXPECT_TRUE(page.SrsSlider()->isHidden()) << kind;
        EXPECT_TRUE(page.SrsCaption()->isHidden()) << kind;
        EXPECT_TRUE(page.SrsValue()->isHidden()) << kind;
    }
    page.ShowOutput(EQ_KIND_TOP);
    EXPECT_FALSE(page.SrsSlider()->isHidden());
}

TEST_F(OutputPageTest, MuteBoxes_ActOnTheirOwnOutputsWhateverIsShown)
{
    CDialogOutput page(&shell_, EQ_KIND_SUB);
    page.show();
    TakeWrites();
    QTest::mouseClick(page.MuteBox(0), Qt::LeftButton); // Main Mute
    EXPECT_EQ(ParamStore.GetInt(PRM_MAIN_MUTE), 1);
    EXPECT_EQ(ParamStore.GetInt(PRM_SUB_MUTE), 0);
    auto writes = TakeWrites();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].block, 5);
    EXPECT_EQ(writes[0].param, 27);
    EXPECT_EQ(writes[0].floats, (std::vector<float>{0.0f, 0.0f}));
    QTest::mouseClick(page.MuteBox(0), Qt::LeftButton);
    writes = TakeWrites();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].floats, (std::vector<float>{1.0f, 1.0f}));
    // The Sub's own box: one value to (8,32).
    QTest::mouseClick(page.MuteBox(3), Qt::LeftButton);
    writes = TakeWrites();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].block, 8);
    EXPECT_EQ(writes[0].param, 32);
    EXPECT_EQ(writes[0].floats, (std::vector<float>{0.0f}));
}

TEST_F(OutputPageTest, EditingAMutedOutput_ShowsTheNoticeAndStillWrites)
{
    ParamStore.SetInt(PRM_REAR_MUTE, 1);
    CDialogOutput page(&shell_, EQ_KIND_REAR);
    EXPECT_TRUE(page.MuteBox(1)->isChecked());
    TakeWrites();
    page.OnSliderMoved(IDC_OUT_MIX_SLIDER, 42);
    ASSERT_EQ(shell_.infos.size(), 1u);
    EXPECT_EQ(shell_.infos[0].first, QString("当前是静音状态"));
    EXPECT_EQ(shell_.infos[0].second, 1100);
    EXPECT_NE(Find(TakeWrites(), 6, 14), nullptr);
    // Not muted: no notice.
    page.ShowOutput(EQ_KIND_TOP);
    page.OnSliderMoved(IDC_OUT_MIX_SLIDER, 42);
    EXPECT_EQ(shell_.infos.size(), 1u);
}

TEST_F(OutputPageTest, SwitchingOutputs_ReloadsTheControlsAndTheCurrentOutput)
{
    ParamStore.SetInt(PRM_CENTER_MIX_ECHO, 33);
    SetEqBand(EQ_KIND_CENTER, 2, 1, 7.5, 900, 2.0);
    CDialogOutput page(&shell_, EQ_KIND_MAIN);
    EXPECT_EQ(g_nOutputKind.load(), EQ_KIND_MAIN);
    EXPECT_TRUE(page.NavBar()->Button(0)->IsChecked());
    page.ShowOutput(EQ_KIND_CENTER);
    EXPECT_EQ(g_nOutputKind.load(), EQ_KIND_CENTER);
    EXPECT_EQ(page.Panel()->Kind(), EQ_KIND_CENTER);
    EXPECT_EQ(page.MixSlider(2)->GetPos(), 33);
    EXPECT_EQ(page.MixValue(2)->text(), QString("33%"));
    EXPECT_FLOAT_EQ(page.Panel()->Band(2).gain, 7.5f);
    EXPECT_EQ(page.Bands()->BandCount(), 10);
    EXPECT_TRUE(page.NavBar()->Button(1)->IsChecked());
    EXPECT_FALSE(page.NavBar()->Button(0)->IsChecked());
    EXPECT_EQ(page.Title()->text(), QString("中置音箱"));
    // A nav button asks the shell for the output page with its output.
    QTest::mouseClick(page.NavBar()->Button(2), Qt::LeftButton);
    ASSERT_FALSE(shell_.shown.empty());
    EXPECT_EQ(shell_.shown.back(), PageKind::Output);
    EXPECT_EQ(shell_.groups.back(), EQ_KIND_SUB);
}

TEST_F(OutputPageTest, SubPage_BuildsACrossoverFromTheDropDown)
{
    CDialogOutput page(&shell_, EQ_KIND_SUB);
    page.show();
    EXPECT_EQ(page.Bands()->BandCount(), 5);
    EXPECT_EQ(page.Panel()->BandCount(), 20);
    // The reset Sub's slot 4 is a Butterworth 24 dB low pass.
    page.EqSection()->OnRowClicked(4);
    ASSERT_TRUE(page.EqSection()->Crossover()->isVisible());
    EXPECT_EQ(page.EqSection()->Crossover()->currentText(), QString("Butterworth 24dB"));
    page.Eq()->PickEqBand(1);
    page.Bands()->Radio(2)->click(); // HP
    TakeWrites();
    page.EqSection()->Crossover()->setCurrentIndex(2);
    emit page.EqSection()->Crossover()->activated(2);
    EXPECT_EQ(LoadSubSlotStages(1), (SubSlotStages{15, 11, 15, 11}));
    std::vector<int> stages;
    for (const ParamWrite& w : TakeWrites()) {
        if (w.block == 8) {
            stages.push_back(w.param);
        }
    }
    EXPECT_EQ(stages, (std::vector<int>{4, 5, 6, 7}));
}

TEST_F(OutputPageTest, Languages_CaptionTheMixSlidersAndMutes)
{
    CDialogOutput page(&shell_, EQ_KIND_MAIN);
    EXPECT_EQ(page.MixCaption(0)->text(), QString("直达音量"));
    EXPECT_EQ(page.SrsCaption()->text(), QString("SRS 3D音效"));
    EXPECT_EQ(page.MuteBox(4)->text(), QString("顶置静音"));
    SetLanguage(1);
    page.Relabel();
    EXPECT_EQ(page.MixCaption(3)->text(), QString("Music"));
    EXPECT_EQ(page.SrsCaption()->text(), QString("SRS 3D"));
    EXPECT_EQ(page.MuteBox(2)->text(), QString("Center Mute"));
    EXPECT_EQ(page.Title()->text(), QString("Main"));
}
