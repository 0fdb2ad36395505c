// Writing a settings file's new content: through its links, by an atomic
// rename where a new file can stand in for the old one, in place where not.
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "settings/file_descriptor.h"
#include "settings/file_io.h"
#include "streams/file_names.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;

// The new file takes the old one's owner before its mode, since a change of
// owner clears the set-user-ID and set-group-ID bits.
bool TakeOverOwnerAndMode(int fd, const struct stat& old)
{
    struct stat fresh {};
    if (::fstat(fd, &fresh) != 0)
        return false;
    if ((fresh.st_uid != old.st_uid || fresh.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return false;
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

enum class Outcome { Done, Failed, NotPossible };

// Writes a new file beside `target` and renames it over it; `old` describes
// the file it replaces, null for a new file (whose mode the umask narrows as
// for any new file).
Outcome ReplaceByRename(const fs::path& target, std::string_view bytes, const struct stat* old)
{
    std::string temporary;
    FileDescriptor file(CreateFileBeside(target, temporary));
    if (file.Get() < 0) {
        const bool folderRefuses = errno == EACCES || errno == EPERM || errno == EROFS;
        return folderRefuses && old != nullptr ? Outcome::NotPossible : Outcome::Failed;
    }
    if (old != nullptr && !TakeOverOwnerAndMode(file.Get(), *old)) {
        ::unlink(temporary.c_str());
        return Outcome::NotPossible;
    }
    // Durable before the rename, so that a crash of the system cannot leave
    // an empty file under the settings file's name.
    const bool written = WriteAllAt(file.Get(), bytes, 0) && ::fdatasync(file.Get()) == 0 && file.Close() &&
                         ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!written)
        ::unlink(temporary.c_str());
    return written ? Outcome::Done : Outcome::Failed;
}

// Rewrites the open file where it stands. Unlike a rename this is not
// atomic: a crash of the system in the middle can leave a mix of old and new
// bytes. A copy of the old file beside it would need the very folder that
// may take no new file, so the old bytes are kept in memory instead and put
// back when a write fails (a full disk, a size limit): new bytes go over the
// old ones before the file is cut to length, which needs no new space until
// the new content grows past the old.
bool RewriteInPlace(int fd, std::string_view bytes)
{
    std::string old;
    if (::lseek(fd, 0, SEEK_SET) != 0 || !ReadUpTo(fd, SIZE_MAX, old))
        return false;
    const off_t newSize = static_cast<off_t>(bytes.size());
    if (WriteAllAt(fd, bytes, 0) && ::ftruncate(fd, newSize) == 0 && ::fdatasync(fd) == 0)
        return true;
    if (WriteAllAt(fd, old, 0) && ::ftruncate(fd, static_cast<off_t>(old.size())) == 0)
        ::fdatasync(fd);
    return false;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes)
{
    const std::optional<fs::path> target = FollowLinks(path);
    if (!target)
        return false;
    // Opening for reading and writing, without emptying, is the test of
    // whether this process may change the file at all; reading is what an
    // in-place rewrite needs to put the old bytes back.
    FileDescriptor file(::open(target->c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0)
        return errno == ENOENT && ReplaceByRename(*target, bytes, nullptr) == Outcome::Done;
    struct stat old {};
    if (::fstat(file.Get(), &old) != 0 || !S_ISREG(old.st_mode))
        return false;
    if (old.st_nlink == 1) {
        const Outcome renamed = ReplaceByRename(*target, bytes, &old);
        if (renamed != Outcome::NotPossible)
            return renamed == Outcome::Done;
    }
    return RewriteInPlace(file.Get(), bytes);
}

}  // namespace pellimar
