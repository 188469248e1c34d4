// The machine settings and features windows on a recording sink: what their controls show,
// what they store and what they write.
#include "controls/CGdipButton.h"
#include "controls/CXBmpSlider.h"
#include "dsp/Dynamics.h"
#include "dsp/EqBands.h"
#include "dsp/Features.h"
#include "link/LinkState.h"
#include "link/MachineSettings.h"
#include "model/CmdVersion.h"
#include "model/DeviceMemory.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "pages/CSetDlg.h"
#include "pages/CloudnessDlg.h"
#include "pages/PagesFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

namespace {
void MoveTo(CXBmpSlider* s, int target)
{
    MoveSliderTo(s, target);
}

// Clicks a check box on its indicator (a click right of a short caption misses the box).
void Click(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

class SetDlgTest : public PagesFixture
{
protected:
    void SetUp() override
    {
        PagesFixture::SetUp();
        ResetLinkState();
        // As a processor reports it: mic start 70 of 99, music start off, music max 80, the
        // panel locked with "Lock Mode", power-on mode M2, kept by mode.
        const MachineSettingsRecord record = {1, 70, 255, 99, 80, 1, 0x10, 7, 8, 9, 10, 11, 2};
        g_MachineSettings.Write(0, record);
        g_MachineSettingsWork.Write(0, record);
    }
    void TearDown() override
    {
        ResetLinkState();
        PagesFixture::TearDown();
    }
};

TEST_F(SetDlgTest, OpeningShowsTheCommittedRecord)
{
    g_MachineSettingsWork.Set(MS_MIC_START, 5); // a stale edit is not shown
    ParamStore.SetInt(PRM_MICA_PHASE, 1);
    ParamStore.SetInt(PRM_MICB_PHASE, 0);
    shell_.session.mode = 2;
    CSetDlg dialog(&shell_);
    EXPECT_EQ(dialog.Slider(0)->GetPos(), 70);
    EXPECT_EQ(dialog.Value(0)->text(), "70");
    EXPECT_TRUE(dialog.StartEnable(0)->isChecked());
    EXPECT_EQ(dialog.Slider(1)->GetPos(), 0);
    EXPECT_FALSE(dialog.Slider(1)->IsSliderEnabled());
    EXPECT_FALSE(dialog.StartEnable(1)->isChecked());
    EXPECT_FALSE(dialog.Caption(1)->isEnabled());
    EXPECT_EQ(dialog.Value(1)->text(), "无效");
    EXPECT_EQ(dialog.Slider(1)->GetRangeMax(), 80);
    EXPECT_EQ(dialog.Slider(3)->GetPos(), 80);
    EXPECT_EQ(dialog.Value(3)->text(), "80");
    EXPECT_TRUE(dialog.SaveModeButton(1)->isChecked());
    EXPECT_TRUE(dialog.LockPanelBox()->isChecked());
    EXPECT_FALSE(dialog.LockVolumeBox()->isChecked());
    EXPECT_TRUE(dialog.LockModeBox()->isChecked());
    EXPECT_TRUE(dialog.LockVolumeBox()->isEnabled());
    EXPECT_EQ(dialog.PowerOnBox()->currentIndex(), 2);
    EXPECT_EQ(dialog.PowerOnBox()->currentText(), "M2");
    EXPECT_FALSE(dialog.PhaseBox(0)->isChecked());
    EXPECT_TRUE(dialog.PhaseBox(1)->isChecked());
    for (int m = 0; m < 4; ++m) {
        EXPECT_EQ(dialog.ModeButton(m)->IsChecked(), m == 2) << m;
    }
    EXPECT_EQ(g_MachineSettingsWork.Get(MS_MIC_START), 70);
    EXPECT_TRUE(TakeWrites().empty()) << "opening writes nothing";
}

TEST_F(SetDlgTest, LoweringTheMicMaximumPullsTheStartSliderDownAndWritesTheVolume)
{
    CSetDlg dialog(&shell_);
    dialog.show();
    TakeWrites();
    MoveTo(dialog.Slider(2), 50);
    EXPECT_EQ(dialog.Value(2)->text(), "50");
    EXPECT_EQ(dialog.Slider(0)->GetPos(), 50);
    EXPECT_EQ(dialog.Slider(0)->GetRangeMax(), 50);
    EXPECT_EQ(dialog.Value(0)->text(), "50");
    EXPECT_EQ(g_MachineSettingsWork.Get(MS_MIC_START), 50);
    EXPECT_EQ(g_MachineSettingsWork.Get(MS_MIC_MAX), 50);
    const auto writes = TakeWrites();
    for (int param : {20, 33}) {
        const ParamWrite* w = Find(writes, 1, param);
        ASSERT_NE(w, nullptr) << param;
        EXPECT_FLOAT_EQ(w->floats.at(0), 0.5f);
    }
    EXPECT_EQ(g_MachineSettings.Get(MS_MIC_MAX), 99) << "the committed copy waits for Apply";
    EXPECT_GT(shell_.masterVolumesChanged, 0) << "the ribbon is not told of the new volume";

    // The start slider writes the volume at once.
    MoveTo(dialog.Slider(0), 30);
    const auto again = TakeWrites();
    const ParamWrite* w = Find(again, 1, 20);
    ASSERT_NE(w, nullptr);
    EXPECT_FLOAT_EQ(w->floats.at(0), 0.3f);
    EXPECT_EQ(g_MachineSettingsWork.Get(MS_MIC_START), 30);
}

TEST_F(SetDlgTest, ClearingEnableStores255AndShowsInvalidInEitherLanguage)
{
    CSetDlg dialog(&shell_);
    dialog.show();
    Click(dialog.StartEnable(0));
    EXPECT_EQ(g_MachineSettingsWork.Get(MS_MIC_START), 255);
    EXPECT_EQ(dialog.Value(0)->text(), "无效");
    EXPECT_FALSE(dialog.Slider(0)->IsSliderEnabled());
    EXPECT_FALSE(dialog.Value(0)->isEnabled());
    EXPECT_EQ(dialog.Slider(0)->GetPos(), 0);
    SetLanguage(1);
    dialog.Relabel();
    EXPECT_EQ(dialog.Value(0)->text(), "Invalid");
    EXPECT_EQ(dialog.StartEnable(0)->text(), "Enable");
    EXPECT_EQ(dialog.windowTitle(), "Machine Set");
    EXPECT_EQ(dialog.SaveModeButton(1)->text(), "By mode ");

    ParamStore.SetInt(PRM_MIC_VOL, 42);
    Click(dialog.StartEnable(0));
    EXPECT_EQ(g_MachineSettingsWork.Get(MS_MIC_START), 42);
    EXPECT_EQ(dialog.Value(0)->text(), "42");
    EXPECT_TRUE(dialog.Slider(0)->IsSliderEnabled());
    EXPECT_EQ(dialog.Slider(0)->GetPos(), 42);
}

TEST_F(SetDlgTest, LockBoxesSetTheirBitsAndFollowThePanelLock)
{
    CSetDlg dialog(&shell_);
    dialog.show();
    Click(dialog.LockVolumeBox());
    EXPECT_EQ(g_MachineSettingsWork.Get(MS_LOCK_FLAGS), 0x93);
    Click(dialog.LockVolumeBox());
    EXPECT_EQ(g_MachineSettingsWork.Get(MS_LOCK_FLAGS), 0x10);
    Click(dialog.LockPanelBox());
    EXPECT_EQ(g_MachineSettingsWork.Get(MS_PANEL_LOCK), 0);
    EXPECT_FALSE(dialog.LockVolumeBox()->isEnabled());
    EXPECT_FALSE(dialog.LockModeBox()->isEnabled());

    QTest::mouseClick(dialog.SaveModeButton(0), Qt::LeftButton);
    EXPECT_EQ(g_MachineSettingsWork.Get(MS_VOLUME_SAVE_MODE), 0);
    dialog.PowerOnBox()->setFocus();
    QTest::keyClick(dialog.PowerOnBox(), Qt::Key_Down);
    EXPECT_EQ(g_MachineSettingsWork.Get(MS_POWER_ON_MODE), 3);
    EXPECT_TRUE(TakeWrites().empty());
}

TEST_F(SetDlgTest, PhaseBoxesWriteAtOnce)
{
    ParamStore.SetInt(PRM_MICA_PHASE, 1);
    CSetDlg dialog(&shell_);
    dialog.show();
    TakeWrites();
    Click(dialog.PhaseBox(0));
    EXPECT_EQ(ParamStore.GetInt(PRM_MICA_PHASE), 0);
    auto writes = TakeWrites();
    ASSERT_NE(Find(writes, 1, 31), nullptr);
    EXPECT_EQ(Find(writes, 1, 31)->firstWord, 0u);
    Click(dialog.PhaseBox(0));
    writes = TakeWrites();
    ASSERT_NE(Find(writes, 1, 31), nullptr);
    EXPECT_EQ(Find(writes, 1, 31)->firstWord, 1u);
}

TEST_F(SetDlgTest, CancelAndCloseRestoreTheWorkingCopyAndEnterDoesNothing)
{
    const MachineSettingsRecord committed = g_MachineSettings.Snapshot();
    auto* dialog = new CSetDlg(&shell_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    Click(dialog->LockVolumeBox());
    MoveTo(dialog->Slider(3), 40);
    ASSERT_NE(g_MachineSettingsWork.Snapshot(), committed);
    QTest::keyClick(dialog, Qt::Key_Return);
    QTest::keyClick(dialog->ApplyButton(), Qt::Key_Enter);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(g_MachineSettings.Snapshot(), committed) << "Enter applied nothing";
    EXPECT_TRUE(shell_.infos.empty());

    QPointer<CSetDlg> alive(dialog);
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull()) << "Cancel closes the window";
    EXPECT_EQ(g_MachineSettingsWork.Snapshot(), committed);

    CSetDlg second(&shell_);
    second.show();
    Click(second.LockModeBox());
    second.close(); // the close box
    EXPECT_EQ(g_MachineSettingsWork.Snapshot(), committed);
}

TEST_F(SetDlgTest, ApplyCommitsTheWorkingCopyAndShowsTheNotice)
{
    CSetDlg dialog(&shell_);
    dialog.show();
    Click(dialog.LockVolumeBox());
    QTest::mouseClick(dialog.ApplyButton(), Qt::LeftButton);
    EXPECT_EQ(g_MachineSettings.Get(MS_LOCK_FLAGS), 0x93);
    EXPECT_TRUE(dialog.isVisible()) << "the window stays";
    ASSERT_EQ(shell_.infos.size(), 1u);
    EXPECT_EQ(shell_.infos[0].first, "机器设置已生效!");
    EXPECT_EQ(shell_.infos[0].second, 1100);
    SetLanguage(1);
    QTest::mouseClick(dialog.ApplyButton(), Qt::LeftButton);
    EXPECT_EQ(shell_.infos.back().first, "Setting valid");
}

TEST_F(SetDlgTest, ModeButtonsResetOnlyWhileConnected)
{
    CSetDlg dialog(&shell_);
    dialog.show();
    QTest::mouseClick(dialog.ModeButton(2), Qt::LeftButton);
    EXPECT_TRUE(shell_.session.calls.empty());
    shell_.session.connected = true;
    QTest::mouseClick(dialog.ModeButton(2), Qt::LeftButton);
    EXPECT_EQ(shell_.session.calls, (std::vector<std::string>{"reset 2"}));
}

class FeaturesDlgTest : public PagesFixture
{
protected:
    void SetUp() override
    {
        PagesFixture::SetUp();
        previousVersion_ = g_nCmdVersion.load();
        g_nCmdVersion = 21;
    }
    void TearDown() override
    {
        g_nCmdVersion = previousVersion_;
        PagesFixture::TearDown();
    }

private:
    int previousVersion_ = 1;
};

TEST_F(FeaturesDlgTest, BoostSliderWritesMinusTheLevelAndRefreshShowsItAgain)
{
    CloudnessDlg dialog(&shell_);
    dialog.show();
    TakeWrites();
    MoveTo(dialog.SliderAt(CloudnessDlg::BOOST), 20);
    EXPECT_EQ(dialog.Value(CloudnessDlg::BOOST)->text(), "20dB");
    EXPECT_EQ(MicBoostLevel(), -20.0f);
    EXPECT_EQ(Block997.Get(0), 0xC1);
    EXPECT_EQ(Block997.Get(1), 0xA0);
    EXPECT_NE(Find(TakeWrites(), 1, 70), nullptr);

    CloudnessDlg other(&shell_);
    EXPECT_EQ(other.SliderAt(CloudnessDlg::BOOST)->GetPos(), 20);
    EXPECT_EQ(other.Value(CloudnessDlg::BOOST)->text(), "20dB");
    EXPECT_TRUE(TakeWrites().empty()) << "refreshing writes nothing";

    Click(dialog.BoxAt(CloudnessDlg::BOOST_ON));
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_BOOST_ON), 1);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_BOOST_ON2), 1);
    const auto writes = TakeWrites();
    EXPECT_NE(Find(writes, 1, 65), nullptr);
    EXPECT_NE(Find(writes, 1, 69), nullptr);
}

