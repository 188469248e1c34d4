#include "pages/CDialogMusic.h"

#include "controls/CGdipButton.h"
#include "controls/CPeakMeterCtrl.h"
#include "controls/CXBmpSlider.h"
#include "dsp/EqBands.h"
#include "eq/CEqBandList.h"
#include "eq/CEqPanel.h"
#include "eq/CSmallEqPanel.h"
#include "eq/EqNotify.h"
#include "model/DeviceMemory.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "pages/CDialogEfx.h"
#include "pages/EqKinds.h"
#include "pages/PageGlobals.h"
#include "pages/PagesFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <memory>

namespace {
class MusicPageTest : public PagesFixture
{
protected:
    void SetUp() override
    {
        PagesFixture::SetUp();
        page_ = std::make_unique<CDialogMusic>(&shell_);
        page_->show();
        Settle();
        TakeWrites();
    }
    void TearDown() override
    {
        page_.reset();
        PagesFixture::TearDown();
    }

    QString RowValue(int row) const { return page_->ParamList()->item(row, 2)->text(); }

    // Moves slider 1000 one step towards `v` from v -/+ 1 with the keyboard, so the value
    // arrives through the slider's own notification.
    void MoveParamSlider(int v)
    {
        CXBmpSlider* s = page_->ParamSlider();
        const bool fromBelow = v > s->GetRangeMin();
        s->SetPos(fromBelow ? v - 1 : v + 1);
        s->setFocus();
        QTest::keyClick(s, fromBelow ? Qt::Key_Up : Qt::Key_Down);
        Settle();
        ASSERT_EQ(s->GetPos(), v);
    }

    std::unique_ptr<CDialogMusic> page_;
};

TEST_F(MusicPageTest, OpeningAndRefreshing_SendNothing)
{
    SetMicAEqBand(3, 4, 5.0, 300, 0.8);
    TakeWrites();
    CDialogMusic other(&shell_);
    other.RefreshInputPage();
    other.SetInputView(EQ_KIND_MUSIC);
    other.ApplyLanguage();
    EXPECT_TRUE(sink_.Reports().empty());
}

TEST_F(MusicPageTest, ChannelBForPort2_SendsPassValuesAndStoresRouting)
{
    QTest::mouseClick(page_->RouteRadio(1, 1), Qt::LeftButton);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICPORT2_TO_A), 0);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICPORT2_TO_B), 100);
    const auto writes = TakeWrites();
    const ParamWrite* toA = Find(writes, 1, 24);
    const ParamWrite* toB = Find(writes, 1, 37);
    ASSERT_NE(toA, nullptr);
    ASSERT_NE(toB, nullptr);
    EXPECT_EQ(toA->floats.at(0), 0.0f);
    EXPECT_EQ(toB->floats.at(0), 1.0f);

    QTest::mouseClick(page_->RouteRadio(1, 0), Qt::LeftButton);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICPORT2_TO_A), 100);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICPORT2_TO_B), 0);
}

TEST_F(MusicPageTest, Refresh_ShowsRoutingAndPortSlidersFromTheStore)
{
    ParamStore.SetInt(PRM_MICPORT3_TO_A, 0);
    ParamStore.SetInt(PRM_MICPORT3_TO_B, 100);
    ParamStore.SetInt(PRM_MICPORT1_TO_A, 100);
    ParamStore.SetInt(PRM_MICPORT4_NG, 37);
    ParamStore.SetInt(PRM_MICPORT2_VOL, 81);
    page_->RefreshInputPage();
    EXPECT_TRUE(page_->RouteRadio(2, 1)->isChecked());
    EXPECT_TRUE(page_->RouteRadio(0, 0)->isChecked());
    EXPECT_EQ(page_->NoiseGateSlider(3)->GetPos(), 37);
    EXPECT_EQ(page_->NoiseGateValue(3)->text(), "37");
    EXPECT_EQ(page_->VolumeSlider(1)->GetPos(), 81);
    EXPECT_EQ(page_->VolumeValue(1)->text(), "81");
}

TEST_F(MusicPageTest, PortSliders_StoreAndShowTheirValue)
{
    CXBmpSlider* vol = page_->VolumeSlider(2);
    vol->SetPos(59);
    vol->setFocus();
    QTest::keyClick(vol, Qt::Key_Right);
    Settle();
    EXPECT_EQ(ParamStore.GetInt(PRM_MICPORT3_VOL), 60);
    EXPECT_EQ(page_->VolumeValue(2)->text(), "60");

    CXBmpSlider* gate = page_->NoiseGateSlider(0);
    gate->SetPos(10);
    gate->setFocus();
    QTest::keyClick(gate, Qt::Key_Left);
    Settle();
    EXPECT_EQ(ParamStore.GetInt(PRM_MICPORT1_NG), 9);
    EXPECT_EQ(page_->NoiseGateValue(0)->text(), "9");
}

