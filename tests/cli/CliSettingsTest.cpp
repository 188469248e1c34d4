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
