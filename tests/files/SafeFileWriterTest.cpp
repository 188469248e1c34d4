// Saving never destroys the previous file.
#include "files/SafeFileWriter.h"

#include "files/FileMessages.h"
#include "files/ModeFile.h"
#include "files/TempDir.h"
#include "support/OrdinaryUser.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const std::vector<uint8_t> kOld(1645, 0x42);

// Limits the size of files this process may write, so that a save fails half-way through
// (as on a full disk), whoever runs the test.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};
} // namespace

TEST(SafeFileWriter, AFailedSaveKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    TempDir dir;
    const auto path = dir / "setting.W6v9";
    WriteAll(path, kOld);
    RecordingFileMessageSink messages;
    ScopedFileMessageSink scoped(&messages);
    {
        FileSizeLimit limit(100);
        const ModeFileResult r = WriteModeFile(path, ModeFileDeviceInfo{});
        EXPECT_EQ(r.status, ModeFileStatus::CannotWrite);
        EXPECT_EQ(r.systemError, EFBIG);
    }
    EXPECT_EQ(ReadAll(path), kOld);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"setting.W6v9"});
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, "Errcode=" + std::to_string(EFBIG) +
                                               ",Can't write to file:\n" + path.string() +
                                               "\nProbaby it is write protected.");
}

TEST(SafeFileWriter, ReplacingKeepsThePermissionsOfTheOldFile)
{
    TempDir dir;
    const auto path = dir / "f.bin";
    WriteAll(path, kOld);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const std::vector<uint8_t> fresh = {1, 2, 3};
    ASSERT_TRUE(WriteFileReplacing(path, fresh).ok);
    EXPECT_EQ(ReadAll(path), fresh);
    struct stat st
    {
    };
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(SafeFileWriter, WritesThroughASymbolicLink)
{
    TempDir dir;
    const auto real = dir / "real.bin";
    const auto link = dir / "link.bin";
    WriteAll(real, kOld);
    std::filesystem::create_symlink(real, link);
    const std::vector<uint8_t> fresh = {9, 8, 7};
    ASSERT_TRUE(WriteFileReplacing(link, fresh).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadAll(real), fresh);
}

TEST(SafeFileWriter, AWriteProtectedFileIsRefusedNotReplaced)
{
    TempDir dir;
    const auto path = dir / "ro.bin";
    WriteAll(path, kOld);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    // The folder is open to everyone: only the file's own protection stops the save.
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
    FileWriteResult r;
    {
        AsOrdinaryUser user;
        ASSERT_NE(AsOrdinaryUser::CurrentFsUser(), 0u);
        r = WriteFileReplacing(path, std::vector<uint8_t>{1});
    }
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.systemError, EACCES);
    EXPECT_EQ(ReadAll(path), kOld);
}

TEST(SafeFileWriter, AFolderIsNotReplaced)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    const FileWriteResult r = WriteFileReplacing(dir / "sub", std::vector<uint8_t>{1});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.systemError, EISDIR);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "sub"));
}

TEST(SafeFileWriter, AWritableFileInAClosedFolderIsWrittenInPlace)
{
    TempDir dir;
    const auto path = dir / "f.bin";
    WriteAll(path, kOld);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
    const std::vector<uint8_t> fresh = {1, 2, 3};
    FileWriteResult r;
    {
        AsOrdinaryUser user;
        ASSERT_NE(AsOrdinaryUser::CurrentFsUser(), 0u);
        // No new file can be made in the folder.
        EXPECT_EQ(::open((dir / "probe").c_str(), O_CREAT | O_WRONLY, 0644), -1);
        r = WriteFileReplacing(path, fresh);
    }
    ::chmod(dir.Path().c_str(), 0755);
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_EQ(ReadAll(path), fresh);
}
