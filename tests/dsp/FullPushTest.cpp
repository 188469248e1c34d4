#include "dsp/FullPush.h"

#include "dsp/DspFixture.h"
#include "dsp/EqBands.h"
#include "model/CmdVersion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <utility>

namespace {
using Param = std::pair<int, int>;

// Parses "b,p" (one parameter), "b,p-q" (a range) and "b,p*n" (n reports), ';'-separated.
std::vector<Param> Parse(const std::string& text)
{
    std::vector<Param> out;
    std::stringstream items(text);
    std::string item;
    while (std::getline(items, item, ';')) {
        if (item.find_first_not_of(" \n") == std::string::npos) {
            continue;
        }
        int block = 0, first = 0, last = 0, times = 1;
        char sep = 0;
        std::stringstream in(item);
        in >> block >> sep >> first;
        last = first;
        if (in >> sep) {
            if (sep == '-') {
                in >> last;
            } else if (sep == '*') {
                in >> times;
            }
        }
        for (int p = first; p <= last; ++p) {
            for (int i = 0; i < times; ++i) {
                out.emplace_back(block, p);
            }
        }
    }
    return out;
}

// The full push as the processor expects it, for the start-up store (mic shift off, music not
// muted: its fade is ten reports), written out step by step. Each delay mode pair is followed
// by the two split stages of its side; each reverb and echo predelay is its two halves; each
// reverb time goes to its two parameters; the shift of a channel that is off sends only its
// off parameter.
const char* const kStep1Ramp = "1,20; 1,33; 4,11;";
const char* const kSteps2To6Head = R"(
    1,23-26; 2,15; 3,15; 1,36-39; 2,22; 3,21; 1,32; 1,45; 4,15*10; 3,27; 2,29; 3,26; 2,28;
    5,14-17; 5,30; 6,14-17; 6,30; 9,14-17; 9,30; 7,12-15; 8,22-25;
    1,27; 1,30; 3,14; 3,16-17; 3,18-19; 2,14; 2,16-17; 2,18; 2,19; 2,20;
    1,40; 1,43; 3,20; 3,22-23; 3,24-25; 2,21; 2,23-24; 2,25; 2,26; 2,27;
    1,46-49; 1,50-53; 1,54; 1,55; 4,16; 4,19;)";
const char* const kStep6Agc = "4,17; 4,18;";
const char* const kSteps6TailTo9 = R"(
    4,21-23; 4,13; 4,14; 4,12; 4,24; 4,25; 4,26;
    5,18; 5,20; 5,21; 5,22; 5,23; 5,24; 5,25; 5,10-11; 5,26; 5,12-13; 5,27;
    6,18; 6,20; 6,21; 6,22; 6,23; 6,24; 6,25; 6,10-11; 6,26; 6,12-13; 6,27;
    9,18; 9,20; 9,21; 9,22; 9,23; 9,24; 9,25; 9,10-11; 9,26; 9,12-13; 9,27;
    7,16; 7,18; 7,19; 7,20; 7,21; 7,10-11; 7,22;
    8,26; 8,28; 8,29; 8,30; 8,31; 8,20-21; 8,32;
    5,19; 6,19; 9,19; 7,17; 8,27;
    1,31; 1,44; 1,57; 1,58; 1,65; 1,69; 1,70; 1,68; 1,67; 1,66; 1,64; 1,63; 4,30; 4,31;)";

std::vector<Param> ExpectedOrder(bool ramp, bool agc)
{
    std::string text = ramp ? kStep1Ramp : "";
    text += kSteps2To6Head;
    if (agc) {
        text += kStep6Agc;
    }
    text += kSteps6TailTo9;
    return Parse(text);
}

class FullPushTest : public DspFixture
{
protected:
    void SetUp() override
    {
        DspFixture::SetUp();
        version_ = g_nCmdVersion.load();
    }
    void TearDown() override
    {
        g_nCmdVersion.store(version_);
        DspFixture::TearDown();
    }

