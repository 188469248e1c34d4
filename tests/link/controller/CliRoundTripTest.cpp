// dsp4620-cli against a persistent emulated processor: what restore writes, backup reads
// back; rejected processors are refused before anything is written.
#include "files/ModeFile.h"
#include "link/emulator/StateFile.h"
#include "model/CellRanges.h"
#include "model/DeviceMemory.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

class CliDeviceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("dsp4620-cli-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    // Runs the tool; its exit status, with stderr kept in err.txt.
    int Cli(const std::string& arguments) const
    {
        const std::string command = std::string(DSP4620_CLI) + " " + arguments + " >" +
                                    Path("out.txt") + " 2>" + Path("err.txt");
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }
    ModeSetting Parse(const std::string& name) const
    {
        const std::string text = Read(name);
        const std::vector<uint8_t> bytes(text.begin(), text.end());
        ModeSetting s;
        EXPECT_TRUE(ParseModeFile(bytes, s).Ok()) << name;
        return s;
    }

    fs::path dir_;
};

float CellFloat(const ModeSetting& s, int cell)
{
    return std::bit_cast<float>(s.cells[static_cast<size_t>(cell - kFirstCell)]);
}
int32_t CellInt(const ModeSetting& s, int cell)
{
    return static_cast<int32_t>(s.cells[static_cast<size_t>(cell - kFirstCell)]);
}
void SetCellInt(ModeSetting& s, int cell, int32_t v)
{
    s.cells[static_cast<size_t>(cell - kFirstCell)] = static_cast<uint32_t>(v);
}
void SetCellFloat(ModeSetting& s, int cell, float v)
{
    s.cells[static_cast<size_t>(cell - kFirstCell)] = std::bit_cast<uint32_t>(v);
}

TEST_F(CliDeviceTest, RestoreThenBackupGivesBackTheSameSetting)
{
    // A setting as a processor holds it (the factory one, read back), then changed in many
    // places: volumes, mixes, delays, compressor, echo, bands and every memory block.
    ASSERT_EQ(Cli("backup " + Path("factory.W6v9") + " --emulate=" + Path("a.emu")), 0)
        << Read("err.txt");
    ModeSetting s = Parse("factory.W6v9");
    SetCellInt(s, PRM_MIC_VOL, 61);
    SetCellInt(s, PRM_MUSIC_VOL, 45);
    SetCellInt(s, PRM_MAIN_MIX_MUSIC, 73);
    SetCellInt(s, PRM_REAR_MIX_ECHO, 12);
    SetCellInt(s, PRM_ECHOA_LEVEL, 38);
    SetCellInt(s, PRM_MAINL_DELAY, 9);
    SetCellInt(s, PRM_CENTER_MUTE, 1);
    SetCellFloat(s, PRM_ECHOA_TIME, 333.0f);
    SetCellFloat(s, PRM_MAIN_COMP_THRESHOLD, -12.5f);
    for (size_t i = 0; i < 14; ++i) {
        // Band records: gain byte (+3 dB steps) of the first bands of mic channel A.
        s.deviceImage[i * 7] = static_cast<uint8_t>(s.deviceImage[i * 7] + 6);
    }
    s.block945[2] = 0x05;
    s.block965[3] = 0x40;
    s.block997 = {0x3F, 0x00};
    s.hasBlock997 = true;
    ApplyModeSetting(s);
    ASSERT_TRUE(WriteModeFile(Path("changed.W6v9"), s.deviceInfo).Ok());
    const ModeSetting original = Parse("changed.W6v9");

    // A processor whose machine settings ramp the volumes: only then does the push carry
    // the mic and music volumes.
    ProcessorState ramping = ProcessorState::Factory();
    ramping.machineSettings[0] = 1;
    std::string error;
    ASSERT_TRUE(SaveStateFile(Path("b.emu"), ramping, &error)) << error;

    ASSERT_EQ(Cli("restore " + Path("changed.W6v9") + " --emulate=" + Path("b.emu")), 0)
        << Read("err.txt");
    ASSERT_EQ(Cli("backup " + Path("back.W6v9") + " --emulate=" + Path("b.emu")), 0)
        << Read("err.txt");
    const ModeSetting back = Parse("back.W6v9");

    for (int cell = kFirstCell; cell <= kLastCell; ++cell) {
        if (IsFloatCell(cell)) {
            const float a = CellFloat(original, cell);
            EXPECT_NEAR(CellFloat(back, cell), a, 1e-3f * std::max(1.0f, std::fabs(a)))
                << "cell " << cell;
        } else {
            EXPECT_LE(std::abs(CellInt(back, cell) - CellInt(original, cell)), 1)
                << "cell " << cell << ": " << CellInt(original, cell) << " came back as "
                << CellInt(back, cell);
        }
    }
    EXPECT_EQ(back.deviceImage, original.deviceImage);
    EXPECT_EQ(back.block945, original.block945);
    EXPECT_EQ(back.block965, original.block965);
    EXPECT_EQ(back.block997, original.block997);
}

