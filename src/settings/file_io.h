// Whole-file reads with a size limit, and whole-file writes that leave alone
// what the user has not let this program change.
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

// Makes `bytes` the whole content of the file at `path`:
// - a symbolic link, or a chain of them, is followed to the file it ends at,
//   and the links stay as they are (a link to a missing file creates it);
// - a file this process may not write (its mode, another owner, a read-only
//   file system), a file made read-only (also when a privileged process
//   could write it), or anything but a regular file, is never changed;
// - an ordinary file is replaced atomically by a new one beside it that
//   takes over its owner and permission bits, so that readers see either
//   the old or the whole new content;
// - a file with several hard links, or one that no new file can stand in
//   for (its folder takes no new file or keeps its names, it is a mount
//   point, or its owner cannot be carried over), is rewritten where it
//   stands, so that every name sees the new content.
// False on any failure, with the old content in place and no temporary
// file behind.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace pellimar
