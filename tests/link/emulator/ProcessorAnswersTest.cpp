// The answers of the emulated processor, byte for byte, through the HidBackend interface.

#include "link/emulator/EmulatedProcessor.h"
#include "link/emulator/LinkedProcessor.h"
#include "model/Writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {
std::string TextAt(const Report& r, size_t from)
{
    std::string s;
    for (size_t i = from; i < r.size() && r[i] != 0; ++i) {
        s.push_back(static_cast<char>(r[i]));
    }
    return s;
}

Report ParamWrite(int block, int param, std::initializer_list<float> values)
{
    Report r = Command({0x09, 0x00, block, param, static_cast<int>(values.size())});
    size_t at = 6;
    for (float v : values) {
        PutFloatBE(&r[at], v);
        at += 4;
    }
    return r;
}
} // namespace

TEST(EmulatedProcessor, IdentificationAnswersCarryTheConfiguredTexts)
{
    EmulatorOptions o = FastOptions();
    o.mcuVersion = "2013-05-20";
    o.dspVersion = "2013-04-18";
    LinkedProcessor p(o);
    ASSERT_TRUE(p.link);

    const Report model = p.Ask({0x80});
    EXPECT_EQ(model[0], kReportId);
    EXPECT_EQ(model[1], 0x80);
    EXPECT_EQ(TextAt(model, 2), "KW4620M");
    EXPECT_EQ(model[2 + 7], 0); // zero-terminated

    const Report version = p.Ask({0x7F});
    EXPECT_EQ(version[1], 0x7F);
    EXPECT_EQ(version[2], 0x15);

    const Report mcu = p.Ask({0x81});
    EXPECT_EQ(mcu[1], 0x81);
    EXPECT_EQ(TextAt(mcu, 2), "2013-05-20");

    const Report dsp = p.Ask({0x7E});
    EXPECT_EQ(dsp[1], 0x7E);
    EXPECT_EQ(TextAt(dsp, 2), "2013-04-18");

    const Report mode = p.Ask({0x07});
    EXPECT_EQ(mode[1], 0x07);
    EXPECT_EQ(mode[2], 0);
}

TEST(EmulatedProcessor, ModelAndVersionCanBeWrong)
{
    LinkedProcessor p;
    p.processor->SetModel("KW4620");
    p.processor->SetCmdVersion(0x14);
    EXPECT_EQ(TextAt(p.Ask({0x80}), 2), "KW4620");
    EXPECT_EQ(p.Ask({0x7F})[2], 0x14);
    p.processor->SetModel("KW4620A");
    EXPECT_EQ(TextAt(p.Ask({0x80}), 2), "KW4620A");
    // A text longer than the report fills it to the last byte, with no zero byte.
    p.processor->SetModel(std::string(70, 'X'));
    EXPECT_EQ(TextAt(p.Ask({0x80}), 2), std::string(59, 'X'));
}

TEST(EmulatedProcessor, ParameterWriteIsStoredAndReadBack)
{
    LinkedProcessor p;
    const Report ack = p.Ask(ParamWrite(4, 11, {0.5F, 0.5F, 0.5F, 0.5F, 0.5F, 0.5F}));
    EXPECT_EQ(ack[1], 0x09);
    EXPECT_EQ(ack[2], 0); // accepted

    const Report read = p.Ask({0x0A, 0x00, 4, 11, 6});
    EXPECT_EQ(read[1], 0x0A);
    EXPECT_EQ(read[2], 0); // status
    EXPECT_EQ(read[3], 4);
    EXPECT_EQ(read[4], 11);
    EXPECT_EQ(read[5], 6);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(GetU32BE(&read[6 + 4 * i]), 0x3F000000U) << "word " << i;
    }
    for (size_t i = 6 + 24; i < kReportSize; ++i) {
        EXPECT_EQ(read[i], 0) << "byte " << i;
    }
}