    std::vector<Param> SentParams() const
    {
        std::vector<Param> out;
        for (const SentReport& s : ParamWrites()) {
            out.emplace_back(s.block, s.param);
        }
        return out;
    }

private:
    int version_ = 1;
};
} // namespace

TEST_F(FullPushTest, SendAllParamsOrderWithAndWithoutRampAndAgc)
{
    struct Row
    {
        int ramp;
        int version;
    };
    for (const Row r : {Row{0, 1}, Row{1, 1}, Row{0, 9}, Row{1, 0x15}, Row{2, 8}}) {
        sink.Clear();
        ParamStore.ResetToDefaults();
        g_nCmdVersion.store(r.version);
        SendAllParams(r.ramp);
        EXPECT_EQ(SentParams(), ExpectedOrder(r.ramp == 1, r.version >= 9))
            << "ramp " << r.ramp << " version " << r.version;
    }
}

TEST_F(FullPushTest, RampSwitchSilencesTheVolumesFirst)
{
    ParamStore.SetInt(PRM_MIC_VOL, 90);
    ParamStore.SetInt(PRM_MUSIC_VOL, 75);
    SendAllParams(1);
    const auto w = ParamWrites();
    ASSERT_GE(w.size(), 3u);
    EXPECT_TRUE(w[0].Is(1, 20));
    EXPECT_EQ(w[0].Float(0), 0.0f);
    EXPECT_TRUE(w[1].Is(1, 33));
    EXPECT_EQ(w[1].Float(0), 0.0f);
    EXPECT_TRUE(w[2].Is(4, 11));
    EXPECT_EQ(w[2].count, 6);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(w[2].Float(i), 0.0f);
    }
    // Without the switch the volumes are not part of the push at all.
    sink.Clear();
    SendAllParams(0);
    for (const SentReport& s : ParamWrites()) {
        EXPECT_FALSE(s.Is(1, 20) || s.Is(1, 33) || s.Is(4, 11));
    }
}

TEST_F(FullPushTest, SpecialValuesOfThePush)
{
    ParamStore.SetInt(PRM_MUSIC_MUTE, 1);
    ParamStore.SetInt(PRM_MICA_SHIFT, 5);
    ParamStore.SetFloat(PRM_REVA_TIME, 37.8f);
    ParamStore.SetFloat(PRM_ECHOB_PREDELAY1, 10.0f);
    ParamStore.SetFloat(PRM_ECHOB_PREDELAY2, 20.0f);
    ParamStore.SetInt(PRM_CENTER_DELAY_MODE, 1);
    WriteMicBoost(-6.0f);
    sink.Clear();
    SendAllParams(0);
    const auto w = ParamWrites();
    int musicPass = 0;
    for (const SentReport& s : w) {
        if (s.Is(4, 15)) {
            ++musicPass;
            EXPECT_EQ(s.Float(0), 0.0f);
        }
        if (s.Is(1, 28)) {
            EXPECT_NEAR(s.Float(0), 0.00065450, 1e-8);
        }
        if (s.Is(1, 29)) {
            EXPECT_EQ(s.Word(0), 1200u);
        }
        if (s.Is(3, 18) || s.Is(3, 19)) {
            EXPECT_EQ(s.Float(0), 0.37f); // the cell truncated to 37 hundredths
        }
        if (s.Is(2, 23) || s.Is(2, 24)) {
            EXPECT_EQ(s.Word(0), 720u); // 15 ms each
        }
        if (s.Is(7, 21)) {
            EXPECT_EQ(s.Float(1), 0.0f);
        }
        if (s.Is(7, 10)) {
            EXPECT_EQ(s.Float(2), 1.0f); // flat split stage in whole-channel mode
        }
        if (s.Is(1, 68)) {
            EXPECT_EQ(s.Float(0), static_cast<float>(std::pow(10.0, -6.0 / 20.0)));
        }
        if (s.Is(5, 19)) {
            EXPECT_EQ(s.Word(2), 0u); // ratio cell 0 goes out as ratio 1
        }
    }
    EXPECT_EQ(musicPass, 1);
    EXPECT_EQ(ParamStore.GetFloat(PRM_REVA_TIME), 37.0f);
    EXPECT_TRUE(pauses.empty()); // muted music has no fade
}

