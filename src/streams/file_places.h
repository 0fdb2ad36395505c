// Where a name leads, so that files are compared by what they are and not by
// how their names are spelled: through symbolic and hard links, bind mounts
// and other spellings of a path, and on Windows the case of its letters.
#pragma once

#include <optional>
#include <string>

#include "streams/held_files.h"

namespace pellimar {

struct FilePlace {
    // The file the name stands for, its links followed.
    std::optional<FileIdentity> file;
    // Where none stands yet: the folder it would be made in, links
    // followed, and its name there.
    std::optional<FileIdentity> folder;
    std::string name;
};

// Nothing where that cannot be told: a loop of links, a link that may not
// be followed, a folder that is missing, a name Windows takes for a device.
std::optional<FilePlace> PlaceOfName(const std::string& name);

// True when the two places are one file, or would be made as one.
bool SamePlace(const FilePlace& a, const FilePlace& b);

// True when both names lead to one existing file.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace pellimar
