// Settings by name against the emulated processor: the reports each assignment sends, the
// merging of one edit's fields into one write, and the shapes of the JSON output.
#include "cli/CliSettings.h"

#include "cli/CliFixture.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

using CliSettingsTest = CliFixture;

// A DSP parameter write: 02 09 00 block param count, then the (first) values.
std::string ParamWrite(int block, int param, const std::vector<std::string>& values,
                       size_t count = 0)
{
    char head[16];
    std::snprintf(head, sizeof head, "020900%02x%02x%02zx", block, param,
                  count != 0 ? count : values.size());
    std::string out = head;
    for (const std::string& v : values) {
        out += v;
    }
    return out;
}

struct AssignmentCase
{
    const char* assignments;
    // Every report sent, as the hex text of its leading bytes.
    std::vector<std::string> reports;
};

TEST_F(CliSettingsTest, AssignmentsSendThePagesReports)
{
    const std::string on = FloatHex(1.0f);
    const std::string off = FloatHex(0.0f);
    const AssignmentCase cases[] = {
        {"music.volume=50", {ParamWrite(4, 11, std::vector<std::string>(6, FloatHex(0.5f)))}},
        {"mic.volume=25",
         {ParamWrite(1, 0x14, {FloatHex(0.25f)}), ParamWrite(1, 0x21, {FloatHex(0.25f)})}},
        {"echo.mute=on", {ParamWrite(2, 29, {off, off})}},
        {"music.pitch=-3", {ParamWrite(4, 19, {"00000002"})}},
        {"music.aux1=on", {ParamWrite(4, 22, {on})}},
        {"autosub.level=40", {ParamWrite(1, 58, {FloatHex(0.4f)})}},
        {"mic-b.phase=reverse", {ParamWrite(1, 44, {"00000000"})}},
        {"comp.center.on=off", {ParamWrite(7, 18, {"00000001"})}},
        {"delay.rear-r.on=off", {"02090006"}},
        // Four compressor fields: the four cells and one write of the compressor block.
        {"comp.main.threshold=-20 comp.main.ratio=4 comp.main.attack=10 comp.main.release=200",
         {ParamWrite(5, 0x13, {FloatHex(-20.0f), off}, 7)}},
        // An EQ band's four fields: one band memory write and one biquad.
        {"eq.main.3.type=ls eq.main.3.gain=-4.5 eq.main.3.freq=150 eq.main.3.q=0.8",
         {"028501ab07", ParamWrite(5, 2, {}, 5)}},
        // The Sub's music mix stores three times the percent: 100 sends 3.0.
        {"sub.mix.music=100", {ParamWrite(8, 25, {FloatHex(3.0f)})}},
        {"rear.mix.echo=25", {ParamWrite(6, 16, {FloatHex(0.25f)})}},
        // SRS 3D is sent negated, twice.
        {"main.srs=50", {ParamWrite(5, 30, {FloatHex(-0.5f), FloatHex(-0.5f)})}},
        {"main.mute=on", {ParamWrite(5, 27, {off, off})}},
        {"center.mute=on", {ParamWrite(7, 22, {off})}},
        // Delays in samples at 48 kHz; below 1.5 ms is raised to 1.5 ms (72 samples) and an
        // unchanged delay sends nothing.
        {"delay.main-l.ms=10 delay.main-l.ms=0.5 delay.main-l.ms=1.5",
         {ParamWrite(5, 0x15, {"000001e0"}), ParamWrite(5, 0x15, {"00000048"})}},
        // Machine settings spread over the command: the volume at once, one Apply at the end
        // with the whole record (mic maximum 50, panel locked, power-on mode M2).
        {"machine.mic-max=50 machine.lock-panel=on music.volume=30 machine.power-on-mode=m2",
         {ParamWrite(4, 11, std::vector<std::string>(6, FloatHex(0.3f))),
          "0291003232326301000000000000020000"}},
        // A start volume is heard at once.
        {"machine.mic-start=40",
         {ParamWrite(1, 0x14, {FloatHex(0.4f)}), ParamWrite(1, 0x21, {FloatHex(0.4f)}),
          "029100283263630000000000000000"}},
        {"mic.port2.channel=b", {ParamWrite(1, 24, {off}), ParamWrite(1, 37, {on})}},
        // A short echo time brings the reverb predelay along (ten times, half per cell).
        {"echo-a.time=4",
         {ParamWrite(2, 0x12, {"000000c0"}), ParamWrite(3, 0x10, {"000003c0"}),
          ParamWrite(3, 0x11, {"000003c0"})}},
        // Music band 10 as a low pass at 120 Hz, 0 dB, Q 0.707.
        {"music.lpf.freq=120", {"02850196070096007802c302", ParamWrite(4, 10, {}, 5)}},
        // A typed speaker position: the geometry block, then the levels block and the level.
        {"soundfield.main-l=-1.5,1",
         {"028503b114040400008f0a", "028503c520", ParamWrite(5, 0x1c, {}, 6)}},
        // Two bands, then the first again: three band writes.
        {"eq.rear.1.gain=3 eq.rear.2.gain=3 eq.rear.1.freq=90",
         {"0285", ParamWrite(6, 0, {}, 5), "0285", ParamWrite(6, 1, {}, 5), "0285",
          ParamWrite(6, 0, {}, 5)}},
    };
    for (const AssignmentCase& c : cases) {
        SCOPED_TRACE(c.assignments);
        ASSERT_EQ(Cli(std::string("set ") + c.assignments + " --emulate --trace " + Path("t.txt")),
                  0)
            << Err();
        const std::vector<Report> sent = SentAfterRead("t.txt");
        ASSERT_EQ(sent.size(), c.reports.size());
        for (size_t i = 0; i < sent.size(); ++i) {
            const std::string& want = c.reports[i];
            EXPECT_EQ(Hex(sent[i], want.size() / 2), want) << "report " << i;
        }
    }
}

