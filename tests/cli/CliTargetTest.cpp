// dsp4620-cli's targets: options anywhere, mode files edited without a processor, scripts on
// one connection, the modes and the status of the processor.
#include "cli/CliFixture.h"
#include "dsp/EqBands.h"
#include "model/ParamIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

using CliTargetTest = CliFixture;

// Byte offset of a cell in a version 4 mode file.
size_t CellOffset(int cell)
{
    return 4 + 4 * static_cast<size_t>(cell - 26);
}
// Byte offset of a band record of a page kind in a version 4 mode file.
size_t BandOffset(int kind, int band)
{
    return 4 + 4 * 159 + static_cast<size_t>(EqRegionStart(kind) + 7 * band);
}

std::set<size_t> Differences(const std::string& a, const std::string& b)
{
    std::set<size_t> out;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i] != b[i]) {
            out.insert(i);
        }
    }
    return out;
}

TEST_F(CliTargetTest, TargetOptionsMayStandBeforeOrAfterTheCommand)
{
    ASSERT_EQ(Cli("info --emulate"), 0) << Err();
    const std::string after = Out();
    ASSERT_EQ(Cli("--emulate info"), 0) << Err();
    EXPECT_EQ(Out(), after);
    ASSERT_EQ(Cli("--trace " + Path("t.txt") + " get music.volume --emulate"), 0) << Err();
    EXPECT_EQ(Out(), "music.volume=70\n");
    EXPECT_NE(Read("t.txt").find("> 0280"), std::string::npos) << "the trace was not written";
    ASSERT_EQ(Cli("--file " + Path("none.W6v9") + " get music.volume"), 1);
    EXPECT_NE(Err().find("none.W6v9"), std::string::npos) << Err();
}

TEST_F(CliTargetTest, FileEditChangesOnlyTheBytesOfTheAssignedSettings)
{
    ASSERT_EQ(Cli("new " + Path("a.W6v9")), 0) << Err();
    const std::string before = Read("a.W6v9");
    ASSERT_EQ(Cli("set --file " + Path("a.W6v9") +
                  " music.volume=33 eq.main.3.gain=6 eq.main.3.freq=250 comp.rear.ratio=4.5"),
              0)
        << Err();
    const std::string after = Read("a.W6v9");
    ASSERT_EQ(after.size(), before.size());
    std::set<size_t> allowed;
    for (size_t i = 0; i < 4; ++i) {
        allowed.insert(CellOffset(PRM_MUSIC_VOL) + i);
        allowed.insert(CellOffset(PRM_REAR_COMP_RATIO) + i);
        // The compressor write stores its four cells (as the page does).
        allowed.insert(CellOffset(PRM_REAR_COMP_THRESHOLD) + i);
        allowed.insert(CellOffset(PRM_REAR_COMP_ATTACK) + i);
        allowed.insert(CellOffset(PRM_REAR_COMP_RELEASE) + i);
    }
    for (size_t i = 0; i < 7; ++i) {
        allowed.insert(BandOffset(EQ_KIND_MAIN, 2) + i);
    }
    const std::set<size_t> changed = Differences(before, after);
    for (size_t at : changed) {
        EXPECT_TRUE(allowed.count(at)) << "byte " << at << " changed";
    }
    EXPECT_TRUE(changed.count(CellOffset(PRM_MUSIC_VOL)));
    EXPECT_EQ(static_cast<uint8_t>(after[CellOffset(PRM_MUSIC_VOL)]), 33);
    // Gain +6 dB: (6 + 0.05 + 15) * 10 = 210 = 0x00D2, big-endian in the record.
    EXPECT_EQ(static_cast<uint8_t>(after[BandOffset(EQ_KIND_MAIN, 2) + 1]), 0xD2);

    ASSERT_EQ(Cli("get --file " + Path("a.W6v9") +
                  " music.volume eq.main.3.gain eq.main.3.freq comp.rear.ratio"),
              0)
        << Err();
    EXPECT_EQ(Out(),
              "music.volume=33\neq.main.3.gain=6.0\neq.main.3.freq=250\ncomp.rear.ratio=4.5\n");
    // Reading alone leaves the file as it was, byte for byte.
    EXPECT_EQ(Read("a.W6v9"), after);
}

TEST_F(CliTargetTest, OutputSavesElsewhereAndLeavesTheFile)
{
    ASSERT_EQ(Cli("new " + Path("a.W6v9")), 0) << Err();
    const std::string before = Read("a.W6v9");
    ASSERT_EQ(Cli("set echo.volume=12 --file " + Path("a.W6v9") + " --output " + Path("b.W6v9")), 0)
        << Err();
    EXPECT_EQ(Read("a.W6v9"), before);
    EXPECT_EQ(Differences(before, Read("b.W6v9")), (std::set<size_t>{CellOffset(PRM_ECHO_VOL)}));
    EXPECT_EQ(Cli("set echo.volume=12 --output " + Path("c.W6v9") + " --emulate"), 2);
    EXPECT_FALSE(fs::exists(Path("c.W6v9")));
}

