// The pages inside the main window: page changes from their own controls, the status bar's
// bypass box, the P key, Ctrl + digit and the language switch.
#include "app/AppFixture.h"
#include "app/CKW4620v13View.h"
#include "app/CMainFrame.h"
#include "controls/CGdipButton.h"
#include "dsp/EqBands.h"
#include "eq/CEqPanel.h"
#include "eq/CSmallEqPanel.h"
#include "model/DeviceMemory.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "pages/CDialogEfx.h"
#include "pages/CDialogMusic.h"
#include "pages/PageGlobals.h"

#include <QCheckBox>
#include <QPointer>
#include <QRadioButton>
#include <QTest>

namespace {
class PagesInShell : public AppFixture
{
protected:
    void SetUp() override
    {
        g_nInputView = 1;
        g_nEqCopySlot = -1;
        ResetDeviceMemoryToStartup();
        AppFixture::SetUp();
    }
    CDialogMusic* Music() const { return dynamic_cast<CDialogMusic*>(View().CurrentPage()); }
    CDialogEfx* Efx() const { return dynamic_cast<CDialogEfx*>(View().CurrentPage()); }
    static void Settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
        }
    }
};

TEST_F(PagesInShell, SmallPanelOpensTheEffectPageAndBackReturns)
{
    ASSERT_NE(Music(), nullptr);
    Music()->SetInputView(EQ_KIND_MIC_B);
    QTest::mouseClick(Music()->EchoPanel(), Qt::LeftButton);
    Settle();
    ASSERT_NE(Efx(), nullptr);
    EXPECT_EQ(Efx()->EffectKind(), EQ_KIND_ECHO_B);

    // Asking for the effects page again while it is shown switches its kind in place.
    CDialogEfx* page = Efx();
    g_nEffectKind = EQ_KIND_REVERB_B;
    View().ShowPage(PageKind::Efx);
    EXPECT_EQ(Efx(), page);
    EXPECT_EQ(page->EffectKind(), EQ_KIND_REVERB_B);

    QTest::mouseClick(page->BackButton(), Qt::LeftButton);
    Settle();
    ASSERT_NE(Music(), nullptr);
    EXPECT_EQ(Music()->Panel()->Kind(), EQ_KIND_MIC_B); // the view outlived the page
}

TEST_F(PagesInShell, APageReplacedByItsOwnButton_GoesOnceItsHandlerHasReturned)
{
    View().ShowPage(PageKind::Efx);
    QPointer<CDialogEfx> page = Efx();
    ASSERT_NE(page, nullptr);
    // The click's handler asks for the input page; the shell shows it at once ...
    page->BackButton()->click();
    ASSERT_NE(Music(), nullptr);
    EXPECT_FALSE(page.isNull());
    EXPECT_FALSE(page->isVisible());
    // ... and deletes the old page from the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(page.isNull());
}

TEST_F(PagesInShell, BypassBoxAndPKey_ToggleTheShownEq)
{
    ASSERT_NE(Music(), nullptr);
    frame_->UpdateStatus();
    QTest::mouseClick(frame_->Box1121(), Qt::LeftButton);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICA_EQ_BYPASS), 1);
    EXPECT_TRUE(Music()->Panel()->Bypass());
    QTest::keyClick(frame_.get(), Qt::Key_P);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICA_EQ_BYPASS), 0);
    EXPECT_FALSE(Music()->Panel()->Bypass());

    g_nEffectKind = EQ_KIND_ECHO_A;
    View().ShowPage(PageKind::Efx);
    ASSERT_NE(Efx(), nullptr);
    QTest::keyClick(frame_.get(), Qt::Key_P);
    EXPECT_EQ(ParamStore.GetInt(PRM_ECHOA_EQ_BYPASS), 1);
    frame_->UpdateStatus();
    EXPECT_TRUE(frame_->Box1121()->isChecked());
}

TEST_F(PagesInShell, CtrlDigits_PickBandsOfTheShownEq)
{
    ASSERT_NE(Music(), nullptr);
    QTest::keyClick(frame_.get(), Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(Music()->EditBand(), 2);
    QTest::keyClick(frame_.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(Music()->EditBand(), 9);
    TakeWrites();

    g_nEffectKind = EQ_KIND_REVERB_A;
    View().ShowPage(PageKind::Efx);
    ASSERT_NE(Efx(), nullptr);
    QTest::keyClick(frame_.get(), Qt::Key_8, Qt::ControlModifier);
    QTest::keyClick(frame_.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(Efx()->EditBand(), -1);
    QTest::keyClick(frame_.get(), Qt::Key_7, Qt::ControlModifier);
    EXPECT_EQ(Efx()->EditBand(), 6);
    EXPECT_TRUE(TakeWrites().empty()); // picking writes nothing
}

TEST_F(PagesInShell, LanguageSwitch_RelabelsTheInputPage)
{
    ASSERT_NE(Music(), nullptr);
    SetLanguage(1);
    EXPECT_EQ(Music()->RouteRadio(0, 0)->text(), "CH A");
    EXPECT_EQ(Music()->ViewButton(1)->text(), "Mic CH B");
    EXPECT_EQ(Music()->Panel()->Language(), 1);
    SetLanguage(0);
    EXPECT_EQ(Music()->RouteRadio(0, 0)->text(), QString::fromUtf8("通道A"));
    EXPECT_EQ(Music()->Panel()->Language(), 0);
}
} // namespace
