// Putting a file in place on POSIX: an unnamed file (O_TMPFILE) linked in
// under its name at the end, or a hidden name beside the target where the
// file system has no unnamed files; the replaced file's owner, group, mode
// and extended attributes (access control lists among them) carried over,
// or for a new name the folder's default access control list.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <random>

#include "streams/access_list.h"
#include "streams/file_faults.h"
#include "streams/file_replacement.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;

// The extended attribute that holds a file's access control list; setting
// it also sets the group bits of the mode.
constexpr const char* kAccessList = "system.posix_acl_access";
// A folder's list that new files in it inherit.
constexpr const char* kDefaultList = "system.posix_acl_default";
// The file's capabilities, which the system takes away on every write.
constexpr const char* kCapabilities = "security.capability";
constexpr std::size_t kMaxNameBytes = 255;
constexpr mode_t kPrivate = S_IRUSR | S_IWUSR;
constexpr mode_t kNewFile = 0666;
constexpr const char* kFolderTakesNoNewFile = "its folder takes no new file";

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

// A name longer than the folder takes would only be refused at the end.
bool NameTooLong(const std::string& target)
{
    if (target.size() >= PATH_MAX)
        return true;
    const long most = ::pathconf(FolderOf(target).c_str(), _PC_NAME_MAX);
    return most > 0 && fs::path(target).filename().string().size() > static_cast<std::size_t>(most);
}

// A folder marked append-only or immutable (chattr) lets no name in it be
// removed or replaced, not even by its owner or root; nothing when it is
// neither.
const char* FolderKeepsItsNames(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0)
        flags = 0;
    ::close(fd);
    if ((flags & FS_IMMUTABLE_FL) != 0)
        return "its folder is immutable";
    return (flags & FS_APPEND_FL) != 0 ? "its folder is append-only" : nullptr;
}

// Where the system does not say (before Linux 5.8), a file on another
// device than its folder is one; a file bound from the same device is then
// found only at the rename.
bool IsMountPoint(const std::string& path, const struct stat& info, const struct stat& folder)
{
    struct statx extended {};
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS, &extended) != 0 ||
        (extended.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) == 0)
        return info.st_dev != folder.st_dev;
    return (extended.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
}

// Why no new file may take the place of the file `old` under `target`
// (the system would refuse the rename at the end); nothing when one may.
const char* WhyNoNewFileMayReplace(const std::string& target, const struct stat& old)
{
    struct stat folder {};
    if (::stat(FolderOf(target).c_str(), &folder) != 0)
        return nullptr;
    if (IsMountPoint(target, old, folder))
        return "it is a mount point";
    if (const char* kept = FolderKeepsItsNames(FolderOf(target)))
        return kept;
    // In a sticky folder only the file's owner, the folder's and root may
    // remove or replace a name.
    const uid_t self = ::geteuid();
    if ((folder.st_mode & S_ISVTX) != 0 && self != 0 && old.st_uid != self && folder.st_uid != self)
        return "its folder lets only the file's owner replace it";
    return nullptr;
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

// Whether this user may give a file of its own the group `group`: root, or
// a member of it.
bool MayGiveGroup(gid_t group)
{
    if (::geteuid() == 0 || ::getegid() == group)
        return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(count, 0)));
    const int got = ::getgroups(count, groups.data());
    return std::find(groups.begin(), groups.begin() + std::max(got, 0), group) != groups.begin() + std::max(got, 0);
}

// What TakeOverFrom would fail to carry over to a new file of this user:
// the owner of another, unless root; a group it is not in; an attribute it
// cannot read, or one of those only root may set.
std::vector<std::string> NotKeptForeseen(const std::string& target, const struct stat& old)
{
    std::vector<std::string> notKept;
    const uid_t self = ::geteuid();
    struct stat folder {};
    const bool inherits = ::stat(FolderOf(target).c_str(), &folder) == 0 && (folder.st_mode & S_ISGID) != 0;
    const gid_t freshGroup = inherits ? folder.st_gid : ::getegid();
    if (self != 0 && old.st_uid != self)
        notKept.emplace_back("its owner");
    if (old.st_gid != freshGroup && !MayGiveGroup(old.st_gid))
        notKept.emplace_back("its group");
    for (const std::string& name : AttributeNames(target)) {
        std::string value;
        const bool rootOnly = name == kCapabilities || name.starts_with("trusted.");
        if (!ReadAttribute(target, name, value) || (rootOnly && self != 0))
            notKept.push_back(name == kAccessList ? "its access control list" : "its extended attribute " + name);
    }
    return notKept;
}

}  // namespace

