#include "link/Protocol.h"

#include "link/LinkState.h"
#include "link/LinkTestSupport.h"
#include "link/UsbTransport.h"
#include "model/CmdVersion.h"
#include "model/DeviceMemory.h"
#include "model/ParamStore.h"
#include "model/SoundFieldGeometry.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace {

class ParseInputReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetLinkState();
        ResetDeviceMemoryToStartup();
        ParamStore.ResetToDefaults();
        SetSoundFieldGeometry(DefaultSoundFieldGeometry());
    }
    void TearDown() override
    {
        ResetLinkState();
        ParamStore.ResetToDefaults();
        SetSoundFieldGeometry(DefaultSoundFieldGeometry());
        ResetDeviceMemoryToStartup();
    }
    ScopedLinkUi ui_;
};

// A 0x86 reply whose data bytes count up from `first` (never FF FF at the start).
Report BlockReply(int address, int length, uint8_t first = 1)
{
    Report r = MakeReport(kCmdReadBlock);
    r[2] = static_cast<uint8_t>(address >> 8);
    r[3] = static_cast<uint8_t>(address & 0xFF);
    r[4] = static_cast<uint8_t>(length);
    for (size_t i = 5; i < r.size(); ++i) {
        r[i] = static_cast<uint8_t>(first + (i - 5));
    }
    return r;
}

Report TextReply(uint8_t command, const std::string& text, bool terminate = true)
{
    Report r = MakeReport(command);
    for (size_t i = 0; i < text.size() && 2 + i < r.size(); ++i) {
        r[2 + i] = static_cast<uint8_t>(text[i]);
    }
    if (!terminate) {
        for (size_t i = 2 + text.size(); i < r.size(); ++i) {
            r[i] = 'x';
        }
    }
    return r;
}

Report NameReply(int address, int length, std::u16string_view name)
{
    Report r = MakeReport(kCmdReadModeName);
    r[2] = static_cast<uint8_t>(address >> 8);
    r[3] = static_cast<uint8_t>(address & 0xFF);
    r[4] = static_cast<uint8_t>(length);
    for (size_t i = 0; i < name.size() && 6 + 2 * i < r.size(); ++i) {
        r[5 + 2 * i] = static_cast<uint8_t>(name[i] >> 8);
        r[6 + 2 * i] = static_cast<uint8_t>(name[i] & 0xFF);
    }
    return r;
}

std::vector<uint8_t> Counting(uint8_t first, size_t n)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) {
        v[i] = static_cast<uint8_t>(first + i);
    }
    return v;
}

} // namespace

TEST_F(ParseInputReportTest, StartValuesOfTheLinkState)
{
    EXPECT_EQ(g_szModel.Get(), u"KW4620");
    EXPECT_EQ(g_szMcuVer.Get(), u"2012-10-03");
    EXPECT_EQ(g_szDspVer.Get(), u"2012-11-30");
    EXPECT_EQ(g_szModeName[0].Get(), u"Mode1");
    EXPECT_EQ(g_szModeName[3].Get(), u"Mode4");
    EXPECT_EQ(g_nCmdVersion, 1);
    EXPECT_EQ(g_nCurMode, 0);
    EXPECT_EQ(g_bParamChanged, 0);
    EXPECT_EQ(g_MachineSettings.Get(3), 99);
    EXPECT_EQ(g_MachineSettings.Get(4), 99);
    EXPECT_EQ(g_MachineSettingsWork.Get(3), 0);
}

// ---- Text rule ---------------------------------------------------------------------------

struct TextCase
{
    const char* name;
    uint8_t command;
    std::string sent;
    bool terminated;
    LinkText* field;
    std::u16string expected;
};

