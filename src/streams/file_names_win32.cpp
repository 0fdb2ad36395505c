// File names on Windows: one file whatever the case of its letters, as the
// system compares them; and every symbolic link may be followed, as the
// system itself follows them.
#include "streams/file_names.h"

#include <windows.h>

#include "streams/wide_names.h"

namespace pellimar {

bool LinkMayBeFollowed(const std::filesystem::path&)
{
    return true;
}

bool SameFileName(const std::string& a, const std::string& b)
{
    const std::wstring wideA = WideOfName(a);
    const std::wstring wideB = WideOfName(b);
    return CompareStringOrdinal(wideA.c_str(), static_cast<int>(wideA.size()), wideB.c_str(),
                                static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace pellimar