TEST_F(CliSettingsTest, SubSlotsTakeTypesAndCrossoversAsTheOutputPageDoes)
{
    // A high pass on slot 2 (fourth-order Butterworth 19, 21, 1, 1), then Linkwitz-Riley 36 dB
    // on its high-pass side: 15, 11, 15, 11. Each stage is a band memory write and a biquad
    // on stages 4..7 of block 8.
    ASSERT_EQ(
        Cli("set eq.sub.2.type=hp eq.sub.2.freq=80 eq.sub.2.crossover=lr36 --emulate --trace " +
            Path("t.txt")),
        0)
        << Err();
    std::vector<int> codes;
    std::vector<int> stages;
    for (const Report& r : SentAfterRead("t.txt")) {
        if (r[1] == 0x85) {
            codes.push_back(r[5 + 6]);
        } else if (r[1] == 0x09) {
            EXPECT_EQ(r[3], 8);
            stages.push_back(r[4]);
        }
    }
    EXPECT_EQ(codes, (std::vector<int>{19, 21, 1, 1, 15, 11, 15, 11}));
    EXPECT_EQ(stages, (std::vector<int>{4, 5, 6, 7, 4, 5, 6, 7}));

    const std::string state = " --emulate=" + Path("p.emu");
    ASSERT_EQ(Cli("set eq.sub.3.type=lp eq.sub.3.freq=120 eq.sub.3.crossover=bessel18" + state), 0)
        << Err();
    ASSERT_EQ(Cli("get eq.sub.3.type eq.sub.3.freq eq.sub.3.crossover eq.sub.1.crossover" + state),
              0)
        << Err();
    EXPECT_EQ(Out(), "eq.sub.3.type=lp\neq.sub.3.freq=120\neq.sub.3.crossover=bessel18\n"
                     "eq.sub.1.crossover=none\n");
    // A crossover needs a low or high pass slot.
    EXPECT_EQ(Cli("set eq.sub.1.crossover=lr24" + state), 2);
    EXPECT_NE(Err().find("eq.sub.1.crossover=lr24: the slot is peq; a crossover needs "
                         "eq.sub.1.type lp or hp"),
              std::string::npos)
        << Err();
    EXPECT_EQ(Cli("set eq.sub.3.crossover=none" + state), 2);
    // A pass slot takes no Q above 2.
    EXPECT_EQ(Cli("set eq.sub.3.q=5" + state), 2);
    EXPECT_NE(Err().find("a lp band takes Q 0.1..2"), std::string::npos) << Err();

    ASSERT_EQ(Cli("new " + Path("a.W6v9")), 0);
    ASSERT_EQ(Cli("set sub.mix.music=100 --file " + Path("a.W6v9")), 0) << Err();
    EXPECT_EQ(static_cast<uint8_t>(Read("a.W6v9")[4 + 4 * (168 - 26)]), 44); // 300 = 0x12C
    EXPECT_EQ(static_cast<uint8_t>(Read("a.W6v9")[4 + 4 * (168 - 26) + 1]), 1);
    ASSERT_EQ(Cli("get sub.mix.music --file " + Path("a.W6v9")), 0) << Err();
    EXPECT_EQ(Out(), "sub.mix.music=100\n");
}