TEST_F(ParseInputReportTest, TextRuleStopsAtZeroOrAtTheFieldCapacity)
{
    const std::string sixty(59, 'A');
    const std::vector<TextCase> cases = {
        {"model with terminator", kCmdModel, "KW4620M", true, &g_szModel, u"KW4620M"},
        {"model without zero byte", kCmdModel, sixty, false, &g_szModel, std::u16string(29, u'A')},
        {"empty model", kCmdModel, "", true, &g_szModel, u""},
        {"mcu version cut to 10", kCmdMcuVersion, "2013-01-02-extra", true, &g_szMcuVer,
         u"2013-01-02"},
        {"dsp version", kCmdDspVersion, "V1.5", true, &g_szDspVer, u"V1.5"},
        {"dsp version without zero", kCmdDspVersion, sixty, false, &g_szDspVer,
         std::u16string(10, u'A')},
        {"high bytes are code units", kCmdModel, "\xE9\xFF", true, &g_szModel,
         std::u16string{char16_t(0xE9), char16_t(0xFF)}},
    };
    for (const TextCase& c : cases) {
        c.field->Set(u"old text");
        ParseInputReport(TextReply(c.command, c.sent, c.terminated));
        EXPECT_EQ(c.field->Get(), c.expected) << c.name;
    }
}

// ---- Block rule ---------------------------------------------------------------------------

struct BlockCase
{
    const char* name;
    int address;
    int length;
    MemoryMirror* mirror; // nullptr: nothing may change
    size_t offset;
    size_t stored; // bytes expected in the mirror from offset on
};

TEST_F(ParseInputReportTest, BlockRuleKeepsEveryRegionLimit)
{
    const std::vector<BlockCase> cases = {
        {"first image block", 0, 56, &DeviceImage, 0, 56},
        {"middle image block", 448, 56, &DeviceImage, 448, 56},
        {"last image block", 896, 49, &DeviceImage, 896, 49},
        {"last image block too long", 896, 56, &DeviceImage, 896, 49},
        {"last image byte", 944, 56, &DeviceImage, 944, 1},
        {"length beyond the report", 0, 255, &DeviceImage, 0, 56},
        {"length zero", 100, 0, &DeviceImage, 100, 0},
        {"geometry", 945, 20, &Block945, 0, 20},
        {"geometry too long", 945, 56, &Block945, 0, 20},
        {"speaker levels", 965, 32, &Block965, 0, 32},
        {"speaker levels too long", 965, 56, &Block965, 0, 32},
        {"mic boost", 997, 2, &Block997, 0, 2},
        {"mic boost too long", 997, 56, &Block997, 0, 2},
        {"inside geometry", 950, 4, nullptr, 0, 0},
        {"inside speaker levels", 970, 4, nullptr, 0, 0},
        {"last byte", 998, 1, nullptr, 0, 0},
        {"past the memory", 999, 56, nullptr, 0, 0},
        {"mode name area", 0x0F00, 40, nullptr, 0, 0},
        {"top address", 0xFFFF, 255, nullptr, 0, 0},
    };
    for (const BlockCase& c : cases) {
        ResetDeviceMemoryToStartup();
        const auto image = DeviceImage.Snapshot();
        const auto b945 = Block945.Snapshot();
        const auto b965 = Block965.Snapshot();
        const auto b997 = Block997.Snapshot();
        ParseInputReport(BlockReply(c.address, c.length, 0x10));

        auto expectImage = image;
        auto expect945 = b945;
        auto expect965 = b965;
        auto expect997 = b997;
        std::vector<uint8_t>* target = nullptr;
        if (c.mirror == &DeviceImage) {
            target = &expectImage;
        } else if (c.mirror == &Block945) {
            target = &expect945;
        } else if (c.mirror == &Block965) {
            target = &expect965;
        } else if (c.mirror == &Block997) {
            target = &expect997;
        }
        if (target != nullptr) {
            const auto data = Counting(0x10, c.stored);
            std::copy(data.begin(), data.end(), target->begin() + static_cast<long>(c.offset));
        }
        EXPECT_EQ(DeviceImage.Snapshot(), expectImage) << c.name;
        EXPECT_EQ(Block945.Snapshot(), expect945) << c.name;
        EXPECT_EQ(Block965.Snapshot(), expect965) << c.name;
        EXPECT_EQ(Block997.Snapshot(), expect997) << c.name;
    }
}

TEST_F(ParseInputReportTest, BlankMemoryAtAnyImageAddressClearsTheWholeImage)
{
    for (int address : {0, 56, 896, 944}) {
        ParseInputReport(BlockReply(0, 56, 0x20));
        ParseInputReport(BlockReply(896, 49, 0x30));
        Report blank = BlockReply(address, 56);
        blank[5] = 0xFF;
        blank[6] = 0xFF;
        ParseInputReport(blank);
        EXPECT_EQ(DeviceImage.Snapshot(), std::vector<uint8_t>(kDeviceImageSize, 0)) << address;
    }
}