TEST_F(CliTargetTest, RefusedAssignmentsLeaveFileAndProcessorUntouched)
{
    ASSERT_EQ(Cli("new " + Path("a.W6v9")), 0) << Err();
    const std::string before = Read("a.W6v9");
    struct Case
    {
        const char* assignments;
        const char* message; // part of the one-line error
    };
    const Case cases[] = {
        {"music.volume=50 nosuch.setting=1", "nosuch.setting: no such setting"},
        {"music.volume=50 echo.volume=abc", "echo.volume=abc: malformed value (0..99%)"},
        {"music.volume=50 echo.volume=100", "echo.volume=100: out of range (0..99%)"},
        {"music.volume=50 echo.volume=5.5", "echo.volume=5.5: not a whole number"},
        {"eq.main.3.type=bandpass",
         "eq.main.3.type=bandpass: not one of the choices (off, peq, lp, hp, ls, hs)"},
        {"eq.main.11.gain=1", "eq.main.11.gain: no such setting"},
        {"comp.main.ratio=0.5", "comp.main.ratio=0.5: out of range (1..30:1)"},
        {"delay.main-l.split=550", "not a step"},
        {"delay.main-l.mode=channel delay.main-l.split=1000",
         "the split is not used while delay.main-l.mode is channel"},
        {"mic.mute=maybe", "mic.mute=maybe: not on or off"},
        {"main.srs=60", "main.srs=60: out of range (0..50%)"},
        {"center.srs=10", "center.srs: no such setting"},
        {"sub.mix.music=101", "sub.mix.music=101: out of range (0..100%)"},
        {"music.volume", "'music.volume' is not NAME=VALUE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.assignments);
        EXPECT_EQ(Cli(std::string("set ") + c.assignments + " --file " + Path("a.W6v9")), 2);
        EXPECT_NE(Err().find(c.message), std::string::npos) << Err();
        const std::string err = Err();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(Read("a.W6v9"), before);
        EXPECT_EQ(Cli(std::string("set ") + c.assignments + " --emulate --trace " + Path("t.txt")),
                  2);
        EXPECT_TRUE(SentAfterRead("t.txt").empty()) << "something was sent";
    }
}

TEST_F(CliTargetTest, LinkLostAfterTheReadIsAFailure)
{
    // How many reports the read synchronisation reads, from a trace.
    ASSERT_EQ(Cli("get music.volume --emulate --trace " + Path("t.txt")), 0) << Err();
    std::istringstream trace(Read("t.txt"));
    std::string line;
    long received = 0;
    bool farewell = false;
    while (std::getline(trace, line)) {
        farewell = farewell || line.rfind("> 028a", 0) == 0;
        received += !farewell && line.rfind("< ", 0) == 0 ? 1 : 0;
    }
    ASSERT_GT(received, 100);
    EXPECT_EQ(
        Cli("set music.volume=50 --emulate --emulate-unplug-after=" + std::to_string(received)), 1);
    // Lost after the read (or, should the read have needed a report more, during it): either
    // way a failure with its reason, never success.
    const std::string err = Err();
    EXPECT_TRUE(err.find("the link to the processor was lost") != std::string::npos ||
                err.find("the read from the processor did not finish") != std::string::npos)
        << err;
    EXPECT_EQ(
        Cli("set music.volume=50 --emulate --emulate-unplug-after=" + std::to_string(received + 5)),
        0)
        << Err();
}

TEST_F(CliTargetTest, ReadOnlyFileIsRefusedForAnOrdinaryUserAndStaysAsItWas)
{
    ASSERT_EQ(Cli("new " + Path("a.W6v9")), 0) << Err();
    const std::string before = Read("a.W6v9");
    fs::permissions(dir_, fs::perms::all);
    fs::permissions(Path("a.W6v9"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string command = "setpriv --reuid=65534 --regid=65534 --clear-groups " +
                                std::string(DSP4620_CLI) + " set music.volume=10 --file " +
                                Path("a.W6v9") + " >" + Path("out.txt") + " 2>" + Path("err.txt");
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << Err();
    EXPECT_NE(Err().find("a.W6v9"), std::string::npos) << Err();
    EXPECT_EQ(Read("a.W6v9"), before);
}

TEST_F(CliTargetTest, ScriptRunsOnOneConnectionAndStopsAtTheFirstFailingLine)
{
    Write("script.txt", "# volumes first\n"
                        "set music.volume=40   # quiet\n"
                        "\n"
                        "mode name 2 \"Late night\"\n"
                        "set echo.volume=400\n"
                        "set reverb.volume=5\n");
    EXPECT_EQ(Cli("run " + Path("script.txt") + " --emulate=" + Path("p.emu") + " --trace " +
                  Path("t.txt")),
              2);
    EXPECT_NE(Err().find("line 5"), std::string::npos) << Err();
    // One identification for the whole script.
    const std::string trace = Read("t.txt");
    size_t identifications = 0;
    for (size_t at = trace.find("> 0280"); at != std::string::npos;
         at = trace.find("> 0280", at + 1)) {
        ++identifications;
    }
    EXPECT_EQ(identifications, 2u); // the two identification passes of one synchronisation
    ASSERT_EQ(Cli("get music.volume reverb.volume --emulate=" + Path("p.emu")), 0) << Err();
    EXPECT_EQ(Out(), "music.volume=40\nreverb.volume=60\n");
    ASSERT_EQ(Cli("info --emulate=" + Path("p.emu")), 0) << Err();
    EXPECT_NE(Out().find("M2: Late night\n"), std::string::npos) << Out();

    // From standard input, on a mode file: saved only when every line succeeded.
    ASSERT_EQ(Cli("new " + Path("a.W6v9")), 0);
    const std::string before = Read("a.W6v9");
    EXPECT_EQ(Cli("run - --file " + Path("a.W6v9") + " <" + Path("script.txt")), 2);
    EXPECT_NE(Err().find("mode"), std::string::npos) << Err(); // modes need a processor
    EXPECT_NE(Err().find("line 4"), std::string::npos) << Err();
    EXPECT_EQ(Read("a.W6v9"), before);
    Write("ok.txt", "set music.volume=41\nget music.volume\n");
    EXPECT_EQ(Cli("run - --file " + Path("a.W6v9") + " <" + Path("ok.txt")), 0) << Err();
    EXPECT_EQ(Out(), "music.volume=41\n");
    EXPECT_EQ(static_cast<uint8_t>(Read("a.W6v9")[CellOffset(PRM_MUSIC_VOL)]), 41);
    Write("nested.txt", "run other.txt\n");
    EXPECT_EQ(Cli("run " + Path("nested.txt") + " --emulate"), 2);
    Write("targets.txt", "get music.volume --emulate\n");
    EXPECT_EQ(Cli("run " + Path("targets.txt") + " --emulate"), 2);
}

TEST_F(CliTargetTest, ModeCommandsSendTheModeCommands)
{
    ASSERT_EQ(Cli("mode recall 3 --emulate --trace " + Path("t.txt")), 0) << Err();
    // 05 02, then a whole read synchronisation again.
    const std::string trace = Read("t.txt");
    const size_t recall = trace.find("> 020502");
    ASSERT_NE(recall, std::string::npos);
    EXPECT_NE(trace.find("> 0280", recall), std::string::npos) << "not read again";
    ASSERT_EQ(Cli("mode store 4 --emulate --trace " + Path("t.txt")), 0) << Err();
    std::vector<Report> sent = SentAfterRead("t.txt");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(Hex(sent[0], 4), "02040300");
    ASSERT_EQ(Cli("mode reset 1 --emulate --trace " + Path("t.txt")), 0) << Err();
    EXPECT_NE(Read("t.txt").find("> 020600"), std::string::npos);
    EXPECT_EQ(Cli("mode recall 5 --emulate"), 2);
    EXPECT_EQ(Cli("mode jump 1 --emulate"), 2);
    ASSERT_EQ(Cli("new " + Path("a.W6v9")), 0);
    EXPECT_EQ(Cli("mode store 1 --file " + Path("a.W6v9")), 2);
    EXPECT_NE(Err().find("needs a processor"), std::string::npos) << Err();
}

TEST_F(CliTargetTest, StatusPrintsTheProcessorAndItsLevels)
{
    ASSERT_EQ(Cli("status --emulate"), 0) << Err();
    EXPECT_NE(Out().find("model: KW4620M\n"), std::string::npos) << Out();
    EXPECT_NE(Out().find("current mode: M1\n"), std::string::npos) << Out();
    EXPECT_NE(Out().find("levels: "), std::string::npos) << Out();
    ASSERT_EQ(Cli("status --json --watch --period 1 --count 3 --emulate --trace " + Path("t.txt")),
              0)
        << Err();
    const std::string out = Out();
    EXPECT_EQ(out.rfind("{\"connected\": true, \"path\": ", 0), 0u) << out;
    EXPECT_NE(out.find("\"model\": \"KW4620M\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"modeNames\": [\"User 1\", \"User 2\", \"User 3\", \"User 4\"]"),
              std::string::npos)
        << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 4) << out;
    // One poll for the first object, then one per watch line.
    size_t polls = 0;
    for (const Report& r : SentAfterRead("t.txt")) {
        polls += r[1] == 0x0E ? 1 : 0;
    }
    EXPECT_EQ(polls, 4u);
    EXPECT_EQ(Cli("status --file x.W6v9"), 2);
}

} // namespace
