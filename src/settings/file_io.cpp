// Reading the settings files, and the byte transfers shared with the writers.
#include "settings/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "settings/file_descriptor.h"

namespace pellimar {

bool WriteAllAt(int fd, std::string_view bytes, off_t offset)
{
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
        offset += n;
    }
    return true;
}

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

}  // namespace pellimar