TEST_F(ParseInputReportTest, OneFfByteIsDataNotBlankMemory)
{
    Report r = BlockReply(56, 56);
    r[5] = 0xFF;
    r[6] = 0x00;
    ParseInputReport(r);
    EXPECT_EQ(DeviceImage.Get(56), 0xFF);
    EXPECT_EQ(DeviceImage.Get(57), 0x00);
    EXPECT_EQ(DeviceImage.Get(58), r[7]);
}

TEST_F(ParseInputReportTest, BlankRuleAppliesOnlyToTheImage)
{
    Report r = BlockReply(965, 32);
    r[5] = 0xFF;
    r[6] = 0xFF;
    ParseInputReport(BlockReply(0, 56, 0x40));
    ParseInputReport(r);
    EXPECT_EQ(DeviceImage.Get(0), 0x40);
    EXPECT_EQ(Block965.Get(0), 0xFF);
    EXPECT_EQ(Block965.Get(1), 0xFF);
}

TEST_F(ParseInputReportTest, GeometryBlockIsDecodedAfterEveryRead)
{
    Block945Bytes stored{};
    SoundFieldGeometry room = DefaultSoundFieldGeometry();
    room.width = 7;
    room.points[SF_LISTENER] = {0.5f, -1.0f};
    stored = EncodeSoundFieldGeometry(room);
    Report r = BlockReply(945, 20);
    std::copy(stored.begin(), stored.end(), r.begin() + 5);
    ParseInputReport(r);
    EXPECT_EQ(CurrentSoundFieldGeometry(), DecodeSoundFieldGeometry(stored));
    EXPECT_EQ(CurrentSoundFieldGeometry().width, 7);

    SetSoundFieldGeometry(DefaultSoundFieldGeometry());
    ParseInputReport(BlockReply(950, 4));
    EXPECT_EQ(CurrentSoundFieldGeometry(), DefaultSoundFieldGeometry())
        << "a read inside the block is ignored";
}

// ---- Mode-name rule -----------------------------------------------------------------------

struct NameCase
{
    const char* name;
    Report report;
    size_t mode;
    std::u16string expected;
};

TEST_F(ParseInputReportTest, ModeNameRule)
{
    Report blank = NameReply(0x0F00, 0x28, u"");
    blank[5] = blank[6] = blank[7] = blank[8] = 0xFF;
    Report almostBlank = blank;
    almostBlank[8] = 0x41;
    Report longName = NameReply(0x0F80, 0xFF, u"");
    for (size_t i = 5; i + 1 < longName.size(); i += 2) {
        longName[i] = 0x00;
        longName[i + 1] = 0x5A; // 'Z' all the way to the end of the report, no terminator
    }
    const std::vector<NameCase> cases = {
        {"blank name memory keeps the old name", blank, 0, u"Mode1"},
        {"three FF bytes are a name", almostBlank, 0, std::u16string{char16_t(0xFFFF), 0xFF41}},
        {"five characters for M2", NameReply(0x0F40, 0x28, u"Party"), 1, u"Party"},
        {"M4", NameReply(0x0FC0, 0x28, u"KTV"), 3, u"KTV"},
        {"length limits the characters", NameReply(0x0F00, 4, u"Movie"), 0, u"Mo"},
        {"odd length reads the pair it started", NameReply(0x0F00, 3, u"Movie"), 0, u"Mo"},
        {"length zero clears the name", NameReply(0x0F00, 0, u"Movie"), 0, u""},
        {"Chinese characters", NameReply(0x0F00, 0x28, u"\u5531\u6B4C"), 0, u"\u5531\u6B4C"},
        {"at most 23 characters", longName, 2, std::u16string(23, u'Z')},
        {"other address ignored", NameReply(0x0F20, 0x28, u"Wrong"), 0, u"Mode1"},
        {"M1 address high byte only", NameReply(0x0F01, 0x28, u"Wrong"), 0, u"Mode1"},
    };
    for (const NameCase& c : cases) {
        ResetLinkState();
        ParseInputReport(c.report);
        EXPECT_EQ(g_szModeName[c.mode].Get(), c.expected) << c.name;
        for (size_t other = 0; other < g_szModeName.size(); ++other) {
            if (other != c.mode) {
                EXPECT_EQ(g_szModeName[other].Get(),
                          u"Mode" + std::u16string(1, char16_t(u'1' + other)))
                    << c.name;
            }
        }
    }
}

