// Parsing of language tables in memory and GBK decoding.
#include "i18n/LanguageTable.h"

#include "i18n/GbkDecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<uint8_t> Bytes(const std::string& s)
{
    return {s.begin(), s.end()};
}

LanguageTable Gbk(const std::string& s)
{
    return LanguageTable::FromGbk(Bytes(s));
}
} // namespace

TEST(GbkDecoder, DecodesChineseAndPunctuationToUtf8)
{
    EXPECT_EQ(DecodeGbk(Bytes("\xD6\xD0\xCE\xC4")), "中文");
    EXPECT_EQ(DecodeGbk(Bytes("\xA1\xAD\xA1\xAD")), "……");
    EXPECT_EQ(DecodeGbk(Bytes("ab 1")), "ab 1");
}

TEST(GbkDecoder, InvalidAndTruncatedBytesBecomeReplacementCharacters)
{
    EXPECT_EQ(DecodeGbk(Bytes("a\xFF"
                              "b")),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(DecodeGbk(Bytes("a\xD6")), "a\xEF\xBF\xBD"); // lead byte without its trail
    EXPECT_EQ(DecodeGbk({}), "");
}

TEST(LanguageTable, GbkTextOutsideAsciiDecodesToTheRightUnicode)
{
    // Trail bytes 0x5B '[' and 0x5C '\' must not be taken for ASCII: the table is decoded
    // before it is split into lines and keys.
    const LanguageTable t =
        Gbk("[String]\r\nIDD1_1=\xD6\xD0\xCE\xC4\r\nIDD1_2=\x81\x5B\r\nIDD1_3=\x95\x5C\r\n");
    EXPECT_EQ(t.Caption(1, 1), "中文");
    EXPECT_EQ(t.Caption(1, 2), "\xE4\xB9\x95"); // U+4E55
    EXPECT_EQ(t.Caption(1, 3), "\xE6\x98\x9E"); // U+661E
}

TEST(LanguageTable, LookupRules)
{
    const LanguageTable t = Gbk("; a comment before any section\r\n"
                                "IDD9_1=outside any section\r\n"
                                "[Other]\r\n"
                                "IDD9_2=other section\r\n"
                                "[ string ]\r\n"
                                "//IDD_DIALOG_COMP\r\n"
                                "IDD9_title=Title\r\n"
                                "  IDD9_3  =   leading blanks go\r\n"
                                "IDD9_4=trailing blank stays \r\n"
                                "IDD9_5=\"quoted \"\r\n"
                                "idd9_6=lower-case key\r\n"
                                "IDD9_7=first\r\n"
                                "IDD9_7=second\r\n"
                                "IDD9_8=\r\n"
                                "IDD9_9=a=b\r\n"
                                "no equals sign\r\n"
                                "\r\n"
                                "IDD9_10=LF only\n"
                                "IDD9_11=no line end");
    struct Case
    {
        const char* key;
        const char* text;
    } cases[] = {
        {"IDD9_1", ""},
        {"IDD9_2", ""},
        {"IDD9_title", "Title"},
        {"IDD9_3", "leading blanks go"},
        {"IDD9_4", "trailing blank stays "},
        {"IDD9_5", "quoted "},
        {"IDD9_6", "lower-case key"},
        {"IDD9_7", "first"},
        {"IDD9_8", ""},
        {"IDD9_9", "a=b"},
        {"IDD9_10", "LF only"},
        {"IDD9_11", "no line end"},
        {"//IDD_DIALOG_COMP", ""},
        {"IDD9_99", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(t.Lookup(c.key), c.text) << c.key;
    }
    EXPECT_EQ(t.Title(9), "Title");
    EXPECT_EQ(t.Caption(9, 3), "leading blanks go");
}

TEST(LanguageTable, KeysAreBuiltInDecimal)
{
    EXPECT_EQ(LanguageTable::TitleKey(373), "IDD373_title");
    EXPECT_EQ(LanguageTable::CaptionKey(313, 1185), "IDD313_1185");
}

TEST(LanguageTable, TextsAreCutAtTheReaderBufferLength)
{
    std::string longText;
    for (int i = 0; i < 1200; ++i) {
        longText += "\xD6\xD0"; // 中, two bytes in GBK, three in UTF-8
    }
    const LanguageTable t = Gbk("[String]\r\nIDD1_1=" + longText + "\r\n");
    const std::string text = t.Caption(1, 1);
    EXPECT_EQ(text.size(), 3 * LanguageTable::kMaxTextLength);
    EXPECT_EQ(text.substr(0, 3), "中");
}