TEST_F(MusicPageTest, EchoTimeOf2To6Ms_AlsoSetsTheReverbPredelay)
{
    page_->SelectParam(5);
    MoveParamSlider(4);
    EXPECT_EQ(ParamStore.GetFloat(PRM_ECHOA_TIME), 4.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_REVA_PREDELAY1) + ParamStore.GetFloat(PRM_REVA_PREDELAY2),
              40.0f);
    EXPECT_EQ(RowValue(1), "40ms");
    EXPECT_EQ(RowValue(5), "4ms");
    EXPECT_EQ(page_->ParamEdit()->text(), "4ms");

    page_->SelectParam(1);
    MoveParamSlider(100);
    page_->SelectParam(5);
    MoveParamSlider(7);
    EXPECT_EQ(ParamStore.GetFloat(PRM_REVA_PREDELAY1) + ParamStore.GetFloat(PRM_REVA_PREDELAY2),
              100.0f);
    EXPECT_EQ(RowValue(1), "100ms");
}

TEST_F(MusicPageTest, ChannelBView_EditsChannelBCells)
{
    page_->SetInputView(EQ_KIND_MIC_B);
    page_->SelectParam(5);
    page_->ApplyParam(5, 3);
    EXPECT_EQ(ParamStore.GetFloat(PRM_ECHOB_TIME), 3.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_REVB_PREDELAY1) + ParamStore.GetFloat(PRM_REVB_PREDELAY2),
              30.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_ECHOA_TIME), 217.0f);
    page_->ApplyParam(0, 66);
    EXPECT_EQ(ParamStore.GetInt(PRM_REVB_LEVEL), 66);
    EXPECT_EQ(ParamStore.GetInt(PRM_REVA_LEVEL), 0);
}

TEST_F(MusicPageTest, LevelWhileMuted_ShowsTheMuteNotice)
{
    struct Case
    {
        int row;
        int muteCell;
        int value;
        int language;
        const char* notice; // nullptr: none
    };
    const Case cases[] = {
        {0, PRM_REVERB_MUTE, 50, 0, "混响已静音"},
        {0, PRM_REVERB_MUTE, 50, 1, "Reverb vol is mute"},
        {0, PRM_REVERB_MUTE, 0, 0, nullptr},
        {3, PRM_ECHO_MUTE, 20, 0, "回声已静音"},
        {3, PRM_ECHO_MUTE, 20, 1, "Echo vol is mute"},
        {3, PRM_ECHO_MUTE, 0, 1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " value " << c.value);
        SetLanguage(c.language);
        ParamStore.SetInt(c.muteCell, 1);
        shell_.infos.clear();
        page_->SelectParam(c.row);
        MoveParamSlider(c.value);
        if (c.notice) {
            ASSERT_EQ(shell_.infos.size(), 1u);
            EXPECT_EQ(shell_.infos[0].first, QString::fromUtf8(c.notice));
            EXPECT_EQ(shell_.infos[0].second, 1100);
        } else {
            EXPECT_TRUE(shell_.infos.empty());
        }
    }
    ParamStore.SetInt(PRM_REVERB_MUTE, 0);
    shell_.infos.clear();
    page_->ApplyParam(0, 50);
    EXPECT_TRUE(shell_.infos.empty());
}

TEST_F(MusicPageTest, RowsShowFormattedValues)
{
    struct Case
    {
        int row;
        int value;
        int language;
        const char* text;
    };
    const Case cases[] = {
        {2, 0, 0, "40ms"},   {2, 100, 0, "5000ms"}, {7, 1, 0, "关闭"},
        {7, 1, 1, "Off"},    {7, 5, 1, "5Hz"},      {6, 20, 0, "20%"},
        {0, 100, 0, "100%"}, {4, 3, 0, "3ms"},      {5, 260, 1, "260ms"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " value " << c.value);
        SetLanguage(c.language);
        page_->Relabel();
        page_->SelectParam(c.row);
        page_->ApplyParam(c.row, c.value);
        EXPECT_EQ(RowValue(c.row), QString::fromUtf8(c.text));
        EXPECT_EQ(page_->ParamEdit()->text(), QString::fromUtf8(c.text));
    }
}

