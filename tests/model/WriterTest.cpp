#include "model/Writer.h"

#include "ModelFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using WriterFrames = ModelFixture;

TEST_F(WriterFrames, EachWriterBuildsItsReport)
{
    const std::array<uint8_t, 8> words = {0x3F, 0x80, 0x00, 0x00, 0xBF, 0x00, 0x00, 0x00};
    const std::array<uint8_t, 2> boost = {0xC0, 0xC0};
    WriteParamFloat(4, 11, 0.5f, 6);
    WriteParamInt(5, 20, 1);
    WriteParamInt(2, 18, 10416);
    WriteParamWords(1, 70, words);
    WriteBiquad(5, 3, -0.5, 0.25, 1.0, 2.0, -2.0);
    ReadParam(4, 11, 6);
    ReadParam(1, 20);
    EXPECT_EQ(Sent(), (std::vector<std::string>{
                          "02 09 00 04 0B 06 3F 00 00 00 3F 00 00 00 3F 00 00 00 3F 00 00 00 "
                          "3F 00 00 00 3F 00 00 00",
                          "02 09 00 05 14 01 00 00 00 01",
                          "02 09 00 02 12 01 00 00 28 B0",
                          "02 09 00 01 46 02 3F 80 00 00 BF 00 00 00",
                          "02 09 00 05 03 05 3F 00 00 00 BE 80 00 00 3F 80 00 00 40 00 00 00 "
                          "C0 00 00 00",
                          "02 0A 00 04 0B 06",
                          "02 0A 00 01 14 01",
                      }));

    sink_.Clear();
    WriteDeviceBlock(997, boost);
    ASSERT_EQ(sink_.Count(), 1u);
    const Report r = sink_.Reports()[0];
    EXPECT_EQ(HexBytes(r, 8), "02 85 03 E5 02 C0 C0 00");
}

TEST_F(WriterFrames, BlockWriteTakesAtMostFiftySixBytes)
{
    std::vector<uint8_t> data(60);
    for (size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<uint8_t>(i + 1);
    }
    WriteDeviceBlock(0x0123, data);
    const Report r = sink_.Reports().at(0);
    EXPECT_EQ(HexBytes(r, 5), "02 85 01 23 38");
    EXPECT_EQ(r[5], 1);
    EXPECT_EQ(r[60], 56); // the last byte of the report is data byte 56
}

TEST_F(WriterFrames, ThirteenWordsAtMost)
{
    WriteParamFloat(1, 20, 1.0f, 20);
    const Report r = sink_.Reports().at(0);
    EXPECT_EQ(r[5], 13);
    EXPECT_EQ(HexBytes(r, 10), "02 09 00 01 14 0D 3F 80 00 00");
}

TEST(WriterWithoutProcessor, ReportsAreDroppedAndTheCallSaysSo)
{
    ScopedReportSink none(nullptr);
    EXPECT_FALSE(WriteParamFloat(1, 20, 1.0f));
    EXPECT_FALSE(WriteParamInt(1, 27, 1));
    EXPECT_FALSE(ReadParam(1, 20));
}