TEST(EmulatedProcessor, ParameterErrorsAnswerNonZeroStatus)
{
    LinkedProcessor p;
    const struct
    {
        int block, param, count;
    } cases[] = {
        {0, 20, 1},  // no block 0
        {10, 1, 1},  // no block 10
        {1, 21, 1},  // gap in block 1
        {1, 71, 1},  // past the last parameter
        {4, 11, 7},  // more words than it has
        {1, 20, 0},  // no words
        {1, 20, 14}, // more than a report carries
    };
    for (const auto& c : cases) {
        const Report read = p.Ask({0x0A, 0x00, c.block, c.param, c.count});
        EXPECT_EQ(read[1], 0x0A);
        EXPECT_NE(read[2], 0) << c.block << "," << c.param << "," << c.count;
        EXPECT_EQ(read[3], c.block);
        EXPECT_EQ(read[4], c.param);
        const Report write = p.Ask(Command({0x09, 0x00, c.block, c.param, c.count}));
        EXPECT_EQ(write[1], 0x09);
        EXPECT_NE(write[2], 0) << c.block << "," << c.param << "," << c.count;
    }
    EXPECT_EQ(p.processor->ParameterErrors(), 2 * std::size(cases));
}

namespace {
struct Triple
{
    int block, param, count;
};

// The read-back list of a full synchronisation, in its order.
std::vector<Triple> FullReadList()
{
    std::vector<Triple> t;
    auto one = [&](int b, int p, int c = 1) { t.push_back({b, p, c}); };
    auto span = [&](int b, int first, int last) {
        for (int p = first; p <= last; ++p) {
            one(b, p);
        }
    };
    one(1, 20);
    span(1, 23, 26);
    one(1, 33);
    span(1, 36, 39);
    one(2, 15);
    one(2, 22);
    one(2, 28, 2);
    one(3, 15);
    one(3, 21);
    one(3, 26, 2);
    one(4, 11, 6);
    one(4, 12, 2);
    one(4, 13, 2);
    one(4, 14, 2);
    for (int b : {5, 6, 9}) {
        span(b, 14, 17);
        one(b, 28, 6);
        one(b, 29, 6);
    }
    span(7, 12, 15);
    one(7, 23, 6);
    span(8, 22, 25);
    one(8, 33, 6);
    span(1, 27, 30);
    span(1, 50, 55);
    span(1, 46, 49);
    for (int p : {32, 40, 41, 42, 43, 45, 65}) {
        one(1, p);
    }
    one(3, 14);
    span(3, 16, 19);
    one(3, 27, 2);
    one(3, 20);
    span(3, 22, 25);
    one(2, 14);
    one(2, 16);
    one(2, 17);
    one(2, 29, 2);
    one(2, 21);
    one(2, 23);
    one(2, 24);
    span(4, 16, 19);
    one(4, 15, 2);
    span(4, 21, 26);
    one(4, 30);
    one(4, 31);
    for (int b : {5, 6, 9}) {
        one(b, 18);
        one(b, 20);
        one(b, 21);
        one(b, 22);
        one(b, 19, 7);
        one(b, 23);
        one(b, 24);
        one(b, 25, 2);
        one(b, 26, 2);
        one(b, 27, 2);
        one(b, 30, 2);
    }
    one(7, 16);
    one(7, 18);
    one(7, 19);
    one(7, 17, 7);
    one(7, 20);
    one(7, 21, 2);
    one(7, 22);
    one(8, 26);
    one(8, 28);
    one(8, 29);
    one(8, 27, 7);
    one(8, 30);
    one(8, 31, 2);
    one(8, 32);
    for (int p : {31, 44, 57, 58}) {
        one(1, p);
    }
    for (int p : {18, 19, 20, 25, 26, 27}) {
        one(2, p);
    }
    return t;
}

float FloatWord(const Report& r, size_t word)
{
    return GetFloatBE(&r[6 + 4 * word]);
}
uint32_t IntWord(const Report& r, size_t word)
{
    return GetU32BE(&r[6 + 4 * word]);
}
} // namespace

