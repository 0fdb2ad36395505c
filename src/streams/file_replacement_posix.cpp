// Putting a file in place on POSIX: an unnamed file (O_TMPFILE) linked in
// under its name at the end, or a hidden name beside the target where the
// file system has no unnamed files; the replaced file's owner, group, mode
// and extended attributes (access control lists among them) carried over.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

#include "streams/file_faults.h"
#include "streams/file_replacement.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;

// The extended attribute that holds a file's access control list; setting
// it also sets the group bits of the mode.
constexpr const char* kAccessList = "system.posix_acl_access";
constexpr std::size_t kMaxNameBytes = 255;
constexpr mode_t kPrivate = S_IRUSR | S_IWUSR;

int Descriptor(const NativeFile& file)
{
    return static_cast<int>(file.Handle());
}

std::string FolderOf(const std::string& target)
{
    const fs::path folder = fs::path(target).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

// ".out.fff.pellimar-<process>-<n>" beside the target; of a long name only
// as much is kept as lets the whole fit the longest name a folder takes.
std::string NameBeside(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    const std::string tail = ".pellimar-" + std::to_string(::getpid()) + "-" + std::to_string(seed + counter++);
    std::string leaf = fs::path(target).filename().string();
    leaf.resize(std::min(leaf.size(), kMaxNameBytes - 1 - tail.size()));
    return (fs::path(FolderOf(target)) / ("." + leaf + tail)).string();
}

bool FolderRefuses(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

// A file system or kernel without unnamed files says so in one of these.
bool NoUnnamedFiles(int error)
{
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOSYS;
}

int CreateUnnamedBeside(const std::string& target)
{
    if (int error = 0; FileFaultStrikes(FileCall::CreateUnnamed, error)) {
        errno = error;
        return -1;
    }
    // Naming an unnamed file later takes /proc, or the privilege to link a
    // descriptor; without either it would be made only to be lost.
    if (::access("/proc/self/fd", F_OK) != 0 && ::geteuid() != 0) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return ::open(FolderOf(target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, kPrivate);
}

int CreateNamedBeside(const std::string& target, std::string& name)
{
    if (int error = 0; FileFaultStrikes(FileCall::CreateBeside, error)) {
        errno = error;
        return -1;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = NameBeside(target);
        const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, kPrivate);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Gives the unnamed file `fd` the name `name`; fails with EEXIST when the
// name is taken.
bool LinkUnnamed(int fd, const std::string& name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    // Without /proc, only a privileged process may link a descriptor.
    return errno == ENOENT && ::access("/proc/self/fd", F_OK) != 0 &&
           ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0;
}

// Renames without replacing; where the file system cannot, a new link
// fails as well on a taken name.
bool RenameIfFree(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (::link(from.c_str(), to.c_str()) != 0)
        return false;
    ::unlink(from.c_str());
    return true;
}

mode_t CurrentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

std::vector<std::string> AttributeNames(const std::string& path)
{
    std::vector<std::string> names;
    const ssize_t size = ::listxattr(path.c_str(), nullptr, 0);
    if (size <= 0)
        return names;
    std::string list(static_cast<std::size_t>(size), '\0');
    const ssize_t got = ::listxattr(path.c_str(), list.data(), list.size());
    for (std::size_t at = 0; got > 0 && at < static_cast<std::size_t>(got);) {
        names.emplace_back(list.c_str() + at);
        at += names.back().size() + 1;
    }
    return names;
}

bool ReadAttribute(const std::string& path, const std::string& name, std::string& value)
{
    const ssize_t size = ::getxattr(path.c_str(), name.c_str(), nullptr, 0);
    if (size < 0)
        return false;
    value.assign(static_cast<std::size_t>(size), '\0');
    return ::getxattr(path.c_str(), name.c_str(), value.data(), value.size()) == size;
}

bool SetAttribute(int fd, const std::pair<std::string, std::string>& attribute)
{
    return ::fsetxattr(fd, attribute.first.c_str(), attribute.second.data(), attribute.second.size(), 0) == 0;
}

}  // namespace

ReplacementStart FileReplacement::Begin(const std::string& target, bool replacing)
{
    Abandon();
    target_ = target;
    replacing_ = replacing;
    notKept_.clear();
    lateAttributes_.clear();
    struct stat old {};
    if (replacing && ::stat(target.c_str(), &old) != 0)
        return ReplacementStart::Failed;

    int fd = CreateUnnamedBeside(target);
    if (fd < 0 && NoUnnamedFiles(errno))
        fd = CreateNamedBeside(target, temporary_);
    if (fd < 0) {
        temporary_.clear();
        return FolderRefuses(errno) ? ReplacementStart::FolderRefuses : ReplacementStart::Failed;
    }
    file_ = NativeFile::Adopt(fd);
    mode_ = replacing ? old.st_mode & 07777 : 0666 & ~CurrentUmask();
    if (replacing)
        TakeOverFrom(old);
    return ReplacementStart::Ready;
}

// Owner and group first, while the file is still private: a change of owner
// would clear set-user-ID bits given earlier. Only root can give a file to
// another user; a group is ours to give where we belong to it.
void FileReplacement::TakeOverFrom(const struct stat& old)
{
    const int fd = Descriptor(file_);
    struct stat fresh {};
    ::fstat(fd, &fresh);
    if (fresh.st_uid != old.st_uid && ::fchown(fd, old.st_uid, static_cast<gid_t>(-1)) != 0)
        notKept_.emplace_back("its owner");
    if (fresh.st_gid != old.st_gid && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0)
        notKept_.emplace_back("its group");
    // A list inherited from the folder is not the replaced file's.
    ::fremovexattr(fd, kAccessList);
    for (const std::string& name : AttributeNames(target_)) {
        std::pair<std::string, std::string> attribute{name, {}};
        const bool accessList = name == kAccessList;
        if (!ReadAttribute(target_, name, attribute.second) || !SetAttribute(fd, attribute)) {
            notKept_.push_back(accessList ? "its access control list" : "its extended attribute " + name);
            continue;
        }
        if (accessList)
            lateAttributes_.push_back(std::move(attribute));
    }
    // Set as a test that it can be, the list made the file as open as the
    // replaced one: private again until it is whole.
    if (::fchmod(fd, kPrivate) != 0)
        notKept_.emplace_back("its permissions");
}

Placement FileReplacement::PutInPlace(bool replace)
{
    if (!IsReady()) {
        errno = EBADF;
        return Placement::Failed;
    }
    const int fd = Descriptor(file_);
    bool ready = ::fchmod(fd, mode_) == 0;
    for (const auto& attribute : lateAttributes_)
        ready = ready && SetAttribute(fd, attribute);
    ready = ready && file_.Sync();
    int error = errno;
    if (ready && FileFaultStrikes(FileCall::PutInPlace, error))
        ready = false;
    else if (ready)
        ready = Link(replace, error);
    if (!ready) {
        Abandon();
        errno = error;
        return error == EEXIST && !replace ? Placement::NameTaken : Placement::Failed;
    }
    temporary_.clear();
    file_.Close();
    return Placement::Done;
}

// Under the target's name; `error` is the reason when it fails.
bool FileReplacement::Link(bool replace, int& error)
{
    bool linked = false;
    if (!temporary_.empty()) {
        linked = replace ? ::rename(temporary_.c_str(), target_.c_str()) == 0 : RenameIfFree(temporary_, target_);
    } else if (!replace) {
        linked = LinkUnnamed(Descriptor(file_), target_);
    } else {
        // No call links an unnamed file over another: it takes a name of its
        // own for the moment of a rename.
        std::string name;
        for (int attempt = 0; attempt < 100 && !linked; ++attempt) {
            name = NameBeside(target_);
            linked = LinkUnnamed(Descriptor(file_), name);
            if (!linked && errno != EEXIST)
                break;
        }
        if (linked) {
            temporary_ = name;
            linked = ::rename(temporary_.c_str(), target_.c_str()) == 0;
        }
    }
    error = errno;
    return linked;
}

void FileReplacement::Abandon()
{
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
    file_.Close();
}

}  // namespace pellimar