// ---- The other input reports --------------------------------------------------------------

TEST_F(ParseInputReportTest, SimpleReportsStoreTheirBytes)
{
    ParseInputReport(InputReport(kCmdCurrentMode, {2}));
    EXPECT_EQ(g_nCurMode, 2);

    ParseInputReport(InputReport(kCmdCmdVersion, {0x15}));
    EXPECT_EQ(g_nCmdVersion, 0x15);

    ParseInputReport(InputReport(0x09));
    EXPECT_EQ(g_bParamChanged, 1);
    g_bParamChanged = 0;
    ParseInputReport(InputReport(kCmdChangeReport));
    EXPECT_EQ(g_bParamChanged, 1);

    Report status = MakeReport(kCmdStatus);
    std::iota(status.begin() + 2, status.end(), uint8_t{1});
    ParseInputReport(status);
    const auto block = g_StatusBlock.Snapshot();
    for (size_t i = 0; i < block.size(); ++i) {
        EXPECT_EQ(block[i], i + 1) << i;
    }

    Report table = MakeReport(kCmdReadRemoteTable);
    std::iota(table.begin() + 2, table.end(), uint8_t{0x30});
    ParseInputReport(table);
    const auto remote = g_RemoteTable.Snapshot();
    for (size_t i = 0; i < remote.size(); ++i) {
        EXPECT_EQ(remote[i], 0x30 + i) << i;
    }

    Report record = MakeReport(kCmdReadMachineSettings);
    std::iota(record.begin() + 2, record.end(), uint8_t{0x50});
    ParseInputReport(record);
    for (size_t i = 0; i < kLinkMachineSettingsSize; ++i) {
        EXPECT_EQ(g_MachineSettings.Get(i), 0x50 + i) << i;
        EXPECT_EQ(g_MachineSettingsWork.Get(i), 0x50 + i) << i;
    }
}

TEST_F(ParseInputReportTest, DeviceInformationBytes)
{
    ParseInputReport(InputReport(kCmdDeviceInfo, {0, 7, 8, 9}));
    EXPECT_EQ(DeviceInfoBytes.Snapshot(), (std::array<uint8_t, 6>{0, 0, 0, 0, 0, 0}));
    ParseInputReport(InputReport(kCmdDeviceInfo, {1, 7, 8, 9}));
    ParseInputReport(InputReport(kCmdDeviceInfo2, {0x33, 0x44}));
    EXPECT_EQ(DeviceInfoBytes.Snapshot(), (std::array<uint8_t, 6>{7, 8, 9, 0, 0, 0x44}));
}

TEST_F(ParseInputReportTest, LearnedKeyUpdatesTheTableAndNotifiesTheView)
{
    ParseInputReport(InputReport(kCmdLearnKey, {0x11, 5, 0x99}));
    ParseInputReport(InputReport(kCmdLearnKey, {0x12, 20, 0x77}));
    ParseInputReport(InputReport(kCmdLearnKey, {0x13, 16, 0x66}));
    std::array<uint8_t, 16> expected{};
    expected[0] = 0x13;
    expected[5] = 0x99;
    EXPECT_EQ(g_RemoteTable.Snapshot(), expected);
    const auto messages = ui_.Messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].message, MSG_REMOTE_KEY);
    EXPECT_TRUE(messages[0].synchronous);
    EXPECT_EQ(messages[0].wParam, 0x99u);
    EXPECT_EQ(messages[1].wParam, 0x77u);
}

TEST_F(ParseInputReportTest, ParameterValuesGoToTheReadBackDecoder)
{
    // Block 1 parameter 20 carries the mic volume as a fraction: 0.5 is 50 %.
    ParseInputReport(InputReport(0x0A, {0, 1, 20, 1, 0x3F, 0x00, 0x00, 0x00}));
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_VOL), 50);
    EXPECT_TRUE(ui_.Boxes().empty());
}