TEST_F(MusicPageTest, SelectParam_SetsRangeValueAndCaption)
{
    ParamStore.SetInt(PRM_ECHOA_DECAY, 5); // below the row's range
    page_->RefreshInputPage();
    page_->SelectParam(6);
    EXPECT_EQ(page_->ParamSlider()->GetRangeMin(), 20);
    EXPECT_EQ(page_->ParamSlider()->GetRangeMax(), 90);
    EXPECT_EQ(page_->ParamSlider()->GetPos(), 20);
    EXPECT_EQ(page_->ParamEdit()->text(), "5%");
    EXPECT_EQ(page_->ParamCaption()->text(), QString::fromUtf8("回声衰减比例"));
    EXPECT_EQ(page_->ParamRow(), 6);

    SetLanguage(1);
    page_->Relabel();
    EXPECT_EQ(page_->ParamCaption()->text(), "Echo Vol Decay");
    EXPECT_EQ(page_->ParamList()->item(7, 1)->text(), "Shift Frequency");
    EXPECT_EQ(page_->ParamList()->horizontalHeaderItem(1)->text(), "Parameter name");
}

TEST_F(MusicPageTest, WheelOnTheParameterList_StepsTheSelectedParameter)
{
    page_->ApplyParam(0, 30);
    page_->SelectParam(0); // slider 1000 at the stored 30
    QApplication::setActiveWindow(page_.get());
    page_->ParamList()->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), page_->ParamList());
    QWidget* viewport = page_->ParamList()->viewport();
    const QPoint at = viewport->rect().center();
    QWheelEvent up(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &up);
    EXPECT_EQ(ParamStore.GetInt(PRM_REVA_LEVEL), 31);
    QWheelEvent down(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -360), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &down);
    EXPECT_EQ(ParamStore.GetInt(PRM_REVA_LEVEL), 30);
    EXPECT_EQ(page_->ParamSlider()->GetPos(), 30);
}

TEST_F(MusicPageTest, MusicView_DisablesTheEffectControlsAndTitlesThePanel)
{
    for (int language = 0; language < 2; ++language) {
        SetLanguage(language);
        page_->Relabel();
        QTest::mouseClick(page_->ViewButton(2), Qt::LeftButton);
        EXPECT_EQ(g_nInputView.load(), EQ_KIND_MUSIC);
        EXPECT_TRUE(page_->ViewButton(2)->IsChecked());
        EXPECT_FALSE(page_->ViewButton(0)->IsChecked());
        EXPECT_FALSE(page_->ParamList()->isEnabled());
        EXPECT_FALSE(page_->ParamSlider()->isEnabled());
        EXPECT_FALSE(page_->ParamEdit()->isEnabled());
        EXPECT_FALSE(page_->ReverbPanel()->isEnabled());
        EXPECT_FALSE(page_->EchoPanel()->isEnabled());
        EXPECT_EQ(page_->Panel()->Kind(), EQ_KIND_MUSIC);
        EXPECT_EQ(page_->Panel()->Language(), language);
        EXPECT_STREQ(EqKindTitle(page_->Panel()->Kind(), page_->Panel()->Language()),
                     language == 0 ? "音乐均衡" : "Music EQ");
        QTest::mouseClick(page_->ReverbPanel(), Qt::LeftButton);
        Settle();
        EXPECT_TRUE(shell_.shown.empty());
    }
    QTest::mouseClick(page_->ViewButton(1), Qt::LeftButton);
    EXPECT_EQ(g_nInputView.load(), EQ_KIND_MIC_B);
    EXPECT_TRUE(page_->ParamList()->isEnabled());
    EXPECT_TRUE(page_->EchoPanel()->isEnabled());
}

TEST_F(MusicPageTest, SmallPanels_OpenTheEffectPageOfTheirChannel)
{
    struct Case
    {
        int view;
        bool reverb;
        int kind;
    };
    const Case cases[] = {{1, true, 6}, {1, false, 7}, {8, true, 9}, {8, false, 10}};
    for (const Case& c : cases) {
        page_->SetInputView(c.view);
        shell_.shown.clear();
        QTest::mouseClick(c.reverb ? page_->ReverbPanel() : page_->EchoPanel(), Qt::LeftButton);
        Settle();
        ASSERT_EQ(shell_.shown.size(), 1u);
        EXPECT_EQ(shell_.shown[0], PageKind::Efx);
        EXPECT_EQ(g_nEffectKind.load(), c.kind);
    }
}

