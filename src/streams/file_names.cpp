// Following links, with the library's view of the file system.
#include "streams/file_names.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;

// As many links as the system itself follows before it gives up (ELOOP).
constexpr int kMaxLinksFollowed = 40;

}  // namespace

std::optional<fs::path> FollowLinks(fs::path path)
{
    for (int followed = 0; followed <= kMaxLinksFollowed; ++followed) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error)))
            return path;
        const fs::path target = fs::read_symlink(path, error);
        if (error)
            return std::nullopt;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return std::nullopt;
}

}  // namespace pellimar
