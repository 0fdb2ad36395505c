// File names on POSIX systems: the bytes are the name.
#include "streams/file_names.h"

namespace pellimar {

bool SameFileName(const std::string& a, const std::string& b)
{
    return a == b;
}

}  // namespace pellimar
