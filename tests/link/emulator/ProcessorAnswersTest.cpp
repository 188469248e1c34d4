// The answers of the emulated processor, byte for byte, through the HidBackend interface.

#include "link/emulator/EmulatedProcessor.h"
#include "link/emulator/LinkedProcessor.h"
#include "model/Writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string>

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
