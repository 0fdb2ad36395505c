// The scratch folder. Millions of runs create and replace files here, so it
// lives on tmpfs (/dev/shm) when it can, to keep disks out of the loop.
#include "scratch_dir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "check.h"

namespace pellimar::fuzz {
namespace {

namespace fs = std::filesystem;

fs::path BaseFolder()
{
    std::error_code error;
    if (fs::is_directory("/dev/shm", error) && access("/dev/shm", W_OK) == 0)
        return "/dev/shm";
    return fs::temp_directory_path();
}

class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (BaseFolder() / "pellimar-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            Fail(__FILE__, __LINE__, "scratch folder", "created", pattern);
        path_ = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

}  // namespace

std::string ScratchFile(std::string_view name)
{
    static const ScratchFolder folder;
    return (folder.Path() / name).string();
}

void WriteScratchFile(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    FUZZ_CHECK(out.good(), "writing a scratch file");
}

std::string ReadScratchFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    FUZZ_CHECK(in.good(), "opening a scratch file");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace pellimar::fuzz
