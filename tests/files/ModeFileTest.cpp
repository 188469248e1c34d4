// Mode files: the version 4 layout written, versions 1, 2 and 4 read, all or nothing.
#include "files/ModeFile.h"

#include "files/FileMessages.h"
#include "files/TempDir.h"
#include "i18n/Language.h"
#include "model/CellRanges.h"
#include "model/DeviceMemory.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "model/SoundFieldGeometry.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

namespace {
const Block945Bytes kResetAllBlock = {0x04, 0x04, 0x00, 0x00, 0x8A, 0x0A, 0x00, 0x0A, 0x0A, 0x0A,
                                      0x8A, 0x8A, 0x00, 0x8A, 0x0A, 0x8A, 0x85, 0x00, 0x05, 0x00};
const ModeFileDeviceInfo kInfo = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};

// Everything a mode file can touch.
struct ProgramState
{
    std::vector<uint32_t> cells;
    std::vector<uint8_t> image, block945, block965, block997;
    SoundFieldGeometry geometry;
    bool operator==(const ProgramState&) const = default;
};

ProgramState Capture()
{
    ProgramState s;
    for (int c = kFirstCell; c <= kLastCell; ++c) {
        s.cells.push_back(ParamStore.GetBits(c));
    }
    s.image = DeviceImage.Snapshot();
    s.block945 = Block945.Snapshot();
    s.block965 = Block965.Snapshot();
    s.block997 = Block997.Snapshot();
    s.geometry = CurrentSoundFieldGeometry();
    return s;
}

uint8_t Pattern(size_t i, uint8_t salt)
{
    return static_cast<uint8_t>((i * 37 + salt) ^ (i >> 3));
}

// Fills the store, the band memory and the blocks with values unlike the start-up ones.
void FillWithPattern(uint8_t salt)
{
    for (int c = kFirstCell; c <= kLastCell; ++c) {
        ParamStore.SetBits(c, 0x01000193u * static_cast<uint32_t>(c) + salt);
    }
    for (size_t i = 0; i < DeviceImage.Size(); ++i) {
        DeviceImage.Set(i, Pattern(i, salt));
    }
    for (size_t i = 0; i < Block965.Size(); ++i) {
        Block965.Set(i, Pattern(i + 1000, salt));
    }
    SoundFieldGeometry g = DefaultSoundFieldGeometry();
    g.width = 7;
    g.points[SF_SUB] = {-2.3f, 3.1f};
    SetSoundFieldGeometry(g);
    EncodeGeometryIntoBlock945();
    // A setting the program itself could hold: everything in range (a file of it loads
    // exactly as saved).
    LimitCurrentSetting();
    Block997.Set(0, 0xC1); // -8 .. -16 dB
    Block997.Set(1, static_cast<uint8_t>(salt & 0x7F));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int b = 0; b < 4; ++b) {
        out.push_back(static_cast<uint8_t>(v >> (8 * b)));
    }
}

// A value of each cell's range that differs from its neighbours'.
uint32_t CellBitsInOldFile(int cell)
{
    const CellRange& r = *FindCellRange(cell);
    const std::span<const int> choices = CellChoices(r.kind);
    if (!choices.empty()) {
        return static_cast<uint32_t>(choices[static_cast<size_t>(cell) % 2]);
    }
    const double span = r.max - r.min;
    const double v = r.min + span * static_cast<double>((cell * 7) % 10 + 1) / 11.0;
    if (IsFloatCellRange(r)) {
        return std::bit_cast<uint32_t>(static_cast<float>(v));
    }
    return static_cast<uint32_t>(static_cast<int32_t>(v));
}

// Band records of the old layout: every record valid and unlike the others.
uint8_t OldEqByte(size_t i)
{
    const size_t record = i / 7;
    const size_t gain = record % 301, freq = 20 + record * 97, q = 100 + record * 11;
    switch (i % 7) {
    case 0:
        return static_cast<uint8_t>(gain >> 8);
    case 1:
        return static_cast<uint8_t>(gain & 0xFF);
    case 2:
        return static_cast<uint8_t>(freq >> 8);
    case 3:
        return static_cast<uint8_t>(freq & 0xFF);
    case 4:
        return static_cast<uint8_t>(q >> 8);
    case 5:
        return static_cast<uint8_t>(q & 0xFF);
    default:
        return static_cast<uint8_t>(record % 6);
    }
}