TEST_F(ParseInputReportTest, ParameterErrorIsShownOncePerRun)
{
    ParseInputReport(InputReport(0x0A, {0x03, 0x05, 0x1F, 1}));
    ParseInputReport(InputReport(0x0A, {0x04, 0x06, 0x20, 1}));
    // An error reply is still decoded: the mic volume arrives with a non-zero status.
    ParseInputReport(InputReport(0x0A, {0x01, 1, 20, 1, 0x3F, 0x00, 0x00, 0x00}));
    const auto boxes = ui_.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "参数错误,代码0x:03,指令1:0x05,指令2:0x1F ");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(g_bErrorShown, 1);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_VOL), 50) << "error replies still reach the decoder";
}

TEST_F(ParseInputReportTest, UnknownCommandsChangeNothing)
{
    for (int command : {0x00, 0x01, 0x08, 0x63, 0x85, 0x91, 0xDA, 0xFF}) {
        Report r = MakeReport(static_cast<uint8_t>(command));
        std::fill(r.begin() + 2, r.end(), uint8_t{0x5A});
        ParseInputReport(r);
    }
    EXPECT_EQ(g_szModel.Get(), u"KW4620");
    EXPECT_EQ(g_nCurMode, 0);
    EXPECT_EQ(g_bParamChanged, 0);
    EXPECT_EQ(g_RemoteTable.Snapshot(), (std::array<uint8_t, 16>{}));
    EXPECT_EQ(g_StatusBlock.Snapshot(), (std::array<uint8_t, 15>{}));
    EXPECT_TRUE(ui_.Messages().empty());
}

// ---- Building reports ---------------------------------------------------------------------

struct CommandCase
{
    const char* name;
    std::vector<int> values;
    std::vector<int> expectedHead; // bytes from 1 on; the rest must be zero
};

TEST(SendCommandFraming, ListToReport)
{
    const std::vector<int> seventy(70, 7);
    const std::vector<int> sixty(60, 7);
    const std::vector<CommandCase> cases = {
        {"model request", {0x80, -1}, {0x80}},
        {"block read", {0x86, 0x03, 0x80, 0x31, -1}, {0x86, 0x03, 0x80, 0x31}},
        {"values modulo 256", {0x05, 256, 257, 511, -2, -256, -1}, {0x05, 0, 1, 0xFF, 0xFE, 0}},
        {"stops at the first -1", {0x07, -1, 0x33, 0x44}, {0x07}},
        {"empty list", {-1}, {}},
        {"at most 60 values", seventy, sixty},
    };
    for (auto& c : cases) {
        const Report r = BuildCommandReport(c.values);
        EXPECT_EQ(r[0], 0x02) << c.name;
        for (size_t i = 1; i < r.size(); ++i) {
            const int want = i - 1 < c.expectedHead.size() ? c.expectedHead[i - 1] : 0;
            EXPECT_EQ(r[i], want) << c.name << " byte " << i;
        }
    }
}

TEST(SendCommandFraming, NothingGoesOutWhileClosed)
{
    ASSERT_EQ(g_bConnected, 0);
    EXPECT_EQ(SendCommand({0x80, -1}), 0);
}

TEST(ModeNameFrame, AddressLengthByteAndBigEndianCharacters)
{
    const Report r = BuildModeNameReport(1, u"AB\u4E2D");
    const std::vector<uint8_t> head = {0x02, 0xDA, 0x0F, 0x40, 0x2C, 0x00,
                                       0x41, 0x00, 0x42, 0x4E, 0x2D};
    for (size_t i = 0; i < r.size(); ++i) {
        EXPECT_EQ(r[i], i < head.size() ? head[i] : 0) << i;
    }
    EXPECT_EQ(BuildModeNameReport(3, u"")[3], 0xC0);
    EXPECT_EQ(BuildModeNameReport(3, u"")[4], 0x2C);
}

TEST(ModeNameFrame, AtMostTwentyCharacters)
{
    const Report r = BuildModeNameReport(0, std::u16string(30, u'x'));
    for (size_t i = 0; i < 20; ++i) {
        EXPECT_EQ(r[5 + 2 * i], 0);
        EXPECT_EQ(r[6 + 2 * i], 'x');
    }
    for (size_t i = 45; i < r.size(); ++i) {
        EXPECT_EQ(r[i], 0) << i;
    }
    EXPECT_EQ(WriteModeName(4, u"x"), 0);
}
