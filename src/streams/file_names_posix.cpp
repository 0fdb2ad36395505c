// File names on POSIX systems: the bytes are the name, which symbolic links
// may be followed (the owners of a link and of its folder), devices are
// files with paths of their own, and a name's full path.
#include <sys/stat.h>
#include <unistd.h>

#include "streams/file_names.h"

namespace pellimar {

bool LinkMayBeFollowed(const std::filesystem::path& link)
{
    std::filesystem::path folder = link.parent_path();
    if (folder.empty())
        folder = ".";
    struct stat linkInfo {};
    struct stat folderInfo {};
    if (::lstat(link.c_str(), &linkInfo) != 0 || ::stat(folder.c_str(), &folderInfo) != 0)
        return true;  // the link is then not followed at all
    const bool shared = (folderInfo.st_mode & S_ISVTX) != 0 && (folderInfo.st_mode & S_IWOTH) != 0;
    return !shared || linkInfo.st_uid == ::geteuid() || linkInfo.st_uid == folderInfo.st_uid;
}

bool SameFileName(const std::string& a, const std::string& b)
{
    return a == b;
}

std::string FileNameKey(const std::string& name)
{
    return name;
}

std::optional<std::string> DeviceOfName(const std::string&)
{
    return std::nullopt;
}

// ".." is kept: after a symbolic link it leads to the parent of the link's
// target, not to the folder the name spells.
std::string FullName(const std::string& name)
{
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(name, error);
    if (error)
        return name;
    std::filesystem::path kept;
    for (const std::filesystem::path& part : full) {
        if (part != ".")
            kept /= part;
    }
    return kept.string();
}

}  // namespace pellimar