TEST(EmulatedProcessor, EveryParameterOfAFullReadIsAnswered)
{
    const std::vector<Triple> list = FullReadList();
    ASSERT_EQ(list.size(), 157U); // the fixture itself: the list the program sends
    LinkedProcessor p;
    for (const Triple& t : list) {
        const Report r = p.Ask({0x0A, 0x00, t.block, t.param, t.count});
        EXPECT_EQ(r[1], 0x0A);
        EXPECT_EQ(r[2], 0) << "(" << t.block << "," << t.param << "," << t.count << ")";
        EXPECT_EQ(r[3], t.block);
        EXPECT_EQ(r[4], t.param);
        EXPECT_EQ(r[5], t.count);
    }
    EXPECT_EQ(p.processor->RequestCount(0x0A), 157U);
    EXPECT_EQ(p.processor->ParameterErrors(), 0U);
}

TEST(EmulatedProcessor, WriteOnlyParametersAndBiquadsAcceptWrites)
{
    LinkedProcessor p;
    std::vector<Triple> writes;
    // Biquads: parameters below the first listed one, five words each.
    const int lastBiquad[10] = {0, 19, 13, 13, 10, 13, 13, 11, 21, 13};
    for (int b = 1; b <= 9; ++b) {
        for (int band = 0; band <= lastBiquad[b]; ++band) {
            writes.push_back({b, band, 5});
        }
    }
    for (int prm : {63, 64, 65, 67, 68, 69}) {
        writes.push_back({1, prm, 1});
    }
    writes.push_back({1, 66, 6});
    writes.push_back({1, 70, 6});
    for (const Triple& t : writes) {
        Report cmd = Command({0x09, 0x00, t.block, t.param, t.count});
        for (int i = 0; i < t.count; ++i) {
            PutFloatBE(&cmd[6 + 4 * static_cast<size_t>(i)], 0.25F * static_cast<float>(i + 1));
        }
        const Report ack = p.Ask(cmd);
        EXPECT_EQ(ack[2], 0) << "(" << t.block << "," << t.param << ")";
        const Report back = p.Ask({0x0A, 0x00, t.block, t.param, t.count});
        EXPECT_EQ(FloatWord(back, static_cast<size_t>(t.count - 1)),
                  0.25F * static_cast<float>(t.count));
    }
}

TEST(EmulatedProcessor, FactorySettingReadsAsAMeaningfulPage)
{
    LinkedProcessor p;
    auto read = [&](int b, int prm, int count = 1) { return p.Ask({0x0A, 0x00, b, prm, count}); };
    EXPECT_FLOAT_EQ(FloatWord(read(1, 20), 0), 0.8F); // mic volume 80 %
    EXPECT_FLOAT_EQ(FloatWord(read(4, 11, 6), 5), 0.7F);
    EXPECT_EQ(IntWord(read(2, 18), 0), 10416U); // echo time 217 ms
    EXPECT_EQ(IntWord(read(2, 25), 0), 10416U);
    const Triple delays[] = {{5, 21, 1}, {5, 22, 1}, {6, 21, 1}, {6, 22, 1}, {9, 21, 1},
                             {9, 22, 1}, {7, 19, 1}, {8, 29, 1}, {2, 16, 1}, {3, 22, 1}};
    for (const Triple& d : delays) {
        EXPECT_GE(IntWord(read(d.block, d.param), 0), 72U) << d.block << "," << d.param;
    }
    for (const Triple& c : {Triple{5, 19, 7}, {6, 19, 7}, {9, 19, 7}, {7, 17, 7}, {8, 27, 7}}) {
        const Report r = read(c.block, c.param, 7);
        const float x = FloatWord(r, 2);
        EXPECT_GE(x, 0.0F); // ratio 1 / (1 - x) >= 1
        EXPECT_LT(x, 1.0F);
        EXPECT_FLOAT_EQ(FloatWord(r, 3), 20.0F);
        EXPECT_FLOAT_EQ(FloatWord(r, 4), 0.05F);
        EXPECT_GT(FloatWord(r, 5), 0.0F); // attack and release times are positive
        EXPECT_GT(FloatWord(r, 6), 0.0F);
    }
    // Nothing is muted.
    for (const Triple& m : {Triple{1, 32, 1},
                            {1, 45, 1},
                            {2, 29, 2},
                            {3, 27, 2},
                            {4, 15, 2},
                            {5, 27, 2},
                            {6, 27, 2},
                            {9, 27, 2},
                            {7, 22, 1},
                            {8, 32, 1}}) {
        EXPECT_FLOAT_EQ(FloatWord(read(m.block, m.param, m.count), 0), 1.0F)
            << m.block << "," << m.param;
    }
    EXPECT_EQ(IntWord(read(4, 19), 0), 5U); // pitch 0
    // Speaker levels at 0 dB: g = s = 1.
    const Report level = read(5, 28, 6);
    EXPECT_FLOAT_EQ(FloatWord(level, 0), 1.0F);
    EXPECT_EQ(IntWord(level, 2), 0x3F7EFF25U);
}

