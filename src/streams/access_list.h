// Access control lists in the form POSIX systems store them as an extended
// attribute, read as bytes: the permissions a new file gets from its folder.
#pragma once

#include <optional>
#include <string>

namespace pellimar {

// The permission bits of a file created with the permissions `requested`
// (0666) in a folder whose default list is `folderDefault`, as the system
// works them out: the list's owner, mask (without a mask, owning group) and
// others entries, cut down to the requested bits; the umask plays no part.
// The file's own list, inherited when it is made, follows these bits, since
// a change of mode sets those three entries. Nothing when the bytes are no
// list of the form known.
std::optional<unsigned> ModeInherited(const std::string& folderDefault, unsigned requested);

}  // namespace pellimar