TEST_F(MusicPageTest, SmallPanels_ShowTheStoredEffectBandsOfTheChannel)
{
    SetReverbBEqBand(2, 1, 12.0, 1000, 1.41);
    page_->SetInputView(EQ_KIND_MIC_B);
    EXPECT_EQ(page_->ReverbPanel()->Band(2).gain, 12.0f);
    EXPECT_EQ(page_->ReverbPanel()->Band(2).freq, 1000.0f);
    EXPECT_EQ(page_->ReverbPanel()->CurveColour(), QColor(0, 220, 0));
    page_->SetInputView(EQ_KIND_MIC_A);
    EXPECT_EQ(page_->ReverbPanel()->Band(2).gain, 0.0f);
    EXPECT_EQ(page_->ReverbPanel()->CurveColour(), QColor(0, 200, 255));
}

TEST_F(MusicPageTest, Refresh_LoadsTheViewsBandsWithThePanelRules)
{
    // Channel B's mic bands follow channel A's ten in the mic region.
    SetMicBEqBand(0, 1, -6.5, 2500, 4.0);
    SetMicBEqBand(1, 2, 9.0, 800, 5.0); // LP: gain forced 0, Q at most 2
    // A type the lists do not know is shown as OFF.
    SetMicBEqBand(2, 1, 0.0, 300, 1.0);
    DeviceImage.Set(static_cast<size_t>(EqBandOffset(1, 12) + 6), 9);
    page_->SetInputView(EQ_KIND_MIC_B);
    const CEqPanel* panel = page_->Panel();
    EXPECT_EQ(panel->Kind(), EQ_KIND_MIC_B);
    EXPECT_EQ(panel->BandCount(), 10);
    EXPECT_FLOAT_EQ(panel->Band(0).gain, -6.5f);
    EXPECT_EQ(panel->Band(0).freq, 2500.0f);
    EXPECT_FLOAT_EQ(panel->Band(0).q, 4.0f);
    EXPECT_EQ(panel->Band(1).type, 2);
    EXPECT_EQ(panel->Band(1).gain, 0.0f);
    EXPECT_FLOAT_EQ(panel->Band(1).q, 2.0f);
    EXPECT_EQ(panel->Band(2).type, 0);
    EXPECT_EQ(page_->Bands()->CellText(0, EQ_COL_FREQ), "2500Hz");
    EXPECT_EQ(page_->Bands()->CellText(2, EQ_COL_TYPE), QString::fromUtf8("关闭"));
    EXPECT_EQ(page_->Bands()->List()->item(0, EQ_COL_NUMBER)->foreground().color(),
              QColor(0, 220, 0));
}

TEST_F(MusicPageTest, BandEdits_GoToTheViewsEq)
{
    page_->SetInputView(EQ_KIND_MUSIC);
    page_->Bands()->ApplyListEdit(3, EQ_COL_FREQ, "440");
    EXPECT_EQ(LoadEqBand(4, 3).freq, 440);
    page_->SetInputView(EQ_KIND_MIC_B);
    page_->Bands()->ApplyListEdit(3, EQ_COL_GAIN, "+4.5dB");
    EXPECT_DOUBLE_EQ(LoadEqBand(1, 13).gain, 4.5);
    EXPECT_DOUBLE_EQ(LoadEqBand(1, 3).gain, 0.0);
}

TEST_F(MusicPageTest, ViewChangeAndReset_ReturnToTheBandList)
{
    page_->Eq()->PickEqBand(2);
    EXPECT_EQ(page_->EditBand(), 2);
    page_->SetInputView(EQ_KIND_MIC_B);
    EXPECT_EQ(page_->EditBand(), -1);
    EXPECT_TRUE(page_->Bands()->List()->isVisibleTo(page_.get()));

    SetMicBEqBand(4, 1, 7.0, 777, 2.0);
    page_->RefreshInputPage();
    page_->Eq()->PickEqBand(9); // the 0 key: band 10
    EXPECT_EQ(page_->EditBand(), 9);
    page_->Eq()->ResetEq();
    EXPECT_EQ(page_->EditBand(), -1);
    EXPECT_EQ(LoadEqBand(1, 14).gain, 0.0);
    EXPECT_EQ(page_->Panel()->Band(4).gain, 0.0f);
}

