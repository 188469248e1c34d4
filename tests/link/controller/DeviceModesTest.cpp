// Device modes against the emulated processor: recall, store, reset, mode files with their
// pending mode, the close prompt.
#include "ControllerFixture.h"
#include "dsp/FullPush.h"
#include "files/ModeFile.h"
#include "link/LinkTestSupport.h"
#include "link/controller/ModeFileNames.h"
#include "model/ParamIds.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class DeviceModesTest : public ControllerTest
{
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        dir_ =
            fs::temp_directory_path() /
            ("dsp4620-modes-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override
    {
        ControllerTest::TearDown();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // A mode file of a setting that differs from the processor's: the PC's copy with a few
    // cells, a band byte and a speaker level changed.
    std::string MakeModeFile(const std::string& name)
    {
        const std::string path = (dir_ / name).string();
        ParamStore.SetInt(40, 7);
        ParamStore.SetInt(60, 33);
        DeviceImage.Set(3, 0x42);
        Block965.Set(0, 0x3F);
        EXPECT_TRUE(WriteModeFile(path, {}).Ok());
        return path;
    }

    // What the write synchronisation pushes for the file's setting, without sending it.
    std::vector<Report> ExpectedPush(const std::string& path)
    {
        ModeFileDeviceInfo info{};
        EXPECT_TRUE(ReadModeFile(path, info).Ok());
        RecordingSink sink;
        {
            ScopedReportSink scoped(&sink);
            PushWholeSetting(g_MachineSettings.Get(0) == 1 ? 1 : 0, EncodeGeometryIntoBlock945);
        }
        std::vector<Report> out = sink.Reports();
        out.push_back(Command({0x0A, 0x00, 1, 0x14, 1}));
        out.push_back(Command({0x0A, 0x00, 1, 0x21, 1}));
        out.push_back(Command({0x0A, 0x00, 4, 0x0B, 6}));
        return out;
    }

    fs::path dir_;
};

TEST_F(DeviceModesTest, LoadingM3KaraokeWhileM1IsCurrentNamesM1PushesAndStoresIntoM3)
{
    auto processor = AddProcessor();
    ConnectAtStartup();
    ASSERT_EQ(g_nCurMode.load(), 0);
    const std::string path = MakeModeFile("M3-Karaoke.W6v9");
    std::vector<Report> expected{BuildModeNameReport(0, u"M3-Karaoke")};
    const std::vector<Report> push = ExpectedPush(path);
    expected.insert(expected.end(), push.begin(), push.end());
    expected.push_back(Command({0x03, 2}));
    expected.push_back(Command({0x04, 2}));

    ui.files = {path};
    const size_t mark = wire.Mark();
    controller->Modes().LoadModeFile();
    EXPECT_EQ(controller->Modes().PendingMode(), 2);
    EXPECT_EQ(g_szModeName[0].Utf8(), "M3-Karaoke") << "the local copy is renamed at once";
    ASSERT_TRUE(FinishSync());
    const std::vector<Report> sent = wire.SentSince(mark);
    ASSERT_EQ(sent.size(), expected.size()) << ::testing::PrintToString(CommandBytes(sent));
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(controller->Modes().PendingMode(), kNoPendingMode);
    EXPECT_EQ(g_nCurMode.load(), 2);
    EXPECT_EQ(g_bParamChanged.load(), 0);
    EXPECT_TRUE(ui.Logged("recent " + path));
    EXPECT_TRUE(ui.Logged("pause 20"));

    // The processor now holds the file's setting in M3 and the file's name on M1.
    ASSERT_TRUE(WaitUntil([&] {
        const ProcessorState s = processor->State();
        return s.currentMode == 2 && s.modes[2] == s.working;
    }));
    const ProcessorState state = processor->State();
    EXPECT_EQ(state.ModeName(0), "M3-Karaoke");
    EXPECT_EQ(state.currentMode, 2);
    EXPECT_EQ(state.modes[2], state.working);
    EXPECT_EQ(state.working.memory[3], 0x42);
}

struct FileNameCase
{
    const char* file;
    const char* modeName;
    int pendingMode;
};

class ModeFileNameLoadTest : public DeviceModesTest,
                             public ::testing::WithParamInterface<FileNameCase>
{
};

TEST_P(ModeFileNameLoadTest, NameWrittenToTheCurrentModeAndPendingModeStored)
{
    AddProcessor();
    ConnectAtStartup();
    g_nCurMode = 1; // M2 current
    const std::string path = MakeModeFile(GetParam().file);
    ui.files = {path};
    const size_t mark = wire.Mark();
    controller->Modes().LoadModeFile();
    ASSERT_TRUE(FinishSync());
    const std::vector<Report> sent = wire.SentSince(mark);
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent.front(), BuildModeNameReport(1, Utf8ToUtf16(GetParam().modeName)));
    EXPECT_EQ(g_szModeName[1].Utf8(), GetParam().modeName);
    const std::vector<Report> tail(sent.end() - 2, sent.end());
    if (GetParam().pendingMode == kNoPendingMode) {
        EXPECT_EQ(tail[1], Command({0x0A, 0x00, 4, 0x0B, 6})) << "nothing after the read-backs";
        EXPECT_EQ(g_nCurMode.load(), 1);
    } else {
        EXPECT_EQ(tail[0], Command({0x03, GetParam().pendingMode}));
        EXPECT_EQ(tail[1], Command({0x04, GetParam().pendingMode}));
        EXPECT_EQ(g_nCurMode.load(), GetParam().pendingMode);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, ModeFileNameLoadTest,
    ::testing::Values(FileNameCase{"ABCDEFGHIJKLMNOPQRSTUVWXY.W6v9", "ABCDEFGHIJKLMNOPQRST",
                                   kNoPendingMode},
                      FileNameCase{"velmora4.W6v8", "velmora4", 3},
                      FileNameCase{"party night.W6v9", "party night", kNoPendingMode},
                      FileNameCase{"my m2.W6v9", "my m2", kNoPendingMode},
                      FileNameCase{"M2 party.W6v9", "M2 party", 1},
                      FileNameCase{"默认1 家庭影院.W6v9", "默认1 家庭影院", 0}));

TEST(ModeFileNames, BaseNameModeNameAndPendingMode)
{
    struct Row
    {
        const char* path;
        const char* base;
        int pending;
        bool openable;
    };
    const Row rows[] = {
        {"/home/u/M3-Karaoke.W6v9", "M3-Karaoke", 2, true},
        {"/a.b/noext", "noext", kNoPendingMode, false},
        {"/x/m1.backup.W6v8", "m1.backup", 0, true},
        {"/x/VELMORA2.w6v9", "VELMORA2", 1, false},
        {"/x/m4", "m4", 3, false},
        {"/x/m5.W6v9", "m5", kNoPendingMode, true},
        {"/x/默认3.W6v9", "默认3", 2, true},
        {"/x/.W6v9", "", kNoPendingMode, true},
        {"/x/file.W6v9 ", "file", kNoPendingMode, false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ModeFileBaseName(r.path), r.base) << r.path;
        EXPECT_EQ(PendingModeFromBaseName(ModeFileBaseName(r.path)), r.pending) << r.path;
        EXPECT_EQ(HasModeFileExtension(r.path), r.openable) << r.path;
    }
    // 20 characters, counted as characters, not bytes; case kept.
    EXPECT_EQ(ModeNameFromFileName("/x/一二三四五六七八九十一二三四五六七八九十一二.W6v9"),
              u"一二三四五六七八九十一二三四五六七八九十");
    EXPECT_EQ(ModeNameFromFileName("/x/AbC.W6v9"), u"AbC");
    // A character outside the basic plane is never split at the limit.
    EXPECT_EQ(ModeNameFromFileName("/x/0123456789012345678\xF0\x9F\x8E\xA4.W6v9"),
              u"0123456789012345678");
    EXPECT_EQ(Utf8ToUtf16("a\xFF"
                          "b"),
              u"a\uFFFDb");
}

TEST_F(DeviceModesTest, UnreadableFileSendsNothingAndKeepsThePendingMode)
{
    AddProcessor();
    ConnectAtStartup();
    const std::string path = (dir_ / "M2-short.W6v9").string();
    std::ofstream(path) << "tiny";
    ui.files = {path};
    const size_t mark = wire.Mark();
    controller->Modes().LoadModeFile();
    EXPECT_EQ(wire.Mark(), mark);
    EXPECT_EQ(controller->Modes().PendingMode(), kNoPendingMode);
    EXPECT_EQ(g_szModeName[0].Utf8(), "User 1");
}

TEST_F(DeviceModesTest, FileCommandsWhileDisconnectedShowTheNotice)
{
    MakeController();
    controller->Modes().LoadModeFile();
    controller->Modes().SaveModeFile();
    EXPECT_EQ(ui.CountStartingWith("info 请先连接设备! | 1100"), 2);
    EXPECT_FALSE(ui.Logged("open dialog"));
    controller->Modes().RecallMode(1);
    controller->Modes().StoreMode(1, false);
    controller->Modes().ResetMode(1);
    controller->Modes().RestartProcessor();
    EXPECT_EQ(ui.log.size(), 2u) << "the mode commands do nothing while disconnected";
}

TEST_F(DeviceModesTest, StoreTimingsDifferBetweenMenuAndKey)
{
    AddProcessor();
    ConnectAtStartup();
    ui.log.clear();
    ui.answers = {UiAnswer::Yes, UiAnswer::Yes, UiAnswer::No};
    g_bParamChanged = 1;
    controller->Modes().StoreMode(2, false);
    EXPECT_EQ(g_bParamChanged.load(), 0);
    controller->OnModeKey(3, true);
    const size_t mark = wire.Mark();
    controller->Modes().StoreMode(0, false); // answered No
    EXPECT_EQ(wire.Mark(), mark);
    EXPECT_EQ(ui.log, (std::vector<std::string>{
                          "ask 确定要保存至机器模式三? | 信息",
                          "pause 500",
                          "info 正在储存模式三,请稍等 | 2500",
                          "ask 确定要保存至机器模式四? | 信息",
                          "info 正在储存模式四,请稍等 | 2500",
                          "pause 1500",
                          "ask 确定要保存至机器模式一? | 信息",
                      }));
    const std::vector<Report> sent = wire.Sent();
    EXPECT_EQ(sent[sent.size() - 2], Command({0x04, 2}));
    EXPECT_EQ(sent.back(), Command({0x04, 3}));
    EXPECT_EQ(g_nCurMode.load(), 3);
}

TEST_F(DeviceModesTest, RecallAsksOnlyWhenChangedThenLoadsAndReads)
{
    AddProcessor();
    ConnectAtStartup();
    g_bParamChanged = 1;
    ui.answers = {UiAnswer::No};
    size_t mark = wire.Mark();
    controller->OnModeKey(1, false); // F2
    EXPECT_TRUE(ui.Logged("ask 参数已更改，确定要直接载入模式二? | 信息"));
    EXPECT_EQ(wire.Mark(), mark);

    ui.answers = {UiAnswer::Yes};
    controller->OnModeKey(1, false);
    EXPECT_FALSE(controller->AcceptsModeKeys()) << "no keys while the wait dialog is shown";
    ASSERT_TRUE(FinishSync());
    std::vector<Report> expected{Command({0x05, 1})};
    const std::vector<Report> read = ExpectedReadSync();
    expected.insert(expected.end(), read.begin(), read.end());
    EXPECT_EQ(wire.SentSince(mark), expected);
    EXPECT_EQ(g_nCurMode.load(), 1) << "the processor's answer to 0x07";
    EXPECT_EQ(g_bParamChanged.load(), 0);

    // Unchanged: no question.
    const int asked = ui.CountStartingWith("ask ");
    mark = wire.Mark();
    controller->Modes().RecallMode(7); // limited to M4
    ASSERT_TRUE(FinishSync());
    EXPECT_EQ(ui.CountStartingWith("ask "), asked);
    EXPECT_EQ(wire.SentSince(mark).front(), Command({0x05, 3}));
}

TEST_F(DeviceModesTest, ResetSendsResetThenReads)
{
    AddProcessor();
    ConnectAtStartup();
    const size_t mark = wire.Mark();
    controller->Modes().ResetMode(2);
    ASSERT_TRUE(FinishSync());
    const std::vector<Report> sent = wire.SentSince(mark);
    ASSERT_EQ(sent.size(), 192u);
    EXPECT_EQ(sent.front(), Command({0x06, 2}));
    EXPECT_EQ(sent[1], Command({0x80}));
}

TEST_F(DeviceModesTest, ClosePromptCancelKeepsTheLinkOpen)
{
    AddProcessor();
    ConnectAtStartup();
    g_bParamChanged = 1;
    ui.answers = {UiAnswer::Cancel};
    const size_t mark = wire.Mark();
    EXPECT_FALSE(controller->ConfirmClose());
    EXPECT_TRUE(ui.Logged(
        "ask 参数已改动，请问是否需要保存?\r\n提示：保存成电脑文件并同时保存至机器的当前模式 | "
        "保存?"));
    EXPECT_TRUE(controller->IsConnected());
    EXPECT_EQ(wire.Mark(), mark);
    EXPECT_FALSE(ui.Logged("save dialog preset"));
}

TEST_F(DeviceModesTest, ClosePromptYesThenCancelledDialogClosesWithoutStoring)
{
    AddProcessor();
    ConnectAtStartup();
    g_bParamChanged = 1;
    ui.answers = {UiAnswer::Yes};
    const size_t mark = wire.Mark();
    ASSERT_TRUE(controller->ConfirmClose());
    EXPECT_TRUE(ui.Logged("save dialog preset"));
    controller->Shutdown();
    EXPECT_EQ(wire.SentSince(mark), std::vector<Report>{Command({0x8A})});
}

TEST_F(DeviceModesTest, ClosePromptYesWithAFileStoresAndWritesIt)
{
    AddProcessor();
    ConnectAtStartup();
    g_nCurMode = 2;
    g_bParamChanged = 1;
    const std::string path = (dir_ / "preset.W6v9").string();
    ui.answers = {UiAnswer::Yes};
    ui.files = {path};
    const size_t mark = wire.Mark();
    ASSERT_TRUE(controller->ConfirmClose());
    EXPECT_EQ(wire.SentSince(mark), std::vector<Report>{Command({0x04, 2})});
    EXPECT_EQ(fs::file_size(path), kModeFileSize);
    EXPECT_TRUE(controller->ConfirmClose()) << "nothing changed any more: no prompt";
}

TEST_F(DeviceModesTest, SaveStoresIntoTheCurrentModeAndWritesTheFile)
{
    AddProcessor();
    ConnectAtStartup();
    const std::string path = (dir_ / "saved.W6v9").string();
    ui.files = {path};
    g_bParamChanged = 1;
    const size_t mark = wire.Mark();
    controller->Modes().SaveModeFile();
    EXPECT_TRUE(ui.Logged("save dialog name"));
    EXPECT_EQ(wire.SentSince(mark), std::vector<Report>{Command({0x04, 0})});
    EXPECT_EQ(g_bParamChanged.load(), 0);
    EXPECT_TRUE(ui.Logged("recent " + path));
    ModeSetting setting;
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_TRUE(ParseModeFile(bytes, setting).Ok());
}

TEST_F(DeviceModesTest, OpenDocumentPushesWithoutNameOrPendingMode)
{
    AddProcessor();
    ConnectAtStartup();
    const std::string path = MakeModeFile("M2-evening.W6v9");
    const std::vector<Report> expected = ExpectedPush(path);
    const size_t mark = wire.Mark();
    controller->Modes().OpenDocument(path);
    ASSERT_TRUE(FinishSync());
    EXPECT_EQ(wire.SentSince(mark), expected);
    EXPECT_EQ(controller->Modes().PendingMode(), kNoPendingMode);

    // A missing file, and an extension in the wrong case.
    controller->Modes().OpenDocument((dir_ / "gone.W6v9").string());
    EXPECT_TRUE(ui.Logged("ask 文件不存在！ | 文件打开错误"));
    const std::string lower = (dir_ / "M1.w6v9").string();
    fs::copy_file(path, lower);
    const size_t before = wire.Mark();
    controller->Modes().OpenDocument(lower);
    EXPECT_EQ(wire.Mark(), before);
}

} // namespace
