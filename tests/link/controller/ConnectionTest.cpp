// Connection, identification, removal, restart and the status poll.
#include "ControllerFixture.h"
#include "files/FileMessages.h"
#include "i18n/Language.h"
#include "model/CellRanges.h"
#include "model/ReadBack.h"

#include <bit>

namespace {

TEST_F(ControllerTest, StartupReadsTheProcessorInTheExactOrderAndThenPolls)
{
    AddProcessor();
    MakeController();
    controller->Start();
    loop.Advance(kConnectDelay - 1ms);
    EXPECT_FALSE(controller->IsConnected()) << "one attempt, 250 ms after start";
    loop.Advance(1ms);
    EXPECT_TRUE(controller->IsConnected());
    EXPECT_FALSE(loop.TimerRunning(kConnectTimerId));
    ASSERT_TRUE(FinishSync());

    EXPECT_EQ(ExpectedReadSync().size(), 191u);
    EXPECT_EQ(wire.Sent(), ExpectedReadSync())
        << ::testing::PrintToString(CommandBytes(wire.Sent()));
    EXPECT_EQ(ui.log.front(), "balloon 信息 | 设备已连接，同步中…… | 5000");
    EXPECT_TRUE(ui.Logged("sync dialog 同步过程 | 当前正在与机器同步数据,请稍后......"));
    EXPECT_TRUE(ui.Logged("close sync dialog"));
    EXPECT_TRUE(ui.Logged("refresh all"));
    EXPECT_TRUE(ui.Logged("pause 150"));
    EXPECT_EQ(g_szModel.Utf8(), "KW4620M");
    EXPECT_EQ(g_nCmdVersion.load(), 0x15);
    EXPECT_EQ(g_szModeName[0].Utf8(), "User 1");
    EXPECT_EQ(g_bMeterEnable.load(), 1);
    EXPECT_EQ(controller->StoredDevicePath(), kProcessorPath);
    EXPECT_TRUE(controller->LastSyncResult().complete);

    // Polling starts once the dialog has closed: one 0x0E every 300 ms.
    const size_t mark = wire.Mark();
    loop.Advance(kPollInterval * 3);
    EXPECT_EQ(wire.SentSince(mark), std::vector<Report>(3, Command({0x0E})));
    EXPECT_EQ(ui.musicSourceRefreshes, 3);

    // The balloon goes after its 5000 ms.
    EXPECT_FALSE(ui.Logged("hide balloon"));
    loop.Advance(5000ms);
    EXPECT_TRUE(ui.Logged("hide balloon"));
}

TEST_F(ControllerTest, NoProcessorAtStartupStaysQuietAndNeverRetries)
{
    MakeController();
    controller->Start();
    loop.Advance(10s);
    EXPECT_FALSE(controller->IsConnected());
    EXPECT_TRUE(ui.log.empty());
    EXPECT_TRUE(wire.Sent().empty());
}

struct RejectionCase
{
    const char* model;
    uint8_t version;
    const char* box;
};

class RejectionTest : public ControllerTest, public ::testing::WithParamInterface<RejectionCase>
{
};

TEST_P(RejectionTest, SixIdentificationCommandsThenFarewellAndOneBox)
{
    EmulatorOptions o = ProcessorOptions();
    o.model = GetParam().model;
    o.cmdVersion = GetParam().version;
    AddProcessor(o);
    ConnectAtStartup();

    std::vector<Report> expected = IdentificationReports();
    expected.push_back(Command({0x8A}));
    EXPECT_EQ(wire.Sent(), expected) << ::testing::PrintToString(CommandBytes(wire.Sent()));
    EXPECT_FALSE(controller->IsConnected());
    EXPECT_EQ(ui.CountStartingWith("ask "), 1);
    EXPECT_TRUE(ui.Logged(std::string("ask ") + GetParam().box + " | 错误"));
    EXPECT_FALSE(loop.TimerRunning(kPollTimerId));
    EXPECT_FALSE(ui.Logged("refresh all"));
    loop.Advance(1s);
    EXPECT_EQ(wire.Sent().size(), expected.size()) << "no poll after a rejection";
}

INSTANTIATE_TEST_SUITE_P(
    Verdicts, RejectionTest,
    ::testing::Values(
        RejectionCase{"KW4620", 0x15, "机器型号与软件不匹配!"},
        RejectionCase{"kw4620m", 0x15, "机器型号与软件不匹配!"},
        RejectionCase{"KW4620A", 0x14, "机器与软件通信版本不匹配，请使用机器配套软件!"},
        RejectionCase{"KW4620M", 0x16, "机器与软件通信版本不匹配，请使用机器配套软件!"}));

TEST_F(ControllerTest, SecondMismatchWhileTheFirstBoxIsOpenShowsNoSecondBox)
{
    EmulatorOptions o = ProcessorOptions();
    o.model = "KW4620";
    AddProcessor(o);
    MakeController();
    int nested = 0;
    ui.onAsk = [&](const std::string&) {
        if (nested++ == 0) {
            controller->OnSyncDone(0); // a second completion while the box is open
        }
    };
    controller->Start();
    loop.Advance(kConnectDelay);
    ASSERT_TRUE(FinishSync());
    EXPECT_EQ(ui.CountStartingWith("ask "), 1);
    // The guard is back: the next rejection shows its box again.
    ui.onAsk = nullptr;
    controller->OnSyncDone(0);
    EXPECT_EQ(ui.CountStartingWith("ask "), 2);
}

TEST_F(ControllerTest, RemovalOfAnotherPathIsIgnored)
{
    AddProcessor();
    bus.AddInterface({"/dev/hidraw-other", 1, 0x1234, 0x5678, nullptr, ""});
    ConnectAtStartup();
    const size_t logged = ui.log.size();
    controller->OnRemoval("/dev/hidraw-other");
    controller->OnRemoval("/DEV/HIDRAW-DSP4620"); // letter case differs: another device
    controller->OnRemoval("/dev/hidraw-dsp4620 ");
    EXPECT_TRUE(controller->IsConnected());
    EXPECT_TRUE(loop.TimerRunning(kPollTimerId));
    EXPECT_EQ(ui.log.size(), logged);
}

TEST_F(ControllerTest, RemovalOfOursClosesWithoutFarewell)
{
    AddProcessor();
    ConnectAtStartup();
    ASSERT_TRUE(bus.Unplug(kProcessorPath));
    ASSERT_TRUE(loop.RunUntil([&] { return !controller->IsConnected(); }, 10s));
    EXPECT_EQ(CommandBytes(wire.Sent()).back(), 0x62) << "no farewell";
    EXPECT_FALSE(loop.TimerRunning(kPollTimerId));
    EXPECT_EQ(ui.log.back(), "balloon 信息 | 设备已断开! | 5000");
    // Nothing else is reset.
    EXPECT_EQ(g_szModel.Utf8(), "KW4620M");
}

TEST_F(ControllerTest, ArrivalWhileConnectedDoesNothing)
{
    AddProcessor();
    ConnectAtStartup();
    const size_t mark = wire.Mark();
    const size_t logged = ui.log.size();
    controller->OnArrival("/dev/hidraw-keyboard");
    EXPECT_EQ(wire.Mark(), mark);
    EXPECT_EQ(ui.log.size(), logged);
}

TEST_F(ControllerTest, RestartDropsOffAndTheArrivalReconnectsAndReadsAgain)
{
    AddProcessor();
    ConnectAtStartup();
    ui.answers = {UiAnswer::Yes};
    const size_t mark = wire.Mark();
    controller->Modes().RestartProcessor();
    EXPECT_TRUE(ui.Logged("ask 您确定要将机器复位吗? \n机器复位后将自动重新启动并连接. | 提示"));
    EXPECT_TRUE(ui.Logged("info 机器正在重启…… | 20000"));
    ASSERT_FALSE(wire.SentSince(mark).empty());
    EXPECT_EQ(wire.SentSince(mark).front(), Command({0x68, 0xAA}));

    // Removal, then arrival: the link is opened again and read again.
    ASSERT_TRUE(loop.RunUntil([&] { return ui.Logged("balloon 信息 | 设备已断开! | 5000"); }, 10s));
    ASSERT_TRUE(loop.RunUntil([&] { return ui.Logged("close tool windows"); }, 10s));
    EXPECT_TRUE(controller->IsConnected());
    EXPECT_TRUE(ui.Logged("balloon 信息 | 设备已连接，同步中…… | 4000"));
    ASSERT_TRUE(FinishSync());
    std::vector<Report> after = wire.SentSince(mark + 1);
    EXPECT_EQ(after, ExpectedReadSync()) << ::testing::PrintToString(CommandBytes(after));
    EXPECT_TRUE(loop.TimerRunning(kPollTimerId));
}

TEST_F(ControllerTest, PeakSwitchOffSendsNoPollButStillRefreshesTheMusicSource)
{
    AddProcessor();
    ConnectAtStartup();
    controller->SetPeakPolling(false);
    const size_t mark = wire.Mark();
    const int refreshes = ui.musicSourceRefreshes;
    loop.Advance(kPollInterval * 4);
    EXPECT_EQ(wire.Mark(), mark);
    EXPECT_EQ(ui.musicSourceRefreshes, refreshes + 4);
}

TEST_F(ControllerTest, SyncDialogStepsItsProgressAndTimesOutWhileTheThreadGoesOn)
{
    auto processor = AddProcessor();
    SetUsbTimings({std::chrono::milliseconds(2), std::chrono::milliseconds(50)});
    // At the 40th command the processor falls silent, and the thread is held until the
    // dialog has timed out.
    Gate gate;
    gate.Close();
    wire.SetBeforeWrite([&](size_t count) {
        if (count == 40) {
            processor->SetSilent(true);
            gate.WaitOpen();
        }
    });
    MakeController();
    controller->Start();
    loop.Advance(kConnectDelay);
    ASSERT_TRUE(gate.WaitReached());
    EXPECT_TRUE(controller->SyncDialogShown());
    loop.Advance(kSyncProgressInterval * 12);
    EXPECT_EQ(ui.progress, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 0, 10}));
    EXPECT_FALSE(controller->AcceptsModeKeys());

    loop.Advance(kSyncTimeout - kSyncProgressInterval * 12);
    EXPECT_FALSE(controller->SyncDialogShown());
    EXPECT_TRUE(ui.Logged("ask 发生错误，与设备数据同步超时…… | 错误"));
    EXPECT_TRUE(loop.TimerRunning(kPollTimerId));
    EXPECT_FALSE(ui.Logged("refresh all"));

    gate.Open();
    ASSERT_TRUE(FinishSync()) << "the thread ends although nothing answers";
    EXPECT_EQ(wire.Sent().size(), 191u) << "every command still went out";
    EXPECT_EQ(ui.CountStartingWith("close sync dialog"), 1)
        << "the late completion finds no dialog";
    EXPECT_TRUE(ui.Logged("refresh all")) << "the pages are refreshed when the thread ends";
    EXPECT_TRUE(controller->IsConnected());
}

