// POSIX file access for the streams, with exclusive access through the
// table of held files and a lock against other programs.
#include "streams/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "streams/exceptions.h"
#include "streams/held_files.h"

namespace pellimar {
namespace {

int OpenForCreate(const std::string& fileName, bool& created)
{
    const int common = O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    int fd = open(fileName.c_str(), common | O_CREAT | O_EXCL, 0666);
    created = fd >= 0;
    if (fd < 0 && errno == EEXIST)
        fd = open(fileName.c_str(), common);
    return fd;
}

constexpr std::int64_t kChunkSize = 256 * 1024;

}  // namespace

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode) : Name(fileName)
{
    const bool create = mode == fmCreate;
    bool created = false;
    Handle = create ? OpenForCreate(fileName, created)
                    : open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    Writable = create;
    if (Handle < 0)
        Fail(create, ReasonOfError(errno, create));

    struct stat info {};
    if (fstat(Handle, &info) != 0)
        Fail(create, ReasonOfError(errno, create));
    // Reading takes regular files only (a pipe or device could block or never
    // end); writing also takes character devices such as /dev/null.
    const bool regular = S_ISREG(info.st_mode);
    Seekable = regular;
    if (!regular && !(create && S_ISCHR(info.st_mode)))
        Fail(create, S_ISDIR(info.st_mode) ? "it is a folder" : "it is not a regular file");
    fcntl(Handle, F_SETFL, fcntl(Handle, F_GETFL) & ~O_NONBLOCK);
    if (regular) {
        Identity = {info.st_dev, info.st_ino};
        TakeHold(create, created, fileName);
    }
}

// Another stream of ours holding the file is, for a file being created,
// the run's input under another name.
void TFileStream::TakeHold(bool create, bool created, const std::string& fileName)
{
    Registered = TakeHeldFile(Identity);
    const char* reason = !Registered ? (create ? "it is the input file" : "it is already open")
                         : !LockAgainstOtherPrograms(Handle) ? "another program has it locked"
                                                             : nullptr;
    if (reason != nullptr) {
        if (created)
            unlink(fileName.c_str());
        Fail(create, reason);
    }
    if (create && !created && ftruncate(Handle, 0) != 0)
        Fail(create, ReasonOfError(errno, create));
}

void TFileStream::Fail(bool create, const std::string& reason)
{
    Release();
    const std::string message = FillPlaceholder(create ? kCannotCreateFile : kCannotOpenFile, Name);
    if (create)
        throw EFCreateError(message, {Name, reason});
    throw EFOpenError(message, {Name, reason});
}

TFileStream::TFileStream(Adopted, int descriptor, bool writable) : Name("-"), Writable(writable), Seekable(false)
{
    Handle = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (Handle < 0)
        Fail(writable, ReasonOfError(errno, writable));
}

std::unique_ptr<TFileStream> TFileStream::StandardInput()
{
    return std::unique_ptr<TFileStream>(new TFileStream(Adopted{}, STDIN_FILENO, false));
}

std::unique_ptr<TFileStream> TFileStream::StandardOutput()
{
    return std::unique_ptr<TFileStream>(new TFileStream(Adopted{}, STDOUT_FILENO, true));
}

std::optional<std::int64_t> TFileStream::DataSize() const
{
    if (!Seekable)
        return std::nullopt;
    return FileSize();
}

TFileStream::~TFileStream()
{
    if (Handle >= 0)
        WritePending();
    Release();
}