// Eight speaker levels of -3.0x dB.
uint8_t OldLevelByte(uint8_t i)
{
    return i % 4 == 0 ? 0xC0 : static_cast<uint8_t>(0x40 + i);
}

const uint8_t kTrailer945[20] = {0x03, 0x05, 0x81, 0x02, 0x8A, 0x0A, 0x00, 0x0A, 0x0A, 0x0A,
                                 0x8A, 0x8A, 0x00, 0x8A, 0x0A, 0x8A, 0x85, 0x00, 0x05, 0x00};

// A version 1 or 2 file built byte by byte: cells with their own pattern, the 1141-byte old
// EQ layout, device info, speaker levels and Block945.
std::vector<uint8_t> OldFile(int version, int32_t pitch)
{
    std::vector<uint8_t> f;
    PutU32(f, static_cast<uint32_t>(version));
    const int lastCell = version == 1 ? 178 : 180;
    for (int c = kFirstCell; c <= lastCell; ++c) {
        PutU32(f, c == PRM_MUSIC_PITCH ? static_cast<uint32_t>(pitch) : CellBitsInOldFile(c));
    }
    for (size_t i = 0; i < kOldEqLayoutSize; ++i) {
        f.push_back(OldEqByte(i));
    }
    f.insert(f.end(), kInfo.begin(), kInfo.end());
    for (uint8_t i = 0; i < 32; ++i) {
        f.push_back(OldLevelByte(i));
    }
    f.insert(f.end(), std::begin(kTrailer945), std::end(kTrailer945));
    return f;
}

class ModeFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ParamStore.ResetToDefaults();
        ResetDeviceMemoryToStartup();
    }
    void TearDown() override
    {
        ParamStore.ResetToDefaults();
        ResetDeviceMemoryToStartup();
        SetLanguage(kLanguageChinese);
    }

    TempDir dir_;
    RecordingFileMessageSink messages_;
    ScopedFileMessageSink scoped_{&messages_};
};
} // namespace