TEST_F(CliSettingsTest, MachineMaximumLimitsTheVolumeAndStaysOffModeFiles)
{
    const std::string state = " --emulate=" + Path("p.emu");
    ASSERT_EQ(Cli("set machine.mic-max=50" + state), 0) << Err();
    EXPECT_EQ(Cli("set mic.volume=60" + state), 2);
    EXPECT_NE(Err().find("mic.volume=60: out of range (0..50% (the machine settings' maximum))"),
              std::string::npos)
        << Err();
    ASSERT_EQ(Cli("set mic.volume=50" + state), 0) << Err();
    // A start volume above the maximum (also one set in the same command) is refused.
    EXPECT_EQ(Cli("set machine.mic-max=30 machine.mic-start=40" + state), 2);
    EXPECT_NE(Err().find("above machine.mic-max (30)"), std::string::npos) << Err();
    ASSERT_EQ(Cli("set machine.music-start=off" + state), 0) << Err();
    ASSERT_EQ(Cli("get machine.mic-max machine.music-start mic.volume --json" + state), 0) << Err();
    EXPECT_EQ(Out(), "{\n  \"machine.mic-max\": 50,\n  \"machine.music-start\": \"off\",\n"
                     "  \"mic.volume\": 50\n}\n");

    ASSERT_EQ(Cli("new " + Path("a.W6v9")), 0) << Err();
    EXPECT_EQ(Cli("set machine.lock-panel=on --file " + Path("a.W6v9")), 2);
    EXPECT_NE(Err().find("machine.lock-panel: not kept in a mode file"), std::string::npos)
        << Err();
    ASSERT_EQ(Cli("get --file " + Path("a.W6v9")), 0) << Err();
    EXPECT_EQ(Out().find("machine."), std::string::npos);
    // Start-up cells are 0, which the phase cells read as reversed.
    EXPECT_NE(Out().find("mic-a.phase=reverse\n"), std::string::npos);
}

TEST_F(CliSettingsTest, RemoteTableIsSavedAndSentBack)
{
    const std::string state = " --emulate=" + Path("p.emu");
    ASSERT_EQ(Cli("remote save " + Path("keys") + state), 0) << Err();
    const std::string saved = Read("keys.remo");
    ASSERT_EQ(saved.size(), 16u);
    std::string changed = saved;
    changed[3] = '\x42';
    Write("new.remo", changed);
    ASSERT_EQ(Cli("remote apply " + Path("new.remo") + state + " --trace " + Path("t.txt")), 0)
        << Err();
    const std::vector<Report> sent = SentAfterRead("t.txt");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(Hex(sent[0], 18), "0263" + Hex(Report{[&] {
                                                 Report r{};
                                                 std::copy(changed.begin(), changed.end(),
                                                           r.begin());
                                                 return r;
                                             }()},
                                             16));
    ASSERT_EQ(Cli("remote save " + Path("back.remo") + state), 0) << Err();
    EXPECT_EQ(Read("back.remo"), changed);
    EXPECT_EQ(Cli("remote apply " + Path("missing.remo") + state + " --trace " + Path("t.txt")), 1);
    EXPECT_TRUE(SentAfterRead("t.txt").empty());
    EXPECT_EQ(Cli("remote save " + Path("x.remo") + " --file " + Path("a.W6v9")), 2);
}

TEST_F(CliSettingsTest, SoundFieldCommandsEditTheRoomPlan)
{
    ASSERT_EQ(Cli("new " + Path("a.W6v9")), 0) << Err();
    const std::string before = Read("a.W6v9");
    ASSERT_EQ(Cli("set soundfield.listener=1,-1 --file " + Path("a.W6v9")), 0) << Err();
    ASSERT_EQ(Cli("get soundfield.listener soundfield.main-l --file " + Path("a.W6v9")), 0)
        << Err();
    EXPECT_EQ(Out(), "soundfield.listener=1.0,-1.0\nsoundfield.main-l=-1.0,1.0\n");
    ASSERT_EQ(Cli("soundfield center --file " + Path("a.W6v9")), 0) << Err();
    ASSERT_EQ(Cli("get soundfield.listener --json --file " + Path("a.W6v9")), 0) << Err();
    EXPECT_EQ(Out(), "{\n  \"soundfield.listener\": [0.0, 0.0]\n}\n");
    // Only the geometry block and the speaker levels differ from the start-up file: the
    // centred listener has every speaker at its start-up distance again.
    const std::string after = Read("a.W6v9");
    for (size_t i = 0; i < after.size(); ++i) {
        const bool blocks = i >= 4 + 4 * 159 + 945 + 6; // Block965, Block945, Block997
        EXPECT_TRUE(blocks || after[i] == before[i]) << "byte " << i;
    }
    // Positions are limited to the room, as the page limits typed ones.
    ASSERT_EQ(Cli("set soundfield.room=2x3 soundfield.top-r=9,-9 --file " + Path("a.W6v9")), 0)
        << Err();
    ASSERT_EQ(Cli("get soundfield.room soundfield.top-r --file " + Path("a.W6v9")), 0) << Err();
    EXPECT_EQ(Out(), "soundfield.room=2x3\nsoundfield.top-r=1.0,-1.5\n");
    EXPECT_EQ(Cli("set soundfield.room=11x3 --file " + Path("a.W6v9")), 2);
    EXPECT_EQ(Cli("set soundfield.room=2.5x3 --file " + Path("a.W6v9")), 2);
    EXPECT_EQ(Cli("set soundfield.sub=1 --file " + Path("a.W6v9")), 2);
    ASSERT_EQ(Cli("soundfield reset --emulate --trace " + Path("t.txt")), 0) << Err();
    const std::vector<Report> sent = SentAfterRead("t.txt");
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(Hex(sent.back(), 5), "028503b114");
    EXPECT_EQ(Cli("soundfield middle --emulate"), 2);
}