TEST_F(ControllerTest, UnpluggingMidSyncEndsItQuickly)
{
    AddProcessor();
    // With the full 1800 ms pacing: a thread that waited on each refused command would take
    // minutes.
    SetUsbTimings({std::chrono::milliseconds(1800), std::chrono::milliseconds(200)});
    bus.UnplugAfter(kProcessorPath, 30);
    MakeController();
    controller->Start();
    loop.Advance(kConnectDelay);
    ASSERT_TRUE(FinishSync());
    EXPECT_FALSE(controller->LastSyncResult().complete);
    EXPECT_GT(controller->LastSyncResult().refused, 100);
    ASSERT_TRUE(loop.RunUntil([&] { return !controller->IsConnected(); }, 10s));
    EXPECT_TRUE(ui.Logged("balloon 信息 | 设备已断开! | 5000"));
}

TEST_F(ControllerTest, BalloonClickRemovesItAtOnce)
{
    AddProcessor();
    ConnectAtStartup();
    controller->OnBalloonClicked();
    EXPECT_TRUE(ui.Logged("hide balloon"));
    EXPECT_FALSE(loop.TimerRunning(kBalloonTimerId));
}

TEST_F(ControllerTest, EnglishTexts)
{
    SetLanguage(1);
    AddProcessor();
    ConnectAtStartup();
    bus.Unplug(kProcessorPath);
    ASSERT_TRUE(loop.RunUntil([&] { return !controller->IsConnected(); }, 10s));
    SetLanguage(0);
    EXPECT_TRUE(ui.Logged("balloon Information | Device connected! | 5000"));
    EXPECT_TRUE(ui.Logged("sync dialog Synchronize | Please wait a moment……"));
    EXPECT_EQ(ui.log.back(), "balloon Information | Device Disconnected! | 5000");
}

