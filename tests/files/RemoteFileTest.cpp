// Remote data files: the 16 bytes of the key table, nothing else.
#include "files/RemoteFile.h"

#include "files/FileMessages.h"
#include "files/TempDir.h"

#include <gtest/gtest.h>

namespace {
const RemoteTableBytes kTable = {0x5A, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0x1C, 11, 12, 13, 14, 0xFF};

RemoteTableBytes Filled(uint8_t v)
{
    RemoteTableBytes t;
    t.fill(v);
    return t;
}

class RemoteFileTest : public ::testing::Test
{
protected:
    TempDir dir_;
    RecordingFileMessageSink messages_;
    ScopedFileMessageSink scoped_{&messages_};
};
} // namespace

TEST_F(RemoteFileTest, SaveAndLoadRoundTripsTheSixteenBytes)
{
    const RemoteFileResult w = WriteRemoteFile(dir_ / "keys.remo", kTable);
    ASSERT_TRUE(w.ok) << w.reason;
    const std::vector<uint8_t> onDisk = ReadAll(dir_ / "keys.remo");
    EXPECT_EQ(onDisk, std::vector<uint8_t>(kTable.begin(), kTable.end()));

    RemoteTableBytes t = Filled(0xEE);
    const RemoteFileResult r = ReadRemoteFile(dir_ / "keys.remo", t);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytesRead, 16u);
    EXPECT_EQ(t, kTable);
}

TEST_F(RemoteFileTest, ReadingChangesOnlyTheBytesTheFileHolds)
{
    const struct
    {
        size_t fileSize, changed;
    } cases[] = {{0, 0}, {1, 1}, {10, 10}, {16, 16}, {40, 16}};
    for (const auto& c : cases) {
        std::vector<uint8_t> f(c.fileSize);
        for (size_t i = 0; i < f.size(); ++i) {
            f[i] = static_cast<uint8_t>(0x30 + i);
        }
        WriteAll(dir_ / "k.remo", f);
        RemoteTableBytes t = Filled(0xEE);
        const RemoteFileResult r = ReadRemoteFile(dir_ / "k.remo", t);
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.bytesRead, c.changed);
        for (size_t i = 0; i < t.size(); ++i) {
            EXPECT_EQ(t[i], i < c.changed ? 0x30 + i : 0xEE) << c.fileSize << " byte " << i;
        }
    }
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(RemoteFileTest, SavedNamesAlwaysGetTheRemoExtension)
{
    const struct
    {
        const char* typed;
        const char* saved;
    } cases[] = {{"keys.txt", "keys.remo"},
                 {"keys", "keys.remo"},
                 {"keys.remo", "keys.remo"},
                 {"my.keys.W6v9", "my.keys.remo"}};
    for (const auto& c : cases) {
        EXPECT_EQ(WithRemoteFileExtension(c.typed).string(), c.saved);
    }
    const RemoteFileResult w = WriteRemoteFile(dir_ / "keys.txt", kTable);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.path, dir_ / "keys.remo");
    EXPECT_EQ(dir_.Names(), std::vector<std::string>{"keys.remo"});
    EXPECT_EQ(ReadAll(dir_ / "keys.remo").size(), 16u);
}

TEST_F(RemoteFileTest, SavingReplacesAnExistingFile)
{
    WriteAll(dir_ / "k.remo", std::vector<uint8_t>(40, 0x11));
    ASSERT_TRUE(WriteRemoteFile(dir_ / "k.remo", kTable).ok);
    EXPECT_EQ(ReadAll(dir_ / "k.remo"), std::vector<uint8_t>(kTable.begin(), kTable.end()));
}

TEST_F(RemoteFileTest, FailuresShowTheirBoxAndLeaveTheTable)
{
    RemoteTableBytes t = kTable;
    const RemoteFileResult r = ReadRemoteFile(dir_ / "missing.remo", t);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(t, kTable);

    const auto path = dir_ / "no-folder" / "k";
    const RemoteFileResult w = WriteRemoteFile(path, kTable);
    EXPECT_FALSE(w.ok);
    const auto shown = messages_.Messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].caption, ReadFailureCaption());
    EXPECT_EQ(shown[1].caption, "Can't write to file");
    EXPECT_EQ(shown[1].text, "Errcode=2,Can't write to file:\n" +
                                 (dir_ / "no-folder" / "k.remo").string() +
                                 "\nProbaby it is write protected.");
}
