// The delay and compressor pages in the main window, connected through the real transport to
// an emulated processor on the virtual bus: what the user does on the page arrives in the
// processor's parameters.
#include "app/AppFixture.h"
#include "app/AppSettings.h"
#include "app/AppText.h"
#include "app/CKW4620v13View.h"
#include "app/CMainFrame.h"
#include "app/ControllerSession.h"
#include "app/QtUiPort.h"
#include "controls/CXBmpSlider.h"
#include "dsp/Dynamics.h"
#include "link/LinkState.h"
#include "link/UsbTransport.h"
#include "link/controller/VirtualBusWatcher.h"
#include "link/emulator/EmulatedProcessor.h"
#include "link/emulator/VirtualHidBus.h"
#include "pages/CCompDlg.h"
#include "pages/CDelayDlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <memory>

using namespace std::chrono_literals;

namespace {
constexpr const char* kPath = "/dev/hidraw-dsp4620";

class OutputPagesOnProcessor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        ResetLinkState();
        g_bConnected = 0;
        g_bReadThreadEnd = 0;
        previousPause_ = SetPauseFunction([](int) {});
        SetUsbTimings({20ms, 200ms});
        EmulatorOptions options;
        options.latency = 0ms;
        processor_ = std::make_shared<EmulatedProcessor>(options, ProcessorState::Factory());
        bus_.AddInterface({kPath, 1, 0x2010, 0x1031, processor_, ""});
        SetUsbBackend(&bus_);

        settings_ = std::make_unique<AppSettings>(dir_.filePath("settings.ini"));
        SetAppLanguage(0);
        frame_ = MakeFrameOnVirtualBus(*settings_, bus_, NoWaitControllerOptions(), &session_);
        frame_->View()->SetPause([](int) {});
        frame_->Ui().SetBoxHook([](const QString&, const QString&) { return UiAnswer::Ok; });
        frame_->show();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return session_->Controller().SyncsHandled() >= 1 && session_->Settled(); },
            10000));
    }

    void TearDown() override
    {
        frame_.reset();
        CloseUsbDevice(false);
        SetUsbBackend(nullptr);
        SetUsbTimings({});
        SetPauseFunction(previousPause_);
        SetAppLanguage(0);
    }

    bool ProcessorHas(int block, int param, size_t index, uint32_t word)
    {
        return QTest::qWaitFor(
            [&] { return processor_->State().working.params.Word(block, param, index) == word; },
            3000);
    }

    template <class Page> Page* Show(PageKind kind)
    {
        frame_->View()->ShowPage(kind);
        return dynamic_cast<Page*>(frame_->View()->CurrentPage());
    }

    QTemporaryDir dir_;
    VirtualHidBus bus_;
    std::shared_ptr<EmulatedProcessor> processor_;
    std::unique_ptr<AppSettings> settings_;
    std::unique_ptr<CMainFrame> frame_;
    ControllerSession* session_ = nullptr;
    PauseFunction previousPause_;
};

TEST_F(OutputPagesOnProcessor, DelayEditsReachTheProcessor)
{
    auto* page = Show<CDelayDlg>(PageKind::Delay);
    ASSERT_NE(page, nullptr);
    QLineEdit* edit = page->DelayEdit(DELAY_CH_REAR_R);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("0.5"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(ProcessorHas(6, 22, 0, 72u));
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("100"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(ProcessorHas(6, 22, 0, 4800u));

    QTest::mouseClick(page->ChannelRadio(DELAY_CH_CENTER), Qt::LeftButton);
    EXPECT_TRUE(ProcessorHas(7, 21, 0, std::bit_cast<uint32_t>(1.0f)));
    EXPECT_TRUE(ProcessorHas(7, 21, 1, std::bit_cast<uint32_t>(0.0f)));
    // The split's first stage became flat: b0 (third word) 1.0.
    EXPECT_TRUE(ProcessorHas(7, 10, 2, std::bit_cast<uint32_t>(1.0f)));
}

TEST_F(OutputPagesOnProcessor, CompressorEditsReachTheProcessor)
{
    auto* page = Show<CCompDlg>(PageKind::Comp);
    ASSERT_NE(page, nullptr);
    QCheckBox* main = page->SwitchBox(COMP_GROUP_MAIN);
    const bool wasOn = main->isChecked();
    QTest::mouseClick(main, Qt::LeftButton, {}, QPoint(8, main->height() / 2));
    EXPECT_TRUE(ProcessorHas(5, 20, 0, wasOn ? 1u : 0u));

    CXBmpSlider* attack = page->Slider(COMP_GROUP_SUB, COMP_SLIDER_ATTACK);
    attack->SetPos(36);
    attack->setFocus();
    QTest::keyClick(attack, Qt::Key_Right);
    const uint32_t word =
        std::bit_cast<uint32_t>(static_cast<float>(1.0 - std::exp(-1.0 / (37.0 * 48.0))));
    EXPECT_TRUE(ProcessorHas(8, 27, 5, word));
}
} // namespace
