// Which symbolic links may be followed on Windows: all of them, as the
// system itself follows them.
#include "streams/file_names.h"

namespace pellimar {

bool LinkMayBeFollowed(const std::filesystem::path&)
{
    return true;
}

}  // namespace pellimar