struct FileReplacement::SystemSteps {
    static void InheritFromFolder(FileReplacement& self);
    static void TakeOverFrom(FileReplacement& self, const struct stat& old);
    static bool Link(FileReplacement& self, bool replace, int& error);
    static bool LinkOver(FileReplacement& self);
};

ReplacementStart FileReplacement::Begin(const std::string& target, bool replacing)
{
    Abandon();
    target_ = target;
    replacing_ = replacing;
    notKept_.clear();
    lateAttributes_.clear();
    reason_.clear();
    struct stat old {};
    if (replacing && ::stat(target.c_str(), &old) != 0)
        return Refuse(ReplacementStart::Failed, LastFailureReason(true));
    if (!replacing && NameTooLong(target)) {
        errno = ENAMETOOLONG;
        return Refuse(ReplacementStart::Failed, LastFailureReason(true));
    }
    if (const char* why = replacing ? WhyNoNewFileMayReplace(target, old) : nullptr)
        return Refuse(ReplacementStart::FolderRefuses, why);

    int fd = CreateUnnamedBeside(target);
    if (fd < 0 && NoUnnamedFiles(errno)) {
        // A name of its own could then be neither renamed nor removed.
        if (const char* kept = FolderKeepsItsNames(FolderOf(target)))
            return Refuse(ReplacementStart::FolderRefuses, kept);
        fd = CreateNamedBeside(target, temporary_);
    }
    if (fd < 0) {
        temporary_.clear();
        if (FolderRefuses(errno))
            return Refuse(ReplacementStart::FolderRefuses, kFolderTakesNoNewFile);
        return Refuse(ReplacementStart::Failed, LastFailureReason(true));
    }
    file_ = NativeFile::Adopt(fd);
    if (replacing) {
        mode_ = old.st_mode & 07777;
        SystemSteps::TakeOverFrom(*this, old);
    } else {
        SystemSteps::InheritFromFolder(*this);
    }
    return ReplacementStart::Ready;
}