TEST_F(ModeFileTest, SavingRightAfterStartupWritesTheStartupSetting)
{
    const auto path = dir_ / "startup.W6v9";
    ASSERT_TRUE(WriteModeFile(path, kInfo).Ok());
    const std::vector<uint8_t> f = ReadAll(path);
    ASSERT_EQ(f.size(), 1645u);

    const std::vector<uint8_t> version = {4, 0, 0, 0};
    EXPECT_TRUE(std::equal(version.begin(), version.end(), f.begin()));
    for (int c = kFirstCell; c <= kLastCell; ++c) {
        uint32_t bits = 0;
        std::memcpy(&bits, f.data() + 4 + 4 * (c - kFirstCell), 4);
        uint32_t expected = 0;
        if (c == PRM_ECHOA_TIME || c == PRM_ECHOB_TIME) {
            expected = std::bit_cast<uint32_t>(217.0f);
        } else if (c == PRM_ECHOA_P19 || c == PRM_ECHOB_P26) {
            expected = 60;
        }
        EXPECT_EQ(bits, expected) << "cell " << c;
    }
    const std::vector<uint8_t> image = DeviceImage.Snapshot();
    EXPECT_TRUE(std::equal(image.begin(), image.end(), f.begin() + 640));
    // Music band 10, the start-up low pass: 0 dB (150), 100 Hz, Q 1.414, type 2.
    const std::vector<uint8_t> lowPass = {0x00, 0x96, 0x00, 0x64, 0x05, 0x86, 0x02};
    EXPECT_TRUE(std::equal(lowPass.begin(), lowPass.end(), f.begin() + 640 + 336 + 70));
    EXPECT_TRUE(std::equal(kInfo.begin(), kInfo.end(), f.begin() + 1585));
    EXPECT_TRUE(std::all_of(f.begin() + 1591, f.begin() + 1623, [](uint8_t b) { return b == 0; }));
    EXPECT_TRUE(std::equal(kResetAllBlock.begin(), kResetAllBlock.end(), f.begin() + 1623));
    EXPECT_EQ(f[1643], 0);
    EXPECT_EQ(f[1644], 0);
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(ModeFileTest, SaveAndReadBackRestoresEveryCellBandAndBlock)
{
    FillWithPattern(5);
    const ProgramState saved = Capture();
    const auto path = dir_ / "all.W6v9";
    ASSERT_TRUE(WriteModeFile(path, kInfo).Ok());

    FillWithPattern(99);
    ASSERT_NE(Capture(), saved);
    ModeFileDeviceInfo info{};
    const ModeFileResult r = ReadModeFile(path, info);
    ASSERT_TRUE(r.Ok()) << r.reason;
    EXPECT_EQ(r.version, 4);
    EXPECT_EQ(Capture(), saved);
    EXPECT_EQ(info, kInfo);
    EXPECT_EQ(CurrentSoundFieldGeometry().points[SF_SUB], (SoundFieldPosition{-2.3f, 3.1f}));
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(ModeFileTest, ReadingDecodesBlock945IntoTheGeometry)
{
    std::vector<uint8_t> f = BuildModeFile(kInfo);
    std::copy(std::begin(kTrailer945), std::end(kTrailer945), f.begin() + 1623);
    WriteAll(dir_ / "g.W6v9", f);
    ModeFileDeviceInfo info{};
    ASSERT_TRUE(ReadModeFile(dir_ / "g.W6v9", info).Ok());
    const SoundFieldGeometry g = CurrentSoundFieldGeometry();
    EXPECT_EQ(g.width, 3);
    EXPECT_EQ(g.length, 5);
    EXPECT_EQ(g.points[SF_LISTENER], (SoundFieldPosition{-0.1f, 0.2f}));
}

TEST_F(ModeFileTest, Version1MapsTheOldLayoutAndSetsItsDefaults)
{
    // Values the old file does not carry: they must survive the read.
    for (int c = 179; c <= 184; ++c) {
        ParamStore.SetBits(c, 0xEEEE0000u + static_cast<uint32_t>(c));
    }
    DeviceImage.Fill(0xEE);
    Block997.Set(0, 0x12);
    Block997.Set(1, 0x34);

    WriteAll(dir_ / "v1.W6v8", OldFile(1, 7));
    ModeFileDeviceInfo info{};
    const ModeFileResult r = ReadModeFile(dir_ / "v1.W6v8", info);
    ASSERT_TRUE(r.Ok()) << r.reason;
    EXPECT_EQ(r.version, 1);

    for (int c = kFirstCell; c <= PRM_SUB_MUTE; ++c) {
        if (c != PRM_MUSIC_PITCH) {
            EXPECT_EQ(ParamStore.GetBits(c), CellBitsInOldFile(c)) << "cell " << c;
        }
    }
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_PITCH), 0);
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_AGC_ON), 0);
    EXPECT_EQ(ParamStore.GetFloat(PRM_MUSIC_AGC_LEVEL), -12.0f);
    for (int c = 181; c <= 184; ++c) {
        EXPECT_EQ(ParamStore.GetBits(c), 0xEEEE0000u + static_cast<uint32_t>(c)) << "cell " << c;
    }

    // Where every DeviceImage byte comes from: an old byte, or nothing (kept).
    const struct
    {
        size_t first, last;
        long oldMinusImage; // -1: not carried
    } regions[] = {{0, 69, 0},     {70, 139, 35},  {140, 405, 70}, {406, 412, -1},
                   {413, 482, 98}, {483, 510, -1}, {511, 944, 196}};
    for (const auto& region : regions) {
        for (size_t i = region.first; i <= region.last; ++i) {
            const uint8_t expected = region.oldMinusImage < 0
                                         ? 0xEE
                                         : OldEqByte(i + static_cast<size_t>(region.oldMinusImage));
            ASSERT_EQ(DeviceImage.Get(i), expected) << "DeviceImage byte " << i;
        }
    }
    EXPECT_EQ(info, kInfo);
    EXPECT_EQ(Block965.Get(0), 0xC0);
    EXPECT_EQ(Block965.Get(31), 0x5F);
    EXPECT_EQ(Block945.Get(0), 0x03);
    EXPECT_EQ(CurrentSoundFieldGeometry().width, 3);
    EXPECT_EQ(Block997.Get(0), 0x12);
    EXPECT_EQ(Block997.Get(1), 0x34);
}

