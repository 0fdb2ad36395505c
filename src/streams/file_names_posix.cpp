// New files beside others (POSIX).
#include "streams/file_names.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <random>

namespace pellimar {

int CreateFileBeside(const std::filesystem::path& target, std::string& name)
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
