// The run's output under a temporary name, put in place by a rename (POSIX).
#include "streams/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "streams/exceptions.h"
#include "streams/file_names.h"

namespace pellimar {
namespace {

// Only root can give a file away; anyone else keeps the new file as theirs.
void CarryOverOwnership(int fd, uid_t owner, gid_t group)
{
    if (::geteuid() == 0 && ::fchown(fd, owner, group) != 0) {
        // The file is still complete and readable by its writer.
    }
}

}  // namespace

OutputFile::OutputFile(std::string path) : path_(std::move(path))
{
    const std::optional<std::filesystem::path> target = FollowLinks(path_);
    if (!target)
        Fail("its links go round in a circle");
    target_ = target->string();
    struct stat info {};
    if (::stat(target_.c_str(), &info) == 0) {
        // A device such as /dev/null is written to directly; a folder or a
        // pipe is no output at all.
        if (S_ISCHR(info.st_mode))
            return;
        if (!S_ISREG(info.st_mode))
            Fail(S_ISDIR(info.st_mode) ? "it is a folder" : "it is not a regular file");
        replacesFile_ = true;
        mode_ = info.st_mode & 07777;
        owner_ = info.st_uid;
        group_ = info.st_gid;
        HoldExistingFile();
    }
    const int fd = CreateFileBeside(target_, temporary_);
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

void OutputFile::PutInPlace()
{
    if (settled_ || temporary_.empty())
        return;
    const int fd = ::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
    // On the disk before it takes the name, so that a crash of the system
    // cannot leave an empty file where the old one stood.
    bool ready = fd >= 0 && ::fdatasync(fd) == 0;
    // The owner before the mode: a change of owner clears the set-user-ID
    // and set-group-ID bits.
    if (ready && replacesFile_) {
        CarryOverOwnership(fd, owner_, group_);
        ready = ::fchmod(fd, mode_) == 0;
    }
    if (fd >= 0)
        ::close(fd);
    if (!ready || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary_.c_str());
        settled_ = true;
        Fail(ReasonOfError(error, true));
    }
    settled_ = true;
    ReleaseExistingFile();
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
