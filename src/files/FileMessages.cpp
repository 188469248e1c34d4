#include "files/FileMessages.h"

#include "i18n/Language.h"

#include <atomic>

namespace {
std::atomic<FileMessageSink*> g_sink{nullptr};

const TextPair kReadCaption{"无法读取文件", "Can't read file"};
const TextPair kReadText{"无法读取文件:", "Can't read file:"};
const TextPair kOutOfRangeCaption{"数值超出范围", "Values out of range"};
const TextPair kOutOfRangeInFile{"文件中有 %d 个数值超出有效范围，已被限制到范围之内:",
                                 "%d values in the file were out of range and have been limited:"};
const TextPair kOutOfRangeRead{"机器中有 %d 个数值超出有效范围，已被限制到范围之内。",
                               "%d values read from the machine were out of range and have been "
                               "limited."};
} // namespace

const char* const kWriteFailureCaption = "Can't write to file";

void AttachFileMessageSink(FileMessageSink* sink)
{
    g_sink.store(sink);
}

FileMessageSink* AttachedFileMessageSink()
{
    return g_sink.load();
}

void ShowFileWarning(const std::string& caption, const std::string& text)
{
    if (FileMessageSink* sink = g_sink.load()) {
        sink->Warning(caption, text);
    }
}

std::string WriteFailureText(int systemError, const std::filesystem::path& path)
{
    // "Errcode=%d,Can't write to file:\n%s\nProbaby it is write protected."
    return "Errcode=" + std::to_string(systemError) + ",Can't write to file:\n" + path.string() +
           "\nProbaby it is write protected.";
}

std::string ReadFailureText(const std::filesystem::path& path, const std::string& reason)
{
    return std::string(kReadText.Text()) + "\n" + path.string() + "\n" + reason;
}

std::string ReadFailureCaption()
{
    return kReadCaption.Text();
}

std::string OutOfRangeCaption()
{
    return kOutOfRangeCaption.Text();
}

std::string OutOfRangeText(int count, const std::filesystem::path& path)
{
    std::string text = (path.empty() ? kOutOfRangeRead : kOutOfRangeInFile).Text();
    text.replace(text.find("%d"), 2, std::to_string(count));
    return path.empty() ? text : text + "\n" + path.string();
}

void ShowOutOfRange(int count, const std::filesystem::path& path)
{
    ShowFileWarning(OutOfRangeCaption(), OutOfRangeText(count, path));
}

void ShowWriteFailure(int systemError, const std::filesystem::path& path)
{
    ShowFileWarning(kWriteFailureCaption, WriteFailureText(systemError, path));
}

void ShowReadFailure(const std::filesystem::path& path, const std::string& reason)
{
    ShowFileWarning(ReadFailureCaption(), ReadFailureText(path, reason));
}

void RecordingFileMessageSink::Warning(const std::string& caption, const std::string& text)
{
    std::lock_guard lock(mutex_);
    messages_.push_back({caption, text});
}

std::vector<RecordingFileMessageSink::Message> RecordingFileMessageSink::Messages() const
{
    std::lock_guard lock(mutex_);
    return messages_;
}

ScopedFileMessageSink::ScopedFileMessageSink(FileMessageSink* sink)
    : previous_(g_sink.exchange(sink))
{
}

ScopedFileMessageSink::~ScopedFileMessageSink()
{
    g_sink.store(previous_);
}
