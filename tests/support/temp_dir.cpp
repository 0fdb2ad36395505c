// Test folders and whole-file helpers.
#include "support/temp_dir.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>

#include "streams/wide_names.h"

namespace pellimar::testing {

// A folder no one else has made, that only its owner may enter.
TempDir::TempDir()
{
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const std::string name = "pellimar-test-" + std::to_string(seed) + "-" + std::to_string(counter.fetch_add(1));
        std::error_code error;
        if (std::filesystem::create_directory(base / name, error)) {
            path_ = base / name;
            std::filesystem::permissions(path_, std::filesystem::perms::owner_all, error);
        }
    }
    if (path_.empty())
        throw std::runtime_error("cannot make a temporary folder");
}

std::string TempDir::File(const std::string& name) const
{
    return NameOfPath(path_ / PathOfName(name));
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(PathOfName(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(PathOfName(path), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::set<std::string> FileNames(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(NameOfPath(entry.path().filename()));
    return names;
}

std::filesystem::path SharedDataDir()
{
    const char* configured = std::getenv("PELLIMAR_SHARED_DATA");
    if (configured == nullptr)
        return {};
    std::error_code error;
    if (!std::filesystem::is_directory(configured, error))
        return {};
    return configured;
}

}  // namespace pellimar::testing
