// The run's output under a temporary name (POSIX).
#include "streams/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <random>

#include "streams/exceptions.h"
#include "streams/text_stream.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;

// The file a path finally names: symbolic links followed, each relative to
// its own folder. A link to nothing yet names where the file will be.
std::string FinalTarget(const std::string& path)
{
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error)))
            break;
        const fs::path next = fs::read_symlink(current, error);
        if (error)
            break;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current.string();
}

// ".out.fff.pellimar-<pid>-<n>" in the output's own folder, so that putting
// it in place is a rename within one file system.
int CreateTemporaryBeside(const std::string& target, std::string& name)
{
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    const fs::path where(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string leaf = "." + where.filename().string() + ".pellimar-" + std::to_string(::getpid()) + "-" +
                                 std::to_string(seed + counter.fetch_add(1));
        name = (where.parent_path() / leaf).string();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

}  // namespace

OutputFile::OutputFile(std::string path) : path_(std::move(path)), target_(FinalTarget(path_))
{
    struct stat info {};
    if (::stat(target_.c_str(), &info) == 0) {
        // A device such as /dev/null is written to directly; a folder or a
        // pipe is no output at all.
        if (S_ISCHR(info.st_mode))
            return;
        if (!S_ISREG(info.st_mode))
            Fail();
        replacesFile_ = true;
        mode_ = info.st_mode & 07777;
        owner_ = info.st_uid;
        group_ = info.st_gid;
        HoldExistingFile();
    }
    const int fd = CreateTemporaryBeside(target_, temporary_);
    if (fd < 0) {
        temporary_.clear();
        ReleaseExistingFile();
        return;
    }
    ::close(fd);
}

OutputFile::~OutputFile()
{
    if (!settled_ && !temporary_.empty())
        ::unlink(temporary_.c_str());
    ReleaseExistingFile();
}

// Opening the file for writing, without emptying it, tests the user's right
// to write it; holding it open keeps the lock against other programs until
// the run ends.
void OutputFile::HoldExistingFile()
{
    held_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    struct stat info {};
    if (held_ < 0 || ::fstat(held_, &info) != 0)
        Fail();
    if (IsHeldFile({info.st_dev, info.st_ino}) || !LockAgainstOtherPrograms(held_))
        Fail();
}

void OutputFile::ReleaseExistingFile()
{
    if (held_ >= 0)
        ::close(held_);
    held_ = -1;
}

void OutputFile::Fail()
{
    ReleaseExistingFile();
    throw EFCreateError(FillPlaceholder(kCannotCreateFile, path_));
}

std::unique_ptr<TS_TextStream> OutputFile::CreateStream()
{
    try {
        return std::make_unique<TS_TextStream>(temporary_.empty() ? path_ : temporary_, fmCreate);
    } catch (const EFCreateError&) {
        Fail();
    }
}

void OutputFile::PutInPlace()
{
    if (settled_ || temporary_.empty())
        return;
    const int fd = ::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
    // On the disk before it takes the name, so that a crash of the system
    // cannot leave an empty file where the old one stood.
    bool ready = fd >= 0 && ::fdatasync(fd) == 0;
    if (ready && replacesFile_) {
        ready = ::fchmod(fd, mode_) == 0;
        CarryOverOwnership(fd);
    }
    if (fd >= 0)
        ::close(fd);
    if (!ready || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        ::unlink(temporary_.c_str());
        settled_ = true;
        Fail();
    }
    settled_ = true;
    ReleaseExistingFile();
}

// Only root can give a file away; anyone else keeps the new file as theirs.
void OutputFile::CarryOverOwnership(int fd) const
{
    if (::geteuid() == 0 && ::fchown(fd, owner_, group_) != 0) {
        // The file is still complete and readable by its writer.
    }
}

void OutputFile::Discard()
{
    if (settled_)
        return;
    settled_ = true;
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
    } else {
        struct stat info {};
        if (::lstat(target_.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            ::unlink(target_.c_str());
    }
    ReleaseExistingFile();
}

}  // namespace pellimar