TEST_F(FeaturesDlgTest, AgcLevelShowsTenthsAndItsText)
{
    ParamStore.SetFloat(PRM_MUSIC_AGC_LEVEL, -12.0f);
    ParamStore.SetInt(PRM_MUSIC_AGC_ON, 1);
    CloudnessDlg dialog(&shell_);
    dialog.show();
    EXPECT_EQ(dialog.SliderAt(CloudnessDlg::AGC_LEVEL)->GetPos(), -120);
    EXPECT_EQ(dialog.Value(CloudnessDlg::AGC_LEVEL)->text(), "-12.0dB");
    EXPECT_TRUE(dialog.BoxAt(CloudnessDlg::AGC_ON)->isChecked());
    TakeWrites();
    MoveTo(dialog.SliderAt(CloudnessDlg::AGC_LEVEL), -255);
    EXPECT_EQ(dialog.Value(CloudnessDlg::AGC_LEVEL)->text(), "-25.5dB");
    const auto writes = TakeWrites();
    const ParamWrite* w = Find(writes, 4, 18);
    ASSERT_NE(w, nullptr);
    EXPECT_FLOAT_EQ(w->floats.at(0), -25.5f);
}

TEST_F(FeaturesDlgTest, CommandSet8ShowsAgcOffAtMinus10AndWritesNothing)
{
    ParamStore.SetFloat(PRM_MUSIC_AGC_LEVEL, -30.0f);
    ParamStore.SetInt(PRM_MUSIC_AGC_ON, 1);
    g_nCmdVersion = 8;
    CloudnessDlg dialog(&shell_);
    dialog.show();
    EXPECT_FALSE(dialog.BoxAt(CloudnessDlg::AGC_ON)->isChecked());
    EXPECT_EQ(dialog.SliderAt(CloudnessDlg::AGC_LEVEL)->GetPos(), -100);
    EXPECT_EQ(dialog.Value(CloudnessDlg::AGC_LEVEL)->text(), "-10.0dB");
    TakeWrites();
    MoveTo(dialog.SliderAt(CloudnessDlg::AGC_LEVEL), -200);
    Click(dialog.BoxAt(CloudnessDlg::AGC_ON));
    EXPECT_TRUE(TakeWrites().empty());
    EXPECT_EQ(ParamStore.GetFloat(PRM_MUSIC_AGC_LEVEL), -30.0f);
    EXPECT_EQ(dialog.Value(CloudnessDlg::AGC_LEVEL)->text(), "-10.0dB");
    EXPECT_EQ(dialog.SliderAt(CloudnessDlg::AGC_LEVEL)->GetPos(), -100);
    EXPECT_FALSE(dialog.BoxAt(CloudnessDlg::AGC_ON)->isChecked());
}

