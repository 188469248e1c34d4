#include "files/RemoteFile.h"

#include "files/FileMessages.h"
#include "files/SafeFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {
struct FileCloser
{
    void operator()(std::FILE* f) const { std::fclose(f); }
};
} // namespace

std::filesystem::path WithRemoteFileExtension(const std::filesystem::path& path)
{
    std::filesystem::path out = path;
    out.replace_extension(kRemoteFileExtension);
    return out;
}

RemoteFileResult ReadRemoteFile(const std::filesystem::path& path, RemoteTableBytes& table)
{
    RemoteFileResult result;
    result.path = path;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        result.systemError = errno;
        result.reason = std::string("cannot open: ") + std::strerror(result.systemError);
        ShowReadFailure(path, std::strerror(result.systemError));
        return result;
    }
    RemoteTableBytes read{};
    const size_t n = std::fread(read.data(), 1, read.size(), file.get());
    const bool failed = std::ferror(file.get()) != 0;
    const int error = errno;
    std::memcpy(table.data(), read.data(), n);
    result.bytesRead = n;
    if (failed) {
        result.systemError = error;
        result.reason = std::string("cannot read: ") + std::strerror(error);
        ShowReadFailure(path, std::strerror(error));
        return result;
    }
    result.ok = true;
    return result;
}

RemoteFileResult WriteRemoteFile(const std::filesystem::path& path, const RemoteTableBytes& table)
{
    RemoteFileResult result;
    result.path = WithRemoteFileExtension(path);
    const FileWriteResult written = WriteFileReplacing(result.path, table);
    if (!written.ok) {
        result.systemError = written.systemError;
        result.reason = written.reason;
        ShowWriteFailure(written.systemError, result.path);
        return result;
    }
    result.ok = true;
    return result;
}
