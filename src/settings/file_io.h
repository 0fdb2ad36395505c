// Whole-file reads with a size limit, and file replacement that never leaves
// a half-written file behind.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pellimar {

// How much of a settings or pattern file is read. Settings are a few
// kilobytes; a larger file is not settings text and is only read in part.
inline constexpr std::size_t kMaxSettingsFileBytes = 16 * 1024 * 1024;

enum class FileReadStatus {
    Missing,     // no file of that name
    Unreadable,  // exists, but is not a regular file or cannot be read
    Partial,     // larger than the limit: only the first bytes were read
    Whole,
};

struct FileRead {
    FileReadStatus status;
    std::string bytes;
};

FileRead ReadFileUpTo(const std::string& path, std::size_t limit);

// Writes the bytes to a new file in the same folder and renames it over
// `path`, so that readers see either the old file or the whole new one. An
// existing file keeps its permission bits, and a symbolic link is followed
// so that the file it points to is the one replaced. False on any failure,
// with the old file left as it was and no temporary file behind.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace pellimar
