#include "files/SafeFileWriter.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::atomic<unsigned> g_tempCounter{0};

FileWriteResult Failure(int error, const std::string& step)
{
    return {false, error, step + ": " + std::strerror(error)};
}

// For a writable file in a folder that takes no new files: written in place (without
// truncating first, so a failure leaves at most the written part changed).
FileWriteResult WriteInPlace(const std::filesystem::path& target, std::span<const uint8_t> bytes);

bool WriteAll(int fd, std::span<const uint8_t> bytes, int& error)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Flushes the file to the disk and closes it; the descriptor is closed in every case. Returns
// false with errno in `error` when anything failed now or before (`ok` false).
bool FlushAndClose(int fd, bool ok, int& error)
{
    if (ok && ::fsync(fd) != 0) {
        error = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        error = errno;
        ok = false;
    }
    return ok;
}

FileWriteResult WriteInPlace(const std::filesystem::path& target, std::span<const uint8_t> bytes)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return Failure(errno, "cannot write");
    }
    int error = 0;
    bool ok = WriteAll(fd, bytes, error);
    if (ok && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
        error = errno;
        ok = false;
    }
    ok = FlushAndClose(fd, ok, error);
    return ok ? FileWriteResult{true, 0, {}} : Failure(error, "cannot write");
}
} // namespace

FileWriteResult WriteFileReplacing(const std::filesystem::path& requested,
                                   std::span<const uint8_t> bytes)
{
    std::error_code ec;
    std::filesystem::path target = requested;
    if (std::filesystem::is_symlink(target, ec)) {
        const auto resolved = std::filesystem::weakly_canonical(target, ec);
        if (!ec) {
            target = resolved;
        }
    }

    struct stat existing
    {
    };
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) {
            return Failure(EISDIR, "cannot write");
        }
        // Checked with the identity that opens files (effective and file-system IDs), as the
        // write itself would be.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            return Failure(errno, "cannot write");
        }
    }

    const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : ".";
    const std::string base =
        "." + target.filename().string() + ".tmp-" + std::to_string(::getpid());
    std::filesystem::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = dir / (base + "-" + std::to_string(g_tempCounter.fetch_add(1)));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        const int error = errno;
        if (exists && (error == EACCES || error == EPERM)) {
            return WriteInPlace(target, bytes);
        }
        return Failure(error, "cannot create");
    }

    int error = 0;
    bool ok = WriteAll(fd, bytes, error);
    if (ok && exists) {
        ::fchmod(fd, existing.st_mode & 07777); // best effort: keep the old permissions
    }
    ok = FlushAndClose(fd, ok, error);
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        error = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return Failure(error, "cannot write");
    }

    // Make the rename itself durable; a failure here no longer endangers either file.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {true, 0, {}};
}