TEST_F(ControllerTest, ShutdownSaysFarewellLast)
{
    AddProcessor();
    ConnectAtStartup();
    controller->Shutdown();
    EXPECT_FALSE(controller->IsConnected());
    EXPECT_EQ(wire.Sent().back(), Command({0x8A}));
}

} // namespace

namespace {
TEST_F(ControllerTest, ValuesReadBackOutOfRangeAreLimitedBeforeTheRefreshAndToldOnce)
{
    ProcessorState state = ProcessorState::Factory();
    auto put = [&state](int block, int param, uint32_t word) {
        state.working.params.Write(block, param, std::span<const uint32_t>(&word, 1));
    };
    put(8, 25, std::bit_cast<uint32_t>(4.0f)); // Sub music mix 400 %
    put(4, 19, 20u);                           // pitch +15
    put(5, 21, 48000u);                        // Main L delay 1000 ms
    put(5, 22, 480u);                          // Main R delay 10 ms: in range
    state.working.memory[413 + 2] = 0xFF;      // first Main band at 65535 Hz
    state.working.memory[413 + 3] = 0xFF;
    auto p = std::make_shared<EmulatedProcessor>(ProcessorOptions(), state);
    bus.AddInterface({kProcessorPath, 1, 0x2010, 0x1031, p, ""});
    size_t refreshAt = 0;
    ui.onAsk = [this, &refreshAt](const std::string&) {
        // By the time the box is up, the views have redrawn from the limited store.
        refreshAt = ui.log.size();
        EXPECT_EQ(ParamStore.GetInt(PRM_SUB_MIX_MUSIC), 300);
    };
    ConnectAtStartup();

    EXPECT_EQ(ParamStore.GetInt(PRM_SUB_MIX_MUSIC), 300);
    EXPECT_EQ(ParamStore.GetFloat(PRM_MAINL_DELAY), 100.0f);
    EXPECT_EQ(ParamStore.GetFloat(PRM_MAINR_DELAY), 10.0f);
    EXPECT_EQ(DeviceImage.Get(415) << 8 | DeviceImage.Get(416), 20000);
    ASSERT_EQ(ui.CountStartingWith("ask "), 1);
    EXPECT_TRUE(ui.Logged("ask " + OutOfRangeText(3, {}) + " | " + OutOfRangeCaption()));
    ASSERT_GT(refreshAt, 0u);
    bool refreshedBefore = false;
    for (size_t i = 0; i < refreshAt; ++i) {
        refreshedBefore = refreshedBefore || ui.log[i] == "refresh all";
    }
    EXPECT_TRUE(refreshedBefore);
    EXPECT_EQ(LimitCurrentSetting(), 0);
}

TEST_F(ControllerTest, AFactoryProcessorReadsBackWithNothingOutOfRange)
{
    AddProcessor();
    ConnectAtStartup();
    EXPECT_EQ(ui.CountStartingWith("ask "), 0);
    EXPECT_EQ(LimitCurrentSetting(), 0);
}
} // namespace