TEST_F(MusicPageTest, Bypass_TogglesTheViewsCellAndThePanel)
{
    page_->SetInputView(EQ_KIND_MIC_B);
    EXPECT_FALSE(page_->Eq()->EqBypass());
    page_->Eq()->SetEqBypass(true);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICB_EQ_BYPASS), 1);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICA_EQ_BYPASS), 0);
    EXPECT_TRUE(page_->Panel()->Bypass());
    page_->SetInputView(EQ_KIND_MIC_A);
    EXPECT_FALSE(page_->Panel()->Bypass());
    page_->SetInputView(EQ_KIND_MIC_B);
    EXPECT_TRUE(page_->Panel()->Bypass());
}

TEST_F(MusicPageTest, CopyMicAPasteOnMusicAndEcho_CopiesTheCommonBands)
{
    for (int i = 0; i < 10; ++i) {
        SetMicAEqBand(i, 1, -10.0 + 2.0 * i, 100 + 50 * i, 2.0);
    }
    const EqBand musicLowPass = LoadEqBand(4, 10);
    const EqBand echoB = LoadEqBand(2, 7);
    page_->SetInputView(EQ_KIND_MIC_A);
    page_->Panel()->OnMenuCommand(EQ_MENU_COPY);
    EXPECT_EQ(g_nEqCopySlot.load(), EQ_KIND_MIC_A);

    page_->SetInputView(EQ_KIND_MUSIC);
    TakeWrites();
    page_->Panel()->OnMenuCommand(EQ_MENU_PASTE);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(LoadEqBand(4, i), LoadEqBand(1, i)) << "band " << i;
        EXPECT_FLOAT_EQ(page_->Panel()->Band(i).gain, static_cast<float>(-10.0 + 2.0 * i));
    }
    EXPECT_EQ(LoadEqBand(4, 10), musicLowPass);
    EXPECT_EQ(TakeWrites().size(), 10u); // ten biquads re-sent

    // Pasting onto the channel A echo EQ page copies seven bands.
    CDialogEfx echo(&shell_, EQ_KIND_ECHO_A);
    echo.Panel()->OnMenuCommand(EQ_MENU_PASTE);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(LoadEqBand(2, i), LoadEqBand(1, i)) << "band " << i;
        EXPECT_FLOAT_EQ(echo.Panel()->Band(i).gain, static_cast<float>(-10.0 + 2.0 * i));
    }
    EXPECT_EQ(LoadEqBand(2, 7), echoB);
}

TEST_F(MusicPageTest, PasteWithNothingCopiedOrOntoTheSub_ChangesNothing)
{
    SetMicAEqBand(0, 1, 5.0, 4321, 3.0);
    page_->SetInputView(EQ_KIND_MUSIC);
    const EqBand music0 = LoadEqBand(4, 0);
    page_->Panel()->OnMenuCommand(EQ_MENU_PASTE);
    EXPECT_EQ(LoadEqBand(4, 0), music0);

    g_nEqCopySlot = EQ_KIND_MIC_A;
    const EqBand sub0 = LoadEqBand(8, 0);
    TakeWrites();
    EXPECT_FALSE(EqCopyPaste(1, EQ_KIND_SUB));
    EXPECT_EQ(LoadEqBand(8, 0), sub0);
    EXPECT_TRUE(sink_.Reports().empty());
}

TEST_F(MusicPageTest, MeterPoll_ShowsTheFirstTenStatusBytes)
{
    const uint8_t status[15] = {230, 215, 200, 185, 170, 155, 140, 125, 110, 95, 7, 7, 7, 7, 7};
    page_->SetStatusReader([&status](int i) { return status[i]; });
    page_->PollMeters();
    for (int id = 1168; id <= 1177; ++id) {
        SCOPED_TRACE(id);
        ASSERT_NE(page_->Meter(id), nullptr);
        EXPECT_EQ(page_->Meter(id)->Model().Bands().at(0).level, status[id - 1168]);
    }
}

TEST_F(MusicPageTest, Language_RelabelsTheDialogTexts)
{
    SetLanguage(1);
    page_->Relabel();
    EXPECT_EQ(page_->RouteRadio(3, 1)->text(), "CH B");
    EXPECT_EQ(page_->ViewButton(0)->text(), "Mic CH A");
    SetLanguage(0);
    page_->Relabel();
    EXPECT_EQ(page_->RouteRadio(3, 1)->text(), QString::fromUtf8("通道B"));
    EXPECT_EQ(page_->ViewButton(2)->text(), QString::fromUtf8("音乐"));
}
} // namespace
