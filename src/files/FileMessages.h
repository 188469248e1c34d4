#pragma once
// How file operations tell the user about failures: a warning box shown by the shell. The
// core formats the caption and text; the shell attaches a sink that shows them (task-modal,
// warning icon). With no sink attached the warning is dropped and only the result reports it.

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

class FileMessageSink
{
public:
    virtual ~FileMessageSink() = default;
    virtual void Warning(const std::string& caption, const std::string& text) = 0;
};

// nullptr detaches. Safe to call from any thread.
void AttachFileMessageSink(FileMessageSink* sink);
FileMessageSink* AttachedFileMessageSink();

void ShowFileWarning(const std::string& caption, const std::string& text);

// "Can't write to file" with the system error code and the path (the same in both languages).
void ShowWriteFailure(int systemError, const std::filesystem::path& path);
// A file that cannot be read, in the current language, with the path and the reason.
void ShowReadFailure(const std::filesystem::path& path, const std::string& reason);

// A setting that arrived with values out of range and was limited: the caption, and the text
// with the count, for a file (with its path) or for the processor's read-back (empty path).
std::string OutOfRangeCaption();
std::string OutOfRangeText(int count, const std::filesystem::path& path);
void ShowOutOfRange(int count, const std::filesystem::path& path);

// The texts of those two boxes, for the shell's own use and for tests.
std::string WriteFailureText(int systemError, const std::filesystem::path& path);
std::string ReadFailureText(const std::filesystem::path& path, const std::string& reason);
extern const char* const kWriteFailureCaption;
std::string ReadFailureCaption();

// Keeps every warning, for tests and the command-line tool.
class RecordingFileMessageSink : public FileMessageSink
{
public:
    struct Message
    {
        std::string caption;
        std::string text;
    };
    void Warning(const std::string& caption, const std::string& text) override;
    std::vector<Message> Messages() const;

private:
    mutable std::mutex mutex_;
    std::vector<Message> messages_;
};

// Attaches a sink for the lifetime of the object and restores the previous one after.
class ScopedFileMessageSink
{
public:
    explicit ScopedFileMessageSink(FileMessageSink* sink);
    ~ScopedFileMessageSink();
    ScopedFileMessageSink(const ScopedFileMessageSink&) = delete;
    ScopedFileMessageSink& operator=(const ScopedFileMessageSink&) = delete;

private:
    FileMessageSink* previous_;
};
