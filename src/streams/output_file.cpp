// The run's output under a temporary name (POSIX).
#include "streams/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "streams/exceptions.h"
#include "streams/file_names.h"
#include "streams/text_stream.h"

namespace pellimar {

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

// Opening the file for writing, without emptying it, tests the user's right
// to write it; holding it open keeps the lock against other programs until
// the run ends.
void OutputFile::HoldExistingFile()
{
    held_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    struct stat info {};
    if (held_ < 0 || ::fstat(held_, &info) != 0)
        Fail(ReasonOfError(errno, true));
    if (IsHeldFile({info.st_dev, info.st_ino}))
        Fail("it is the input file");
    if (!LockAgainstOtherPrograms(held_))
        Fail("another program has it locked");
}

void OutputFile::ReleaseExistingFile()
{
    if (held_ >= 0)
        ::close(held_);
    held_ = -1;
}

void OutputFile::Fail(const std::string& reason)
{
    ReleaseExistingFile();
    throw EFCreateError(FillPlaceholder(kCannotCreateFile, path_), {path_, reason});
}

std::unique_ptr<TS_TextStream> OutputFile::CreateStream()
{
    try {
        auto stream = std::make_unique<TS_TextStream>(temporary_.empty() ? path_ : temporary_, fmCreate);
        stream->ReportAs(path_);
        return stream;
    } catch (const EFCreateError& error) {
        Fail(error.Reason());
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
    // The owner before the mode: a change of owner clears the set-user-ID
    // and set-group-ID bits.
    if (ready && replacesFile_) {
        CarryOverOwnership(fd);
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
