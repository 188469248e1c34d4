// Mode files: the version 4 layout written, versions 1, 2 and 4 read, all or nothing.
#include "files/ModeFile.h"

#include "files/FileMessages.h"
#include "files/TempDir.h"
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
    Block997.Set(0, static_cast<uint8_t>(0xC1 + salt));
    Block997.Set(1, 0x20);
}

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int b = 0; b < 4; ++b) {
        out.push_back(static_cast<uint8_t>(v >> (8 * b)));
    }
}

uint32_t CellBitsInOldFile(int cell)
{
    return 0xA0000000u + static_cast<uint32_t>(cell) * 3;
}

uint8_t OldEqByte(size_t i)
{
    return static_cast<uint8_t>(i * 7 + 1);
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
        f.push_back(static_cast<uint8_t>(0x40 + i));
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
    EXPECT_EQ(Block965.Get(0), 0x40);
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

    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_PITCH), 7); // the pitch rule is version 1's only
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

TEST_F(ModeFileTest, UnknownVersionsAreRefusedSilentlyAndChangeNothing)
{
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
    // Shorter than the version word: version 0.
    WriteAll(dir_ / "tiny.W6v9", {4, 0});
    ModeFileDeviceInfo info{};
    EXPECT_EQ(ReadModeFile(dir_ / "tiny.W6v9", info).status, ModeFileStatus::BadVersion);
    EXPECT_EQ(Capture(), before);
    EXPECT_TRUE(messages_.Messages().empty());
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
