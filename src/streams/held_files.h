// Exclusive access to files among this program's own streams: a table of
// the files they hold open, by identity, so that links and other spellings
// of a path are caught whatever the file system supports.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace pellimar {

// Device and inode on POSIX; volume serial number and file index on Windows.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t number = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

// Adds the file to the table; false when the program holds it already.
bool TakeHeldFile(FileIdentity file);
void GiveHeldFile(FileIdentity file);
bool IsHeldFile(FileIdentity file);

// Why `name` did not open, from the file layer's last failure. A file that
// another opener keeps us out of may be held by a stream of ours: for a
// file being created, that is the run's input under another name.
std::string ReasonNotOpened(const std::string& name, bool creating);

}  // namespace pellimar
