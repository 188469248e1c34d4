#include "link/WireTrace.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

TEST(WireTrace, LineIsDirectionSpaceAnd122LowercaseHexDigits)
{
    Report r = MakeReport(0x80);
    r[60] = 0xAB;
    const std::string line = FormatWireTraceLine('>', r);
    EXPECT_EQ(line, "> 0280" + std::string(116, '0') + "ab");
    const auto back = ParseWireTraceLine(line + "\r\n");
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->direction, '>');
    EXPECT_EQ(back->report, r);
}

TEST(WireTrace, MalformedLinesAreRejected)
{
    const std::string good = FormatWireTraceLine('<', MakeReport(0x09));
    for (const std::string& bad :
         {std::string(""), good.substr(0, good.size() - 1), good + "0", "x" + good.substr(1),
          good.substr(0, 1) + "-" + good.substr(2), good.substr(0, 10) + "G" + good.substr(11),
          good.substr(0, 10) + "A" + good.substr(11)}) {
        EXPECT_FALSE(ParseWireTraceLine(bad).has_value()) << bad;
    }
}

TEST(WireTrace, WriterAppendsOneLinePerReport)
{
    const std::string path = testing::TempDir() + "wiretrace_" + std::to_string(getpid()) + ".txt";
    {
        WireTraceWriter writer;
        ASSERT_TRUE(writer.Open(path, nullptr));
        const UsbWireObserver observe = writer.Observer();
        observe('>', MakeReport(0x80));
        observe('<', MakeReport(0x80));
    }
    std::ifstream in(path);
    std::string first;
    std::string second;
    std::string third;
    ASSERT_TRUE(std::getline(in, first));
    ASSERT_TRUE(std::getline(in, second));
    EXPECT_FALSE(std::getline(in, third));
    EXPECT_EQ(first, FormatWireTraceLine('>', MakeReport(0x80)));
    EXPECT_EQ(second, FormatWireTraceLine('<', MakeReport(0x80)));
    std::remove(path.c_str());
}

TEST(WireTrace, UnwritablePathIsReported)
{
    WireTraceWriter writer;
    std::string error;
    EXPECT_FALSE(writer.Open("/nonexistent-dir/trace.txt", &error));
    EXPECT_NE(error.find("/nonexistent-dir/trace.txt"), std::string::npos);
    EXPECT_FALSE(writer.IsOpen());
}
