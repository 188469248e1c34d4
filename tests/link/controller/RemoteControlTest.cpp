// Remote-control learning and the key table against the emulated processor through the real
// transport: the learning and stop commands, the learned key landing in the table, the table
// sent with Apply and by loading a file, and remote data files.
#include "link/controller/RemoteControl.h"

#include "ControllerFixture.h"
#include "files/FileMessages.h"

#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

constexpr RemoteTableBytes kTable = {0x5A, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

class RemoteControlTest : public ControllerTest
{
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        dir_ = fs::temp_directory_path() /
               ("dsp4620-remote-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override
    {
        ControllerTest::TearDown();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    static void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes)
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    static std::vector<uint8_t> ReadBytes(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    static Report TableReport(const RemoteTableBytes& table)
    {
        Report r = MakeReport(kCmdWriteRemoteTable);
        std::copy(table.begin(), table.end(), r.begin() + 2);
        return r;
    }
    static bool WaitFor(const std::function<bool()>& done)
    {
        for (int i = 0; i < 10000; ++i) {
            if (done()) {
                return true;
            }
            std::this_thread::sleep_for(1ms);
        }
        return false;
    }

    // Connects and waits for the table the processor reports at identification, whose
    // answer may land after the synchronisation has ended.
    void Connect()
    {
        ConnectAtStartup();
        ASSERT_TRUE(WaitFor([] { return g_RemoteTable.Get(0) == 0x80; }));
    }

    fs::path dir_;
};

TEST_F(RemoteControlTest, LearningSendsTheFunctionAndTheAnswerLandsInTheTable)
{
    EmulatorOptions options = ProcessorOptions();
    options.learnDelay = 5ms;
    auto p = AddProcessor(options);
    Connect();
    const RemoteTableBytes before = g_RemoteTable.Snapshot();
    EXPECT_EQ(before[0], 0x80) << "read at identification";

    const size_t mark = wire.Mark();
    EXPECT_EQ(StartLearningKey(10), 61);
    EXPECT_EQ(wire.SentSince(mark), (std::vector<Report>{Command({0x60, 10})}));
    // The emulated remote answers with its code 0x5A and key 0x40 + 10.
    ASSERT_TRUE(WaitFor([] { return g_RemoteTable.Get(10) == 0x4A; }));
    EXPECT_EQ(g_RemoteTable.Get(0), 0x5A);
    for (size_t i = 1; i < kRemoteTableSize; ++i) {
        if (i != 10) {
            EXPECT_EQ(g_RemoteTable.Get(i), before[i]) << i;
        }
    }
    // Learned keys reach the processor's table only with Apply.
    EXPECT_EQ(p->State().keyTable[10], before[10]);
    const size_t mark2 = wire.Mark();
    EXPECT_EQ(SendRemoteTable(), 61);
    EXPECT_EQ(wire.SentSince(mark2), (std::vector<Report>{TableReport(g_RemoteTable.Snapshot())}));
    ASSERT_TRUE(WaitFor([&] { return p->State().keyTable[10] == 0x4A; }));
}

TEST_F(RemoteControlTest, StopLearningSendsTheStopCommandAndNoKeyArrives)
{
    EmulatorOptions options = ProcessorOptions();
    options.learnDelay = 100ms;
    AddProcessor(options);
    Connect();
    const RemoteTableBytes before = g_RemoteTable.Snapshot();
    // The learning command has no answer: without the release the stop command would wait
    // for the whole pacing, made far longer here than the test may take.
    SetUsbTimings({std::chrono::milliseconds(30000), std::chrono::milliseconds(200)});
    const size_t mark = wire.Mark();
    StartLearningKey(3);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(StopLearningKey(), 61);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 15s) << "the waiting writer was released";
    EXPECT_EQ(wire.SentSince(mark), (std::vector<Report>{Command({0x60, 3}), Command({0x61})}));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(g_RemoteTable.Snapshot(), before) << "the stopped learning answered no key";
}

TEST_F(RemoteControlTest, FunctionsOutsideOneToFifteenSendNothing)
{
    AddProcessor();
    Connect();
    const size_t mark = wire.Mark();
    EXPECT_EQ(StartLearningKey(0), 0);
    EXPECT_EQ(StartLearningKey(16), 0);
    EXPECT_EQ(StartLearningKey(-1), 0);
    EXPECT_EQ(wire.Mark(), mark);
    EXPECT_EQ(RemoteLearningText(16, 0), "");
    EXPECT_EQ(RemoteLearningText(10, 0), "您正在学习的键：升调");
    EXPECT_EQ(RemoteLearningText(10, 1), "Learning key: tone increment ");
    EXPECT_EQ(RemoteLearningText(1, 1), "Learning key: load user mode 1");
    EXPECT_EQ(RemoteLearningText(15, 0), "您正在学习的键：降低效果音量");
    EXPECT_EQ(RemoteKeyCodeText(0x1C), "1C");
    EXPECT_EQ(RemoteKeyCodeText(0x05), "05");
}

TEST_F(RemoteControlTest, FilesRoundTripAndAShortFileChangesOnlyItsBytesButSendsSixteen)
{
    auto p = AddProcessor();
    Connect();
    g_RemoteTable.Write(0, kTable);
    const RemoteFileResult saved = SaveRemoteTable(dir_ / "keys.txt");
    ASSERT_TRUE(saved.ok) << saved.reason;
    EXPECT_EQ(saved.path, dir_ / "keys.remo");
    EXPECT_FALSE(fs::exists(dir_ / "keys.txt"));
    EXPECT_EQ(ReadBytes(dir_ / "keys.remo"), std::vector<uint8_t>(kTable.begin(), kTable.end()));

    g_RemoteTable.Fill(0xEE);
    size_t mark = wire.Mark();
    ASSERT_TRUE(LoadRemoteTable(dir_ / "keys.remo").ok);
    EXPECT_EQ(g_RemoteTable.Snapshot(), kTable);
    EXPECT_EQ(wire.SentSince(mark), (std::vector<Report>{TableReport(kTable)}));
    ASSERT_TRUE(WaitFor([&] { return p->State().keyTable == kTable; }));

    g_RemoteTable.Fill(0xEE);
    WriteBytes(dir_ / "short.remo", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    mark = wire.Mark();
    const RemoteFileResult r = LoadRemoteTable(dir_ / "short.remo");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytesRead, 10u);
    const RemoteTableBytes expected = {0, 1, 2,    3,    4,    5,    6,    7,
                                       8, 9, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(g_RemoteTable.Snapshot(), expected);
    EXPECT_EQ(wire.SentSince(mark), (std::vector<Report>{TableReport(expected)}));
}

TEST_F(RemoteControlTest, AnUnreadableFileSendsNothingAndLeavesTheTable)
{
    AddProcessor();
    Connect();
    RecordingFileMessageSink messages;
    AttachFileMessageSink(&messages);
    g_RemoteTable.Write(0, kTable);
    const size_t mark = wire.Mark();
    EXPECT_FALSE(LoadRemoteTable(dir_ / "missing.remo").ok);
    AttachFileMessageSink(nullptr);
    EXPECT_EQ(wire.Mark(), mark);
    EXPECT_EQ(g_RemoteTable.Snapshot(), kTable);
    EXPECT_EQ(messages.Messages().size(), 1u);
}

TEST_F(RemoteControlTest, SavingOverAWriteProtectedFileAsAnOrdinaryUserKeepsTheOldFile)
{
    // The superuser may write any file, so the save runs in a child that is an ordinary user.
    const fs::path folder = dir_ / "user";
    fs::create_directories(folder);
    const fs::path file = folder / "old.remo";
    const std::vector<uint8_t> old(16, 0x33);
    WriteBytes(file, old);
    ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(dir_.c_str(), 0755), 0);
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    g_RemoteTable.Write(0, kTable);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
            ::setresuid(65534, 65534, 65534) != 0 || ::geteuid() == 0) {
            ::_exit(10);
        }
        RecordingFileMessageSink messages;
        AttachFileMessageSink(&messages);
        const RemoteFileResult r = SaveRemoteTable(file);
        const bool told = messages.Messages().size() == 1 &&
                          messages.Messages()[0].caption == "Can't write to file";
        ::_exit(r.ok ? 11 : (told && r.systemError == EACCES ? 0 : 12));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: could not drop privileges, 11: saved, 12: untold";
    EXPECT_EQ(ReadBytes(file), old);
}
} // namespace
