// The emulated processor's state file: round trip, atomic replacement and refusal of a
// damaged file.

#include "link/emulator/StateFile.h"

#include "link/emulator/LinkedProcessor.h"
#include "model/Writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

class StateFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("dsp4620-emu-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = (dir_ / "processor.state").string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    EmulatorOptions Persistent() const
    {
        EmulatorOptions o = FastOptions();
        o.stateFile = path_;
        return o;
    }
    std::vector<uint8_t> FileBytes() const
    {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void WriteFile(const std::vector<uint8_t>& bytes) const
    {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    fs::path dir_;
    std::string path_;
};

// Changes something of every kind the processor keeps.
void UseEverything(LinkedProcessor& p)
{
    Report vol = Command({0x09, 0x00, 5, 21, 1});
    PutU32BE(&vol[6], 480); // Main L delay 10 ms
    p.Ask(vol);
    EXPECT_EQ(p.Acked({0x85, 0x03, 0xE5, 2, 0xC0, 0xC0}), 0); // mic boost -6 dB at 997
    EXPECT_EQ(p.Acked({0x04, 1}), 0);                         // into M2
    Report name = Command({0xDA, 0x0F, 0x40, 0x2C, 0, 'K', 0, 'T', 0, 'V'});
    EXPECT_EQ(p.Acked(name), 0);
    Report settings = Command({0x91, 1, 40, 60, 90, 95, 1, 0x93, 7, 8, 9, 10, 11, 2});
    EXPECT_EQ(p.Acked(settings), 0);
    Report keys = Command({0x63});
    for (size_t i = 0; i < 16; ++i) {
        keys[2 + i] = static_cast<uint8_t>(0xC0 + i);
    }
    EXPECT_EQ(p.Acked(keys), 0);
    EXPECT_EQ(p.Acked({0x03, 3}), 0);
}
} // namespace

TEST_F(StateFileTest, EverythingSurvivesAStopAndStart)
{
    ProcessorState before;
    {
        LinkedProcessor p(Persistent());
        ASSERT_TRUE(p.link);
        UseEverything(p);
        before = p.processor->State();
    }
    // Only the state file is left: no temporary file beside it.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"processor.state"});

    LinkedProcessor again(Persistent());
    ASSERT_TRUE(again.link);
    EXPECT_TRUE(again.processor->State() == before);
    EXPECT_EQ(again.processor->State().ModeName(1), "KTV");
    EXPECT_EQ(again.Ask({0x07})[2], 3);
    EXPECT_EQ(again.Ask({0x92})[2 + 6], 0x93);
    EXPECT_EQ(GetU32BE(&again.Ask({0x0A, 0x00, 5, 21, 1})[6]), 480U);
    EXPECT_NE(before, ProcessorState::Factory());
}

TEST_F(StateFileTest, SaveReportsFailureAndReplacesAnOldFile)
{
    const std::vector<uint8_t> old = EncodeProcessorState(ProcessorState::Factory());
    WriteFile(old);
    ProcessorState changed = ProcessorState::Factory();
    changed.currentMode = 2;
    std::string error;
    // A folder where the file should be: nothing can be written there.
    EXPECT_FALSE(SaveStateFile((dir_ / "missing" / "x.state").string(), changed, &error));
    EXPECT_NE(error.find("x.state"), std::string::npos) << error;
    ASSERT_TRUE(SaveStateFile(path_, changed, &error)) << error;
    ProcessorState back;
    ASSERT_EQ(LoadStateFile(path_, &back, &error), StateFileResult::Loaded) << error;
    EXPECT_EQ(back.currentMode, 2);
}

TEST_F(StateFileTest, MissingFileStartsFromTheFactorySetting)
{
    std::string error;
    auto proc = EmulatedProcessor::Create(Persistent(), &error);
    ASSERT_TRUE(proc) << error;
    EXPECT_TRUE(proc->State() == ProcessorState::Factory());
    proc.reset();
    EXPECT_TRUE(fs::exists(path_)); // saved when it stopped
}

TEST_F(StateFileTest, FarewellSavesTheSetting)
{
    LinkedProcessor p(Persistent());
    UseEverything(p);
    EXPECT_EQ(p.Acked({0x8A}), 0);
    p.Ask({0x07}); // answered only after the save
    ProcessorState saved;
    std::string error;
    ASSERT_EQ(LoadStateFile(path_, &saved, &error), StateFileResult::Loaded) << error;
    EXPECT_TRUE(saved == p.processor->State());
}

TEST_F(StateFileTest, DamagedFileIsRefusedAndLeftAlone)
{
    const std::vector<uint8_t> good = EncodeProcessorState(ProcessorState::Factory());
    ProcessorState badMode = ProcessorState::Factory();
    badMode.currentMode = 7;
    const struct
    {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty", {}},
        {"garbage", std::vector<uint8_t>(100, 0x5A)},
        {"flipped payload byte",
         [&] {
             auto b = good;
             b[b.size() / 2] ^= 0x01;
             return b;
         }()},
        {"flipped checksum",
         [&] {
             auto b = good;
             b.back() ^= 0x80;
             return b;
         }()},
        {"truncated", std::vector<uint8_t>(good.begin(), good.end() - 10)},
        {"trailing byte",
         [&] {
             auto b = good;
             b.push_back(0);
             return b;
         }()},
        {"other version",
         [&] {
             auto b = good;
             b[11] = 2;
             return b;
         }()},
        {"mode out of range", EncodeProcessorState(badMode)},
    };
    for (const auto& c : cases) {
        WriteFile(c.bytes);
        std::string error;
        EXPECT_FALSE(EmulatedProcessor::Create(Persistent(), &error)) << c.what;
        EXPECT_NE(error.find("damaged"), std::string::npos) << c.what << ": " << error;
        EXPECT_NE(error.find(path_), std::string::npos) << c.what;
        EXPECT_EQ(FileBytes(), c.bytes) << c.what; // not overwritten
        std::string busError;
        EXPECT_FALSE(MakeEmulatedBus(Persistent(), &busError)) << c.what;
        EXPECT_EQ(busError, error);
    }
}

TEST(StateImage, EncodesAndDecodesFactoryAndBlank)
{
    for (const ProcessorState& st : {ProcessorState::Factory(), ProcessorState::Blank()}) {
        ProcessorState back;
        std::string error;
        ASSERT_TRUE(DecodeProcessorState(EncodeProcessorState(st), &back, &error)) << error;
        EXPECT_TRUE(back == st);
    }
}