TEST(EmulatedProcessor, RequestsAreCountedPerCommand)
{
    LinkedProcessor p;
    p.Ask({0x80});
    p.Ask({0x80});
    p.Ask({0x7F});
    EXPECT_EQ(p.Acked({0x8A}), 0);
    p.Ask({0x07});
    EXPECT_EQ(p.processor->RequestCount(0x80), 2U);
    EXPECT_EQ(p.processor->RequestCount(0x7F), 1U);
    EXPECT_EQ(p.processor->RequestCount(0x8A), 1U);
    EXPECT_EQ(p.processor->RequestCount(0x81), 0U);
    EXPECT_EQ(p.processor->TotalRequests(), 5U);
    EXPECT_EQ(p.processor->ReportsSent(), 5U);
}

TEST(EmulatedProcessor, MachineSettingsAndKeyTableAreWrittenAndReadWhole)
{
    LinkedProcessor p;
    const Report settings = p.Ask({0x92});
    EXPECT_EQ(settings[1], 0x92);
    EXPECT_EQ(settings[2 + 3], 99); // mic maximum
    EXPECT_EQ(settings[2 + 4], 99); // music maximum

    Report write = Command({0x91});
    for (size_t i = 0; i < 13; ++i) {
        write[2 + i] = static_cast<uint8_t>(0xA0 + i);
    }
    write[2 + 13] = 0xEE; // past the record: not part of it
    EXPECT_EQ(p.Acked(write), 0);
    const Report back = p.Ask({0x92});
    for (size_t i = 0; i < 13; ++i) {
        EXPECT_EQ(back[2 + i], 0xA0 + i) << i;
    }
    EXPECT_EQ(back[15], 0);

    Report keys = Command({0x63});
    for (size_t i = 0; i < 16; ++i) {
        keys[2 + i] = static_cast<uint8_t>(0x30 + i);
    }
    keys[18] = 0xEE;
    EXPECT_EQ(p.Acked(keys), 0);
    const Report table = p.Ask({0x62});
    EXPECT_EQ(table[1], 0x62);
    for (size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(table[2 + i], 0x30 + i) << i;
    }
    EXPECT_EQ(table[18], 0);
}

TEST(EmulatedProcessor, LearningAnswersWithTheLearnedKey)
{
    LinkedProcessor p;
    const Report learned = p.Ask({0x60, 10});
    EXPECT_EQ(learned[1], 0x60);
    EXPECT_EQ(learned[2], 0x5A); // the remote's code byte
    EXPECT_EQ(learned[3], 10);   // the function
    EXPECT_EQ(learned[4], 0x4A); // its key
    // Learning does not change the stored table: only a table write does.
    EXPECT_EQ(p.Ask({0x62})[2 + 10], 0x19);
}