TEST_F(FeaturesDlgTest, LowPassAt120WritesMusicBand10)
{
    CloudnessDlg dialog(&shell_);
    dialog.show();
    TakeWrites();
    MoveTo(dialog.SliderAt(CloudnessDlg::LPF_FREQ), 120);
    EXPECT_EQ(dialog.Value(CloudnessDlg::LPF_FREQ)->text(), "120Hz");
    const EqBand band = LoadEqBand(4, 10);
    EXPECT_EQ(band.type, EQ_TYPE_LP);
    EXPECT_EQ(band.freq, 120);
    EXPECT_NEAR(band.q, 0.707, 1e-9);
    const auto writes = TakeWrites();
    const ParamWrite* w = Find(writes, 4, 10);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->count, 5);

    MoveTo(dialog.SliderAt(CloudnessDlg::LPF_DELAY), 10);
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_LPF_DELAY), 10);
    EXPECT_EQ(dialog.Value(CloudnessDlg::LPF_DELAY)->text(), "10ms");
    MoveTo(dialog.SliderAt(CloudnessDlg::LPF_GAIN), 250);
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_LPF_GAIN), 250);
    EXPECT_EQ(dialog.Value(CloudnessDlg::LPF_GAIN)->text(), "250%");
    MoveTo(dialog.SliderAt(CloudnessDlg::SUB_LEVEL), 35);
    EXPECT_EQ(ParamStore.GetInt(PRM_AUTOSUB_LEVEL), 35);
    EXPECT_EQ(dialog.Value(CloudnessDlg::SUB_LEVEL)->text(), "35%");
    Click(dialog.BoxAt(CloudnessDlg::SUB_ON));
    EXPECT_EQ(ParamStore.GetInt(PRM_AUTOSUB_ON), 1);
    const auto more = TakeWrites();
    EXPECT_NE(Find(more, 4, 30), nullptr);
    EXPECT_NE(Find(more, 4, 31), nullptr);
    EXPECT_NE(Find(more, 1, 58), nullptr);
    EXPECT_NE(Find(more, 1, 57), nullptr);
}

