// A fresh folder per test, removed with everything in it afterwards, plus
// small helpers to write and read whole files as bytes.
#pragma once

#include <filesystem>
#include <set>
#include <string>

namespace pellimar::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // A name in the folder, as the program takes names (see wide_names.h).
    std::string File(const std::string& name) const;

private:
    std::filesystem::path path_;
};

void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);

// The names of everything in a folder, for checking that nothing was left
// behind.
std::set<std::string> FileNames(const std::filesystem::path& folder);

// The folder of shared sample files, or empty when this checkout has none.
std::filesystem::path SharedDataDir();

}  // namespace pellimar::testing
