// Access control lists in the form POSIX systems store them as an extended
// attribute, worked on as bytes: what a new file inherits from its folder.
#pragma once

#include <optional>
#include <string>

namespace pellimar {

struct InheritedAccess {
    std::string list;   // the new file's access control list, stored form
    unsigned mode = 0;  // the permission bits that go with it
};

// What a file created with the permissions `requested` (0666) gets from its
// folder's default list `folderDefault`, as the system works it out: the
// owner's, the mask's (the owning group's without a mask) and the others'
// entries cut down to the requested bits; the umask plays no part. Nothing
// when the bytes are no list of the form known.
std::optional<InheritedAccess> InheritAccess(const std::string& folderDefault, unsigned requested);

}  // namespace pellimar
