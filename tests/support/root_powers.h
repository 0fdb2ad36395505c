// What only a privileged process may do to a folder or a file, undone when
// the test ends: folders marked append-only or immutable, and files bound
// over others. Each says whether it took effect, for a test to skip when not.
#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <string>

namespace pellimar::testing {

// A folder flag of chattr (FS_APPEND_FL, FS_IMMUTABLE_FL) for as long as
// the object lives, or until Clear.
class FolderFlag {
public:
    FolderFlag(const std::string& folder, int flag) : folder_(folder), flag_(flag) { active_ = Change(true); }
    ~FolderFlag() { Clear(); }
    FolderFlag(const FolderFlag&) = delete;
    FolderFlag& operator=(const FolderFlag&) = delete;

    bool Active() const { return active_; }
    void Clear()
    {
        if (active_)
            Change(false);
        active_ = false;
    }

private:
    bool Change(bool on) const
    {
        const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        int flags = 0;
        bool changed = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | flag_ : flags & ~flag_;
        changed = changed && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0)
            ::close(fd);
        return changed;
    }

    std::string folder_;
    int flag_;
    bool active_ = false;
};

// `source` bound over `target` (mount --bind) while the object lives.
class BindMount {
public:
    BindMount(const std::string& source, const std::string& target) : target_(target)
    {
        active_ = ::mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) == 0;
    }
    ~BindMount()
    {
        if (active_)
            ::umount2(target_.c_str(), MNT_DETACH);
    }
    BindMount(const BindMount&) = delete;
    BindMount& operator=(const BindMount&) = delete;

    bool Active() const { return active_; }

private:
    std::string target_;
    bool active_ = false;
};

}  // namespace pellimar::testing
