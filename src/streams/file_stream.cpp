// POSIX file access for the streams.
//
// Exclusive access has two layers: a table of the files this process holds
// (by device and inode, so links and other spellings of a path are caught
// whatever the file system supports), and a non-blocking flock() against
// other programs where the file system offers it.
#include "streams/file_stream.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <set>
#include <utility>

#include "streams/exceptions.h"

namespace pellimar {
namespace {

class HeldFiles {
public:
    bool Take(std::uint64_t device, std::uint64_t inode)
    {
        std::lock_guard lock(mutex_);
        return held_.insert({device, inode}).second;
    }
    void Give(std::uint64_t device, std::uint64_t inode)
    {
        std::lock_guard lock(mutex_);
        held_.erase({device, inode});
    }

private:
    std::mutex mutex_;
    std::set<std::pair<std::uint64_t, std::uint64_t>> held_;
};

HeldFiles& TheHeldFiles()
{
    static HeldFiles files;
    return files;
}

// Another program holds the file when flock says so; a file system without
// flock support does not stop us.
bool LockedElsewhere(int fd)
{
    return flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

int OpenForCreate(const std::string& fileName, bool& created)
{
    const int common = O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    int fd = open(fileName.c_str(), common | O_CREAT | O_EXCL, 0666);
    created = fd >= 0;
    if (fd < 0 && errno == EEXIST)
        fd = open(fileName.c_str(), common);
    return fd;
}

}  // namespace

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode)
{
    const bool create = mode == fmCreate;
    const std::string message = FillPlaceholder(create ? kCannotCreateFile : kCannotOpenFile, fileName);
    auto fail = [&]() -> void {
        Release();
        if (create)
            throw EFCreateError(message);
        throw EFOpenError(message);
    };

    bool created = false;
    Handle = create ? OpenForCreate(fileName, created)
                    : open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    Writable = create;
    if (Handle < 0)
        fail();

    struct stat info {};
    if (fstat(Handle, &info) != 0)
        fail();
    // Reading takes regular files only (a pipe or device could block or never
    // end); writing also takes character devices such as /dev/null.
    const bool regular = S_ISREG(info.st_mode);
    if (!regular && !(create && S_ISCHR(info.st_mode)))
        fail();
    fcntl(Handle, F_SETFL, fcntl(Handle, F_GETFL) & ~O_NONBLOCK);

    if (regular) {
        Device = info.st_dev;
        Inode = info.st_ino;
        Registered = TheHeldFiles().Take(Device, Inode);
        if (!Registered || LockedElsewhere(Handle)) {
            if (created)
                unlink(fileName.c_str());
            fail();
        }
        if (create && !created && ftruncate(Handle, 0) != 0)
            fail();
    }
}

TFileStream::~TFileStream()
{
    Release();
}

void TFileStream::Release()
{
    if (Registered) {
        TheHeldFiles().Give(Device, Inode);
        Registered = false;
    }
    if (Handle >= 0) {
        ::close(Handle);
        Handle = -1;
    }
}

bool TFileStream::Close()
{
    if (Handle < 0)
        return true;
    const int fd = Handle;
    Handle = -1;
    if (Registered) {
        TheHeldFiles().Give(Device, Inode);
        Registered = false;
    }
    // A close that fails with EINTR has still released the descriptor on Linux.
    const bool closed = ::close(fd) == 0 || errno == EINTR;
    return closed || !Writable;
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count)
{
    auto* out = static_cast<char*>(buffer);
    std::int64_t done = 0;
    while (Handle >= 0 && done < count) {
        const ssize_t n = ::read(Handle, out + done, static_cast<std::size_t>(count - done));
        if (n > 0) {
            done += n;
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            // Unlike the end of the file, a failing disk must not look like a
            // shorter file: the copy would be silently truncated.
            throw EReadError(std::string(kStreamReadError));
        }
    }
    return done;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count)
{
    const auto* in = static_cast<const char*>(buffer);
    std::int64_t done = 0;
    while (Handle >= 0 && done < count) {
        const ssize_t n = ::write(Handle, in + done, static_cast<std::size_t>(count - done));
        if (n > 0)
            done += n;
        else if (n == 0 || errno != EINTR)
            break;
    }
    return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, std::uint16_t origin)
{
    const int whence = origin == kFromEnd ? SEEK_END : origin == kFromCurrent ? SEEK_CUR : SEEK_SET;
    if (Handle < 0)
        return -1;
    return lseek(Handle, offset, whence);
}

}  // namespace pellimar