TEST_F(CliSettingsTest, ValuesSetAreReadBackFromTheProcessor)
{
    const std::string state = " --emulate=" + Path("p.emu");
    ASSERT_EQ(
        Cli("set comp.sub.threshold=-12 comp.sub.ratio=2.5 eq.mic-a.2.freq=3150 "
            "eq.mic-a.2.q=4.25 mic.boost.level=12 music.agc.level=-7.5 delay.top-l.split=1200 "
            "delay.top-l.mode=high" +
            state),
        0)
        << Err();
    ASSERT_EQ(Cli("get comp.sub.threshold comp.sub.ratio eq.mic-a.2.freq eq.mic-a.2.q "
                  "mic.boost.level music.agc.level delay.top-l.split delay.top-l.mode" +
                  state),
              0)
        << Err();
    EXPECT_EQ(Out(), "comp.sub.threshold=-12\ncomp.sub.ratio=2.5\neq.mic-a.2.freq=3150\n"
                     "eq.mic-a.2.q=4.25\nmic.boost.level=12\nmusic.agc.level=-7.5\n"
                     "delay.top-l.split=1200\ndelay.top-l.mode=high\n");
}

TEST_F(CliSettingsTest, GetJsonIsOneObjectOfTypedValues)
{
    ASSERT_EQ(Cli("get music.volume mic.mute eq.main.1.type comp.main.ratio --json --emulate"), 0)
        << Err();
    EXPECT_EQ(Out(), "{\n  \"music.volume\": 70,\n  \"mic.mute\": false,\n  \"eq.main.1.type\": "
                     "\"peq\",\n  \"comp.main.ratio\": 2.0\n}\n");
    ASSERT_EQ(Cli("get --json --emulate"), 0) << Err();
    const std::string all = Out();
    // Every setting once, each value a number, true/false, a string or a pair.
    const std::regex member("\n  \"([a-z0-9.-]+)\": (-?[0-9]+(\\.[0-9]+)?|true|false|\"[a-z0-9]+\"|"
                            "\\[-?[0-9.]+, -?[0-9.]+\\])(,|\n)");
    size_t members = 0;
    for (auto it = std::sregex_iterator(all.begin(), all.end(), member);
         it != std::sregex_iterator(); ++it) {
        EXPECT_NE(FindSetting((*it)[1].str()), nullptr) << (*it)[1].str();
        ++members;
    }
    EXPECT_EQ(members, AllSettings().size());
    EXPECT_EQ(all.front(), '{');
    EXPECT_EQ(all.substr(all.size() - 3), "\n}\n");
}

TEST_F(CliSettingsTest, ListNamesEverySettingWithItsRangeAndPage)
{
    ASSERT_EQ(Cli("list"), 0) << Err();
    const std::string text = Out();
    EXPECT_NE(text.find("eq.main.3.type  off, peq, lp, hp, ls, hs  [outputs]\n"),
              std::string::npos);
    EXPECT_NE(text.find("comp.top.release  1..1000 ms  [compressor]\n"), std::string::npos);
    EXPECT_NE(text.find("delay.sub.split  500..3000 Hz in steps of 100  [delay]\n"),
              std::string::npos);
    ASSERT_EQ(Cli("list --json"), 0) << Err();
    const std::string json = Out();
    EXPECT_NE(
        json.find(
            "{\"name\": \"music.pitch\", \"page\": \"master\", \"unit\": \"steps\", \"kind\": "
            "\"integer\", \"range\": \"-5..5 steps\", \"min\": -5, \"max\": 5, \"step\": 1}"),
        std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"name\": \"mic.mute\", \"page\": \"master\", \"unit\": \"\", \"kind\": "
                        "\"switch\", \"range\": \"on or off\", \"choices\": [\"off\", \"on\"]}"),
              std::string::npos);
    size_t lines = 0;
    for (char ch : text) {
        lines += ch == '\n' ? 1 : 0;
    }
    EXPECT_EQ(lines, AllSettings().size());
}

} // namespace
