#pragma once
// Remote data files (*.remo): exactly the 16 bytes of the remote-control key table, byte 0
// first, with no header. The table itself belongs to the link layer; it is passed in here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

inline constexpr size_t kRemoteTableSize = 16;
inline constexpr const char* kRemoteFileExtension = "remo";
inline constexpr const char* kRemoteFileFilter = "Remote Data File(*.remo)";

using RemoteTableBytes = std::array<uint8_t, kRemoteTableSize>;

struct RemoteFileResult
{
    bool ok = false;
    size_t bytesRead = 0;       // bytes placed into the table by a read
    std::filesystem::path path; // the file actually used (a write forces the extension)
    int systemError = 0;
    std::string reason; // one line, without the path
};

// The name with the extension "remo" (any other extension is replaced).
std::filesystem::path WithRemoteFileExtension(const std::filesystem::path& path);

// Reads up to 16 bytes into the table from byte 0; a shorter file changes only the bytes it
// holds, and a read error leaves the table as far as it was read. An unreadable file shows a
// warning through the file message sink.
RemoteFileResult ReadRemoteFile(const std::filesystem::path& path, RemoteTableBytes& table);

// Writes the 16 bytes to the name with the extension "remo", replacing an existing file only
// once the new one is complete. A failure shows "Can't write to file".
RemoteFileResult WriteRemoteFile(const std::filesystem::path& path, const RemoteTableBytes& table);
