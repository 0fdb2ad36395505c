// The run's output on POSIX: what stands under its name.
#include <sys/stat.h>

#include "streams/exceptions.h"
#include "streams/file_names.h"
#include "streams/output_file.h"

namespace pellimar {

OutputFile::OutputFile(std::string path, bool mayReplace, OutputGuard guard)
    : path_(std::move(path)), mayReplace_(mayReplace), guard_(std::move(guard))
{
    std::string refusal;
    const std::optional<std::filesystem::path> target = FollowLinks(path_, &refusal);
    if (!target)
        Fail(refusal);
    target_ = target->string();
    struct stat info {};
    if (::stat(target_.c_str(), &info) == 0) {
        // A device such as /dev/null, or a pipe given by name, is written
        // to directly; a folder is no output at all.
        if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)) {
            device_ = true;
            return;
        }
        if (!S_ISREG(info.st_mode))
            Fail(S_ISDIR(info.st_mode) ? "it is a folder" : "it is not a regular file");
        if (!mayReplace_)
            FailAsTaken();
        replacesFile_ = true;
        HoldExistingFile();
    }
    StartReplacement();
}

// Only a regular file is removed: the name may have come to stand for
// something else since.
bool OutputFile::RemoveWrittenInPlace()
{
    struct stat info {};
    return ::lstat(target_.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || RemoveFile(target_);
}

}  // namespace pellimar