TEST_F(FeaturesDlgTest, CurrentMusicLevelIsStatusByte14SignedEvery300Ms)
{
    shell_.session.status14 = 0xE2;
    CloudnessDlg dialog(&shell_);
    EXPECT_EQ(dialog.MusicLevel()->text(), "-30dB");
    shell_.session.status14 = 0x03;
    dialog.UpdateMusicLevel();
    EXPECT_EQ(dialog.MusicLevel()->text(), "3dB");
    EXPECT_TRUE(dialog.LevelTimer().isActive());
    EXPECT_EQ(dialog.LevelTimer().interval(), 300);
}

TEST_F(FeaturesDlgTest, TextsComeFromTheTableInBothLanguages)
{
    CloudnessDlg dialog(&shell_);
    EXPECT_EQ(dialog.windowTitle(), "特色功能");
    EXPECT_EQ(dialog.BoxAt(CloudnessDlg::BOOST_ON)->text(), "启用");
    SetLanguage(1);
    dialog.Relabel();
    EXPECT_EQ(dialog.windowTitle(), "Features");
    EXPECT_EQ(dialog.BoxAt(CloudnessDlg::BOOST_ON)->text(), "ON ");
    EXPECT_EQ(dialog.BoxAt(CloudnessDlg::AGC_ON)->text(), "ON");
}
} // namespace
