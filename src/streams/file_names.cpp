// Following links, with the library's view of the file system.
#include "streams/file_names.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;

// As many links as the system itself follows before it gives up (ELOOP).
constexpr int kMaxLinksFollowed = 40;

std::nullopt_t Refused(std::string* refusal, const char* reason)
{
    if (refusal != nullptr)
        *refusal = reason;
    return std::nullopt;
}

}  // namespace

std::optional<fs::path> FollowLinks(fs::path path, std::string* refusal)
{
    for (int followed = 0; followed <= kMaxLinksFollowed; ++followed) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error)))
            return path;
        if (!LinkMayBeFollowed(path))
            return Refused(refusal, "it is a symbolic link that another user made in a folder open to all, which is "
                                    "not followed");
        const fs::path target = fs::read_symlink(path, error);
        if (error)
            return Refused(refusal, "its link cannot be read");
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return Refused(refusal, "its links go round in a circle");
}

}  // namespace pellimar
