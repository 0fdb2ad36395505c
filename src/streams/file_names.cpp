// Following links and naming files beside others (POSIX).
#include "streams/file_names.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <random>

namespace pellimar {
namespace {

namespace fs = std::filesystem;

// As many links as the system itself follows before it gives up (ELOOP).
constexpr int kMaxLinksFollowed = 40;

}  // namespace

std::optional<fs::path> FollowLinks(fs::path path)
{
    for (int followed = 0; followed <= kMaxLinksFollowed; ++followed) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        std::error_code error;
        const fs::path target = fs::read_symlink(path, error);
        if (error)
            return std::nullopt;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return std::nullopt;
}

int CreateFileBeside(const fs::path& target, std::string& name)
{
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    const std::string stem = "." + target.filename().string() + ".pellimar-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = (target.parent_path() / (stem + std::to_string(seed + counter.fetch_add(1)))).string();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

}  // namespace pellimar
