// The file layer on POSIX: descriptors, with flock against other programs.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "streams/exceptions.h"
#include "streams/file_faults.h"
#include "streams/native_file.h"
#include "streams/read_lease_posix.h"
#include "streams/stop_request.h"

namespace pellimar {
namespace {

// Opened without blocking, so that a pipe with no writer cannot stall the
// opening; the caller refuses what is not a file before reading, and reads
// and writes block as usual.
int OpenDescriptor(const std::string& name, int flags, mode_t permissions = 0)
{
    const int fd = ::open(name.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, permissions);
    if (fd >= 0)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

int Descriptor(std::intptr_t handle)
{
    return static_cast<int>(handle);
}

// One transfer, started again when a signal interrupted it. Once the program
// was asked to stop it is not started (again) but fails as interrupted: a
// read from a terminal or an idle pipe could otherwise wait on for data that
// never comes, also when the signal came before the read began.
template <typename Transfer>
std::int64_t Retried(Transfer transfer)
{
    for (;;) {
        if (StopRequested()) {
            errno = EINTR;
            return -1;
        }
        const ssize_t n = transfer();
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

}  // namespace

NativeFile NativeFile::OpenForReading(const std::string& name)
{
    return NativeFile(OpenDescriptor(name, O_RDONLY));
}

NativeFile NativeFile::OpenForWriting(const std::string& name, bool& created)
{
    int fd = OpenDescriptor(name, O_RDWR | O_CREAT | O_EXCL, 0666);
    created = fd >= 0;
    if (fd < 0 && errno == EEXIST)
        fd = OpenDescriptor(name, O_RDWR);
    // A pipe opened for reading as well opens with no program at its other
    // end, and the writes would then wait for ever: it is opened to be
    // written only, which fails at once while no program reads it.
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode)) {
        ::close(fd);
        fd = OpenDescriptor(name, O_WRONLY);
    }
    return NativeFile(fd);
}

NativeFile NativeFile::OpenExistingForWriting(const std::string& name)
{
    return NativeFile(OpenDescriptor(name, O_WRONLY));
}

NativeFile NativeFile::OpenExistingForUpdate(const std::string& name)
{
    return NativeFile(OpenDescriptor(name, O_RDWR));
}

NativeFile NativeFile::DuplicateStandardInput()
{
    return NativeFile(::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0));
}

NativeFile NativeFile::DuplicateStandardOutput()
{
    return NativeFile(::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0));
}

std::optional<FileFacts> NativeFile::Facts() const
{
    struct stat info {};
    if (::fstat(Descriptor(handle_), &info) != 0)
        return std::nullopt;
    FileFacts facts;
    if (S_ISREG(info.st_mode)) {
        facts.kind = FileKind::Regular;
        facts.identity = {info.st_dev, info.st_ino};
        facts.links = static_cast<std::uint32_t>(info.st_nlink);
        facts.readOnly = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    } else if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)) {
        facts.kind = FileKind::Device;
    } else if (S_ISDIR(info.st_mode)) {
        facts.kind = FileKind::Folder;
    }
    return facts;
}

std::optional<std::int64_t> NativeFile::Size() const
{
    struct stat info {};
    if (::fstat(Descriptor(handle_), &info) != 0)
        return std::nullopt;
    return info.st_size;
}

namespace {

std::int64_t Nanoseconds(const struct timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// A transfer the test seam may fail, cut short or interrupt.
template <typename Transfer>
std::int64_t TransferRetried(FileCall call, std::int64_t& count, Transfer transfer)
{
    return Retried([&]() -> ssize_t {
        int error = 0;
        if (FileFaultStrikes(call, error)) {
            if (error != kShortTransfer) {
                errno = error;
                return -1;
            }
            count = count > 1 ? count / 2 : count;
        }
        return transfer();
    });
}

}  // namespace

std::optional<FileStamp> NativeFile::Stamp() const
{
    struct stat info {};
    if (::fstat(Descriptor(handle_), &info) != 0)
        return std::nullopt;
    return FileStamp{info.st_size, Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim)};
}

std::int64_t NativeFile::ReadAt(void* into, std::int64_t count, std::int64_t offset)
{
    return TransferRetried(FileCall::Read, count, [&] {
        return ::pread(Descriptor(handle_), into, static_cast<std::size_t>(count), offset);
    });
}

std::int64_t NativeFile::ReadNext(void* into, std::int64_t count)
{
    return TransferRetried(FileCall::Read, count,
                           [&] { return ::read(Descriptor(handle_), into, static_cast<std::size_t>(count)); });
}