ReplacementOutlook FileReplacement::Foresee(const std::string& target, bool replacing)
{
    struct stat old {};
    if (replacing && ::stat(target.c_str(), &old) != 0)
        return {ReplacementStart::Failed, LastFailureReason(true), {}, {}};
    if (!replacing && NameTooLong(target)) {
        errno = ENAMETOOLONG;
        return {ReplacementStart::Failed, LastFailureReason(true), {}, {}};
    }
    if (const char* why = replacing ? WhyNoNewFileMayReplace(target, old) : nullptr)
        return {ReplacementStart::FolderRefuses, why, {}, {}};
    struct stat folder {};
    const bool found = ::stat(FolderOf(target).c_str(), &folder) == 0;
    if (found && !S_ISDIR(folder.st_mode))
        errno = ENOTDIR;
    if (!found || !S_ISDIR(folder.st_mode))
        return {ReplacementStart::Failed, LastFailureReason(true), {}, {}};
    if (::faccessat(AT_FDCWD, FolderOf(target).c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        if (FolderRefuses(errno))
            return {ReplacementStart::FolderRefuses, kFolderTakesNoNewFile, {}, LastFailureReason(true)};
        return {ReplacementStart::Failed, LastFailureReason(true), {}, {}};
    }
    return {ReplacementStart::Ready, {}, replacing ? NotKeptForeseen(target, old) : std::vector<std::string>(),
            {}};
}

// What open(name, O_CREAT, 0666) would give the file: the folder's default
// access control list where it has one (the umask then plays no part),
// otherwise 0666 less the umask. The file inherited the list when it was
// made private, which masked it; the final mode opens it as far as the
// list lets a new file be open.
void FileReplacement::SystemSteps::InheritFromFolder(FileReplacement& self)
{
    self.mode_ = kNewFile & ~CurrentUmask();
    std::string folderDefault;
    if (ReadAttribute(FolderOf(self.target_), kDefaultList, folderDefault))
        self.mode_ = ModeInherited(folderDefault, kNewFile).value_or(self.mode_);
}

// Owner and group first, while the file is still private: a change of owner
// would clear set-user-ID bits given earlier. Only root can give a file to
// another user; a group is ours to give where we belong to it.
void FileReplacement::SystemSteps::TakeOverFrom(FileReplacement& self, const struct stat& old)
{
    const int fd = Descriptor(self.file_);
    struct stat fresh {};
    ::fstat(fd, &fresh);
    if (fresh.st_uid != old.st_uid && ::fchown(fd, old.st_uid, static_cast<gid_t>(-1)) != 0)
        self.notKept_.emplace_back("its owner");
    if (fresh.st_gid != old.st_gid && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0)
        self.notKept_.emplace_back("its group");
    // A list inherited from the folder is not the replaced file's.
    ::fremovexattr(fd, kAccessList);
    for (const std::string& name : AttributeNames(self.target_)) {
        std::pair<std::string, std::string> attribute{name, {}};
        const bool accessList = name == kAccessList;
        if (!ReadAttribute(self.target_, name, attribute.second) || !SetAttribute(fd, attribute)) {
            self.notKept_.push_back(accessList ? "its access control list" : "its extended attribute " + name);
            continue;
        }
        if (accessList || name == kCapabilities)
            self.lateAttributes_.push_back(std::move(attribute));
    }
    // Set as a test that they can be, the list made the file as open as the
    // replaced one, and the capabilities go with the first write: the file
    // is private again until it is whole, and gets both once more then.
    if (::fchmod(fd, kPrivate) != 0)
        self.notKept_.emplace_back("its permissions");
}

Placement FileReplacement::PutInPlace(bool replace)
{
    reason_.clear();
    if (!IsReady()) {
        errno = EBADF;
        reason_ = LastFailureReason();
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
        ready = SystemSteps::Link(*this, replace, error);
    if (!ready) {
        Abandon();
        errno = error;
        if (reason_.empty())
            reason_ = LastFailureReason(true);
        return error == EEXIST && !replace ? Placement::NameTaken : Placement::Failed;
    }
    temporary_.clear();
    file_.Close();
    return Placement::Done;
}

// Under the target's name; `error` is the reason when it fails.
bool FileReplacement::SystemSteps::Link(FileReplacement& self, bool replace, int& error)
{
    bool linked = false;
    if (!self.temporary_.empty()) {
        linked = replace ? ::rename(self.temporary_.c_str(), self.target_.c_str()) == 0
                         : RenameIfFree(self.temporary_, self.target_);
    } else {
        // While the name is free the file takes it straight away.
        linked = (!replace || !self.replacing_) && LinkUnnamed(Descriptor(self.file_), self.target_);
        if (!linked && replace && (self.replacing_ || errno == EEXIST))
            linked = LinkOver(self);
    }
    error = errno;
    return linked;
}

// No call links an unnamed file over another: it takes a name of its own
// for the moment of a rename, which a folder that has come to keep its
// names would never let go of again.
bool FileReplacement::SystemSteps::LinkOver(FileReplacement& self)
{
    if (const char* kept = FolderKeepsItsNames(FolderOf(self.target_))) {
        self.reason_ = kept;
        errno = EPERM;
        return false;
    }
    std::string name;
    bool linked = false;
    for (int attempt = 0; attempt < 100 && !linked; ++attempt) {
        name = NameBeside(self.target_);
        linked = LinkUnnamed(Descriptor(self.file_), name);
        if (!linked && errno != EEXIST)
            break;
    }
    if (!linked)
        return false;
    self.temporary_ = name;
    return ::rename(self.temporary_.c_str(), self.target_.c_str()) == 0;
}

void FileReplacement::Abandon()
{
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
    file_.Close();
}

}  // namespace pellimar
