// The names a file is reached by: where a chain of symbolic links ends, and
// the rules the system has for names.
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
// Nothing for a loop, a link that cannot be read, or a link that may not be
// followed; `refusal`, when given, then says why ("its links go round in a
// circle").
std::optional<std::filesystem::path> FollowLinks(std::filesystem::path path, std::string* refusal = nullptr);

// False for a link that the system would not follow when it opens a file
// (POSIX's protected links): a link in a folder that everyone may write
// and where only owners may remove names (sticky), that belongs to neither
// this user nor the folder's owner. Following our own links to replace
// what they name, we keep that rule ourselves, so that a link planted in
// such a folder cannot make a privileged user replace the file it names.
bool LinkMayBeFollowed(const std::filesystem::path& link);

// The full path a name stands for from the working folder, without "."
// parts (on Windows, nor ".."); the name as it is when the working folder
// cannot be told. A name
// kept for later (a history, a settings file) must not depend on the folder
// the program started in.
std::string FullName(const std::string& name);

// True when the two names, given to files in one folder, name one file: the
// same bytes, or on Windows the same letters in any case.
bool SameFileName(const std::string& a, const std::string& b);
// A name as SameFileName compares it, for a table of names: equal exactly
// when the names are the same name.
std::string FileNameKey(const std::string& name);

// The device a name stands for in any folder, as Windows maps "aux.fff" or
// "NUL" (in capitals); nothing on POSIX, whose devices are files with paths.
std::optional<std::string> DeviceOfName(const std::string& path);

}  // namespace pellimar