TEST_F(ModeFileTest, Version1PitchOutsideMinusFiveToFiveBecomesZero)
{
    const struct
    {
        int32_t stored, loaded;
    } cases[] = {{7, 0}, {6, 0}, {5, 5}, {0, 0}, {-5, -5}, {-6, 0}, {-100000, 0}, {1 << 30, 0}};
    for (const auto& c : cases) {
        WriteAll(dir_ / "p.W6v8", OldFile(1, c.stored));
        ModeFileDeviceInfo info{};
        ASSERT_TRUE(ReadModeFile(dir_ / "p.W6v8", info).Ok());
        EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_PITCH), c.loaded) << c.stored;
    }
}

TEST_F(ModeFileTest, Version2ReadsTheAgcCellsAndKeepsWhatItDoesNotCarry)
{
    for (int c = 181; c <= 184; ++c) {
        ParamStore.SetBits(c, 0xEEEE0000u + static_cast<uint32_t>(c));
    }
    const std::vector<uint8_t> lowPass = DeviceImage.Snapshot();
    Block997.Set(0, 0x12);

    std::vector<uint8_t> f = OldFile(2, 7);
    ASSERT_EQ(f.size(), kModeFileSizeV2);
    WriteAll(dir_ / "v2.W6v8", f);
    ModeFileDeviceInfo info{};
    ASSERT_TRUE(ReadModeFile(dir_ / "v2.W6v8", info).Ok());

    // The pitch rule of version 1 does not apply; the range does.
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_PITCH), 5);
    EXPECT_EQ(ParamStore.GetBits(PRM_MUSIC_AGC_ON), CellBitsInOldFile(PRM_MUSIC_AGC_ON));
    EXPECT_EQ(ParamStore.GetBits(PRM_MUSIC_AGC_LEVEL), CellBitsInOldFile(PRM_MUSIC_AGC_LEVEL));
    for (int c = 181; c <= 184; ++c) {
        EXPECT_EQ(ParamStore.GetBits(c), 0xEEEE0000u + static_cast<uint32_t>(c)) << "cell " << c;
    }
    // The music low-pass band and the Main delay-split bands are the start-up ones.
    for (size_t i = 406; i <= 412; ++i) {
        EXPECT_EQ(DeviceImage.Get(i), lowPass[i]) << i;
    }
    for (size_t i = 483; i <= 510; ++i) {
        EXPECT_EQ(DeviceImage.Get(i), lowPass[i]) << i;
    }
    EXPECT_EQ(Block997.Get(0), 0x12);
}

TEST_F(ModeFileTest, UnknownVersionsAreRefusedWithABoxAndChangeNothing)
{
    SetLanguage(kLanguageEnglish);
    FillWithPattern(3);
    const ProgramState before = Capture();
    const uint32_t versions[] = {0, 3, 5, 0xFFFFFFFF, 0x04000000};
    for (uint32_t v : versions) {
        std::vector<uint8_t> f = BuildModeFile(kInfo);
        f.resize(kModeFileSizeV2, 0x77);
        std::memcpy(f.data(), &v, 4);
        WriteAll(dir_ / "bad.W6v9", f);
        ModeFileDeviceInfo info = kInfo;
        const ModeFileResult r = ReadModeFile(dir_ / "bad.W6v9", info);
        EXPECT_EQ(r.status, ModeFileStatus::BadVersion) << v;
        EXPECT_FALSE(r.reason.empty());
    }
    // Shorter than the version word: version 0; and an empty file.
    WriteAll(dir_ / "tiny.W6v9", {4, 0});
    ModeFileDeviceInfo info{};
    EXPECT_EQ(ReadModeFile(dir_ / "tiny.W6v9", info).status, ModeFileStatus::BadVersion);
    WriteAll(dir_ / "empty.W6v9", {});
    EXPECT_EQ(ReadModeFile(dir_ / "empty.W6v9", info).status, ModeFileStatus::BadVersion);
    EXPECT_EQ(Capture(), before);

    // Every refusal names the file and says why, and that nothing was loaded.
    const auto shown = messages_.Messages();
    ASSERT_EQ(shown.size(), std::size(versions) + 2);
    for (const auto& m : shown) {
        EXPECT_EQ(m.caption, ReadFailureCaption());
        EXPECT_NE(m.text.find("Nothing was loaded."), std::string::npos) << m.text;
    }
    EXPECT_NE(shown[1].text.find((dir_ / "bad.W6v9").string()), std::string::npos);
    EXPECT_NE(shown[1].text.find("unknown version 3"), std::string::npos) << shown[1].text;
    EXPECT_NE(shown[5].text.find("only 2 bytes"), std::string::npos) << shown[5].text;
    EXPECT_NE(shown[6].text.find((dir_ / "empty.W6v9").string()), std::string::npos);
    EXPECT_NE(shown[6].text.find("empty"), std::string::npos) << shown[6].text;
}

