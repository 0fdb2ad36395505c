// POSIX file access for the settings files.
#include "settings/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <random>

namespace pellimar {
namespace {

namespace fs = std::filesystem;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Reads until `limit` bytes or the end of the file; false on a read error.
bool ReadUpTo(int fd, std::size_t limit, std::string& bytes)
{
    char block[65536];
    while (bytes.size() < limit) {
        const std::size_t wanted = std::min(sizeof block, limit - bytes.size());
        const ssize_t n = ::read(fd, block, wanted);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        bytes.append(block, static_cast<std::size_t>(n));
    }
    return true;
}

fs::path FollowLinks(const fs::path& path)
{
    std::error_code error;
    if (!fs::is_symlink(path, error))
        return path;
    const fs::path target = fs::canonical(path, error);
    return error ? path : target;
}

std::string TemporaryNameBeside(const fs::path& target)
{
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    const std::string suffix = std::to_string(::getpid()) + "-" + std::to_string(seed) + "-" +
                               std::to_string(counter.fetch_add(1));
    std::string name = ".";
    name.append(target.filename().string()).append(".tmp-").append(suffix);
    return (target.parent_path() / name).string();
}

// A fresh file is created with mode 0666, which the umask narrows as for any
// new file; only an existing file's own mode needs carrying over.
bool CarryOverMode(int fd, const fs::path& target)
{
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0)
        return errno == ENOENT;
    return ::fchmod(fd, info.st_mode & 07777) == 0;
}

int CreateTemporary(const fs::path& target, std::string& name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryNameBeside(target);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

}  // namespace

FileRead ReadFileUpTo(const std::string& path, std::size_t limit)
{
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0)
        return {errno == ENOENT ? FileReadStatus::Missing : FileReadStatus::Unreadable, {}};
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return {FileReadStatus::Unreadable, {}};
    FileRead result{FileReadStatus::Whole, {}};
    if (!ReadUpTo(file.Get(), limit, result.bytes))
        return {FileReadStatus::Unreadable, {}};
    if (result.bytes.size() == limit) {
        std::string probe;
        if (!ReadUpTo(file.Get(), 1, probe) || !probe.empty())
            result.status = FileReadStatus::Partial;
    }
    return result;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes)
{
    const fs::path target = FollowLinks(path);
    std::string temporary;
    FileDescriptor file(CreateTemporary(target, temporary));
    if (file.Get() < 0)
        return false;
    // Durable before the rename, so that a crash of the system cannot leave
    // an empty file under the settings file's name.
    const bool written = WriteAll(file.Get(), bytes) && CarryOverMode(file.Get(), target) &&
                         ::fdatasync(file.Get()) == 0 && file.Close() &&
                         ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!written)
        ::unlink(temporary.c_str());
    return written;
}

}  // namespace pellimar
