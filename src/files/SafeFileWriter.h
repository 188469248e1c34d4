#pragma once
// Saving a file without ever destroying the previous one: the bytes go to a temporary file
// beside the target, which replaces the target only after it was completely written and
// flushed to disk. A failed save leaves the old file exactly as it was.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

struct FileWriteResult
{
    bool ok = false;
    int systemError = 0; // errno of the step that failed
    std::string reason;  // one short line, for logs and the command-line tool
};

// An existing target that we may not write (write protected) is refused, as a direct write
// would be, instead of being replaced. A symbolic link is followed: its target is replaced.
// The new file keeps the permissions of the file it replaces. A writable file in a folder
// where no new file may be created is written in place instead.
FileWriteResult WriteFileReplacing(const std::filesystem::path& target,
                                   std::span<const uint8_t> bytes);