TEST_F(FullPushTest, SendAllParamsMemoryWritesAreTheSplitsAndTheMicBoost)
{
    SendAllParams(0);
    std::vector<int> addresses;
    for (const SentReport& s : Sent()) {
        if (s.command == kCmdWriteBlock) {
            addresses.push_back(s.address);
        }
    }
    // Split stages of Main L, Main R, Rear L/R, Top L/R, Center and Sub, then Block997.
    const std::vector<int> expected = {413 + 70, 413 + 77, 413 + 84,  413 + 91,  511 + 70, 511 + 77,
                                       511 + 84, 511 + 91, 847 + 70,  847 + 77,  847 + 84, 847 + 91,
                                       609 + 70, 609 + 77, 693 + 140, 693 + 147, 997};
    EXPECT_EQ(addresses, expected);
}

TEST_F(FullPushTest, WholeSettingSendsParamsMemoryEqAndRamp)
{
    for (int ramp : {0, 1}) {
        sink.Clear();
        pauses.clear();
        ParamStore.SetInt(PRM_MIC_VOL, 85);
        ParamStore.SetInt(PRM_MUSIC_VOL, 72);
        Block945.Fill(0x11);
        int encoded = 0;
        size_t sentBeforeEncoding = 0;
        PushWholeSetting(ramp, [&] {
            ++encoded;
            sentBeforeEncoding = sink.Count();
            Block945.Fill(0x22);
        });
        EXPECT_EQ(encoded, 1);

        // SendAllParams alone, for comparison.
        RecordingSink alone;
        {
            ScopedReportSink scoped(&alone);
            SendAllParams(ramp);
        }
        const std::vector<Report> all = sink.Reports();
        const size_t head = alone.Count();
        ASSERT_EQ(sentBeforeEncoding, head);
        ASSERT_GE(all.size(), head + 19 + 119);
        EXPECT_TRUE(std::equal(all.begin(), all.begin() + static_cast<long>(head),
                               alone.Reports().begin()));

        // The device memory: 17 DeviceImage pieces, Block945 (as encoded), Block965.
        const std::vector<uint8_t> image = DeviceImage.Snapshot();
        for (size_t k = 0; k < 19; ++k) {
            const SentReport s = TakeApart(all[head + k]);
            ASSERT_EQ(s.command, kCmdWriteBlock) << k;
            if (k < 17) {
                EXPECT_EQ(s.address, static_cast<int>(56 * k));
                const size_t n = k < 16 ? 56 : 49;
                ASSERT_EQ(s.data.size(), n);
                EXPECT_TRUE(std::equal(s.data.begin(), s.data.end(), image.begin() + 56 * k));
            } else if (k == 17) {
                EXPECT_EQ(s.address, 945);
                EXPECT_EQ(s.data, std::vector<uint8_t>(20, 0x22));
            } else {
                EXPECT_EQ(s.address, 965);
                EXPECT_EQ(s.data, Block965.Snapshot());
            }
        }
        // ResendAllEq: 119 biquads, blocks 1..9.
        for (size_t k = 0; k < 119; ++k) {
            const SentReport s = TakeApart(all[head + 19 + k]);
            ASSERT_EQ(s.command, kCmdWriteParam);
            ASSERT_EQ(s.count, 5);
        }
        EXPECT_EQ(TakeApart(all[head + 19]).block, 1);
        EXPECT_EQ(TakeApart(all[head + 19 + 118]).block, 9);
        // The ramp only with the switch: 6 + 6 mic steps and 3 music steps.
        const size_t tail = all.size() - head - 19 - 119;
        EXPECT_EQ(tail, ramp == 1 ? 15u : 0u);
        if (ramp == 1) {
            EXPECT_TRUE(TakeApart(all.back()).Is(4, 11));
            EXPECT_EQ(TakeApart(all.back()).Float(0), 0.72f);
        }
    }
}