void TFileStream::Release()
{
    if (Registered) {
        GiveHeldFile(Identity);
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
        return !WriteFailed;
    const bool written = WritePending();
    const int fd = Handle;
    Handle = -1;
    if (Registered) {
        GiveHeldFile(Identity);
        Registered = false;
    }
    // A close that fails with EINTR has still released the descriptor on Linux.
    const bool closed = ::close(fd) == 0 || errno == EINTR;
    return written && (closed || !Writable);
}

std::uint8_t* TFileStream::Chunk()
{
    if (!ChunkBytes)
        ChunkBytes.reset(new std::uint8_t[kChunkSize]);
    return ChunkBytes.get();
}

// A pipe has no size: -1, which the buffered stream's end test reads as a
// size already passed, so that only a read can tell where the data ends.
std::int64_t TFileStream::FileSize() const
{
    if (!Seekable && !Writable)
        return -1;
    struct stat info {};
    const std::int64_t size = Handle >= 0 && fstat(Handle, &info) == 0 ? info.st_size : 0;
    if (ChunkHolds == Held::Pending)
        return std::max(size, ChunkStart + ChunkLength);
    return size;
}

std::int64_t TFileStream::ReadAt(std::uint8_t* into, std::int64_t count, std::int64_t at)
{
    std::int64_t done = 0;
    while (Handle >= 0 && done < count) {
        const auto rest = static_cast<std::size_t>(count - done);
        const ssize_t n = Seekable ? ::pread(Handle, into + done, rest, at + done) : ::read(Handle, into + done, rest);
        if (n > 0) {
            done += n;
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            // Unlike the end of the file, a failing disk must not look like a
            // shorter file: the copy would be silently truncated.
            FailureReason = ReasonOfError(errno);
            throw EReadError(std::string(kStreamReadError), FailureContext());
        }
    }
    return done;
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count)
{
    if (ChunkHolds == Held::Pending)
        WritePending();
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::int64_t copied = 0;
    while (copied < count) {
        const bool inChunk = ChunkHolds == Held::ReadAhead && Pos >= ChunkStart && Pos < ChunkStart + ChunkLength;
        if (!inChunk) {
            ChunkHolds = Held::Nothing;
            ChunkStart = Pos;
            ChunkLength = ReadAt(Chunk(), kChunkSize, Pos);
            if (ChunkLength == 0)
                break;
            ChunkHolds = Held::ReadAhead;
        }
        const std::int64_t n = std::min(count - copied, ChunkStart + ChunkLength - Pos);
        std::memcpy(out + copied, Chunk() + (Pos - ChunkStart), static_cast<std::size_t>(n));
        copied += n;
        Pos += n;
    }
    return copied;
}

bool TFileStream::WriteAll(const std::uint8_t* bytes, std::int64_t count, std::int64_t at)
{
    std::int64_t done = 0;
    while (Handle >= 0 && done < count) {
        const auto rest = static_cast<std::size_t>(count - done);
        const ssize_t n = Seekable ? ::pwrite(Handle, bytes + done, rest, at + done) : ::write(Handle, bytes + done, rest);
        if (n > 0)
            done += n;
        else if (n == 0 || errno != EINTR)
            break;
    }
    if (done < count) {
        WriteFailed = true;
        FailureReason = ReasonOfError(errno);
    }
    return done == count;
}

bool TFileStream::WritePending()
{
    if (ChunkHolds != Held::Pending)
        return !WriteFailed;
    ChunkHolds = Held::Nothing;
    return WriteAll(Chunk(), ChunkLength, ChunkStart) && !WriteFailed;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count)
{
    if (!Writable || count <= 0)
        return 0;  // opened for reading only, or nothing to write
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    const bool follows = ChunkHolds == Held::Pending && Pos == ChunkStart + ChunkLength;
    if (follows && ChunkLength + count <= kChunkSize) {
        std::memcpy(Chunk() + ChunkLength, in, static_cast<std::size_t>(count));
        ChunkLength += count;
        Pos += count;
        return count;
    }
    // Held-back bytes that cannot be written are lost: this write then takes
    // nothing, so the caller learns of it.
    if (ChunkHolds == Held::Pending && !WritePending())
        return 0;
    ChunkHolds = Held::Nothing;
    if (WriteFailed)
        return 0;
    if (count >= kChunkSize) {
        if (!WriteAll(in, count, Pos))
            return 0;
        Pos += count;
        return count;
    }
    std::memcpy(Chunk(), in, static_cast<std::size_t>(count));
    ChunkHolds = Held::Pending;
    ChunkStart = Pos;
    ChunkLength = count;
    Pos += count;
    return count;
}

std::int64_t TFileStream::Seek(std::int64_t offset, std::uint16_t origin)
{
    std::int64_t target = offset;
    if (origin == kFromCurrent)
        target = Pos + offset;
    else if (origin == kFromEnd)
        target = FileSize() + offset;
    if (Handle < 0 || target < 0)
        return -1;
    Pos = target;
    return Pos;
}

}  // namespace pellimar