TEST_F(ModeFileTest, ShortFilesChangeNothingAndSayWhichFileAndWhy)
{
    FillWithPattern(3);
    const ProgramState before = Capture();
    std::vector<uint8_t> v4 = BuildModeFile(kInfo);
    v4[700] ^= 0xFF; // any change would be visible
    const struct
    {
        std::vector<uint8_t> full;
        size_t keep;
    } cases[] = {{v4, 4},
                 {v4, 640},
                 {v4, 1644},
                 {OldFile(1, 0), 1814},
                 {OldFile(1, 0), 100},
                 {OldFile(2, 0), 1822},
                 {OldFile(2, 0), 1815}};
    for (const auto& c : cases) {
        std::vector<uint8_t> f(c.full.begin(), c.full.begin() + static_cast<long>(c.keep));
        const auto path = dir_ / "short.W6v9";
        WriteAll(path, f);
        ModeFileDeviceInfo info = kInfo;
        const ModeFileResult r = ReadModeFile(path, info);
        EXPECT_EQ(r.status, ModeFileStatus::TooShort) << c.keep;
        EXPECT_NE(r.reason.find(std::to_string(c.keep)), std::string::npos) << r.reason;
        EXPECT_EQ(Capture(), before) << c.keep;
    }
    const auto shown = messages_.Messages();
    ASSERT_EQ(shown.size(), std::size(cases));
    EXPECT_NE(shown[0].text.find((dir_ / "short.W6v9").string()), std::string::npos);
}

TEST_F(ModeFileTest, ALongerFileIsReadAsItsLayoutSays)
{
    FillWithPattern(8);
    const ProgramState saved = Capture();
    std::vector<uint8_t> f = BuildModeFile(kInfo);
    f.insert(f.end(), 300, 0x5A);
    ResetDeviceMemoryToStartup();
    WriteAll(dir_ / "long.W6v9", f);
    ModeFileDeviceInfo info{};
    ASSERT_TRUE(ReadModeFile(dir_ / "long.W6v9", info).Ok());
    EXPECT_EQ(Capture(), saved);
}

TEST_F(ModeFileTest, UnreadableFilesChangeNothingAndShowAWarning)
{
    FillWithPattern(3);
    const ProgramState before = Capture();
    ModeFileDeviceInfo info = kInfo;
    const auto missing = dir_ / "missing.W6v9";
    EXPECT_EQ(ReadModeFile(missing, info).status, ModeFileStatus::CannotRead);
    EXPECT_EQ(ReadModeFile(dir_.Path(), info).status, ModeFileStatus::CannotRead); // a folder
    EXPECT_EQ(Capture(), before);
    const auto shown = messages_.Messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].caption, ReadFailureCaption());
    EXPECT_NE(shown[0].text.find(missing.string()), std::string::npos);
}

TEST_F(ModeFileTest, AFileThatCannotBeCreatedShowsTheWriteBox)
{
    const auto path = dir_ / "no-such-folder" / "m.W6v9";
    const ModeFileResult r = WriteModeFile(path, kInfo);
    EXPECT_EQ(r.status, ModeFileStatus::CannotWrite);
    EXPECT_EQ(r.systemError, ENOENT);
    const auto shown = messages_.Messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Can't write to file");
    EXPECT_EQ(shown[0].text, "Errcode=2,Can't write to file:\n" + path.string() +
                                 "\nProbaby it is write protected.");
}

TEST_F(ModeFileTest, ParsingLeavesTheProgramAlone)
{
    FillWithPattern(4);
    const std::vector<uint8_t> f = BuildModeFile(kInfo);
    const ProgramState before = Capture();
    ModeSetting s;
    ASSERT_TRUE(ParseModeFile(f, s).Ok());
    EXPECT_EQ(s.version, 4);
    EXPECT_EQ(s.lastCell, kLastCell);
    EXPECT_EQ(s.cells[PRM_MIC_VOL - kFirstCell], ParamStore.GetBits(PRM_MIC_VOL));
    EXPECT_EQ(Capture(), before);
}

