// The names a file is reached by: where a chain of symbolic links ends.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace pellimar {

// A file that takes every byte written to it and keeps none.
#ifdef _WIN32
inline constexpr const char* kNullDevice = "NUL";
#else
inline constexpr const char* kNullDevice = "/dev/null";
#endif

// The path a chain of symbolic links ends at, each relative link read from
// the folder of the link itself; it may name a file still to be created.
// Nothing for a loop or a link that cannot be read.
std::optional<std::filesystem::path> FollowLinks(std::filesystem::path path);

// True when the two names, given to files in one folder, name one file: the
// same bytes, or on Windows the same letters in any case.
bool SameFileName(const std::string& a, const std::string& b);

}  // namespace pellimar