TEST_F(CliDeviceTest, InfoPrintsTheIdentificationAndTheModeNames)
{
    ASSERT_EQ(Cli("info --emulate --trace " + Path("trace.txt")), 0) << Read("err.txt");
    EXPECT_EQ(Read("out.txt"), "model: KW4620M\n"
                               "controller version: 2013-05-20\n"
                               "DSP version: 2013-04-18\n"
                               "command-set version: 0x15\n"
                               "current mode: M1\n"
                               "M1: User 1\nM2: User 2\nM3: User 3\nM4: User 4\n");
    // 191 commands, their 191 answers, the farewell and its acknowledgement.
    const std::string trace = Read("trace.txt");
    EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 384);
    EXPECT_EQ(trace.rfind("> 028a", 0) == std::string::npos, true);
    EXPECT_NE(trace.find("> 028a00"), std::string::npos);
}

TEST_F(CliDeviceTest, RejectedProcessorIsRefusedBeforeAnythingIsWritten)
{
    ASSERT_EQ(Cli("new " + Path("start.W6v9")), 0) << Read("err.txt");
    struct Row
    {
        const char* options;
        const char* text;
    };
    const Row rows[] = {
        {"--emulate-model=KW4620", "机器型号与软件不匹配!"},
        {"--emulate-cmd-version=0x14", "机器与软件通信版本不匹配，请使用机器配套软件!"},
    };
    for (const Row& r : rows) {
        for (const std::string& command : std::vector<std::string>{
                 "info", "restore " + Path("start.W6v9"), "push " + Path("start.W6v9"),
                 "backup " + Path("never.W6v9")}) {
            EXPECT_EQ(Cli(command + " --emulate " + r.options + " --trace " + Path("t.txt")), 1)
                << command;
            const std::string err = Read("err.txt");
            EXPECT_NE(err.find(r.text), std::string::npos) << command << ": " << err;
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
            // Six identification commands and their answers, then the farewell.
            const std::string trace = Read("t.txt");
            EXPECT_EQ(std::count(trace.begin(), trace.end(), '>'), 7) << command;
        }
        EXPECT_FALSE(fs::exists(Path("never.W6v9")));
    }
}

TEST_F(CliDeviceTest, UnusableArgumentsAndFilesFailWithOneLine)
{
    EXPECT_EQ(Cli("backup --emulate"), 2);
    EXPECT_EQ(Cli("info --emulate --bogus"), 2);
    std::ofstream(Path("junk.W6v9")) << "not a mode file";
    EXPECT_EQ(Cli("restore " + Path("junk.W6v9") + " --emulate"), 1);
    EXPECT_EQ(Cli("restore " + Path("missing.W6v9") + " --emulate"), 1);
    const std::string err = Read("err.txt");
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(Cli("info --emulate --emulate-silent"), 1);
    EXPECT_NE(Read("err.txt").find("does not answer"), std::string::npos) << Read("err.txt");
    std::ofstream(Path("bad.emu")) << "damaged state";
    EXPECT_EQ(Cli("info --emulate=" + Path("bad.emu")), 1);
}

TEST_F(CliDeviceTest, FileCommandsSayOnceWhenValuesWereLimited)
{
    // A version 4 file whose setting is random bytes.
    std::string damaged(kModeFileSize, '\0');
    uint32_t x = 12;
    for (char& c : damaged) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 16);
    }
    damaged.replace(0, 4, std::string("\x04\0\0\0", 4));
    std::ofstream(Path("damaged.W6v9"), std::ios::binary) << damaged;
    ASSERT_EQ(Cli("new " + Path("clean.W6v9")), 0);

    const std::string line = "values out of range were limited";
    const auto count = [&](const std::string& text) {
        size_t n = 0;
        for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) {
            ++n;
        }
        return n;
    };
    for (const std::string& command :
         {"dump " + Path("damaged.W6v9"), "convert " + Path("damaged.W6v9") + " " + Path("c.W6v9"),
          "push " + Path("damaged.W6v9") + " --dry-run",
          "restore " + Path("damaged.W6v9") + " --emulate --short-waits"}) {
        EXPECT_EQ(Cli(command), 0) << command << ": " << Read("err.txt");
        EXPECT_EQ(count(Read("err.txt")), 1u) << command << ": " << Read("err.txt");
    }
    // What convert wrote is in range throughout and loads without a word.
    const ModeSetting converted = Parse("c.W6v9");
    for (int cell = kFirstCell; cell <= kLastCell; ++cell) {
        EXPECT_TRUE(CellBitsInRange(cell, converted.cells[static_cast<size_t>(cell - kFirstCell)]))
            << ParamCellName(cell);
    }
    for (const std::string& command : {"dump " + Path("c.W6v9"), "dump " + Path("clean.W6v9"),
                                       "push " + Path("clean.W6v9") + " --dry-run"}) {
        EXPECT_EQ(Cli(command), 0) << command;
        EXPECT_EQ(count(Read("err.txt")), 0u) << command << ": " << Read("err.txt");
    }
}

} // namespace