TEST(EmulatedProcessor, StopLearningCancelsThePendingKey)
{
    EmulatorOptions o = FastOptions();
    o.learnDelay = std::chrono::milliseconds(20);
    LinkedProcessor p(o);
    p.Send({0x60, 3});
    p.Send({0x61});
    p.Send({0x60, 4});                               // due after the cancelled one would have been
    EXPECT_EQ(p.Next().value_or(Report{})[1], 0x61); // stopping is acknowledged at once
    const Report r = p.Next().value_or(Report{});
    EXPECT_EQ(r[1], 0x60);
    EXPECT_EQ(r[3], 4);
}

TEST(EmulatedProcessor, FrontPanelChangeIsReportedUnprompted)
{
    LinkedProcessor p;
    const uint32_t half = std::bit_cast<uint32_t>(0.5F);
    const uint32_t words[6] = {half, half, half, half, half, half};
    p.processor->PanelChange(4, 11, words);
    const Report change = p.Next().value_or(Report{});
    EXPECT_EQ(change[1], 0x14);
    EXPECT_FLOAT_EQ(FloatWord(p.Ask({0x0A, 0x00, 4, 11, 6}), 0), 0.5F);
}

TEST(EmulatedProcessor, StatusLevelsMoveLikeProgrammeMaterial)
{
    LinkedProcessor p;
    std::set<int> spdif;
    std::set<int> musicDb;
    int loudMic = 0;
    int quietMic = 0;
    for (int i = 0; i < 60; ++i) {
        const Report r = p.Ask({0x0E});
        ASSERT_EQ(r[1], 0x0E);
        for (size_t k = 2; k < 12; ++k) {
            EXPECT_LE(r[k], 230) << "byte " << k;
        }
        spdif.insert(r[2]);
        EXPECT_LE(r[8], 5); // Aux 1 is not the selected input
        loudMic += r[4] > 100 ? 1 : 0;
        quietMic += r[4] < 20 ? 1 : 0;
        for (size_t k = 12; k < 16; ++k) {
            EXPECT_EQ(r[k], 0);
        }
        const auto db = static_cast<int8_t>(r[16]);
        EXPECT_LT(db, 0); // a digital stream plays: never 0
        EXPECT_GE(db, -60);
        musicDb.insert(db);
    }
    EXPECT_GT(spdif.size(), 10U); // the programme on SPDIF moves
    EXPECT_GT(loudMic, 5);        // someone sings ...
    EXPECT_GT(quietMic, 5);       // ... and pauses
    EXPECT_GT(musicDb.size(), 2U);
}

TEST(EmulatedProcessor, StatusFollowsTheSelectedMusicInput)
{
    LinkedProcessor p;
    Report off = Command({0x09, 0x00, 4, 21, 1}); // SPDIF off (0.0)
    Report aux2 = Command({0x09, 0x00, 4, 23, 1});
    PutFloatBE(&aux2[6], 1.0F);
    p.Ask(off);
    p.Ask(aux2);
    std::set<int> aux2Levels;
    for (int i = 0; i < 30; ++i) {
        const Report r = p.Ask({0x0E});
        aux2Levels.insert(r[10]);
        if (i > 5) { // once the SPDIF meters have fallen back
            EXPECT_LE(r[2], 5);
        }
        EXPECT_EQ(r[16], 0); // no digital stream
    }
    EXPECT_GT(aux2Levels.size(), 5U);
}

TEST(EmulatedProcessor, StatusLevelsDependOnlyOnTheSeed)
{
    auto run = [](uint64_t seed) {
        EmulatorOptions o = FastOptions();
        o.seed = seed;
        LinkedProcessor p(o);
        std::vector<Report> v;
        for (int i = 0; i < 20; ++i) {
            v.push_back(p.Ask({0x0E}));
        }
        return v;
    };
    EXPECT_EQ(run(7), run(7));
    EXPECT_NE(run(7), run(8));
}