std::int64_t NativeFile::WriteAt(const void* from, std::int64_t count, std::int64_t offset)
{
    return TransferRetried(FileCall::Write, count, [&] {
        return ::pwrite(Descriptor(handle_), from, static_cast<std::size_t>(count), offset);
    });
}

std::int64_t NativeFile::WriteNext(const void* from, std::int64_t count)
{
    return TransferRetried(FileCall::Write, count,
                           [&] { return ::write(Descriptor(handle_), from, static_cast<std::size_t>(count)); });
}

NativeFile NativeFile::Duplicate() const
{
    return NativeFile(IsOpen() ? ::fcntl(Descriptor(handle_), F_DUPFD_CLOEXEC, 0) : -1);
}

// Started again when a signal interrupted it (a cancel that comes while the
// finished output is put in place comes too late to stop it).
bool NativeFile::Sync()
{
    int synced = 0;
    do {
        int error = 0;
        if (FileFaultStrikes(FileCall::Sync, error)) {
            errno = error;
            synced = -1;
        } else {
            synced = ::fsync(Descriptor(handle_));
        }
    } while (synced != 0 && errno == EINTR);
    return synced == 0;
}

void NativeFile::StartWriteBack(std::int64_t offset, std::int64_t count)
{
    ::sync_file_range(Descriptor(handle_), offset, count, SYNC_FILE_RANGE_WRITE);
}

bool NativeFile::Truncate()
{
    return CutTo(0);
}

bool NativeFile::CutTo(std::int64_t size)
{
    return ::ftruncate(Descriptor(handle_), size) == 0;
}

namespace {

bool Lock(int fd, int kind)
{
    return ::flock(fd, kind | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

}  // namespace

bool NativeFile::LockAgainstOtherPrograms()
{
    return Lock(Descriptor(handle_), LOCK_EX);
}

bool NativeFile::LockAgainstWriters()
{
    return Lock(Descriptor(handle_), LOCK_SH);
}

namespace {

// One of our own standard descriptors may have the file open for writing
// ("0<> book.fff", ">> book.fff"), which keeps the system from leasing it:
// the run's own checks refuse what must be refused, in their own words.
bool OwnStandardStreamWrites(int fd)
{
    struct stat file {};
    if (::fstat(fd, &file) != 0)
        return false;
    for (const int standard : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        struct stat info {};
        const int mode = ::fcntl(standard, F_GETFL);
        if (mode != -1 && (mode & O_ACCMODE) != O_RDONLY && ::fstat(standard, &info) == 0 &&
            info.st_dev == file.st_dev && info.st_ino == file.st_ino)
            return true;
    }
    return false;
}

}  // namespace

LeaseTaking NativeFile::TakeReadLease()
{
    const int fd = Descriptor(handle_);
    const LeaseTaking taking = pellimar::TakeReadLease(fd);
    if (taking == LeaseTaking::FileOpenForWriting && OwnStandardStreamWrites(fd))
        return LeaseTaking::Unavailable;
    return taking;
}

bool NativeFile::ReadLeaseBroken() const
{
    return pellimar::ReadLeaseBroken(Descriptor(handle_));
}

// A close that fails with EINTR has still released the descriptor on Linux.
bool NativeFile::Close()
{
    if (!IsOpen())
        return true;
    const int fd = Descriptor(std::exchange(handle_, kClosed));
    DropReadLease(fd);
    return ::close(fd) == 0 || errno == EINTR;
}

std::string LastFailureReason(bool creating)
{
    return ReasonOfError(errno, creating);
}

bool LastFailureWasSharing()
{
    return false;
}

std::optional<FileIdentity> IdentityOfName(const std::string& name)
{
    struct stat info {};
    if (::stat(name.c_str(), &info) != 0)
        return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}

// A writer of another program holds its lock against readers too: a
// reader's lock, taken for that moment only, shows it.
std::string WhyNotWritable(const std::string& name)
{
    if (::faccessat(AT_FDCWD, name.c_str(), W_OK, AT_EACCESS) != 0)
        return LastFailureReason(true);
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {};
    const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked ? kLockedByAnotherProgram : "";
}

// Only a regular file is opened to be asked: opening a pipe to read it
// would let a program waiting to write it go on.
bool LockedByAnotherProgram(const std::string& name)
{
    struct stat info {};
    if (::stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

bool RemoveFile(const std::string& name)
{
    int error = 0;
    if (FileFaultStrikes(FileCall::Remove, error)) {
        errno = error;
        return false;
    }
    return ::unlink(name.c_str()) == 0;
}

std::FILE* OpenTemporaryFile()
{
    return std::tmpfile();
}

}  // namespace pellimar