TEST_F(ModeFileTest, ADamagedFileIsLoadedLimitedAndTheCountShownOnce)
{
    // A valid version word followed by random bytes.
    std::vector<uint8_t> f(kModeFileSize);
    uint32_t x = 4620;
    for (uint8_t& b : f) {
        x = x * 1103515245u + 12345u;
        b = static_cast<uint8_t>(x >> 16);
    }
    f[0] = 4;
    f[1] = f[2] = f[3] = 0;
    WriteAll(dir_ / "damaged.W6v9", f);
    ModeSetting parsed;
    const ModeFileResult parsedResult = ParseModeFile(f, parsed);

    ModeFileDeviceInfo info{};
    const ModeFileResult r = ReadModeFile(dir_ / "damaged.W6v9", info);
    ASSERT_TRUE(r.Ok()) << r.reason;
    EXPECT_EQ(r.limited, parsedResult.limited);
    EXPECT_GT(r.limited, kCellCount / 2);
    for (int cell = kFirstCell; cell <= kLastCell; ++cell) {
        EXPECT_TRUE(CellBitsInRange(cell, ParamStore.GetBits(cell))) << ParamCellName(cell);
    }
    // Nothing in the program is left out of range: a second limit finds nothing.
    EXPECT_EQ(LimitCurrentSetting(), 0);
    // The six identification bytes are not a setting: carried as they are.
    EXPECT_TRUE(std::equal(info.begin(), info.end(), f.begin() + 1585));

    const auto shown = messages_.Messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, OutOfRangeCaption());
    EXPECT_EQ(shown[0].text, OutOfRangeText(r.limited, dir_ / "damaged.W6v9"));
    // In the program's language, with the count.
    EXPECT_NE(shown[0].text.find("文件中有 " + std::to_string(r.limited) + " 个数值"),
              std::string::npos)
        << shown[0].text;
    SetLanguage(kLanguageEnglish);
    EXPECT_EQ(OutOfRangeText(12, "/x/y.W6v9"),
              "12 values in the file were out of range and have been limited:\n/x/y.W6v9");
    EXPECT_EQ(OutOfRangeText(3, {}),
              "3 values read from the machine were out of range and have been limited.");
}

TEST_F(ModeFileTest, OneValueOutOfRangeIsTheOnlyOneChanged)
{
    FillWithPattern(6);
    std::vector<uint8_t> f = BuildModeFile(kInfo);
    // Pitch 9 in cell 90 and a band gain of +16 dB in the first Main band.
    const size_t pitchAt = 4 + 4 * (PRM_MUSIC_PITCH - kFirstCell);
    f[pitchAt] = 9;
    f[pitchAt + 1] = f[pitchAt + 2] = f[pitchAt + 3] = 0;
    f[640 + 413] = 0x01;
    f[640 + 413 + 1] = 0x36; // 310 = +16 dB
    WriteAll(dir_ / "one.W6v9", f);
    const ProgramState before = Capture();

    FillWithPattern(7);
    ModeFileDeviceInfo info{};
    const ModeFileResult r = ReadModeFile(dir_ / "one.W6v9", info);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.limited, 2);
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_PITCH), 5);
    EXPECT_EQ(DeviceImage.Get(414), 0x2C); // +15 dB
    ProgramState expected = before;
    expected.cells[PRM_MUSIC_PITCH - kFirstCell] = 5;
    expected.image[414] = 0x2C;
    EXPECT_EQ(Capture(), expected);
    EXPECT_EQ(messages_.Messages().size(), 1u);
}

TEST_F(ModeFileTest, AnInRangeOldFileIsNotLimitedWhereItCarriesNothing)
{
    // The gaps of the old EQ layout are not applied, so they are not checked either.
    std::vector<uint8_t> f = OldFile(2, 3);
    WriteAll(dir_ / "v2ok.W6v8", f);
    ModeFileDeviceInfo info{};
    const ModeFileResult r = ReadModeFile(dir_ / "v2ok.W6v8", info);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.limited, 0);
    EXPECT_TRUE(messages_.Messages().empty());
}
