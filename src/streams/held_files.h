// Exclusive access to files: a table of the files this program holds open
// through its streams (by device and inode, so that links and other
// spellings of a path are caught whatever the file system supports), and
// another program's lock on a file, where the file system offers locks.
#pragma once

#include <compare>
#include <cstdint>

namespace pellimar {

struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

// Adds the file to the table; false when the program holds it already.
bool TakeHeldFile(FileIdentity file);
void GiveHeldFile(FileIdentity file);
bool IsHeldFile(FileIdentity file);

// Locks an open file against other programs without waiting; false when
// another program holds a lock on it. A file system without locks does not
// stop us.
bool LockAgainstOtherPrograms(int fd);

}  // namespace pellimar
