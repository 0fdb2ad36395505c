// An open file descriptor that closes itself, and whole-buffer transfers at
// a file offset, shared by the settings files' readers and writers.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace pellimar {

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
    // False when closing reports an error (for a written file: the bytes
    // may not have arrived).
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Writes all bytes at `offset`; false on any error.
bool WriteAllAt(int fd, std::string_view bytes, off_t offset);

// Reads from the file's current position until `limit` bytes or the end of
// the file; false on a read error.
bool ReadUpTo(int fd, std::size_t limit, std::string& bytes);

}  // namespace pellimar
