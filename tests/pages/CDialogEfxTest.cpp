#include "pages/CDialogEfx.h"

#include "controls/CGdipButton.h"
#include "dsp/EqBands.h"
#include "eq/CEqBandList.h"
#include "eq/CEqPanel.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "pages/EfxPictures.h"
#include "pages/EqKinds.h"
#include "pages/PageGlobals.h"
#include "pages/PagesFixture.h"

#include <QLabel>
#include <QTableWidget>
#include <QTest>

namespace {
using EfxPageTest = PagesFixture;

TEST_F(EfxPageTest, ChannelBEcho_LoadsBands7To13AndTitlesThePanel)
{
    for (int i = 0; i < 7; ++i) {
        SetEchoBEqBand(i, 1, 1.0 + i, 200 + 100 * i, 1.0 + 0.5 * i);
        SetEchoAEqBand(i, 1, -3.0, 5000, 1.0);
    }
    for (int language = 0; language < 2; ++language) {
        SetLanguage(language);
        CDialogEfx page(&shell_, EQ_KIND_ECHO_B);
        EXPECT_EQ(page.Panel()->Kind(), EQ_KIND_ECHO_B);
        EXPECT_EQ(page.Panel()->BandCount(), 7);
        EXPECT_STREQ(EqKindTitle(page.Panel()->Kind(), page.Panel()->Language()),
                     language == 0 ? "回声通道B均衡" : "CH B Echo EQ");
        for (int i = 0; i < 7; ++i) {
            const EqBand stored = LoadEqBand(2, 7 + i);
            EXPECT_FLOAT_EQ(page.Panel()->Band(i).gain, static_cast<float>(stored.gain));
            EXPECT_EQ(page.Panel()->Band(i).freq, static_cast<float>(stored.freq));
            EXPECT_NEAR(page.Panel()->Band(i).q, stored.q, 1e-6);
        }
        EXPECT_EQ(page.TitlePicture(), EfxTitlePicture(EQ_KIND_ECHO_B, language));
        EXPECT_FALSE(page.Title()->pixmap().isNull());
    }
}

TEST_F(EfxPageTest, Reset_GivesSevenPeakingBandsAndTheList)
{
    for (int i = 0; i < 7; ++i) {
        SetEchoBEqBand(i, 4, 6.0, 9000, 0.5);
    }
    CDialogEfx page(&shell_, EQ_KIND_ECHO_B);
    page.Eq()->PickEqBand(3);
    EXPECT_EQ(page.EditBand(), 3);
    page.Eq()->ResetEq();
    EXPECT_EQ(page.EditBand(), -1);
    const int freqs[7] = {63, 125, 250, 500, 1000, 2300, 5000};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        const EqBand b = LoadEqBand(2, 7 + i);
        EXPECT_EQ(b.type, 1);
        EXPECT_EQ(b.freq, freqs[i]);
        EXPECT_NEAR(b.gain, 0.0, 1e-9);
        EXPECT_NEAR(b.q, 1.41, 1e-6);
        EXPECT_EQ(page.Panel()->Band(i).freq, static_cast<float>(freqs[i]));
        EXPECT_EQ(page.Bands()->CellText(i, EQ_COL_TYPE), QString::fromUtf8("参量"));
    }
    EXPECT_TRUE(page.Bands()->List()->isVisibleTo(&page));
}

TEST_F(EfxPageTest, KindsUseTheirOwnRegionAndBypass)
{
    struct Case
    {
        int kind;
        int block;
        int first;
        int bypassCell;
    };
    const Case cases[] = {{6, 3, 0, PRM_REVA_EQ_BYPASS},
                          {7, 2, 0, PRM_ECHOA_EQ_BYPASS},
                          {9, 3, 7, PRM_REVB_EQ_BYPASS},
                          {10, 2, 7, PRM_ECHOB_EQ_BYPASS}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ParamStore.ResetToDefaults();
        CDialogEfx page(&shell_, c.kind);
        page.Bands()->ApplyListEdit(2, EQ_COL_FREQ, "1234");
        EXPECT_EQ(LoadEqBand(c.block, c.first + 2).freq, 1234);
        const auto writes = TakeWrites();
        // The biquad goes to the block's parameter of the band (+7 for channel B).
        EXPECT_NE(Find(writes, c.block, c.first + 2), nullptr);
        page.Eq()->SetEqBypass(true);
        EXPECT_EQ(ParamStore.GetInt(c.bypassCell), 1);
        EXPECT_TRUE(page.Eq()->EqBypass());
        EXPECT_TRUE(page.Panel()->Bypass());
    }
}

TEST_F(EfxPageTest, CtrlDigits8To0_PickNothing)
{
    CDialogEfx page(&shell_, EQ_KIND_REVERB_A);
    for (int band : {7, 8, 9}) {
        page.Eq()->PickEqBand(band);
        EXPECT_EQ(page.EditBand(), -1);
        EXPECT_EQ(page.Panel()->Selected(), -1);
    }
    page.Eq()->PickEqBand(6);
    EXPECT_EQ(page.EditBand(), 6);
}

TEST_F(EfxPageTest, SwitchEffectKind_ReloadsInListMode)
{
    SetReverbBEqBand(0, 1, 8.0, 321, 2.0);
    CDialogEfx page(&shell_, EQ_KIND_REVERB_A);
    page.Eq()->PickEqBand(0);
    g_nEffectKind = EQ_KIND_REVERB_B;
    page.Refresh(); // what the view does when the effects page is asked for again
    EXPECT_EQ(page.EffectKind(), EQ_KIND_REVERB_B);
    EXPECT_EQ(page.Panel()->Kind(), EQ_KIND_REVERB_B);
    EXPECT_EQ(page.EditBand(), -1);
    EXPECT_EQ(page.Panel()->Band(0).freq, 321.0f);
    EXPECT_EQ(page.TitlePicture(), EfxTitlePicture(EQ_KIND_REVERB_B, 0));
}

TEST_F(EfxPageTest, BackButton_ShowsTheInputPage)
{
    CDialogEfx page(&shell_, EQ_KIND_ECHO_A);
    page.resize(1100, 560);
    page.show();
    EXPECT_EQ(page.BackButton()->geometry().right(), 1100 - 1 - 2);
    EXPECT_EQ(page.BackButton()->y(), 2);
    EXPECT_EQ(page.Panel()->geometry().bottomRight(), QPoint(1099, 559));
    QTest::mouseClick(page.BackButton(), Qt::LeftButton);
    Settle();
    ASSERT_EQ(shell_.shown.size(), 1u);
    EXPECT_EQ(shell_.shown[0], PageKind::Music);
}

TEST_F(EfxPageTest, PasteFromTheSub_IsRefused)
{
    CDialogEfx page(&shell_, EQ_KIND_REVERB_A);
    SetReverbAEqBand(1, 1, 3.0, 1500, 1.0);
    const EqBand before = LoadEqBand(3, 1);
    g_nEqCopySlot = EQ_KIND_SUB;
    page.Panel()->OnMenuCommand(3026);
    EXPECT_EQ(LoadEqBand(3, 1), before);
}
} // namespace
